// The desktop palette, composition of the windows, PNG pictures, the presented window,
// the full-screen state and the beep.
#include "platform/Desktop.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/Caret.h"
#include "platform/Color.h"
#include "platform/FileReplace.h"
#include "platform/Metrics.h"
#include "platform/PngEncode.h"
#include "platform/SdlBackend.h"
#include "platform/WindowInternal.h"

namespace plat {

using namespace detail;

namespace {

constexpr int kFirstFree = 10;
constexpr int kLastFree = 245;

struct DesktopState {
    ColorTable palette = DefaultDesktopPalette();
    Surface screen;
    WindowHandle presented = 0;
    WindowHandle screenOwner = 0;
    bool fullscreen = false;
    int beeps = 0;
    std::function<void()> beepHook;
    Display* display = nullptr;
};

DesktopState& State()
{
    static DesktopState state;
    return state;
}

// Inverts the caret's pixels when it belongs to this window, before anything above the
// window is drawn over them.
void InvertCaret(const WindowRecord& w, Point corner, Surface& out, const Rect& area, const Rect& clientClip)
{
    const CaretView caret = GetVisibleCaret();
    if (caret.window != w.handle)
        return;
    const Rect client = ClientArea(w);
    const Rect r = Intersect(caret.rect.Offset(corner.x + client.left, corner.y + client.top), clientClip);
    for (int y = r.top; y < r.bottom; ++y) {
        uint8_t* row = out.Row(y - area.top);
        for (int x = r.left; x < r.right; ++x)
            row[x - area.left] = static_cast<uint8_t>(~row[x - area.left]);
    }
}

void BlitWindow(const WindowRecord& w, Point corner, Surface& out, const Rect& area, const Rect& clip)
{
    const Rect dst = Intersect(Rect::FromSize(corner.x, corner.y, w.rect.Width(), w.rect.Height()), clip);
    for (int y = dst.top; y < dst.bottom; ++y) {
        const uint8_t* src = w.surface.Row(y - corner.y) + (dst.left - corner.x);
        std::memcpy(out.Row(y - area.top) + (dst.left - area.left), src, static_cast<size_t>(dst.Width()));
    }
    const Rect clientClip = Intersect(ClientArea(w).Offset(corner.x, corner.y), clip);
    if (clientClip.Empty())
        return;
    InvertCaret(w, corner, out, area, clientClip);
    for (WindowHandle c : w.children) {
        const WindowRecord* child = Find(c);
        if (child && child->visible)
            BlitWindow(*child, ScreenCorner(*child), out, area, clientClip);
    }
}

} // namespace

namespace detail {

uint8_t PaletteIndexOf(Rgb color) { return NearestColorIndex(State().palette, color.r, color.g, color.b); }

void ResetDesktop()
{
    StopSdlDisplay();
    DesktopState& s = State();
    s = DesktopState{};
    ResetUiText();
}

} // namespace detail

ColorTable DefaultDesktopPalette() { return SystemPalette(); }

const ColorTable& GetDesktopPalette() { return State().palette; }

int SetDesktopPalette(const ColorTable& colors, WindowHandle changedBy)
{
    ColorTable& pal = State().palette;
    int changed = 0;
    for (int i = kFirstFree; i <= kLastFree; ++i) {
        if (!(pal[i] == colors[i])) {
            pal[i] = colors[i];
            ++changed;
        }
    }
    if (changed == 0)
        return 0;
    for (auto& [h, w] : System().windows)
        w->surface.colors = pal;
    for (WindowHandle h : GetTopLevelWindows())
        SendWindowMessage(h, msg::PaletteChanged, changedBy);
    return changed;
}

void ComposeArea(Surface& out, const Rect& area)
{
    if (out.width != area.Width() || out.height != area.Height())
        out = Surface(area.Width(), area.Height());
    out.colors = State().palette;
    // A window copies every pixel of its rectangle: one that covers the whole area hides the
    // desktop and every window below it, so the picture starts with it (the main window of a
    // game covers its screen, which would otherwise be filled with the desktop first).
    const std::vector<WindowHandle>& windows = System().zOrder;
    size_t first = windows.size();
    bool covered = false;
    while (first > 0 && !covered) {
        const WindowRecord* w = Find(windows[--first]);
        covered = w && IsOnScreen(*w) && Intersect(w->rect, area) == area;
    }
    if (!covered) {
        first = 0;
        FillRect(out, {0, 0, out.width, out.height}, PaletteIndexOf(GetSysColor(SysColor::Desktop)));
    }
    for (size_t i = first; i < windows.size(); ++i) {
        const WindowRecord* w = Find(windows[i]);
        if (w && IsOnScreen(*w))
            BlitWindow(*w, w->rect.TopLeft(), out, area, area);
    }
}

const Surface& ComposeDesktop()
{
    const Metrics m = GetMetrics();
    ComposeArea(State().screen, {0, 0, m.screenWidth, m.screenHeight});
    return State().screen;
}

uint8_t DesktopPixel(int x, int y)
{
    const Surface& s = ComposeDesktop();
    return s.Contains(x, y) ? s.At(x, y) : 0;
}

void ConvertToRgb32(const Surface& src, uint32_t* dst, size_t dstPitch)
{
    uint32_t lookup[256];
    for (int i = 0; i < 256; ++i) {
        const Rgb& c = src.colors[static_cast<size_t>(i)];
        lookup[i] = 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
    }
    for (int y = 0; y < src.height; ++y) {
        const uint8_t* in = src.Row(y);
        uint32_t* out = dst + static_cast<size_t>(y) * dstPitch;
        // Eight pixels looked up into a block, then stored with one move: the compiler keeps
        // the block in registers and writes it with wide stores instead of one per pixel.
        int x = 0;
        for (; x + 8 <= src.width; x += 8) {
            uint32_t block[8];
            for (int k = 0; k < 8; ++k)
                block[k] = lookup[in[x + k]];
            std::memcpy(out + x, block, sizeof block);
        }
        for (; x < src.width; ++x)
            out[x] = lookup[in[x]];
    }
}

bool WriteSurfacePng(const Surface& surface, const std::filesystem::path& path, const Rect* area)
{
    const std::vector<uint8_t> png =
        EncodeIndexedPng(surface, area ? *area : Rect{0, 0, surface.width, surface.height}, surface.colors);
    return !png.empty() && ReplaceFileContents(path, png, false) == 0;
}

bool WriteDesktopPng(const std::filesystem::path& path, const Rect* area)
{
    return WriteSurfacePng(ComposeDesktop(), path, area);
}

void SetPresentedWindow(WindowHandle window) { State().presented = window; }

WindowHandle GetPresentedWindow()
{
    if (IsWindow(State().presented))
        return State().presented;
    WindowHandle best = 0;
    for (WindowHandle h : System().zOrder) {
        const WindowRecord* w = Find(h);
        if (w && w->visible && (w->style & style::Caption) && (best == 0 || h < best))
            best = h;
    }
    return best;
}

Rect GetPresentedArea()
{
    const WindowRecord* w = Find(GetPresentedWindow());
    if (!w) {
        const Metrics m = GetMetrics();
        return {0, 0, m.screenWidth, m.screenHeight};
    }
    const Point corner = ScreenCorner(*w);
    const Rect client = ClientArea(*w);
    const Rect strip = MenuStripArea(*w);
    const int top = strip.Empty() ? client.top : strip.top;
    return Rect{client.left, top, client.right, client.bottom}.Offset(corner.x, corner.y);
}

void SetScreenOwner(WindowHandle window) { State().screenOwner = window; }

WindowHandle GetScreenOwner() { return IsWindow(State().screenOwner) ? State().screenOwner : 0; }

void RequestFullscreenToggle()
{
    if (const WindowHandle owner = GetScreenOwner())
        PostWindowMessage(owner, msg::ToggleFullscreen);
    else
        State().fullscreen = !State().fullscreen;
}

bool IsFullscreen()
{
    if (const WindowHandle owner = GetScreenOwner())
        return IsVisible(owner) && IsMaximized(owner);
    return State().fullscreen;
}

Rgb GetScreenBorderColor()
{
    const WindowRecord* w = Find(GetScreenOwner());
    return w && w->cls->cls.background ? *w->cls->cls.background : Rgb{};
}

void Beep()
{
    ++State().beeps;
    if (State().beepHook)
        State().beepHook();
}

int GetBeepCount() { return State().beeps; }
void SetBeepHook(std::function<void()> hook) { State().beepHook = std::move(hook); }

void SetDisplay(Display* display)
{
    State().display = display;
    if (display)
        GetMessageQueue().SetEventSource(
            [display](MessageQueue&, uint64_t deadlineMs) { display->Pump(deadlineMs, true); });
    else
        GetMessageQueue().SetEventSource({});
}

Display* GetDisplay() { return State().display; }

} // namespace plat
