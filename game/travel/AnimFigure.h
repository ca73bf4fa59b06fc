#pragma once
// CAnimFigure: an animator element of the river scenes that draws a line between two other
// positioned frames (A and B) into the screen's off-screen bitmap, through the scene's 3D
// view: the view is handed the locked pixels, then draws the line in the figure's colour
// index. It draws only while its module is in drawing phase 2.
#include <cstdint>

#include "engine/controls/anim/AnimatorWnd.h"

class CDibSect;

// What the figure draws through (the river's 3D view).
class CFigureView {
public:
    virtual ~CFigureView() = default;
    // The pixels to draw into: the locked off-screen bitmap (null pixels: unlocked).
    virtual void SetPixels(CDibSect* bitmap, uint8_t* pixels) = 0;
    virtual void DrawLine(const CPoint& from, const CPoint& to, uint8_t colour) = 0;
};

// The module phase the figure asks of its animator frame.
class CFigurePhase {
public:
    static constexpr int16_t kDrawPhase = 2;
    virtual ~CFigurePhase() = default;
    virtual int16_t GetDrawPhase() const = 0;
};

class CAnimFigure : public CAnimatorWnd {
public:
    // The frame is the animator object (the module's frame, which tells the phase); the
    // element owns the images.
    CAnimFigure(int32_t id, const CPoint& reference, CFrame* frame, CImgSet* images, CFigureView* view,
                CFrame* first, CFrame* second);

    // The line from A's position to B's, in phase 2 only.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Set by the figure's creator.
    void SetColour(uint8_t colour) { colour_ = colour; }
    uint8_t GetColour() const { return colour_; }

private:
    bool InDrawPhase() const;

    CFigureView* view_;
    CFrame* first_;
    CFrame* second_;
    uint8_t colour_ = 0;
};
