#pragma once
// The state of the screen transition that is running and the operations its effects share
// (ScreenTransition.cpp); the effects that draw cells, the dissolve and the mosaic, live in
// TransitionCells.cpp.
#include <cstdint>

#include "engine/framework/Rect.h"

class CFrame;
class COffScEnv;
class CRegion;
class CWind;
class CWndEnv;

class CTransitionRun {
public:
    // Set-up: draws the frame into the window's off-screen picture and hides the cursor. The
    // window must have both environments.
    CTransitionRun(CWind& wnd, CFrame& frame, int32_t subMode);
    CTransitionRun(const CTransitionRun&) = delete;
    CTransitionRun& operator=(const CTransitionRun&) = delete;

    // The stages of the effect (none for a speed below 1 or an unknown code).
    void RunEffect(int32_t code, int32_t speed);
    // The whole frame copied once more without a clip, validated, the cursor shown.
    void End();

private:
    // Copies the off-screen picture's source rectangle to the destination rectangle of the
    // window (stretched when the sizes differ), clipped to the destination and, when given, to
    // the region. An empty or inverted rectangle copies nothing.
    void CopyRect(const CRect& src, const CRect& dest, const CRegion* region);
    // The copy, then the display shown and a wait until the real clock's tick changes.
    void CopyRectAndWait(const CRect& src, const CRect& dest, const CRegion* region);
    // The working rectangle A copied to itself, clipped to the region.
    void CopyClipped(const CRegion& region) { CopyRectAndWait(a_, a_, &region); }
    // Shows the display and waits until the real clock has moved on by `ticks` from `start`.
    static void PresentAndWait(uint32_t start, uint32_t ticks);

    void Wipe(int32_t speed);
    void DiagonalWipe(int32_t speed);
    void Slide(int32_t speed);
    void Iris(int32_t speed);
    void Box(int32_t speed);
    void Zoom(int32_t speed);
    void EasedStretch(int32_t speed);
    void SmearWipe(int32_t speed);
    // TransitionCells.cpp.
    void Dissolve(int32_t speed);
    void DissolveCell(int32_t x, int32_t y, int32_t speed);
    void Mosaic(int32_t speed);
    void MosaicPass(int32_t size);

    CWind& wnd_;
    COffScEnv* source_; // holds the new picture
    CWndEnv* target_;   // draws on the screen
    int32_t subMode_;
    CRect frame_;   // the frame's drawn rectangle
    CRect a_;       // the source rectangle
    CRect b_;       // the destination rectangle
    int32_t width_; // of the frame's rectangle
    int32_t height_;
};
