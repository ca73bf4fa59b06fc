#pragma once
// C3DView: the camera and drawing surface of the flat-shaded renderer that draws the river
// scenes. It keeps the camera (position and three whole-degree angles), the projection
// constants, the sine and cosine tables all angle maths goes through, the world-to-camera
// matrix, the layout of the 8-bit frame buffer it draws into and a list of polygons waiting to
// be drawn, sorted by depth: there is no depth buffer, the list's order alone decides what
// covers what (the farthest polygon is drawn first).
//
// Drawing a model: QueueModel culls it by its bounding sphere, moves its vertices into the
// world and the camera, culls its polygons by depth and puts the rest on the list; DrawList
// then fills them (3DViewRaster.cpp) or draws the sprites standing on them
// (3DViewSprites.cpp).
//
// Screen coordinates are 16-bit; x grows to the right and y downward, while camera y grows
// upward. Matrices use row vectors: camera point = (x, y, z, 1) x M, row 3 the translation.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Rect.h"
#include "game/action/3DModel.h"
#include "game/travel/AnimFigure.h"

class CAnimFrame;
class CDibSect;
class CImgSet;
class CRecReader;

// One polygon on the draw list: its colour words, its legend entry and its vertices in camera
// space, with its depth (the mean z of its vertices).
struct CSortPoly {
    int16_t vertexCount = 0;
    uint16_t colour = 0;
    uint16_t colourCopy = 0;
    int16_t flags = 0;
    C3DLegendEntry* legend = nullptr;
    C3DPoint vertices[C3DPolygon::kMaxVertices];
    double depth = 0;
};

// Where the view writes: pixel (x, y) is at base + rows[y] + x, rows[0] being the top row in
// either row order. The clip edges are inclusive.
struct C3DFrameBuffer {
    int16_t height = 0;
    int16_t width = 0;
    int16_t centreX = 0;
    int16_t centreY = 0;
    int16_t clipLeft = 0;
    int16_t clipTop = 0;
    int16_t clipRight = -1;
    int16_t clipBottom = -1;
    int32_t stride = 0; // bytes from one row to the row below: negative for bottom-up rows
    std::vector<int32_t> rows;
};

class C3DView : public CFigureView {
public:
    static constexpr double kDefaultNear = 31.0;
    static constexpr double kDefaultFar = 1000.0;
    static constexpr double kDefaultVerticalScale = 0.8;
    static constexpr double kDefaultModelFactor = 7.3;
    static constexpr int16_t kDefaultFocal = 200;
    static constexpr int16_t kTableSize = 361;
    // The panorama strip: 16 pixels a degree of heading around the whole circle.
    static constexpr int16_t kPanoramaPixelsPerDegree = 16;
    static constexpr int32_t kPanoramaWidth = 360 * kPanoramaPixelsPerDegree;
    // The colour of a model made from coordinate tables.
    static constexpr uint16_t kMadeColour = 159;
    // Triangles with a corner outside this range of x are not filled.
    static constexpr int16_t kFillMinX = -500;
    static constexpr int16_t kFillMaxX = 1000;

    // The frame draws sprites and panorama tiles through its drawing environment (may be null
    // for a view that only fills polygons).
    explicit C3DView(CAnimFrame* frame);
    ~C3DView() override;
    C3DView(const C3DView&) = delete;
    C3DView& operator=(const C3DView&) = delete;

    // --- Frame buffer ---
    // Lays the frame buffer out over a bitmap (bottom-up rows, as the engine's bitmaps keep
    // them). Without a rectangle the clip area is the whole bitmap and the centre its middle;
    // with one, the clip area is the rectangle (cut to the bitmap) and the centre its middle.
    void AttachBitmap(const CDibSect& bitmap, const CRect* rect);
    // The same over any rows: the top row `topOffset` bytes from the pixels' base, each next
    // row `stride` bytes further (negative when the rows are stored bottom-up).
    void AttachRows(int16_t width, int16_t height, int32_t topOffset, int32_t stride, const CRect* rect);
    // Forgets the layout and the pixels and empties the draw list.
    void Release();
    // The pixels to draw into (null: none). With a bitmap, only one laid out as attached is
    // taken: another (such as a window's new off-screen bitmap) gives no pixels until the view
    // is attached to it. Without one, the caller vouches that the pixels hold the layout.
    void SetPixels(CDibSect* bitmap, uint8_t* pixels) override;
    // Fills rows top..bottom inclusive, from the rectangle's left across its width, within
    // the clip area.
    void FillRows(uint8_t colour, const CRect& rect);

    // --- Models ---
    // Fills the model from a model text, numbered from the view's counter. False (with the
    // reason in `error` when given) when the text breaks a rule: the model is then not usable.
    bool LoadModel(CRecReader& reader, C3DModel& model, double scale, std::string* error = nullptr);
    // A one-polygon model of `count` (3 or 4) vertices (xs[i], ys[i], zs[i]) x scale, colour
    // 159, flags 1; null for another count.
    std::unique_ptr<C3DModel> MakeModel(const double* xs, const double* ys, const double* zs, int16_t count,
                                        double scale);
    std::unique_ptr<C3DModel> MakeModel(const C3DQuadTables& tables, double scale)
    {
        return MakeModel(tables.xs, tables.ys, tables.zs, 4, scale);
    }

    // --- Pipeline ---
    // The world-to-camera matrix from the camera's position and angles.
    void BuildViewMatrix();
    // World vertex = model vertex + position; every polygon visible and not culled again.
    void ModelToWorld(C3DModel& model);
    // Camera vertex = world vertex x the matrix, in the short form the angles allow.
    void WorldToCamera(C3DModel& model);
    // Marks the polygons that lie wholly before the near or beyond the far distance (and, with
    // sides, wholly outside one side of the view) as culled. Models of fewer than two polygons
    // are not tested.
    void CullPolygons(C3DModel& model, bool sides);
    // True when the model's bounding sphere lies outside the view (see 3DView.cpp).
    bool CullModel(const C3DModel& model, bool sides) const;
    // Puts every visible polygon that is not culled on the draw list, the deepest first and,
    // among equal depths, the newest first; with flag 0 empties the list instead. (Drawn in
    // ascending depth, as the list once was, every nearer polygon would be painted over by
    // those behind it.)
    void AddToDrawList(C3DModel& model, int16_t flag);
    // The same as AddToDrawList with flag 0.
    void ClearDrawList();
    // A model's whole way to the list: CullModel with sides, then ModelToWorld, WorldToCamera,
    // CullPolygons without sides and AddToDrawList. False when the model was culled.
    bool QueueModel(C3DModel& model);
    // Draws the list in its order, the farthest polygon first: sprites for entries whose legend
    // entry has an object image, else outlines (wireframe) or filled polygons.
    void DrawList(bool wireframe);
    // Screen position of a camera-space point (a z of exactly 0 becomes 1e-8 in the point).
    void ProjectPoint(C3DPoint& point, int16_t& sx, int16_t& sy) const;

    // --- Sprites and the panorama (3DViewSprites.cpp) ---
    // The entry's legend object drawn scaled between its projected vertices 0 (foot) and 1
    // (head), centred on the upper one.
    void DrawSprite(CSortPoly& entry);
    // Lays copies of the image side by side along the strip, two pixels overlapping.
    void TilePanorama(CImgSet& images);
    // The tiles seen at the current heading, their bottom edge on the horizon row.
    void DrawPanorama(CImgSet& images, int16_t horizonRow);

    // --- Raster (3DViewRaster.cpp) ---
    void FillPolygon(const CSortPoly& entry);
    void DrawPolygonEdges(CSortPoly& entry);
    void FillTriangle(int16_t x0, int16_t y0, int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
    // A triangle whose apex lies above (FillFlatBottom) or below (FillFlatTop) a horizontal edge
    // from xa to xb on row y.
    void FillFlatBottom(int16_t apexX, int16_t apexY, int16_t xa, int16_t xb, int16_t y, uint8_t colour);
    void FillFlatTop(int16_t xa, int16_t xb, int16_t y, int16_t apexX, int16_t apexY, uint8_t colour);
    // Pixels x0..x1 inclusive of one row.
    static void FillSpan(uint8_t* row, int16_t x0, int16_t x1, uint8_t colour);
    // Clips the segment to the clip area in place: 1 when some part remains, else 0.
    int16_t ClipLine(int16_t& x0, int16_t& y0, int16_t& x1, int16_t& y1) const;
    // A line, pixel by pixel; pixels outside the clip area are skipped.
    void DrawLine(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint8_t colour);
    void DrawLine(const CPoint& from, const CPoint& to, uint8_t colour) override;

    // --- Camera ---
    double GetX() const { return position_.x; }
    double GetZ() const { return position_.z; }
    void SetY(double y) { position_.y = y; }
    void AddX(double dx) { position_.x += dx; }
    void AddY(double dy) { position_.y += dy; }
    void AddZ(double dz) { position_.z += dz; }
    const C3DPoint& GetPosition() const { return position_; }
    void SetPosition(const C3DPoint& position) { position_ = position; }
    void SetHeading(int16_t heading) { heading_ = AddAngle(heading, 0); }
    void AddPitch(int16_t delta) { pitch_ = AddAngle(pitch_, delta); }
    void AddHeading(int16_t delta) { heading_ = AddAngle(heading_, delta); }
    void AddRoll(int16_t delta) { roll_ = AddAngle(roll_, delta); }
    // Pitch, heading and roll.
    void GetAngles(int16_t& pitch, int16_t& heading, int16_t& roll) const;
    // The camera position moved by `distance` along the heading.
    C3DPoint PointAtHeading(double distance) const;
    // The focal length stays 1 or more: culling divides by it and 0 or less turns the picture
    // over.
    void SetFocal(int16_t focal);
    void AddFocal(int16_t delta);
    int16_t GetFocal() const { return focal_; }
    void SetFar(double far) { far_ = far; }
    void SetNear(double near) { near_ = near; }
    void SetModelFactor(double factor) { modelFactor_ = factor; }
    void SetVerticalScale(double scale) { verticalScale_ = scale; }
    double GetNear() const { return near_; }
    double GetFar() const { return far_; }
    double GetVerticalScale() const { return verticalScale_; }
    double GetModelFactor() const { return modelFactor_; }

    // angle + delta in 0..359.
    static int16_t AddAngle(int16_t angle, int16_t delta);

    double Sine(int16_t degrees) const { return sine_[degrees]; }
    double Cosine(int16_t degrees) const { return cosine_[degrees]; }
    const double (&GetMatrix() const)[4][4] { return matrix_; }
    const C3DFrameBuffer* GetFrameBuffer() const { return frameBuffer_.get(); }
    uint8_t* GetPixels() const { return pixels_; }
    int32_t GetDrawCount() const { return static_cast<int32_t>(order_.size()); }
    const CSortPoly& GetDrawEntry(int32_t i) const { return pool_[order_[static_cast<size_t>(i)]]; }
    int16_t GetModelCounter() const { return modelCounter_; }
    const std::vector<int16_t>& GetPanoramaTiles() const { return panoramaTiles_; }

private:
    // The selector bits of the angles that are not zero.
    static constexpr int16_t kPitchBit = 1;
    static constexpr int16_t kHeadingBit = 2;
    static constexpr int16_t kRollBit = 4;

    void BuildTrigTables();
    C3DPoint ToCamera(const C3DPoint& world) const;
    // The row's first pixel; the frame buffer and its pixels must be present.
    uint8_t* Row(int32_t y) const { return pixels_ + frameBuffer_->rows[static_cast<size_t>(y)]; }
    bool CanDraw() const { return pixels_ && frameBuffer_; }
    bool Inside(int32_t x, int32_t y) const;
    // Moves end (x, y) of the segment from the other end onto the clip area's edge it crosses;
    // true when it moved.
    bool ClipEnd(int16_t& x, int16_t& y, int16_t otherX, int16_t otherY) const;
    void FillFlat(int16_t apexX, int16_t apexY, int16_t xa, int16_t xb, int16_t edgeY, uint8_t colour);
    void Project(const C3DPoint& point, double zeroZ, int16_t& sx, int16_t& sy) const;

    double near_ = kDefaultNear;
    double far_ = kDefaultFar;
    double verticalScale_ = kDefaultVerticalScale;
    double modelFactor_ = kDefaultModelFactor;
    int16_t pitch_ = 0;
    int16_t heading_ = 0;
    int16_t roll_ = 0;
    C3DPoint position_;
    int16_t focal_ = kDefaultFocal;
    double sine_[kTableSize] = {};
    double cosine_[kTableSize] = {};
    double matrix_[4][4] = {};
    int16_t selector_ = 0; // the angles the matrix was built with
    int16_t modelCounter_ = 0;
    std::unique_ptr<C3DFrameBuffer> frameBuffer_;
    // The bitmap the layout was taken from: its row bytes and stored rows (0 for raw rows).
    int32_t attachedRowBytes_ = 0;
    int32_t attachedRows_ = 0;
    uint8_t* pixels_ = nullptr;
    // The draw list: the entries in the order they were added, and their indices in drawing
    // order.
    std::vector<CSortPoly> pool_;
    std::vector<uint32_t> order_;
    CAnimFrame* frame_;
    std::vector<int16_t> panoramaTiles_;
};

// A model read from a model text at (x, y, z); null (the reason in `error` when given) when
// the text breaks a rule.
std::unique_ptr<C3DModel> CreateModel(C3DView& view, double x, double y, double z, CRecReader& reader,
                                      double scale, std::string* error = nullptr);
// The model text "STR" id from the open libraries at (0, 0, 0); null when there is no such
// record or its text breaks a rule.
std::unique_ptr<C3DModel> LoadModelById(C3DView& view, int32_t id, double scale,
                                        std::string* error = nullptr);
