#include "game/action/3DView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/graphics/DibSect.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RecReader.h"
#include "engine/resources/TplRecLoader.h"
#include "game/action/3DLegendEntry.h"

namespace {

// The tables are built with this value of pi, not the full-precision one.
constexpr double kTablePi = 3.14159;
// A camera z of exactly 0 becomes this before a point is projected.
constexpr double kProjectZeroZ = 1e-8;
// ... and this when polygons are culled.
constexpr double kCullZeroZ = 1e-13;
constexpr double kTriangleDepth = 0.33333;
constexpr double kQuadDepth = 0.25;

using Matrix = double[4][4];

void SetIdentity(Matrix m)
{
    for (int32_t i = 0; i < 4; ++i)
        for (int32_t j = 0; j < 4; ++j)
            m[i][j] = i == j ? 1.0 : 0.0;
}

// m = m x b, each element summed over k in order.
void MultiplyInto(Matrix m, const Matrix b)
{
    Matrix product;
    for (int32_t i = 0; i < 4; ++i)
        for (int32_t j = 0; j < 4; ++j)
            product[i][j] = m[i][0] * b[0][j] + m[i][1] * b[1][j] + m[i][2] * b[2][j] + m[i][3] * b[3][j];
    std::memcpy(m, product, sizeof(product));
}

// The 3 x 3 part of a rotation, the rest of the identity around it.
void SetRotation(Matrix m, double a, double b, double c, double d, double e, double f, double g, double h,
                 double i)
{
    SetIdentity(m);
    m[0][0] = a;
    m[0][1] = b;
    m[0][2] = c;
    m[1][0] = d;
    m[1][1] = e;
    m[1][2] = f;
    m[2][0] = g;
    m[2][1] = h;
    m[2][2] = i;
}

bool IsSingleBit(int16_t bits) { return bits != 0 && (bits & (bits - 1)) == 0; }

} // namespace

C3DView::C3DView(CAnimFrame* frame) : frame_(frame)
{
    BuildTrigTables();
    SetIdentity(matrix_);
}

C3DView::~C3DView() = default;

void C3DView::BuildTrigTables()
{
    for (int16_t d = 0; d < kTableSize; ++d) {
        const double radians = d * kTablePi / 180;
        sine_[d] = std::sin(radians);
        cosine_[d] = std::cos(radians);
    }
}

// --- Frame buffer ---

void C3DView::AttachBitmap(const CDibSect& bitmap, const CRect* rect)
{
    const int32_t rowBytes = bitmap.GetRowBytes();
    const auto width = static_cast<int16_t>(std::clamp<int32_t>(bitmap.GetRect().GetWidth(), 0, rowBytes));
    const auto height = static_cast<int16_t>(bitmap.ImageRows());
    AttachRows(width, height, height > 0 ? bitmap.RowOffset(0) : 0, -rowBytes, rect);
    attachedRowBytes_ = rowBytes;
    attachedRows_ = bitmap.GetSectionRows();
}

void C3DView::AttachRows(int16_t width, int16_t height, int32_t topOffset, int32_t stride, const CRect* rect)
{
    auto fb = std::make_unique<C3DFrameBuffer>();
    fb->width = std::max<int16_t>(width, 0);
    fb->height = std::max<int16_t>(height, 0);
    fb->stride = stride;
    fb->rows.resize(static_cast<size_t>(fb->height));
    for (int32_t y = 0; y < fb->height; ++y)
        fb->rows[static_cast<size_t>(y)] = topOffset + y * stride;
    if (rect) {
        fb->centreX = static_cast<int16_t>(rect->GetLeft() + rect->GetWidth() / 2);
        fb->centreY = static_cast<int16_t>(rect->GetTop() + rect->GetHeight() / 2);
        // The rectangle is cut to the pixels: nothing is ever written outside them.
        fb->clipLeft = std::max<int16_t>(rect->GetLeft(), 0);
        fb->clipTop = std::max<int16_t>(rect->GetTop(), 0);
        fb->clipRight = static_cast<int16_t>(std::min<int32_t>(rect->GetRight() - 1, fb->width - 1));
        fb->clipBottom = static_cast<int16_t>(std::min<int32_t>(rect->GetBottom() - 1, fb->height - 1));
    } else {
        fb->centreX = static_cast<int16_t>(fb->width / 2);
        fb->centreY = static_cast<int16_t>(fb->height / 2);
        fb->clipRight = static_cast<int16_t>(fb->width - 1);
        fb->clipBottom = static_cast<int16_t>(fb->height - 1);
    }
    frameBuffer_ = std::move(fb);
    attachedRowBytes_ = 0;
    attachedRows_ = 0;
    pixels_ = nullptr;
}

void C3DView::Release()
{
    frameBuffer_.reset();
    attachedRowBytes_ = 0;
    attachedRows_ = 0;
    pixels_ = nullptr;
    ClearDrawList();
}

void C3DView::SetPixels(CDibSect* bitmap, uint8_t* pixels)
{
    const bool fits = frameBuffer_ && bitmap && bitmap->GetRowBytes() == attachedRowBytes_ &&
                      bitmap->GetSectionRows() == attachedRows_ &&
                      (frameBuffer_->height == 0 || bitmap->RowOffset(0) == frameBuffer_->rows[0]);
    pixels_ = !bitmap || fits ? pixels : nullptr;
}

void C3DView::FillRows(uint8_t colour, const CRect& rect)
{
    if (!CanDraw())
        return;
    const C3DFrameBuffer& fb = *frameBuffer_;
    const int32_t left = std::max<int32_t>(rect.GetLeft(), fb.clipLeft);
    const int32_t right = std::min<int32_t>(int32_t{rect.GetLeft()} + rect.GetWidth() - 1, fb.clipRight);
    const int32_t top = std::max<int32_t>(rect.GetTop(), fb.clipTop);
    const int32_t bottom = std::min<int32_t>(rect.GetBottom(), fb.clipBottom);
    if (left > right)
        return;
    for (int32_t y = top; y <= bottom; ++y)
        std::memset(Row(y) + left, colour, static_cast<size_t>(right - left + 1));
}

// --- Models ---

bool C3DView::LoadModel(CRecReader& reader, C3DModel& model, double scale, std::string* error)
{
    model = C3DModel();
    std::string reason;
    if (!ReadModelText(reader, model, scale, reason)) {
        if (error)
            *error = reason;
        return false;
    }
    model.number = modelCounter_;
    modelCounter_ = static_cast<int16_t>(static_cast<uint16_t>(modelCounter_) + 1u);
    return true;
}

std::unique_ptr<C3DModel> C3DView::MakeModel(const double* xs, const double* ys, const double* zs,
                                             int16_t count, double scale)
{
    if (count < 3 || count > C3DPolygon::kMaxVertices)
        return nullptr;
    auto model = std::make_unique<C3DModel>();
    model->number = modelCounter_;
    modelCounter_ = static_cast<int16_t>(static_cast<uint16_t>(modelCounter_) + 1u);
    model->vertexCount = count;
    for (int16_t i = 0; i < count; ++i)
        model->model[i] = C3DPoint{xs[i] * scale, ys[i] * scale, zs[i] * scale, 0};
    model->polygonCount = 1;
    C3DPolygon& polygon = model->polygons[0];
    polygon.vertexCount = count;
    polygon.colour = kMadeColour;
    polygon.colourCopy = kMadeColour;
    polygon.flags = 1;
    for (int16_t i = 0; i < count; ++i)
        polygon.indices[i] = static_cast<uint16_t>(i);
    ComputeGeometry(*model);
    return model;
}

std::unique_ptr<C3DModel> CreateModel(C3DView& view, double x, double y, double z, CRecReader& reader,
                                      double scale, std::string* error)
{
    auto model = std::make_unique<C3DModel>();
    if (!view.LoadModel(reader, *model, scale, error))
        return nullptr;
    model->position = C3DPoint{x, y, z, 0};
    for (int16_t i = 0; i < model->polygonCount; ++i) {
        model->polygons[i].legend = nullptr;
        model->polygons[i].spare2 = 0;
    }
    return model;
}

std::unique_ptr<C3DModel> LoadModelById(C3DView& view, int32_t id, double scale, std::string* error)
{
    CRecReader reader;
    if (LoadTplRec(reader, id, CLibMgr::kAllLibraries, false) < 0) {
        if (error)
            *error = "there is no model text";
        return nullptr;
    }
    return CreateModel(view, 0, 0, 0, reader, scale, error);
}

// --- Pipeline ---

void C3DView::BuildViewMatrix()
{
    const double x = position_.x;
    const double y = position_.y;
    const double z = position_.z;
    selector_ = static_cast<int16_t>((pitch_ ? kPitchBit : 0) | (heading_ ? kHeadingBit : 0) |
                                     (roll_ ? kRollBit : 0));
    SetIdentity(matrix_);
    double* t = matrix_[3];
    const double sp = sine_[pitch_], cp = cosine_[pitch_];
    const double sh = sine_[heading_], ch = cosine_[heading_];
    const double sr = sine_[roll_], cr = cosine_[roll_];
    Matrix rx, ry, rz;
    SetRotation(rx, 1, 0, 0, 0, cp, -sp, 0, sp, cp);
    SetRotation(ry, ch, 0, sh, 0, 1, 0, -sh, 0, ch);
    SetRotation(rz, cr, -sr, 0, sr, cr, 0, 0, 0, 1);
    if (IsSingleBit(selector_)) {
        // One rotation: the translation row comes out rotated, written directly.
        if (selector_ == kPitchBit) {
            std::memcpy(matrix_, rx, sizeof(rx));
            t[0] = -x;
            t[1] = -y * cp - z * sp;
            t[2] = y * sp - z * cp;
        } else if (selector_ == kHeadingBit) {
            std::memcpy(matrix_, ry, sizeof(ry));
            t[0] = z * sh - x * ch;
            t[1] = -y;
            t[2] = -x * sh - z * ch;
        } else {
            std::memcpy(matrix_, rz, sizeof(rz));
            t[0] = -x * cr - y * sr;
            t[1] = x * sr - y * cr;
            t[2] = -z;
        }
        return;
    }
    t[0] = -x;
    t[1] = -y;
    t[2] = -z;
    if (selector_ & kPitchBit)
        MultiplyInto(matrix_, rx);
    if (selector_ & kHeadingBit)
        MultiplyInto(matrix_, ry);
    if (selector_ & kRollBit)
        MultiplyInto(matrix_, rz);
}

C3DPoint C3DView::ToCamera(const C3DPoint& w) const
{
    const auto& m = matrix_;
    const double* t = m[3];
    switch (selector_) {
    case 0: return {w.x + t[0], w.y + t[1], w.z + t[2], 0};
    case kPitchBit:
        return {w.x + t[0], w.y * m[1][1] + w.z * m[2][1] + t[1], w.y * m[1][2] + w.z * m[2][2] + t[2], 0};
    case kHeadingBit:
        return {w.x * m[0][0] + w.z * m[2][0] + t[0], w.y + t[1], w.x * m[0][2] + w.z * m[2][2] + t[2], 0};
    case kRollBit:
        return {w.x * m[0][0] + w.y * m[1][0] + t[0], w.x * m[0][1] + w.y * m[1][1] + t[1], w.z + t[2], 0};
    default:
        return {w.x * m[0][0] + w.y * m[1][0] + w.z * m[2][0] + t[0],
                w.x * m[0][1] + w.y * m[1][1] + w.z * m[2][1] + t[1],
                w.x * m[0][2] + w.y * m[1][2] + w.z * m[2][2] + t[2], 0};
    }
}

void C3DView::ModelToWorld(C3DModel& model)
{
    const C3DPoint& p = model.position;
    for (int16_t i = 0; i < model.vertexCount; ++i) {
        const C3DPoint& v = model.model[i];
        model.world[i] = C3DPoint{v.x + p.x, v.y + p.y, v.z + p.z, 0};
    }
    for (int16_t i = 0; i < model.polygonCount; ++i) {
        model.polygons[i].visible = 1;
        model.polygons[i].culled = 0;
    }
}

void C3DView::WorldToCamera(C3DModel& model)
{
    for (int16_t i = 0; i < model.vertexCount; ++i)
        model.camera[i] = ToCamera(model.world[i]);
}

void C3DView::CullPolygons(C3DModel& model, bool sides)
{
    if (model.polygonCount < 2)
        return;
    const double kx = frameBuffer_ ? static_cast<double>(frameBuffer_->centreX) / focal_ : 0;
    const double ky = frameBuffer_ ? static_cast<double>(frameBuffer_->centreY) / focal_ : 0;
    for (int16_t i = 0; i < model.polygonCount; ++i) {
        C3DPolygon& polygon = model.polygons[i];
        // A triangle's third vertex counts twice.
        const C3DPoint* v[4];
        for (int32_t k = 0; k < 4; ++k)
            v[k] = &model.camera[polygon.indices[k < polygon.vertexCount ? k : 2]];
        double z[4];
        for (int32_t k = 0; k < 4; ++k)
            z[k] = v[k]->z == 0 ? kCullZeroZ : v[k]->z;
        const auto all = [&](auto test) {
            for (int32_t k = 0; k < 4; ++k)
                if (!test(k))
                    return false;
            return true;
        };
        bool culled = false;
        if (!sides) {
            culled =
                all([&](int32_t k) { return z[k] < near_; }) || all([&](int32_t k) { return z[k] > far_; });
        } else {
            culled = all([&](int32_t k) { return z[k] <= near_; }) ||
                     all([&](int32_t k) { return z[k] >= far_; }) ||
                     all([&](int32_t k) { return v[k]->x <= -kx * z[k]; }) ||
                     all([&](int32_t k) { return v[k]->x >= kx * z[k]; }) ||
                     all([&](int32_t k) { return v[k]->y <= -ky * z[k]; }) ||
                     all([&](int32_t k) { return v[k]->y >= ky * z[k]; });
        }
        if (culled)
            polygon.culled = 1;
    }
}

bool C3DView::CullModel(const C3DModel& model, bool sides) const
{
    const C3DPoint c = ToCamera(model.position);
    const double r = model.radius;
    if (!sides)
        return c.z - r > far_ || c.z + r < near_;
    if (c.z - r > far_)
        return true;
    const double centreX = frameBuffer_ ? frameBuffer_->centreX : 0;
    const double centreY = frameBuffer_ ? frameBuffer_->centreY : 0;
    // A sphere reaching in front of the near distance may cover the screen's sides.
    if (!(c.z - r <= near_)) {
        const double w = centreX * c.z / focal_;
        if (c.x - r > w || c.x + r < -w)
            return true;
    }
    const double v = centreY * modelFactor_ * c.z / focal_;
    return c.y - r > v || c.y + r < -v;
}

void C3DView::AddToDrawList(C3DModel& model, int16_t flag)
{
    if (flag == 0) {
        ClearDrawList();
        return;
    }
    for (int16_t i = 0; i < model.polygonCount; ++i) {
        const C3DPolygon& polygon = model.polygons[i];
        if (!polygon.visible || polygon.culled)
            continue;
        CSortPoly entry;
        entry.vertexCount = polygon.vertexCount;
        entry.colour = polygon.colour;
        entry.colourCopy = polygon.colourCopy;
        entry.flags = polygon.flags;
        entry.legend = polygon.legend;
        for (int16_t k = 0; k < polygon.vertexCount; ++k)
            entry.vertices[k] = model.camera[polygon.indices[k]];
        const C3DPoint* v = entry.vertices;
        entry.depth = polygon.vertexCount == 3 ? kTriangleDepth * (v[0].z + v[1].z + v[2].z)
                                               : kQuadDepth * (v[0].z + v[1].z + v[2].z + v[3].z);
        // Before the first entry no deeper than it: the farthest first, and among equal depths
        // the newest.
        const auto at = std::lower_bound(order_.begin(), order_.end(), entry.depth,
                                         [this](uint32_t k, double depth) { return pool_[k].depth > depth; });
        order_.insert(at, static_cast<uint32_t>(pool_.size()));
        pool_.push_back(entry);
    }
}

void C3DView::ClearDrawList()
{
    pool_.clear();
    order_.clear();
}

bool C3DView::QueueModel(C3DModel& model)
{
    if (CullModel(model, true))
        return false;
    ModelToWorld(model);
    WorldToCamera(model);
    CullPolygons(model, false);
    AddToDrawList(model, 1);
    return true;
}

void C3DView::DrawList(bool wireframe)
{
    for (const uint32_t k : order_) {
        CSortPoly& entry = pool_[k];
        if (entry.legend && entry.legend->GetObjectImage())
            DrawSprite(entry);
        else if (wireframe)
            DrawPolygonEdges(entry);
        else
            FillPolygon(entry);
    }
}

void C3DView::Project(const C3DPoint& p, double z, int16_t& sx, int16_t& sy) const
{
    // Saturated, not wrapped: a point just in front of the camera stays far off the screen.
    const auto toScreen = [](double v) -> int16_t {
        if (!(v > -32768.0))
            return -32768;
        if (v >= 32767.0)
            return 32767;
        return static_cast<int16_t>(static_cast<int32_t>(v));
    };
    const double centreX = frameBuffer_ ? frameBuffer_->centreX : 0;
    const double centreY = frameBuffer_ ? frameBuffer_->centreY : 0;
    sx = toScreen(centreX + focal_ * p.x / z);
    sy = toScreen(centreY - verticalScale_ * focal_ * p.y / z);
}

void C3DView::ProjectPoint(C3DPoint& point, int16_t& sx, int16_t& sy) const
{
    if (point.z == 0)
        point.z = kProjectZeroZ;
    Project(point, point.z, sx, sy);
}

// --- Camera ---

void C3DView::GetAngles(int16_t& pitch, int16_t& heading, int16_t& roll) const
{
    pitch = pitch_;
    heading = heading_;
    roll = roll_;
}

C3DPoint C3DView::PointAtHeading(double distance) const
{
    return C3DPoint{position_.x + distance * sine_[heading_], position_.y,
                    position_.z + distance * cosine_[heading_], 0};
}

void C3DView::SetFocal(int16_t focal) { focal_ = std::max<int16_t>(focal, 1); }

void C3DView::AddFocal(int16_t delta)
{
    focal_ = static_cast<int16_t>(std::clamp<int32_t>(int32_t{focal_} + delta, 1, INT16_MAX));
}

int16_t C3DView::AddAngle(int16_t angle, int16_t delta)
{
    int32_t sum = int32_t{angle} + delta;
    if (sum < 0)
        sum += 360 * ((-sum + 359) / 360);
    return static_cast<int16_t>(sum % 360);
}
