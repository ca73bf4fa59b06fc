#include "platform/Cursor.h"

#include <map>

#include "platform/WindowInternal.h"

namespace plat {
namespace {

// Standard cursors have the handles 1 to 8; made cursors count up from here.
constexpr CursorHandle kFirstMadeCursor = 0x100;
constexpr int kStandardCount = 8;

struct CursorState {
    std::map<CursorHandle, CursorImage> made;
    CursorHandle next = kFirstMadeCursor;
    CursorHandle current = 1; // the arrow
    int showCount = 0;
};

CursorState g_cursors;

const CursorImage& StandardImage(int index)
{
    static const std::vector<CursorImage> images = [] {
        std::vector<CursorImage> v;
        for (int i = 0; i < kStandardCount; ++i) {
            CursorImage img;
            img.standard = static_cast<StandardCursor>(i);
            v.push_back(img);
        }
        return v;
    }();
    return images[static_cast<size_t>(index)];
}

} // namespace

namespace detail {
void ResetCursors() { g_cursors = CursorState{}; }
} // namespace detail

CursorHandle GetStandardCursor(StandardCursor kind) { return static_cast<CursorHandle>(kind) + 1; }

CursorHandle CreateCursor(Point hotSpot, int width, int height, const std::vector<uint8_t>& andPlane,
                          const std::vector<uint8_t>& xorPlane)
{
    if (width < 8 || width > 256 || width % 8 != 0 || height < 1 || height > 256)
        return 0;
    const size_t bytes = static_cast<size_t>(width / 8) * static_cast<size_t>(height);
    if (andPlane.size() < bytes || xorPlane.size() < bytes)
        return 0;
    CursorImage img;
    img.width = width;
    img.height = height;
    img.hotSpot = hotSpot;
    img.andPlane.assign(andPlane.begin(), andPlane.begin() + static_cast<ptrdiff_t>(bytes));
    img.xorPlane.assign(xorPlane.begin(), xorPlane.begin() + static_cast<ptrdiff_t>(bytes));
    const CursorHandle h = g_cursors.next++;
    g_cursors.made.emplace(h, std::move(img));
    return h;
}

bool DestroyCursor(CursorHandle cursor)
{
    if (g_cursors.made.erase(cursor) == 0)
        return false;
    if (g_cursors.current == cursor)
        g_cursors.current = 0;
    return true;
}

const CursorImage* GetCursorImage(CursorHandle cursor)
{
    if (cursor >= 1 && cursor <= kStandardCount)
        return &StandardImage(static_cast<int>(cursor - 1));
    auto it = g_cursors.made.find(cursor);
    return it == g_cursors.made.end() ? nullptr : &it->second;
}

CursorPixel GetCursorPixel(const CursorImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return CursorPixel::Transparent;
    const size_t at =
        static_cast<size_t>(y) * static_cast<size_t>(image.width / 8) + static_cast<size_t>(x / 8);
    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
    const bool a = (image.andPlane[at] & bit) != 0;
    const bool b = (image.xorPlane[at] & bit) != 0;
    if (a)
        return b ? CursorPixel::Inverted : CursorPixel::Transparent;
    return b ? CursorPixel::White : CursorPixel::Black;
}

CursorHandle SetCursor(CursorHandle cursor)
{
    const CursorHandle old = g_cursors.current;
    g_cursors.current = GetCursorImage(cursor) ? cursor : 0;
    return old;
}

CursorHandle GetCursor() { return g_cursors.current; }

int ShowCursor(bool show)
{
    g_cursors.showCount += show ? 1 : -1;
    return g_cursors.showCount;
}

bool IsCursorShown() { return g_cursors.showCount >= 0; }

} // namespace plat
