#pragma once
// CPanoramaStrip: one layer of the hunting field's scenery, a row of sprite cels side by side
// that together make a panorama wider than the screen and wrap around without end when the
// field scrolls. Each cel is an animator element of its own on the owner frame (the hunting
// module's frame), so that it stands at its own depth among the animals: bushes in front of
// an animal, hills behind it.
//
// Depths come from an optional depth record ("STR" id): entry i, read as a number v, gives
// cel i the depth v when v is -1 or 0, else 400 - v (v is a screen line of the 400-pixel
// field, so a bush on line 380 stands at depth 20). Without a record every cel lies at 1000,
// behind everything. A cel of depth -1 is never shown; a cel of another negative depth goes
// to 1000 and is shown only as cel 0 or cel 19.
//
// The far layer also carries the obstacle bands of a "PAN" record: 57 signed 16-bit values,
// the band starts A of cels 0-18, their band ends B, and their obstacle flags (low byte, not
// 0: the band is an obstacle). A place of a flagged cel whose depth lies strictly between A
// and B is blocked: no animal stands or walks there. Cels from 19 on have no band.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/controls/Frame.h"

class CAnimatorWnd;
class CImgSet;

// The bands of a "PAN" record, one entry per cel 0-18 (all zero for a missing record).
struct PanoramaBands {
    static constexpr int32_t kCels = 19;
    static constexpr int32_t kValues = 3 * kCels;
    int16_t start[kCels] = {};
    int16_t end[kCels] = {};
    uint8_t obstacle[kCels] = {};

    // Reads "PAN" id from every library; a missing or short record leaves the values it
    // lacks at 0.
    static PanoramaBands Read(int32_t id);
};

class CPanoramaStrip : public CFrame {
public:
    static constexpr uint32_t kKind = 6;
    static constexpr int16_t kHiddenDepth = -1;
    static constexpr int16_t kFarDepth = 1000;
    static constexpr int16_t kViewWidth = 640;
    static constexpr int32_t kFieldHeight = 400;
    static constexpr int32_t kCursor = 690002;

    // Builds the cels left to right from the rectangle's top-left corner onto the owner
    // frame, each sized to its image. The strip owns the image set; a set of one image is
    // shown twice. The depth and "PAN" record ids may be 0 (none).
    CPanoramaStrip(int32_t id, int32_t depthRecordId, int32_t panRecordId, const CRect& rect, CFrame* owner,
                   std::unique_ptr<CImgSet> images);
    // Takes its cels off the owner frame and deletes them, then the image set.
    ~CPanoramaStrip() override;
    CPanoramaStrip(const CPanoramaStrip&) = delete;
    CPanoramaStrip& operator=(const CPanoramaStrip&) = delete;

    // The strip keeps its own place and takes the new v and depth; the horizontal move
    // (h - the strip's h) moves the panorama, whose cels are placed again so that they stay
    // edge to edge in image order, wrapping around, and cover the 640-pixel view.
    void MoveTo(int16_t h, int16_t v, int16_t z) override;
    // The cels draw themselves.
    void DrawContent(CDrawEnv*, const CRect&) override {}

    // Whether panorama position h (wrapped into 0..width - 1, 0 counting as 1) at the depth
    // lies in an obstacle band: A < depth < B of the cel holding h. The hint is where the
    // search starts (negative: anywhere) and receives the cel found.
    bool IsBlocked(int32_t h, int16_t depth, int16_t& hint) const;

    int32_t GetTotalWidth() const { return totalWidth_; }
    int16_t GetCelCount() const { return static_cast<int16_t>(cels_.size()); }
    CAnimatorWnd* GetCel(int16_t i) const { return cels_[static_cast<size_t>(i)].element; }
    int16_t GetCelDepth(int16_t i) const { return cels_[static_cast<size_t>(i)].depth; }
    // The right edge of cel i in panorama positions (the widths of cels 0..i summed).
    int32_t GetRightEdge(int16_t i) const { return cels_[static_cast<size_t>(i)].right; }
    bool HasObstacles() const { return hasObstacles_; }
    // The panorama's shift on screen: cel 0's left edge lies at this h (wrapped into
    // 0..width - 1).
    int32_t GetShift() const { return shift_; }

private:
    struct Cel {
        CAnimatorWnd* element = nullptr;
        int16_t depth = kFarDepth;
        int32_t right = 0;
        int16_t bandStart = 0;
        int16_t bandEnd = 0;
        bool obstacle = false;
        bool onOwner = false;
    };

    void ReadDepths(int32_t depthRecordId);
    // Places every cel for the current shift.
    void PlaceCels();

    CFrame* owner_;
    std::unique_ptr<CImgSet> images_;
    std::vector<Cel> cels_;
    int32_t totalWidth_ = 0;
    int32_t shift_ = 0;
    bool hasObstacles_ = false;
};
