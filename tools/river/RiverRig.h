#pragma once
// A river scene over an 8-bit off-screen bitmap of its own, the way qmriver render and the
// scene's benchmark show one: the view covers the whole bitmap, drawn through an animated
// frame with no window, so the mouse point is what the caller sets (outside the view unless
// it says otherwise). The records name, by river number, the map, the height picture and the
// river settings.
#include <cstdint>
#include <vector>

#include "engine/controls/AnimFrame.h"
#include "engine/graphics/OffScEnv.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"

struct RiverRecords {
    int32_t maps = 7010;
    int32_t heights = 7011;
    int32_t scenery = 7012;
};

class RiverRig {
public:
    RiverRig(int16_t width, int16_t height, const RiverRecords& records);
    ~RiverRig();
    RiverRig(const RiverRig&) = delete;
    RiverRig& operator=(const RiverRig&) = delete;

    C3DScene& Scene() { return scene_; }
    C3DView& View() { return view_; }
    // The bitmap's pixels, rows top-down.
    std::vector<uint8_t> Pixels();

private:
    CRect rect_;
    COffScEnv env_;
    CAnimFrame frame_;
    C3DView view_;
    C3DScene scene_;
};
