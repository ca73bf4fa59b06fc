#pragma once
// The border window: a plain native popup behind the engine's main window. Maximized, it
// covers the screen in one colour around the main window (on a real display, the full-screen
// picture with the border colour around the game area); restored, it is out of the way. It is
// not a CWind and holds no graphic objects. There is at most one (GetBorderWnd); top-level
// engine windows are created with it as their owner, and minimizing the main window
// minimizes it instead.
#include <cstdint>

#include "platform/Surface.h"
#include "platform/Window.h"

class CBorderWnd {
public:
    static constexpr const char* kClassName = "BORDERWINDOW";
    // Colour codes: 1 the desktop colour, -31999 dark grey, -31998 grey, -31997 light grey,
    // -31996 white, anything else black.
    static plat::Rgb ColorOf(int32_t colorCode);

    // Registers the class and creates and shows the window (not maximized). Failures end the
    // program.
    CBorderWnd(const char* title, int32_t colorCode);
    // Destroys the window and unregisters the class.
    virtual ~CBorderWnd();
    CBorderWnd(const CBorderWnd&) = delete;
    CBorderWnd& operator=(const CBorderWnd&) = delete;

    // Maximizes (true) or restores (false); nothing when it is in that state already.
    void SetMaximized(bool maximize);
    bool IsMaximized() const { return maximized_; }
    plat::WindowHandle GetHwnd() const { return hwnd_; }
    int32_t GetColorCode() const { return colorCode_; }

private:
    void Create(const char* title);

    plat::WindowHandle hwnd_ = 0;
    int32_t colorCode_;
    bool maximized_ = false;
};

// Makes the one border window (replacing any earlier one).
CBorderWnd* CreateBorderWnd(const char* title, int32_t colorCode);
CBorderWnd* GetBorderWnd();
void DeleteBorderWnd();
// Restores (true) or maximizes (false) the border window when there is one.
void ShowBorderWnd(bool restored);
