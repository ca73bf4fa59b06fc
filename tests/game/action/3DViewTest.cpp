// The 3D view's camera, frame buffer layout, matrices, culling, projection, draw list,
// sprites and panorama.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/AnimFrame.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RsrcList.h"
#include "game/action/3DLegendEntry.h"
#include "game/action/3DView.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/RleFixtures.h"

namespace {

using Rows = std::vector<std::string>;
using Matrix = std::vector<std::vector<double>>;

constexpr double kTolerance = 1e-9;

Matrix Identity()
{
    Matrix m(4, std::vector<double>(4, 0.0));
    for (size_t i = 0; i < 4; ++i)
        m[i][i] = 1;
    return m;
}

Matrix Product(const Matrix& a, const Matrix& b)
{
    Matrix m(4, std::vector<double>(4, 0.0));
    for (size_t i = 0; i < 4; ++i)
        for (size_t j = 0; j < 4; ++j)
            for (size_t k = 0; k < 4; ++k)
                m[i][j] += a[i][k] * b[k][j];
    return m;
}

// translation x Rx x Ry x Rz of the angles that are not zero, from the view's own tables.
Matrix GeneralProduct(const C3DView& view)
{
    int16_t p = 0, h = 0, r = 0;
    view.GetAngles(p, h, r);
    const C3DPoint& at = view.GetPosition();
    Matrix m = Identity();
    m[3] = {-at.x, -at.y, -at.z, 1};
    if (p) {
        Matrix rx = Identity();
        rx[1][1] = view.Cosine(p), rx[1][2] = -view.Sine(p), rx[2][1] = view.Sine(p),
        rx[2][2] = view.Cosine(p);
        m = Product(m, rx);
    }
    if (h) {
        Matrix ry = Identity();
        ry[0][0] = view.Cosine(h), ry[0][2] = view.Sine(h), ry[2][0] = -view.Sine(h),
        ry[2][2] = view.Cosine(h);
        m = Product(m, ry);
    }
    if (r) {
        Matrix rz = Identity();
        rz[0][0] = view.Cosine(r), rz[0][1] = -view.Sine(r), rz[1][0] = view.Sine(r),
        rz[1][1] = view.Cosine(r);
        m = Product(m, rz);
    }
    return m;
}

void ExpectNear(const C3DView& view, const Matrix& want, const std::string& what)
{
    for (size_t i = 0; i < 4; ++i)
        for (size_t j = 0; j < 4; ++j)
            EXPECT_NEAR(view.GetMatrix()[i][j], want[i][j], kTolerance)
                << what << " [" << i << "][" << j << "]";
}

void SetAngles(C3DView& view, int16_t pitch, int16_t heading, int16_t roll)
{
    int16_t p = 0, h = 0, r = 0;
    view.GetAngles(p, h, r);
    view.AddPitch(static_cast<int16_t>(pitch - p));
    view.AddHeading(static_cast<int16_t>(heading - h));
    view.AddRoll(static_cast<int16_t>(roll - r));
}

// A model of one polygon per entry of `zs`: each a triangle (or quad) whose camera vertices
// have those z values, at x = y = 0.
C3DModel CameraModel(const std::vector<std::vector<double>>& zs)
{
    C3DModel model;
    model.polygonCount = static_cast<int16_t>(zs.size());
    for (size_t i = 0; i < zs.size(); ++i) {
        C3DPolygon& p = model.polygons[i];
        p.vertexCount = static_cast<int16_t>(zs[i].size());
        p.colour = static_cast<uint16_t>(i + 1);
        for (size_t k = 0; k < zs[i].size(); ++k) {
            const auto v = static_cast<int16_t>(model.vertexCount++);
            p.indices[k] = static_cast<uint16_t>(v);
            model.camera[v] = C3DPoint{0, 0, zs[i][k], 0};
        }
    }
    return model;
}

// A view over a 320 x 200 top-down buffer: centre (160, 100).
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pixels.assign(320 * 200, 255);
        view.AttachRows(320, 200, 0, 320, nullptr);
        view.SetPixels(nullptr, pixels.data());
    }

    C3DView view{nullptr};
    std::vector<uint8_t> pixels;
};

// A legend entry for the sprite tests: an image set of its own, a kind, and, when animated,
// the rectangles it was asked to draw into.
class TestLegend : public C3DLegendEntry {
public:
    TestLegend(CImgSet* images, int32_t kind) : images_(images), kind_(kind) {}
    CImgSet* GetObjectImage() const override { return images_; }
    int32_t GetLegendKind() const override { return kind_; }
    int16_t GetAnimationFrame() const override { return frame; }
    void DrawAnimationFrame(CDrawEnv*, const CRect& dest, const CRect& clip) override
    {
        drawn.push_back({dest, clip});
    }

    int16_t frame = -1;
    std::vector<std::pair<CRect, CRect>> drawn;

private:
    CImgSet* images_;
    int32_t kind_;
};

// An image collection of one bitmap.
class OneBitmap : public CRsrcColl {
public:
    explicit OneBitmap(std::unique_ptr<CDibSect> bitmap) : bitmap_(std::move(bitmap)) { count_ = 1; }
    CDibSect* GetEntry(int16_t index) override { return index == 0 ? bitmap_.get() : nullptr; }
    void GetEntrySize(CPoint& size, int16_t) override
    {
        size.Set(bitmap_->GetRect().GetWidth(), bitmap_->GetRect().GetHeight());
    }
    int32_t GetByteSize() override { return 0; }

private:
    std::unique_ptr<CDibSect> bitmap_;
};

// A view drawing sprites and panorama tiles into a frame's off-screen bitmap.
class ViewSpriteTest : public ::testing::Test {
protected:
    void Open(int16_t width, int16_t height, const CRect* clip = nullptr)
    {
        env.Init(CRect(0, 0, height, width), nullptr, false);
        frame = std::make_unique<CAnimFrame>(CBaseObj::kNewId, CRect(0, 0, height, width), &env);
        view = std::make_unique<C3DView>(frame.get());
        view->AttachBitmap(*env.GetBitmap(), clip);
        view->SetVerticalScale(1.0);
    }

    // A sprite entry standing at screen x with its foot on row `foot` and its head on `head`.
    CSortPoly Sprite(C3DLegendEntry* legend, int16_t x, int16_t foot, int16_t head)
    {
        const C3DFrameBuffer& fb = *view->GetFrameBuffer();
        const double z = view->GetFocal();
        CSortPoly entry;
        entry.vertexCount = 4;
        entry.legend = legend;
        entry.vertices[0] = C3DPoint{double(x - fb.centreX), double(fb.centreY - foot), z, 0};
        entry.vertices[1] = C3DPoint{double(x - fb.centreX), double(fb.centreY - head), z, 0};
        return entry;
    }

    Rows Picture() { return qmtest::Pixels(*env.GetBitmap()); }

    COffScEnv env;
    std::unique_ptr<CAnimFrame> frame;
    std::unique_ptr<C3DView> view;
};

// A 2 x 2 sprite of colour 7 (and a second, empty cel).
std::unique_ptr<CRleImgSet> Sprites()
{
    return std::make_unique<CRleImgSet>(
        new CCelList(qmtest::BlockOf(qmtest::MakeRls({{2, 2, {0x01, 7, 0x01, 7}}, {0, 0, {}}}))), 0);
}

// A panorama picture `width` x 4 whose pixels hold their column.
std::unique_ptr<CRsrcList> Panorama(int16_t width)
{
    auto bitmap = qmtest::MakeBitmap(width, 4);
    Rows rows(4, std::string());
    for (int16_t x = 0; x < width; ++x)
        for (std::string& row : rows)
            row += qmtest::PixelChar(static_cast<uint8_t>(x % 36));
    qmtest::PaintPixels(*bitmap, rows);
    return std::make_unique<CRsrcList>(new OneBitmap(std::move(bitmap)), 0);
}

} // namespace

TEST(View, StartsWithItsDefaultsAndTablesBuiltWithThePiOfItsTime)
{
    C3DView view(nullptr);
    EXPECT_EQ(view.GetNear(), 31.0);
    EXPECT_EQ(view.GetFar(), 1000.0);
    EXPECT_EQ(view.GetVerticalScale(), 0.8);
    EXPECT_EQ(view.GetModelFactor(), 7.3);
    EXPECT_EQ(view.GetFocal(), 200);
    for (int16_t d : {0, 1, 45, 90, 180, 359, 360}) {
        EXPECT_EQ(view.Sine(d), std::sin(d * 3.14159 / 180)) << d;
        EXPECT_EQ(view.Cosine(d), std::cos(d * 3.14159 / 180)) << d;
    }
    EXPECT_NE(view.Sine(180), 0.0); // 3.14159 is not pi
}

TEST(View, AnglesWrapIntoZeroTo359)
{
    EXPECT_EQ(C3DView::AddAngle(5, -370), 355);
    EXPECT_EQ(C3DView::AddAngle(359, 2), 1);
    EXPECT_EQ(C3DView::AddAngle(0, -32768), 352);
    EXPECT_EQ(C3DView::AddAngle(300, 32767), 307);
    C3DView view(nullptr);
    view.SetHeading(-90);
    view.AddPitch(-1);
    view.AddRoll(725);
    int16_t p = 0, h = 0, r = 0;
    view.GetAngles(p, h, r);
    EXPECT_EQ((std::vector<int16_t>{p, h, r}), (std::vector<int16_t>{359, 270, 5}));
}

TEST(View, TheFocalLengthStaysOneOrMore)
{
    C3DView view(nullptr);
    view.AddFocal(-199);
    EXPECT_EQ(view.GetFocal(), 1);
    view.AddFocal(-5);
    EXPECT_EQ(view.GetFocal(), 1);
    view.SetFocal(-40);
    EXPECT_EQ(view.GetFocal(), 1);
    view.SetFocal(1435);
    view.AddFocal(32767);
    EXPECT_EQ(view.GetFocal(), 32767);
}

TEST(View, PointAtHeadingMovesAlongTheHeading)
{
    C3DView view(nullptr);
    view.SetPosition(C3DPoint{-100, 7, 50, 0});
    view.SetHeading(30);
    const C3DPoint p = view.PointAtHeading(40.0);
    EXPECT_EQ(p.x, -100 + 40.0 * view.Sine(30));
    EXPECT_EQ(p.y, 7.0);
    EXPECT_EQ(p.z, 50 + 40.0 * view.Cosine(30));
}

TEST(View, OneAngleMatricesEqualTheGeneralProduct)
{
    C3DView view(nullptr);
    view.SetPosition(C3DPoint{-123.5, 17.25, 402.75, 0});
    for (int16_t a = 1; a < 360; ++a) {
        for (int32_t which = 0; which < 3; ++which) {
            SetAngles(view, which == 0 ? a : 0, which == 1 ? a : 0, which == 2 ? a : 0);
            view.BuildViewMatrix();
            ExpectNear(view, GeneralProduct(view),
                       "angle " + std::to_string(a) + " axis " + std::to_string(which));
        }
    }
    SetAngles(view, 0, 0, 0);
    view.BuildViewMatrix();
    ExpectNear(view, GeneralProduct(view), "no angle");
}

TEST(View, EveryShortFormOfWorldToCameraEqualsTheFullProduct)
{
    C3DView view(nullptr);
    view.SetPosition(C3DPoint{30, -12, 250, 0});
    C3DModel model;
    model.vertexCount = 2;
    model.model[0] = C3DPoint{-40.5, 8, 31, 0};
    model.model[1] = C3DPoint{12, -3.25, -7, 0};
    model.position = C3DPoint{100, 2, 300, 0};
    const int16_t angles[][3] = {{0, 0, 0},    {17, 0, 0},   {0, 250, 0},   {0, 0, 333},
                                 {17, 250, 0}, {17, 0, 333}, {0, 250, 333}, {17, 250, 333}};
    for (const auto& a : angles) {
        SetAngles(view, a[0], a[1], a[2]);
        view.BuildViewMatrix();
        view.ModelToWorld(model);
        view.WorldToCamera(model);
        const Matrix m = GeneralProduct(view);
        for (int16_t i = 0; i < model.vertexCount; ++i) {
            const C3DPoint& w = model.world[i];
            const double want[3] = {w.x * m[0][0] + w.y * m[1][0] + w.z * m[2][0] + m[3][0],
                                    w.x * m[0][1] + w.y * m[1][1] + w.z * m[2][1] + m[3][1],
                                    w.x * m[0][2] + w.y * m[1][2] + w.z * m[2][2] + m[3][2]};
            EXPECT_NEAR(model.camera[i].x, want[0], kTolerance) << a[0] << " " << a[1] << " " << a[2];
            EXPECT_NEAR(model.camera[i].y, want[1], kTolerance) << a[0] << " " << a[1] << " " << a[2];
            EXPECT_NEAR(model.camera[i].z, want[2], kTolerance) << a[0] << " " << a[1] << " " << a[2];
        }
    }
    EXPECT_EQ(model.world[0].x, 59.5);
}

TEST(View, ModelToWorldMakesEveryPolygonVisibleAndNotCulledAgain)
{
    C3DView view(nullptr);
    C3DModel model = CameraModel({{1, 2, 3}});
    model.polygons[0].visible = 0;
    model.polygons[0].culled = 1;
    view.ModelToWorld(model);
    EXPECT_EQ(model.polygons[0].visible, 1);
    EXPECT_EQ(model.polygons[0].culled, 0);
}

TEST_F(ViewTest, ProjectsWithTruncationTowardZeroAndSaturates)
{
    struct Case {
        C3DPoint point;
        int16_t sx, sy;
    };
    const Case cases[] = {
        {{10, 10, 100, 0}, 180, 84},          {{-1, 0, 300, 0}, 159, 100},
        {{-160.25, -0.5, 100, 0}, -160, 100}, // 160 - 320.5 truncates to -160; 100.8 to 100
        {{1, 1, 1e-3, 0}, 32767, -32768},     // no longer wrapped back onto the screen
        {{-1, -1, 1e-3, 0}, -32768, 32767},
    };
    for (const Case& c : cases) {
        C3DPoint p = c.point;
        int16_t sx = 0, sy = 0;
        view.ProjectPoint(p, sx, sy);
        EXPECT_EQ(sx, c.sx) << c.point.x << " " << c.point.z;
        EXPECT_EQ(sy, c.sy) << c.point.y << " " << c.point.z;
    }
    C3DPoint zero{1, 1, 0, 0};
    int16_t sx = 0, sy = 0;
    view.ProjectPoint(zero, sx, sy);
    EXPECT_EQ(zero.z, 1e-8); // kept in the vertex
    EXPECT_EQ(sx, 32767);
    EXPECT_EQ(sy, -32768);
}

TEST_F(ViewTest, PolygonsWhollyBeforeNearOrBeyondFarAreCulled)
{
    struct Case {
        std::vector<double> zs;
        bool sides;
        int16_t culled;
    };
    const Case cases[] = {
        {{10, 20, 30}, false, 1},
        {{10, 20, 31}, false, 0},
        {{10, 20, 31}, true, 1},
        {{0, 0, 0}, false, 1},
        {{1001, 2000, 1500, 1200}, false, 1},
        {{1000, 2000, 1500}, false, 0},
        {{1000, 2000, 1500}, true, 1},
        {{10, 20, 30, 40}, false, 0}, // a quad's fourth vertex counts
    };
    for (const Case& c : cases) {
        C3DModel model = CameraModel({c.zs, {100, 100, 100}});
        view.CullPolygons(model, c.sides);
        EXPECT_EQ(model.polygons[0].culled, c.culled) << c.zs[0] << " sides " << c.sides;
        EXPECT_EQ(model.polygons[1].culled, 0);
    }
    C3DModel single = CameraModel({{1, 2, 3}});
    view.CullPolygons(single, false);
    EXPECT_EQ(single.polygons[0].culled, 0); // models of one polygon are not tested
}

TEST_F(ViewTest, SideTestsCullPolygonsWhollyBesideTheView)
{
    // kx = 160 / 200 = 0.8: at z = 100 the right side is x = 80.
    C3DModel model = CameraModel({{100, 100, 100}, {100, 100, 100}});
    for (int16_t v = 0; v < 3; ++v)
        model.camera[v].x = 80 + v;
    model.camera[3].x = -100; // the second polygon reaches across
    view.CullPolygons(model, true);
    EXPECT_EQ(model.polygons[0].culled, 1);
    EXPECT_EQ(model.polygons[1].culled, 0);
}

TEST_F(ViewTest, ModelsAreCulledByTheirBoundingSphere)
{
    struct Case {
        C3DPoint at;
        double radius;
        bool sides;
        bool culled;
    };
    const Case cases[] = {
        {{0, 0, 1015, 0}, 10, false, true},
        {{0, 0, 1005, 0}, 10, false, false},
        {{0, 0, 20, 0}, 10, false, true},
        {{0, 0, 25, 0}, 10, false, false},
        {{0, 0, 1015, 0}, 10, true, true},
        {{500, 0, 35, 0}, 10, true, false}, // straddles the near distance: no horizontal test
        {{500, 0, 50, 0}, 10, true, true},  // w = 160 x 50 / 200 = 40
        {{-49, 0, 50, 0}, 10, true, false}, // -49 + 10 reaches -w
        {{0, 195, 50, 0}, 10, true, true},  // v = 100 x 7.3 x 50 / 200 = 182.5
        {{0, 195, 50, 0}, 10, false, false},
    };
    for (const Case& c : cases) {
        C3DModel model;
        model.position = c.at;
        model.radius = c.radius;
        EXPECT_EQ(view.CullModel(model, c.sides), c.culled) << c.at.x << "," << c.at.y << "," << c.at.z;
    }
}

TEST_F(ViewTest, TheDrawListKeepsTheDeepestFirstAndTheNewestFirstAmongEquals)
{
    C3DModel first = CameraModel({{100, 200, 300}, {50, 50, 50, 50}, {10, 10, 10}});
    first.polygons[2].culled = 1;
    view.AddToDrawList(first, 1);
    C3DModel second = CameraModel({{300, 300, 300, 300}, {50, 50, 50}});
    second.polygons[0].visible = 0;
    view.AddToDrawList(second, 1);
    ASSERT_EQ(view.GetDrawCount(), 3);
    // Depths 0.33333 x 600, 0.25 x 200 and 0.33333 x 150, which lies just below 50.
    EXPECT_EQ(view.GetDrawEntry(0).depth, 0.33333 * 600);
    EXPECT_EQ(view.GetDrawEntry(1).depth, 0.25 * 200);
    EXPECT_EQ(view.GetDrawEntry(1).colour, 2);
    EXPECT_EQ(view.GetDrawEntry(2).depth, 0.33333 * 150);

    C3DModel equal = CameraModel({{50, 50, 50, 50}});
    equal.polygons[0].colour = 9;
    view.AddToDrawList(equal, 1);
    EXPECT_EQ(view.GetDrawEntry(1).colour, 9); // equal depth: the newest first
    EXPECT_EQ(view.GetDrawEntry(2).colour, 2);

    view.AddToDrawList(equal, 0);
    EXPECT_EQ(view.GetDrawCount(), 0);
}

TEST_F(ViewTest, DrawListPaintsTheFarthestFirst)
{
    view.SetVerticalScale(1.0);
    // A square `half` pixels either side of the screen's centre.
    const auto square = [](double z, double half, uint16_t colour) {
        C3DModel model;
        model.vertexCount = 4;
        const double h = z * half / 200;
        model.camera[0] = {-h, h, z, 0};
        model.camera[1] = {h, h, z, 0};
        model.camera[2] = {h, -h, z, 0};
        model.camera[3] = {-h, -h, z, 0};
        model.polygonCount = 1;
        model.polygons[0].vertexCount = 4;
        model.polygons[0].colour = colour;
        for (uint16_t k = 0; k < 4; ++k)
            model.polygons[0].indices[k] = k;
        return model;
    };
    C3DModel nearer = square(100, 10, 1);
    C3DModel farther = square(400, 5, 2);
    view.AddToDrawList(nearer, 1);
    view.AddToDrawList(farther, 1);
    view.DrawList(false);
    EXPECT_EQ(pixels[95 * 320 + 160], 1); // the nearer square covers the farther one
    EXPECT_EQ(pixels[90 * 320 + 160], 1);
    view.DrawList(true); // outlines: the farther square's lies within the nearer one
    EXPECT_EQ(pixels[95 * 320 + 160], 2);
    EXPECT_EQ(pixels[90 * 320 + 160], 1);
    EXPECT_EQ(pixels[100 * 320 + 160], 1);
}

TEST(ViewFrameBuffer, RowZeroIsTheTopRowInEitherRowOrder)
{
    // An engine bitmap, bottom-up.
    const auto bitmap = qmtest::MakeBitmap(10, 6);
    C3DView view(nullptr);
    view.AttachBitmap(*bitmap, nullptr);
    const C3DFrameBuffer& fb = *view.GetFrameBuffer();
    EXPECT_EQ(fb.width, 10);
    EXPECT_EQ(fb.height, 6);
    EXPECT_EQ(fb.stride, -bitmap->GetRowBytes());
    for (int32_t y = 0; y < 6; ++y)
        EXPECT_EQ(fb.rows[static_cast<size_t>(y)], bitmap->RowOffset(y)) << y;
    EXPECT_EQ(
        (std::vector<int16_t>{fb.centreX, fb.centreY, fb.clipLeft, fb.clipTop, fb.clipRight, fb.clipBottom}),
        (std::vector<int16_t>{5, 3, 0, 0, 9, 5}));
    view.SetPixels(bitmap.get(), bitmap->LockBits());
    view.FillRows(1, CRect(0, 0, 0, 10));
    view.DrawLine(0, 5, 9, 5, 2);
    bitmap->UnlockBits();
    EXPECT_EQ(qmtest::Pixels(*bitmap),
              (Rows{"1111111111", "..........", "..........", "..........", "..........", "2222222222"}));

    // A top-down buffer.
    std::vector<uint8_t> rows(10 * 6, 255);
    view.AttachRows(10, 6, 0, 10, nullptr);
    view.SetPixels(nullptr, rows.data());
    view.FillRows(1, CRect(0, 0, 0, 10));
    EXPECT_EQ(rows[0], 1);
    EXPECT_EQ(rows[9], 1);
    EXPECT_EQ(rows[10], 255);
}

TEST(ViewFrameBuffer, ARectangleSetsTheClipAreaCutToThePixelsAndTheCentre)
{
    const auto bitmap = qmtest::MakeBitmap(10, 6);
    C3DView view(nullptr);
    const CRect inside(1, 2, 5, 8);
    view.AttachBitmap(*bitmap, &inside);
    const C3DFrameBuffer* fb = view.GetFrameBuffer();
    EXPECT_EQ((std::vector<int16_t>{fb->centreX, fb->centreY, fb->clipLeft, fb->clipTop, fb->clipRight,
                                    fb->clipBottom}),
              (std::vector<int16_t>{5, 3, 2, 1, 7, 4}));
    const CRect beyond(-2, -3, 20, 30);
    view.AttachBitmap(*bitmap, &beyond);
    fb = view.GetFrameBuffer();
    EXPECT_EQ((std::vector<int16_t>{fb->centreX, fb->centreY, fb->clipLeft, fb->clipTop, fb->clipRight,
                                    fb->clipBottom}),
              (std::vector<int16_t>{13, 9, 0, 0, 9, 5}));
}

TEST(ViewFrameBuffer, PixelsOfABitmapLaidOutOtherwiseAreNotTaken)
{
    const auto bitmap = qmtest::MakeBitmap(10, 6);
    const auto taller = qmtest::MakeBitmap(10, 7);
    C3DView view(nullptr);
    view.AttachBitmap(*bitmap, nullptr);
    view.SetPixels(taller.get(), taller->LockBits());
    EXPECT_EQ(view.GetPixels(), nullptr);
    view.SetPixels(bitmap.get(), bitmap->LockBits());
    EXPECT_NE(view.GetPixels(), nullptr);
    view.Release();
    EXPECT_EQ(view.GetFrameBuffer(), nullptr);
    EXPECT_EQ(view.GetPixels(), nullptr);
    view.SetPixels(bitmap.get(), bitmap->LockBits());
    EXPECT_EQ(view.GetPixels(), nullptr);
}

TEST_F(ViewSpriteTest, ASpriteStandsScaledBetweenItsFootAndHead)
{
    Open(16, 12);
    const auto images = Sprites();
    TestLegend legend(images.get(), 4);
    CSortPoly entry = Sprite(&legend, 8, 10, 6);
    view->DrawSprite(entry);
    // Into rows 6..9, four wide (2 x 4 / 2) from x = 8 - 2; the engine's stretch of 2 pixels
    // onto 4 covers 3 of them.
    EXPECT_EQ(Picture(),
              (Rows{"................", "................", "................", "................",
                    "................", "................", "......777.......", "......777.......",
                    "......777.......", "................", "................", "................"}));
}

TEST_F(ViewSpriteTest, SpritesAreCutToTheClipArea)
{
    const CRect clip(0, 0, 8, 7); // rows 0..7, columns 0..6
    Open(16, 12, &clip);
    const auto images = Sprites();
    TestLegend legend(images.get(), 4);
    CSortPoly entry = Sprite(&legend, 6, 10, 6);
    view->DrawSprite(entry);
    EXPECT_EQ(Picture()[6], "....777.........");
    EXPECT_EQ(Picture()[7], "....777.........");
    EXPECT_EQ(Picture()[8], "................");
}

TEST_F(ViewSpriteTest, SpritesTooSmallTooWideOrWaterTooTallAreSkipped)
{
    Open(40, 40);
    const auto images = Sprites();
    struct Case {
        int32_t kind;
        int16_t foot, head;
        bool drawn;
    };
    const Case cases[] = {
        {4, 20, 20, false},                    // foot and head on one row
        {4, 20, 19, false},                    // 1 pixel wide
        {4, 20, 18, true},  {4, 20, 12, true}, // 8 wide: four times the image
        {4, 20, 11, false},                    // 9 wide
        {1, 20, 16, true},                     // water: twice the image's height
        {1, 20, 15, false},
    };
    for (const Case& c : cases) {
        env.GetBitmap()->LockBits();
        env.GetBitmap()->Fill(255);
        env.GetBitmap()->UnlockBits();
        TestLegend legend(images.get(), c.kind);
        CSortPoly entry = Sprite(&legend, 20, c.foot, c.head);
        view->DrawSprite(entry);
        const Rows picture = Picture();
        const bool drawn = std::any_of(picture.begin(), picture.end(), [](const std::string& row) {
            return row.find('7') != std::string::npos;
        });
        EXPECT_EQ(drawn, c.drawn) << c.kind << " " << c.foot << "-" << c.head;
    }
}

TEST_F(ViewSpriteTest, AnImageWithoutSizeDrawsNothingAndAnAnimatedEntryDrawsItself)
{
    Open(16, 12);
    const auto images = Sprites();
    images->SetIndex(1); // the empty cel
    TestLegend empty(images.get(), 4);
    CSortPoly entry = Sprite(&empty, 8, 10, 6);
    view->DrawSprite(entry);
    EXPECT_EQ(Picture(), Rows(12, std::string(16, '.')));

    TestLegend animated(images.get(), 4);
    animated.frame = 0; // the first cel's size places it
    entry = Sprite(&animated, 8, 10, 6);
    view->DrawSprite(entry);
    ASSERT_EQ(animated.drawn.size(), 1u);
    EXPECT_EQ(animated.drawn[0].first, CRect(6, 6, 10, 10));
    EXPECT_EQ(animated.drawn[0].second, CRect(0, 0, 12, 16));
    EXPECT_EQ(Picture(), Rows(12, std::string(16, '.')));
}

TEST_F(ViewSpriteTest, DrawListDrawsAnEntryWithALegendObjectAsItsSprite)
{
    Open(16, 12);
    const auto images = Sprites();
    TestLegend legend(images.get(), 4);
    std::unique_ptr<C3DModel> marker = view->MakeModel(kMarkerQuad, 1);
    marker->polygons[0].legend = &legend;
    marker->camera[0] = {0, -2, 200, 0}; // foot on row 8
    marker->camera[1] = {0, 2, 200, 0};  // head on row 4
    marker->camera[2] = {0, 2, 200, 0};
    marker->camera[3] = {0, -2, 200, 0};
    view->AddToDrawList(*marker, 1);
    env.GetBitmap()->LockBits();
    view->SetPixels(env.GetBitmap(), env.GetBitmap()->GetBits());
    view->DrawList(false);
    env.GetBitmap()->UnlockBits();
    EXPECT_EQ(Picture()[4], "......777.......");
    EXPECT_EQ(Picture()[8], "................");
}

TEST_F(ViewSpriteTest, PanoramaTilesStepByTheImageWidthLessTwo)
{
    Open(40, 16);
    view->TilePanorama(*Panorama(100));
    const std::vector<int16_t>& tiles = view->GetPanoramaTiles();
    ASSERT_EQ(tiles.size(), 59u); // 0, 98, ..., 5684: more than sixteen
    EXPECT_EQ(tiles[1], 98);
    EXPECT_EQ(tiles.back(), 5684);
    view->TilePanorama(*Panorama(3));
    EXPECT_EQ(view->GetPanoramaTiles().size(), 5760u);
    view->TilePanorama(*Panorama(2)); // would never get round
    EXPECT_TRUE(view->GetPanoramaTiles().empty());
}

TEST_F(ViewSpriteTest, ThePanoramaShowsTheHeadingsWindowWithItsBottomOnTheHorizon)
{
    Open(40, 16);
    const auto images = Panorama(10);
    view->TilePanorama(*images);
    view->SetHeading(1); // the window starts at strip pixel 16
    view->DrawPanorama(*images, 10);
    const Rows picture = Picture();
    std::string row;
    for (int32_t x = 0; x < 40; ++x)
        row += static_cast<char>('0' + x % 8); // each tile shows 8 columns before the next covers it
    for (int32_t y = 0; y < 16; ++y)
        EXPECT_EQ(picture[static_cast<size_t>(y)], y >= 6 && y < 10 ? row : std::string(40, '.')) << y;
}

TEST_F(ViewSpriteTest, ThePanoramaIsCutToTheClipAreaAndNeedsTheHorizonInsideIt)
{
    const CRect clip(8, 4, 14, 30); // rows 8..13, columns 4..29
    Open(40, 16, &clip);
    const auto images = Panorama(10);
    view->TilePanorama(*images);
    view->DrawPanorama(*images, 8);  // on the clip top: nothing
    view->DrawPanorama(*images, 13); // on the clip bottom: nothing
    EXPECT_EQ(Picture(), Rows(16, std::string(40, '.')));
    view->DrawPanorama(*images, 10);
    const Rows picture = Picture();
    EXPECT_EQ(picture[7], std::string(40, '.'));
    // Heading 0: strip pixel 0 at column 4, the window 26 pixels wide.
    std::string row(4, '.');
    for (int32_t x = 0; x < 26; ++x)
        row += static_cast<char>('0' + x % 8);
    row += std::string(10, '.');
    EXPECT_EQ(picture[8], row);
    EXPECT_EQ(picture[9], row);
    EXPECT_EQ(picture[10], std::string(40, '.'));
}
