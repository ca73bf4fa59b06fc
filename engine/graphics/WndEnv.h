#pragma once
// CWndEnv: the drawing environment of a window's client area. The window makes the device
// context (CreateWindowDC) and keeps it; the environment is set up on it for each paint pass,
// and the off-screen environment's picture is copied into it.
#include <memory>

#include "engine/graphics/DrawEnv.h"
#include "platform/Window.h"

class CWndEnv : public CDrawEnv {
public:
    CWndEnv() = default;

    // Sets up on the window's device context (again on each paint pass); the window places
    // the environment on the screen and receives the palette as the display's colours.
    void Setup(plat::DrawContext* dc, const CRect& rect, CPalette* palette, plat::WindowHandle window = 0);
    // The mouse position in the window's client coordinates, as a new point the caller owns.
    virtual CPoint* GetMousePos();
    plat::WindowHandle GetWindow() const { return window_; }

protected:
    plat::Point GetDCOrigin() override;
    void RealizePalette() override;

private:
    plat::WindowHandle window_ = 0;
};

// A device context over a window's client area: drawing coordinates start at the client
// area's corner and drawing stays inside it. Null for a handle that is not a window.
std::unique_ptr<plat::DrawContext> CreateWindowDC(plat::WindowHandle window);
