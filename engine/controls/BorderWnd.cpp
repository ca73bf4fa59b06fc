#include "engine/controls/BorderWnd.h"

#include "engine/controls/Wind.h"
#include "engine/framework/Str.h"
#include "platform/Cursor.h"
#include "platform/Desktop.h"
#include "platform/Fatal.h"
#include "platform/Metrics.h"

namespace {

// Not a static object: the program deletes it (DeleteBorderWnd) while the window system
// still exists.
CBorderWnd* g_border = nullptr;

// Windows of the engine are activated by bringing them to the top.
void BringUp(plat::WindowHandle window)
{
    if (plat::IsWindow(window))
        plat::ActivateWindow(window);
}

intptr_t BorderWndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case plat::msg::Activate:
        if (plat::LowWord(wParam) != plat::activate::Inactive) {
            if (plat::HighWord(wParam) != 0)
                plat::ShowWindow(hwnd, plat::ShowCommand::Restore);
            // The main window lies in front of the border, never behind it.
            if (CWind* top = CWind::GetTopWnd())
                BringUp(top->GetHwnd());
        }
        return 0;
    case plat::msg::Paint: {
        const plat::PaintContext paint = plat::BeginPaint(hwnd);
        plat::EndPaint(hwnd, paint);
        return 0;
    }
    case plat::msg::ActivateApp:
        if (wParam != 0)
            BringUp(hwnd);
        return 0;
    case plat::msg::ToggleFullscreen:
        // The full-screen switch of the display follows the border window's state.
        if (g_border && g_border->GetHwnd() == hwnd) {
            g_border->SetMaximized(!g_border->IsMaximized());
            return 0;
        }
        break;
    default: break;
    }
    return plat::DefaultWindowProc(hwnd, message, wParam, lParam);
}

} // namespace

plat::Rgb CBorderWnd::ColorOf(int32_t colorCode)
{
    switch (colorCode) {
    case 1: return plat::GetSysColor(plat::SysColor::Desktop);
    case -31999: return {0x40, 0x40, 0x40};
    case -31998: return {0x7F, 0x7F, 0x7F};
    case -31997: return {0xC0, 0xC0, 0xC0};
    case -31996: return {0xFF, 0xFF, 0xFF};
    default: return {0, 0, 0};
    }
}

CBorderWnd::CBorderWnd(const char* title, int32_t colorCode) : colorCode_(colorCode)
{
    CStr text(title ? title : "");
    CWind::MapTitleText(text);
    Create(text.GetText());
}

void CBorderWnd::Create(const char* title)
{
    plat::WindowClass cls;
    cls.name = kClassName;
    cls.style = plat::classstyle::NoClose;
    cls.proc = BorderWndProc;
    cls.extraBytes = 4;
    cls.cursor = plat::GetStandardCursor(plat::StandardCursor::Arrow);
    cls.background = ColorOf(colorCode_);
    if (!plat::RegisterWindowClass(cls))
        plat::Fatal("Couldn't register the Border window.");
    plat::WindowParams spec;
    spec.className = kClassName;
    spec.title = title;
    spec.style = plat::style::Popup | plat::style::ClipChildren | plat::style::SysMenu;
    spec.rect = plat::Rect::FromSize(0, 0, plat::GetMetrics().screenWidth, 0);
    hwnd_ = plat::CreateWindow(spec);
    if (!hwnd_)
        plat::Fatal("Couldn't create the Border Window");
    plat::SetTopMost(hwnd_, false);
    // The display is full screen while this window is maximized.
    plat::SetScreenOwner(hwnd_);
    plat::ShowWindow(hwnd_, plat::ShowCommand::Show);
}

CBorderWnd::~CBorderWnd()
{
    if (plat::IsWindow(hwnd_))
        plat::DestroyWindow(hwnd_);
    plat::UnregisterWindowClass(kClassName);
    hwnd_ = 0;
}

void CBorderWnd::SetMaximized(bool maximize)
{
    if (maximize == maximized_)
        return;
    maximized_ = maximize;
    plat::ShowWindow(hwnd_, maximize ? plat::ShowCommand::Maximize : plat::ShowCommand::Restore);
}

CBorderWnd* CreateBorderWnd(const char* title, int32_t colorCode)
{
    DeleteBorderWnd();
    g_border = new CBorderWnd(title, colorCode);
    return g_border;
}

CBorderWnd* GetBorderWnd() { return g_border; }

void DeleteBorderWnd()
{
    delete g_border;
    g_border = nullptr;
}

void ShowBorderWnd(bool restored)
{
    if (g_border)
        g_border->SetMaximized(!restored);
}
