#include "engine/framework/Stdio.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "engine/framework/StdioBuffer.h"
#include "platform/Caret.h"
#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/Desktop.h"
#include "platform/DrawContext.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"
#include "platform/Metrics.h"
#include "platform/Platform.h"
#include "platform/Region.h"

namespace {

constexpr uint32_t kHandlerCount = 1024;
constexpr size_t kTitleSize = 128;
constexpr size_t kPrintfSize = 1024;
constexpr size_t kAskSize = 512;
constexpr int32_t kLastFirstColumn = CStdioBuffer::kMaxColumns - 1;
constexpr const char* kClassName = "winio_class";
constexpr int32_t kCtrlZ = 26;

// One entry of a scroll table: move by a delta, go to the thumb's position, or nothing.
struct ScrollEntry {
    enum Kind { Delta, Thumb, None } kind = None;
    int32_t delta = 0;
};
constexpr size_t kScrollCodes = 9; // line up/down, page up/down, thumb position/track, top, bottom, end

struct Console {
    bool open = false;
    plat::WindowHandle window = 0;
    bool hasCaret = false;
    int32_t firstLine = 0; // first line shown, and its offset in the buffer
    int32_t firstLineOffset = 1;
    int32_t firstColumn = 0;
    int32_t cellWidth = 8;
    int32_t cellHeight = 16;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t fontId = 16;
    bool paint = true;
    bool echo = true;
    bool exitOnClose = true;
    StdioCloseCallback onClose = nullptr;
    char title[kTitleSize] = "Stdio Window";
    StdioHandler handlers[kHandlerCount] = {};
    ScrollEntry hscroll[kScrollCodes];
    ScrollEntry vscroll[kScrollCodes];
};

// The buffers live apart from the rest of the state, which a reset simply replaces.
Console g;
CStdioBuffer g_buffer;
CStdioTypeAhead g_ring;
bool g_classRegistered = false;
std::function<void(int)> g_exitHook;

void EndProgram(int code)
{
    if (g_exitHook)
        g_exitHook(code);
    else
        std::exit(code);
}

plat::FontHandle ConsoleFont()
{
    switch (g.fontId) {
    case 11: return plat::GetStockFont(plat::StockFont::AnsiFixed);
    case 10: return plat::GetStockFont(plat::StockFont::OemFixed);
    default: return plat::GetStockFont(plat::StockFont::SystemFixed);
    }
}

// ---- Scroll state ----------------------------------------------------------------------------

void InitScrollTables()
{
    using E = ScrollEntry;
    const E h[kScrollCodes] = {{E::Delta, -1},
                               {E::Delta, 1},
                               {E::Delta, 0},
                               {E::Delta, 0},
                               {E::Thumb, 0},
                               {E::Thumb, 0},
                               {E::Delta, -CStdioBuffer::kMaxColumns},
                               {E::Delta, CStdioBuffer::kMaxColumns},
                               {E::None, 0}};
    const E v[kScrollCodes] = {{E::Delta, -1}, {E::Delta, 1}, {E::Delta, 0}, {E::Delta, 0}, {E::Thumb, 0},
                               {E::Thumb, 0},  {E::Delta, 0}, {E::Delta, 0}, {E::None, 0}};
    std::copy(std::begin(h), std::end(h), g.hscroll);
    std::copy(std::begin(v), std::end(v), g.vscroll);
}

// The page entries follow the window's size.
void RefreshPageEntries()
{
    g.hscroll[plat::scroll::PageUp].delta = -(g.columns / 2);
    g.hscroll[plat::scroll::PageDown].delta = g.columns / 2;
    g.vscroll[plat::scroll::PageUp].delta = 1 - g.rows;
    g.vscroll[plat::scroll::PageDown].delta = g.rows - 1;
}

// Top and bottom reach the first and the last line.
void RefreshEndEntries()
{
    g.vscroll[plat::scroll::Top].delta = -g_buffer.GetLines();
    g.vscroll[plat::scroll::Bottom].delta = g_buffer.GetLines();
}

void SetFirstLine(int32_t line)
{
    g.firstLine = line;
    g.firstLineOffset = g_buffer.LineOffset(line);
}

void MeasureCell()
{
    const auto font = ConsoleFont();
    if (!font)
        return; // keep the last cell: nothing can be drawn without a font anyway
    const auto& metrics = font->Metrics();
    g.cellWidth = std::max(1, metrics.averageCharWidth);
    g.cellHeight = std::max(1, metrics.height + metrics.externalLeading);
}

void ComputeWindowSize()
{
    const int32_t bar = plat::GetMetrics().scrollBarSize;
    g.columns = std::max(0, (g.clientWidth - bar) / g.cellWidth);
    g.rows = std::max(0, (g.clientHeight - bar) / g.cellHeight);
    RefreshPageEntries();
}

void SetScrollBars()
{
    plat::SetScrollRange(g.window, plat::scroll::Horizontal, 1, CStdioBuffer::kMaxColumns);
    plat::SetScrollRange(g.window, plat::scroll::Vertical, 1, g_buffer.GetLines() + 1);
    plat::SetScrollPos(g.window, plat::scroll::Horizontal, g.firstColumn + 1);
    plat::SetScrollPos(g.window, plat::scroll::Vertical, g.firstLine + 1);
}

// Where the next character goes, in client pixels; false when it lies outside the window.
bool WritePoint(plat::Point& at)
{
    const int32_t column = g_buffer.GetColumn() - g.firstColumn;
    const int32_t line = g_buffer.GetLines() - g.firstLine;
    if (column < 0 || column >= g.columns || line < 0 || line >= g.rows)
        return false;
    at = {column * g.cellWidth, line * g.cellHeight};
    return true;
}

void PlaceCaret()
{
    plat::Point at;
    if (g.hasCaret && WritePoint(at))
        plat::SetCaretPos(at);
}

// Applies a scroll request to a first position; answers the new one.
int32_t ApplyScroll(const ScrollEntry& entry, uintptr_t wParam, int32_t first, int32_t last)
{
    int32_t wanted = first;
    if (entry.kind == ScrollEntry::Delta)
        wanted = first + entry.delta;
    else if (entry.kind == ScrollEntry::Thumb)
        wanted = static_cast<int16_t>(plat::HighWord(wParam)) - 1;
    return std::clamp(wanted, 0, last);
}

intptr_t OnHScroll(plat::WindowHandle window, uint32_t, uintptr_t wParam, intptr_t)
{
    const auto code = plat::LowWord(wParam);
    if (code >= kScrollCodes || g.hscroll[code].kind == ScrollEntry::None)
        return 0;
    const int32_t first = ApplyScroll(g.hscroll[code], wParam, g.firstColumn, kLastFirstColumn);
    if (first != g.firstColumn) {
        plat::ScrollClient(window, (g.firstColumn - first) * g.cellWidth, 0);
        g.firstColumn = first;
        plat::SetScrollPos(window, plat::scroll::Horizontal, first + 1);
        plat::UpdateWindow(window);
    }
    return 0;
}

intptr_t OnVScroll(plat::WindowHandle window, uint32_t, uintptr_t wParam, intptr_t)
{
    const auto code = plat::LowWord(wParam);
    if (code >= kScrollCodes || g.vscroll[code].kind == ScrollEntry::None)
        return 0;
    const int32_t first = ApplyScroll(g.vscroll[code], wParam, g.firstLine, g_buffer.GetLines());
    if (first != g.firstLine) {
        plat::ScrollClient(window, 0, (g.firstLine - first) * g.cellHeight);
        SetFirstLine(first);
        plat::SetScrollPos(window, plat::scroll::Vertical, first + 1);
        plat::UpdateWindow(window);
    }
    return 0;
}

// ---- Window messages -------------------------------------------------------------------------

intptr_t OnPaint(plat::WindowHandle window, uint32_t, uintptr_t, intptr_t)
{
    auto paint = plat::BeginPaint(window);
    if (paint.target.surface) {
        plat::DrawContext dc(*paint.target.surface);
        dc.SetViewportOrigin(paint.target.origin);
        const plat::Region clip(paint.target.client.Offset(paint.target.origin.x, paint.target.origin.y));
        dc.SetClipRegion(&clip);
        dc.SelectFont(ConsoleFont());
        dc.SetBkMode(plat::BkMode::Transparent);
        int32_t offset = g.firstLineOffset;
        for (int32_t line = g.firstLine; line <= g_buffer.GetLines(); ++line) {
            const int32_t top = (line - g.firstLine) * g.cellHeight;
            if (top >= paint.paintRect.bottom)
                break;
            if (top + g.cellHeight > paint.paintRect.top) {
                const auto text = g_buffer.LineAt(offset);
                if (static_cast<int32_t>(text.size()) > g.firstColumn)
                    dc.TextOut({0, top}, text.substr(static_cast<size_t>(g.firstColumn),
                                                     static_cast<size_t>(g.columns + 1)));
            }
            offset = g_buffer.NextLineOffset(offset);
        }
    }
    plat::EndPaint(window, paint);
    PlaceCaret();
    return 0;
}

intptr_t OnSize(plat::WindowHandle window, uint32_t, uintptr_t, intptr_t lParam)
{
    g.window = window;
    g.clientWidth = plat::LowWord(static_cast<uintptr_t>(lParam));
    g.clientHeight = plat::HighWord(static_cast<uintptr_t>(lParam));
    ComputeWindowSize();
    SetScrollBars();
    return 0;
}

intptr_t OnDestroy(plat::WindowHandle, uint32_t, uintptr_t, intptr_t)
{
    if (g.onClose)
        g.onClose();
    g_buffer.Free();
    g_ring.Free();
    g.open = false;
    g.window = 0;
    if (g.exitOnClose)
        EndProgram(0);
    return 0;
}

intptr_t OnChar(plat::WindowHandle, uint32_t, uintptr_t wParam, intptr_t)
{
    if (!g_ring.Push(static_cast<uint8_t>(wParam)))
        plat::Beep(); // the ring is full: the key is dropped
    return 0;
}

intptr_t OnSetFocus(plat::WindowHandle window, uint32_t, uintptr_t, intptr_t)
{
    g.hasCaret = plat::CreateCaret(window, 2, g.cellHeight);
    plat::Point at;
    if (WritePoint(at)) {
        plat::SetCaretPos(at);
        plat::ShowCaret(window);
    }
    return 0;
}

intptr_t OnKillFocus(plat::WindowHandle window, uint32_t, uintptr_t, intptr_t)
{
    plat::HideCaret(window);
    plat::DestroyCaret();
    g.hasCaret = false;
    return 0;
}

// The cursor keys scroll: the horizontal request first, then the vertical one.
intptr_t OnKeyDown(plat::WindowHandle window, uint32_t, uintptr_t wParam, intptr_t)
{
    constexpr uint32_t kNone = 0xFFFF;
    struct KeyScroll {
        uint8_t key;
        uint32_t h;
        uint32_t v;
    };
    using namespace plat::scroll;
    static const KeyScroll kKeys[] = {
        {plat::key::PageUp, kNone, PageUp},  {plat::key::PageDown, kNone, PageDown},
        {plat::key::End, Top, Bottom},       {plat::key::Home, Top, Top},
        {plat::key::Left, LineUp, kNone},    {plat::key::Up, kNone, LineUp},
        {plat::key::Right, LineDown, kNone}, {plat::key::Down, kNone, LineDown},
    };
    for (const auto& k : kKeys) {
        if (k.key != wParam)
            continue;
        if (k.h != kNone)
            plat::SendWindowMessage(window, plat::msg::HScroll, k.h);
        if (k.v != kNone)
            plat::SendWindowMessage(window, plat::msg::VScroll, k.v);
    }
    return 0;
}

intptr_t ConsoleProc(plat::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message < kHandlerCount && g.handlers[message])
        return g.handlers[message](window, message, wParam, lParam);
    return plat::DefaultWindowProc(window, message, wParam, lParam);
}

void InstallHandlers()
{
    std::fill(std::begin(g.handlers), std::end(g.handlers), &plat::DefaultWindowProc);
    g.handlers[plat::msg::Paint] = OnPaint;
    g.handlers[plat::msg::Size] = OnSize;
    g.handlers[plat::msg::Destroy] = OnDestroy;
    g.handlers[plat::msg::Char] = OnChar;
    g.handlers[plat::msg::HScroll] = OnHScroll;
    g.handlers[plat::msg::VScroll] = OnVScroll;
    g.handlers[plat::msg::SetFocus] = OnSetFocus;
    g.handlers[plat::msg::KillFocus] = OnKillFocus;
    g.handlers[plat::msg::KeyDown] = OnKeyDown;
}

bool RegisterClass()
{
    if (g_classRegistered)
        return true;
    plat::WindowClass cls;
    cls.name = kClassName;
    cls.proc = ConsoleProc;
    cls.cursor = plat::GetStandardCursor(plat::StandardCursor::Arrow);
    cls.background = plat::Rgb{255, 255, 255};
    g_classRegistered = plat::RegisterWindowClass(cls);
    return g_classRegistered;
}

plat::WindowHandle CreateConsoleWindow()
{
    const auto metrics = plat::GetMetrics();
    plat::WindowParams request;
    request.className = kClassName;
    request.title = g.title;
    request.style = plat::style::Caption | plat::style::SysMenu | plat::style::ThickFrame |
                    plat::style::MinimizeBox | plat::style::MaximizeBox | plat::style::HScroll |
                    plat::style::VScroll;
    request.rect = plat::Rect::FromSize(metrics.screenWidth / 8, metrics.screenHeight / 8,
                                        metrics.screenWidth * 3 / 4, metrics.screenHeight * 3 / 4);
    return plat::CreateWindow(request);
}

// ---- Writing ---------------------------------------------------------------------------------

void Invalidate(const plat::Rect* rect)
{
    if (g.window)
        plat::InvalidateRect(g.window, rect, true);
}

// Scrolls so that the write position shows; answers whether anything moved.
bool BringWritePositionIntoView()
{
    bool moved = false;
    const int32_t lines = g_buffer.GetLines();
    if (lines >= g.firstLine + g.rows || lines < g.firstLine) {
        SetFirstLine(std::max(0, lines - (g.rows + 1) / 2));
        moved = true;
    }
    const int32_t column = g_buffer.GetColumn();
    if (column < g.firstColumn || column >= g.firstColumn + g.columns) {
        g.firstColumn = std::clamp(column - (g.columns + 1) / 2, 0, kLastFirstColumn);
        moved = true;
    }
    return moved;
}

void Write(std::string_view text)
{
    if (!g.open)
        return;
    const int32_t linesBefore = g_buffer.GetLines();
    const auto result = g_buffer.Write(text);
    for (int32_t i = 0; i < result.bells; ++i)
        plat::Beep();
    if (result.trimmed)
        SetFirstLine(std::max(0, g.firstLine - result.droppedLines));
    if (g_buffer.GetLines() != linesBefore || result.trimmed)
        plat::SetScrollRange(g.window, plat::scroll::Vertical, 1, g_buffer.GetLines() + 1);
    if (!g.paint)
        return;
    if (BringWritePositionIntoView() || result.trimmed) {
        Invalidate(nullptr);
    } else {
        const plat::Rect band{0, (result.firstLine - g.firstLine) * g.cellHeight, g.clientWidth,
                              (g_buffer.GetLines() - g.firstLine + 1) * g.cellHeight};
        Invalidate(&band);
    }
    RefreshEndEntries();
    plat::SetScrollPos(g.window, plat::scroll::Horizontal, g.firstColumn + 1);
    plat::SetScrollPos(g.window, plat::scroll::Vertical, g.firstLine + 1);
    StdioYield();
}

void FreeBuffers()
{
    g_buffer.Free();
    g_ring.Free();
}

} // namespace

// ---- Opening and closing -----------------------------------------------------------------------

bool StdioOpen(plat::ShowCommand show, int32_t bufferSize)
{
    if (g.open)
        return false;
    if (!g_buffer.Allocate(bufferSize)) {
        StdioErrorBox("Could not allocate/nconsole I/O buffer");
        return false;
    }
    if (!g_ring.Allocate()) {
        FreeBuffers();
        StdioErrorBox("Could not allocate/type ahead buffer");
        return false;
    }
    SetFirstLine(0);
    g.firstColumn = 0;
    InstallHandlers();
    InitScrollTables();
    MeasureCell();
    if (!RegisterClass()) {
        FreeBuffers();
        StdioErrorBox("Could not create class");
        return false;
    }
    g.open = true; // the window's first messages already write to the console's state
    g.window = CreateConsoleWindow();
    if (!g.window) {
        g.open = false;
        FreeBuffers();
        StdioErrorBox("Could not create window");
        return false;
    }
    plat::ShowWindow(g.window, show);
    plat::UpdateWindow(g.window);
    StdioYield();
    return true;
}

void StdioFinish()
{
    if (!g.open)
        return;
    if (plat::GetBackend() == plat::Backend::Null) {
        StdioClose();
        return;
    }
    g.exitOnClose = false; // the program is ending already
    while (g.open) {
        plat::WaitWindowMessage(plat::GetClock().NowMs() + 1000);
        StdioYield();
    }
}

void StdioClose()
{
    if (!g.open)
        return;
    const bool exitOnClose = g.exitOnClose;
    g.exitOnClose = false;
    plat::DestroyWindow(g.window);
    g.exitOnClose = exitOnClose;
}

// ---- Output --------------------------------------------------------------------------------------

int32_t StdioVPrintf(const char* format, va_list args)
{
    if (!g.open || !format)
        return 0;
    char text[kPrintfSize];
    const int n = std::vsnprintf(text, sizeof text, format, args);
    if (n <= 0)
        return 0;
    const auto count = std::min(static_cast<size_t>(n), sizeof text - 1);
    Write(std::string_view(text, count));
    return static_cast<int32_t>(count);
}

int32_t StdioPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int32_t count = StdioVPrintf(format, args);
    va_end(args);
    return count;
}

int32_t StdioPutchar(int32_t c)
{
    if (!g.open)
        return 0;
    const char byte = static_cast<char>(c);
    Write(std::string_view(&byte, 1));
    return c;
}

int32_t StdioPuts(const char* text)
{
    if (text)
        Write(text);
    Write("\n");
    return 0;
}

// ---- Input -----------------------------------------------------------------------------------------

int32_t StdioGetchar()
{
    if (!g.open)
        return 0;
    uint8_t key = 0;
    while (!g_ring.Pop(key)) {
        StdioYield();
        if (!g.open)
            return -1;
        if (!g_ring.IsEmpty())
            continue;
        // Without a display no key can come any more: that is the end of the input.
        if (plat::GetBackend() == plat::Backend::Null)
            return -1;
        plat::WaitWindowMessage(plat::GetClock().NowMs() + 100);
    }
    int32_t c = key;
    if (c == kCtrlZ)
        return -1;
    if (c == '\r')
        c = '\n';
    if (g.echo)
        StdioPutchar(c);
    return c;
}

char* StdioGets(char* buffer, int32_t size)
{
    if (!g.open || !buffer || size <= 0)
        return nullptr;
    int32_t pos = 0;
    for (;;) {
        const int32_t c = StdioGetchar();
        if (c < 0 || !g.open)
            return nullptr;
        if (c == '\n') {
            buffer[pos] = '\0';
            return buffer;
        }
        if (c == '\b') {
            pos = std::max(0, pos - 1);
        } else if (c == 27) {
            pos = 0;
        } else if (pos < size - 1) {
            buffer[pos++] = static_cast<char>(c);
        } else {
            // The buffer is full: the key is dropped, and so is its echo.
            plat::Beep();
            if (g.echo)
                Write("\b");
        }
    }
}

bool StdioKbhit() { return g.open && !g_ring.IsEmpty(); }

int32_t StdioYield()
{
    if (!g.open)
        return 0;
    plat::PlatMessage message;
    while (plat::PeekWindowMessage(message))
        plat::DispatchWindowMessage(message);
    return 1;
}

// ---- Settings ----------------------------------------------------------------------------------------

bool StdioSetFont(int32_t id)
{
    if (id != 16 && id != 11 && id != 10)
        return false;
    g.fontId = id;
    if (g.open) {
        MeasureCell();
        ComputeWindowSize();
        if (g.paint)
            Invalidate(nullptr);
    }
    return true;
}

void StdioSetTitle(const char* text)
{
    std::snprintf(g.title, sizeof g.title, "%s", text ? text : "");
    if (g.open)
        plat::SetTitle(g.window, g.title);
}

bool StdioSetPaint(bool on)
{
    if (!g.open)
        return false;
    const bool previous = g.paint;
    g.paint = on;
    if (on)
        Invalidate(nullptr);
    return previous;
}

bool StdioSetEcho(bool on)
{
    const bool previous = g.echo;
    g.echo = on;
    return previous;
}

void StdioOnClose(StdioCloseCallback callback) { g.onClose = callback; }
plat::WindowHandle StdioGetHwnd() { return g.window; }

StdioHandler StdioSetHandler(uint32_t message, StdioHandler handler)
{
    if (message >= kHandlerCount)
        return nullptr;
    StdioHandler previous = g.handlers[message] ? g.handlers[message] : &plat::DefaultWindowProc;
    g.handlers[message] = handler ? handler : &plat::DefaultWindowProc;
    return previous;
}

StdioHandler StdioGetHandler(uint32_t message)
{
    if (message >= kHandlerCount)
        return nullptr;
    return g.handlers[message] ? g.handlers[message] : &plat::DefaultWindowProc;
}

void StdioClear()
{
    g_buffer.Clear();
    SetFirstLine(0);
    g.firstColumn = 0;
    if (g.open) {
        plat::SetScrollRange(g.window, plat::scroll::Vertical, 1, 1);
        Invalidate(nullptr);
    }
}

// ---- Boxes ----------------------------------------------------------------------------------------

int32_t StdioErrorBox(const char* text)
{
    plat::MessageBoxRequest request;
    request.text = text ? text : "";
    request.caption = "ERROR";
    request.buttons = plat::MbButtons::Ok;
    plat::GetMessageBoxService().Show(request);
    return 0;
}

bool StdioAskBox(bool cancel, const char* format, ...)
{
    char text[kAskSize] = "";
    if (format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
    }
    plat::MessageBoxRequest request;
    request.text = text;
    request.caption = g.title;
    request.buttons = cancel ? plat::MbButtons::OkCancel : plat::MbButtons::Ok;
    return plat::GetMessageBoxService().Show(request) == plat::MbResult::Ok;
}

// ---- Tests ----------------------------------------------------------------------------------------

void SetStdioExitHook(std::function<void(int)> hook) { g_exitHook = std::move(hook); }

void ResetStdio()
{
    FreeBuffers();
    g = Console{};
    g_classRegistered = false;
    g_exitHook = {};
}
