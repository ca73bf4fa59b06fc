// The SDL2 display: presents the composed desktop and turns SDL events into input.
#include "platform/SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <memory>

#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Metrics.h"
#include "platform/Window.h"
#include "platform/WindowManager.h"
#include "platform/widgets/DrawnDialogs.h"
#include "platform/widgets/TextCodes.h"

namespace plat {

namespace {

// The desktop is shown at most this often while messages are pumped.
constexpr uint64_t kFrameMs = 16;

// SDL's keys and ours, for the keys that are not letters, digits or function keys.
constexpr std::pair<SDL_Keycode, uint8_t> kKeys[] = {
    {SDLK_RETURN, key::Enter},  {SDLK_KP_ENTER, key::Enter},      {SDLK_ESCAPE, key::Escape},
    {SDLK_TAB, key::Tab},       {SDLK_BACKSPACE, key::Backspace}, {SDLK_SPACE, key::Space},
    {SDLK_LEFT, key::Left},     {SDLK_RIGHT, key::Right},         {SDLK_UP, key::Up},
    {SDLK_DOWN, key::Down},     {SDLK_HOME, key::Home},           {SDLK_END, key::End},
    {SDLK_PAGEUP, key::PageUp}, {SDLK_PAGEDOWN, key::PageDown},   {SDLK_INSERT, key::Insert},
    {SDLK_DELETE, key::Delete}, {SDLK_LSHIFT, key::Shift},        {SDLK_RSHIFT, key::Shift},
    {SDLK_LCTRL, key::Control}, {SDLK_RCTRL, key::Control},       {SDLK_LALT, key::Alt},
    {SDLK_RALT, key::Alt},      {SDLK_LGUI, key::Windows},        {SDLK_RGUI, key::Windows},
    {SDLK_PAUSE, key::Pause},   {SDLK_CAPSLOCK, key::CapsLock}};

uint8_t KeyFromSdl(SDL_Keycode k)
{
    if (k >= SDLK_a && k <= SDLK_z)
        return static_cast<uint8_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9)
        return static_cast<uint8_t>('0' + (k - SDLK_0));
    if (k >= SDLK_F1 && k <= SDLK_F12)
        return static_cast<uint8_t>(key::F1 + (k - SDLK_F1));
    for (const auto& [sdl, ours] : kKeys) {
        if (sdl == k)
            return ours;
    }
    return 0;
}

SDL_Keycode SdlFromKey(uint8_t k)
{
    if (k >= 'A' && k <= 'Z')
        return SDLK_a + (k - 'A');
    if (k >= '0' && k <= '9')
        return SDLK_0 + (k - '0');
    if (k >= key::F1 && k <= key::F12)
        return SDLK_F1 + (k - key::F1);
    for (const auto& [sdl, ours] : kKeys) {
        if (ours == k)
            return sdl;
    }
    return SDLK_UNKNOWN;
}

// Feeds the characters of UTF-8 text in; bytes that do not form a character are skipped.
void InjectUtf8(const char* text)
{
    for (const char32_t cp : DecodeUtf8(text)) {
        const uint8_t ch = Cp1252FromCodePoint(cp);
        if (ch >= 0x20 && ch != 0x7F)
            InjectChar(ch);
    }
}

SDL_SystemCursor SdlSystemCursor(StandardCursor kind)
{
    switch (kind) {
    case StandardCursor::Arrow: return SDL_SYSTEM_CURSOR_ARROW;
    case StandardCursor::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case StandardCursor::Cross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case StandardCursor::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case StandardCursor::SizeNwse: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case StandardCursor::SizeNesw: return SDL_SYSTEM_CURSOR_SIZENESW;
    case StandardCursor::SizeWe: return SDL_SYSTEM_CURSOR_SIZEWE;
    case StandardCursor::SizeNs: return SDL_SYSTEM_CURSOR_SIZENS;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
}

// SDL's cursor bits: data 1 mask 1 black, data 0 mask 1 white, data 1 mask 0 inverted,
// data 0 mask 0 transparent; so data = NOT (AND XOR XOR) and mask = NOT AND.
SDL_Cursor* MakeSdlCursor(const CursorImage& img)
{
    if (img.standard)
        return SDL_CreateSystemCursor(SdlSystemCursor(*img.standard));
    std::vector<uint8_t> data(img.andPlane.size()), mask(img.andPlane.size());
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(~(img.andPlane[i] ^ img.xorPlane[i]));
        mask[i] = static_cast<uint8_t>(~img.andPlane[i]);
    }
    return SDL_CreateCursor(data.data(), mask.data(), img.width, img.height, img.hotSpot.x, img.hotSpot.y);
}

// The presented window, or a window owning it, that is minimized; 0 when none is.
WindowHandle MinimizedPresentedChain()
{
    for (WindowHandle w = GetPresentedWindow(); w; w = GetOwner(w)) {
        if (IsMinimized(w))
            return w;
    }
    return 0;
}

class SdlDisplay : public Display {
public:
    bool Open(std::string* error);
    ~SdlDisplay() override;
    void Pump(uint64_t deadlineMs, bool wait) override;
    void Present() override;
    void PresentNow();
    bool ReadPixels(std::vector<uint32_t>& argb, int& width, int& height);
    void Resize(int width, int height)
    {
        SDL_SetWindowSize(window_, width, height);
        presented_ = false;
    }

private:
    void Handle(const SDL_Event& e);
    Point ToDesktop(int x, int y) const;
    void MatchWindow(const Rect& area);
    void SetFullscreen(bool on, const Rect& area);
    PixelSize UsableScreen() const;
    void Upload(const Surface& surface);
    void DrawFrame();
    void ApplyCursor();

    bool initialized_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    Rect area_; // the desktop area shown
    Viewport viewport_;
    bool fullscreen_ = false;
    bool coversScreen_ = false; // full screen made by sizing the window itself
    int scale_ = 1;             // the windowed scale
    uint64_t lastPresent_ = 0;
    bool presented_ = false;
    bool windowShown_ = false;
    std::string title_;
    Surface picture_;
    std::map<CursorHandle, SDL_Cursor*> cursors_;
    CursorHandle shownCursor_ = ~CursorHandle{0};
};

std::unique_ptr<SdlDisplay>& TheDisplay()
{
    static std::unique_ptr<SdlDisplay> display;
    return display;
}

bool SdlDisplay::Open(std::string* error)
{
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error)
            *error = SDL_GetError();
        return false;
    }
    initialized_ = true;
    area_ = GetPresentedArea();
    scale_ = WindowedScale({area_.Width(), area_.Height()}, UsableScreen());
    // Hidden until the program shows a window of its own, so that a program that ends at once
    // (a second launcher) never flashes an empty one.
    window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, area_.Width() * scale_,
                               area_.Height() * scale_, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (window_)
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (window_ && !renderer_)
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        if (error)
            *error = SDL_GetError();
        return false;
    }
    SDL_StartTextInput();
    return true;
}

SdlDisplay::~SdlDisplay()
{
    for (auto& [handle, cursor] : cursors_)
        SDL_FreeCursor(cursor);
    if (texture_)
        SDL_DestroyTexture(texture_);
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    if (window_)
        SDL_DestroyWindow(window_);
    if (initialized_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

Point SdlDisplay::ToDesktop(int x, int y) const
{
    PixelSize window, output;
    SDL_GetWindowSize(window_, &window.width, &window.height);
    SDL_GetRendererOutputSize(renderer_, &output.width, &output.height);
    const Point logical = WindowToLogical(viewport_, window, output, {x, y});
    return {logical.x + area_.left, logical.y + area_.top};
}

void SdlDisplay::Handle(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_QUIT:
        // Closing the window comes as its own event; this one means the session or the
        // process is asked to end.
        if (const WindowHandle w = GetPresentedWindow())
            PostWindowMessage(w, msg::QueryEndSession);
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: InjectCloseRequest(); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: InjectAppActive(true); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: InjectAppActive(false); break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!MinimizedPresentedChain() && GetPresentedWindow())
                PostWindowMessage(GetPresentedWindow(), msg::SysCommand, syscmd::Minimize);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (const WindowHandle w = MinimizedPresentedChain())
                ShowWindow(w, ShowCommand::Restore);
            presented_ = false;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: presented_ = false; break;
        default: break;
        }
        break;
    case SDL_MOUSEMOTION: InjectMouseMove(ToDesktop(e.motion.x, e.motion.y)); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const MouseButton b = e.button.button == SDL_BUTTON_RIGHT    ? MouseButton::Right
                              : e.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                                     : MouseButton::Left;
        InjectMouseButton(b, e.type == SDL_MOUSEBUTTONDOWN, ToDesktop(e.button.x, e.button.y));
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (const uint8_t k = KeyFromSdl(e.key.keysym.sym))
            InjectKey(k, e.type == SDL_KEYDOWN);
        break;
    case SDL_TEXTINPUT: InjectUtf8(e.text.text); break;
    default: break;
    }
}

void SdlDisplay::Pump(uint64_t deadlineMs, bool wait)
{
    SDL_Event e;
    while (SDL_PollEvent(&e))
        Handle(e);
    if (!wait)
        return;
    MessageQueue& queue = GetMessageQueue();
    while (queue.Empty()) {
        Present();
        const uint64_t now = GetClock().NowMs();
        if (now >= deadlineMs)
            return;
        const int timeout = static_cast<int>(std::min<uint64_t>(deadlineMs - now, kFrameMs));
        if (SDL_WaitEventTimeout(&e, timeout)) {
            Handle(e);
            while (SDL_PollEvent(&e))
                Handle(e);
        }
    }
}

void SdlDisplay::Present()
{
    if (presented_ && SDL_GetTicks64() - lastPresent_ < kFrameMs)
        return;
    PresentNow();
}

void SdlDisplay::MatchWindow(const Rect& area)
{
    // A minimized main window (or its owner) minimizes the display's window.
    if (MinimizedPresentedChain() && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED))
        SDL_MinimizeWindow(window_);
    // The window opens before the program shows one of its own, for the desktop's whole area: its
    // scale follows the area shown.
    const bool resized = area.Width() != area_.Width() || area.Height() != area_.Height();
    if (resized)
        scale_ = WindowedScale({area.Width(), area.Height()}, UsableScreen());
    const bool fullscreen = IsFullscreen();
    if (fullscreen != fullscreen_) {
        fullscreen_ = fullscreen;
        SetFullscreen(fullscreen, area);
    }
    if (resized && !fullscreen_) {
        SDL_SetWindowSize(window_, area.Width() * scale_, area.Height() * scale_);
        // Not shown yet: the window goes to the middle of the screen at its new size.
        if (!windowShown_)
            SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    area_ = area;
    const std::string title = GetTitle(GetPresentedWindow());
    if (title != title_) {
        title_ = title;
        SDL_SetWindowTitle(window_, title.c_str());
    }
}

void SdlDisplay::SetFullscreen(bool on, const Rect& area)
{
    if (on) {
        // Without a window manager an X display leaves the window as it was while SDL takes it
        // for full screen: the picture would be placed for the screen's size in the smaller
        // window (cut off) and the mouse mapped for that size. There the window covers the
        // screen itself.
        coversScreen_ = !HasFullscreenWindowManager(window_);
        if (!coversScreen_) {
            SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
            return;
        }
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &bounds) != 0)
            return;
        SDL_SetWindowPosition(window_, bounds.x, bounds.y);
        SDL_SetWindowSize(window_, bounds.w, bounds.h);
        return;
    }
    if (coversScreen_)
        coversScreen_ = false;
    else
        SDL_SetWindowFullscreen(window_, 0);
    // A game that starts full screen never had its window sized for its area: SDL would go back
    // to the size the window opened at.
    SDL_SetWindowSize(window_, area.Width() * scale_, area.Height() * scale_);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

PixelSize SdlDisplay::UsableScreen() const
{
    SDL_Rect usable{0, 0, area_.Width(), area_.Height()};
    SDL_GetDisplayUsableBounds(window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0, &usable);
    return {usable.w, usable.h};
}

void SdlDisplay::ApplyCursor()
{
    const CursorHandle handle = IsCursorShown() ? GetCursor() : 0;
    if (handle == shownCursor_)
        return;
    shownCursor_ = handle;
    const CursorImage* img = GetCursorImage(handle);
    if (!img) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor*& cursor = cursors_[handle];
    if (!cursor)
        cursor = MakeSdlCursor(*img);
    if (cursor)
        SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlDisplay::PresentNow()
{
    MatchWindow(GetPresentedArea());
    ComposeArea(picture_, area_);
    DrawFrame();
    SDL_RenderPresent(renderer_);
    if (!windowShown_) {
        const std::vector<WindowHandle> windows = GetTopLevelWindows();
        windowShown_ =
            std::any_of(windows.begin(), windows.end(), [](WindowHandle w) { return IsVisible(w); });
        if (windowShown_)
            SDL_ShowWindow(window_);
    }
    ApplyCursor();
    lastPresent_ = SDL_GetTicks64();
    presented_ = true;
}

// Puts the surface into the texture, made anew at the surface's size when that changed.
void SdlDisplay::Upload(const Surface& surface)
{
    if (!texture_ || textureWidth_ != surface.width || textureHeight_ != surface.height) {
        if (texture_)
            SDL_DestroyTexture(texture_);
        // The window's own 32-bit layout when it has one of the two our pixels fit (the same
        // bytes, its fourth byte unused or opaque): the picture then reaches it without a
        // conversion of every pixel.
        const Uint32 windowFormat = SDL_GetWindowPixelFormat(window_);
        const Uint32 format =
            windowFormat == SDL_PIXELFORMAT_RGB888 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888;
        texture_ = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING,
                                     std::max(1, surface.width), std::max(1, surface.height));
        textureWidth_ = surface.width;
        textureHeight_ = surface.height;
        // Every pixel is opaque: copied, not blended (a texture with alpha blends by default,
        // pixel by pixel, to the same result).
        if (texture_)
            SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (texture_ && SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
        ConvertToRgb32(surface, static_cast<uint32_t*>(pixels), static_cast<size_t>(pitch) / 4);
        SDL_UnlockTexture(texture_);
    }
}

// Draws the composed picture into the renderer's output with the border around it: the
// renderer scales it by a whole number; smaller than the picture, the output gets the picture
// shrunk to fit (as a headless run shows it), the whole output drawn afresh either way.
void SdlDisplay::DrawFrame()
{
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    viewport_ = FitViewport(picture_.width, picture_.height, ow, oh);
    if (viewport_.scale >= 1)
        Upload(picture_);
    else
        Upload(ShrinkPicture(picture_, viewport_));
    // The border only where the picture leaves the output uncovered.
    if (viewport_.dest != Rect{0, 0, ow, oh}) {
        const Rgb border = fullscreen_ ? GetScreenBorderColor() : Rgb{};
        SDL_SetRenderDrawColor(renderer_, border.r, border.g, border.b, 255);
        SDL_RenderClear(renderer_);
    }
    const SDL_Rect dest{viewport_.dest.left, viewport_.dest.top, viewport_.dest.Width(),
                        viewport_.dest.Height()};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
}

bool SdlDisplay::ReadPixels(std::vector<uint32_t>& argb, int& width, int& height)
{
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0)
        return false;
    // What a window's renderer holds once presented is undefined (a swapped buffer): the last
    // frame is drawn again and read before any present.
    DrawFrame();
    argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, argb.data(), width * 4) == 0;
}

} // namespace

bool StartSdlDisplay(std::string* error)
{
    auto& display = TheDisplay();
    if (display)
        return true;
    auto fresh = std::make_unique<SdlDisplay>();
    if (!fresh->Open(error))
        return false;
    display = std::move(fresh);
    SetDisplay(display.get());
    InstallDrawnDialogs();
    return true;
}

Backend StartDisplay(bool forceHeadless, std::string* error)
{
    Backend backend = ChooseBackend(forceHeadless);
    if (backend == Backend::Sdl && !StartSdlDisplay(error))
        backend = Backend::Null;
    SetBackend(backend);
    return backend;
}

void StopSdlDisplay()
{
    auto& display = TheDisplay();
    if (!display)
        return;
    if (GetDisplay() == display.get())
        SetDisplay(nullptr);
    display.reset();
}

bool IsSdlDisplayRunning() { return TheDisplay() != nullptr; }

void PresentSdlNow()
{
    if (TheDisplay())
        TheDisplay()->PresentNow();
}

bool ReadSdlPixels(std::vector<uint32_t>& argb, int& width, int& height)
{
    return TheDisplay() && TheDisplay()->ReadPixels(argb, width, height);
}

bool PushSdlEvent(SdlEventKind kind, Point windowPoint)
{
    if (!TheDisplay())
        return false;
    SDL_Event e{};
    switch (kind) {
    case SdlEventKind::FocusLost:
    case SdlEventKind::FocusGained:
    case SdlEventKind::Close:
    case SdlEventKind::Minimized:
    case SdlEventKind::Restored: {
        static const std::map<SdlEventKind, SDL_WindowEventID> kEvents = {
            {SdlEventKind::FocusLost, SDL_WINDOWEVENT_FOCUS_LOST},
            {SdlEventKind::FocusGained, SDL_WINDOWEVENT_FOCUS_GAINED},
            {SdlEventKind::Close, SDL_WINDOWEVENT_CLOSE},
            {SdlEventKind::Minimized, SDL_WINDOWEVENT_MINIMIZED},
            {SdlEventKind::Restored, SDL_WINDOWEVENT_RESTORED}};
        e.type = SDL_WINDOWEVENT;
        e.window.event = static_cast<uint8_t>(kEvents.at(kind));
        break;
    }
    case SdlEventKind::MouseMove:
        e.type = SDL_MOUSEMOTION;
        e.motion.x = windowPoint.x;
        e.motion.y = windowPoint.y;
        break;
    case SdlEventKind::KeyDown:
    case SdlEventKind::KeyUp:
    case SdlEventKind::Text: return false; // these carry a key or a text
    case SdlEventKind::LeftPress:
    case SdlEventKind::LeftRelease:
        e.type = kind == SdlEventKind::LeftPress ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = windowPoint.x;
        e.button.y = windowPoint.y;
        break;
    }
    return SDL_PushEvent(&e) == 1;
}

bool ResizeSdlWindow(int width, int height)
{
    if (!TheDisplay() || width < 1 || height < 1)
        return false;
    TheDisplay()->Resize(width, height);
    return true;
}

bool PushSdlEvent(SdlEventKind kind, uint8_t keyCode)
{
    if (!TheDisplay() || (kind != SdlEventKind::KeyDown && kind != SdlEventKind::KeyUp))
        return false;
    SDL_Event e{};
    e.type = kind == SdlEventKind::KeyDown ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = SdlFromKey(keyCode);
    return e.key.keysym.sym != SDLK_UNKNOWN && SDL_PushEvent(&e) == 1;
}

bool PushSdlEvent(SdlEventKind kind, std::string_view utf8)
{
    if (!TheDisplay() || kind != SdlEventKind::Text || utf8.size() >= sizeof(SDL_TextInputEvent::text))
        return false;
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    utf8.copy(e.text.text, utf8.size());
    return SDL_PushEvent(&e) == 1;
}

} // namespace plat
