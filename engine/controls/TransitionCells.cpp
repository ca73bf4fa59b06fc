// Screen transitions drawn cell by cell: the dissolve, whose cells appear in the order of a
// shift register, and the mosaic, which paints the area in averaged squares.
#include <algorithm>

#include "engine/controls/ScreenTransition.h"
#include "engine/controls/TransitionRun.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/Region.h"
#include "engine/graphics/WndEnv.h"
#include "platform/Desktop.h"
#include "platform/DrawContext.h"

namespace {

// Feedback masks of maximal-length Galois shift registers of 1 to 19 bits: a register of i
// bits steps through every value from 1 to 2^i - 1 once.
constexpr int32_t kWidestRegister = 19;
constexpr uint32_t kRegisterMasks[kWidestRegister + 1] = {
    0,     0x0,   0x3,   0x6,    0xC,    0x14,   0x30,   0x60,    0xB8,    0x110,
    0x240, 0x500, 0xCA0, 0x1B00, 0x3500, 0x6000, 0xB400, 0x12000, 0x20400, 0x72000,
};

// Cells drawn between two looks at the clock, so a long dissolve still shows its progress.
constexpr uint32_t kCellsBetweenPresents = 1024;

bool Inside(const CRect& r, int32_t x, int32_t y)
{
    return x >= r.GetLeft() && x < r.GetRight() && y >= r.GetTop() && y < r.GetBottom();
}

} // namespace

DissolveGrid GetDissolveGrid(int32_t width, int32_t height, int32_t speed)
{
    DissolveGrid grid;
    if (speed < 1 || width < 0 || height < 0)
        return grid;
    grid.columns = (width + speed) / speed;
    grid.rows = (height + speed) / speed;
    const uint64_t count = static_cast<uint64_t>(grid.columns) * static_cast<uint64_t>(grid.rows);
    grid.count = static_cast<uint32_t>(std::min<uint64_t>(count, UINT32_MAX));
    for (int32_t i = 1; i <= kWidestRegister; ++i)
        if (count < (uint64_t{1} << i)) {
            grid.width = i;
            grid.mask = kRegisterMasks[i];
            break;
        }
    return grid;
}

uint32_t NextDissolveCell(uint32_t v, const DissolveGrid& grid)
{
    do
        v = (v & 1) ? (v >> 1) ^ grid.mask : v >> 1;
    while (v > grid.count);
    return v;
}

void CTransitionRun::Dissolve(int32_t speed)
{
    const DissolveGrid grid = GetDissolveGrid(width_, height_, speed);
    if (grid.width == 0)
        return; // more cells than the widest register holds
    // Every value from 1 to the count comes once; cell 0 is left to the end's copy. The last
    // column and row lie partly or wholly past the frame: only their part inside it is drawn.
    const CStopwatch* clock = GetRealClock();
    uint32_t shown = clock->Elapsed();
    uint32_t v = 1;
    for (uint32_t step = 0; step < grid.count; ++step) {
        v = NextDissolveCell(v, grid);
        const auto column = static_cast<int32_t>(v % static_cast<uint32_t>(grid.columns));
        const auto row = static_cast<int32_t>(v / static_cast<uint32_t>(grid.columns));
        DissolveCell(frame_.GetLeft() + speed * column, frame_.GetTop() + speed * row, speed);
        // The dissolve never waits, but the display follows it once a tick.
        if (step % kCellsBetweenPresents == 0 && clock->Elapsed() != shown) {
            shown = clock->Elapsed();
            if (plat::Display* display = plat::GetDisplay())
                display->Present();
        }
    }
}

void CTransitionRun::DissolveCell(int32_t x, int32_t y, int32_t speed)
{
    if (speed >= 3) {
        CRect cell(static_cast<int16_t>(y), static_cast<int16_t>(x), static_cast<int16_t>(y + speed),
                   static_cast<int16_t>(x + speed));
        if (cell.Intersect(frame_, &cell))
            CopyRect(cell, cell, nullptr);
        return;
    }
    // Single pixels through the window's drawing context: one, or four in a fixed order.
    plat::DrawContext* dc = target_->GetHDC();
    CDibSect* bitmap = source_->GetBitmap();
    if (!dc || !bitmap)
        return;
    const int32_t points[4][2] = {{x, y}, {x + 1, y + 1}, {x, y + 1}, {x + 1, y}};
    for (int32_t i = 0; i < (speed == 1 ? 1 : 4); ++i) {
        const int32_t px = points[i][0], py = points[i][1];
        if (Inside(frame_, px, py))
            dc->FillRect(plat::Rect{px, py, px + 1, py + 1}, CDrawEnv::ToColorRef(bitmap->GetPixel(px, py)));
    }
}

void CTransitionRun::Mosaic(int32_t speed)
{
    if (!target_->GetPalette() || !target_->GetHDC())
        return; // the cells' colours come from the window's palette
    const int32_t side = std::min(width_, height_);
    if (subMode_ == kClosing)
        for (int32_t size = side; size > 8; size -= speed)
            MosaicPass(size);
    else if (subMode_ == kOpening)
        for (int32_t size = 8; size <= side; size += speed)
            MosaicPass(size);
}

void CTransitionRun::MosaicPass(int32_t size)
{
    plat::DrawContext& dc = *target_->GetHDC();
    const CPalette& palette = *target_->GetPalette();
    CDibSect* bitmap = source_->GetBitmap();
    const plat::Brush previous = dc.GetBrush();
    for (int32_t y = 0; y < height_; y += size)
        for (int32_t x = 0; x < width_; x += size) {
            const int32_t left = frame_.GetLeft() + x - 1, top = frame_.GetTop() + y - 1;
            CRect cell(static_cast<int16_t>(top), static_cast<int16_t>(left),
                       static_cast<int16_t>(top + size), static_cast<int16_t>(left + size));
            if (!cell.Intersect(frame_, &cell))
                continue;
            // The average of two pixels: the cell's corner and its middle.
            uint8_t c1[3], c2[3];
            palette.GetEntry(bitmap->GetPixel(cell.GetLeft(), cell.GetTop()), &c1[0], &c1[1], &c1[2]);
            palette.GetEntry(bitmap->GetPixel(cell.GetLeft() + size / 2, cell.GetTop() + size / 2), &c2[0],
                             &c2[1], &c2[2]);
            const auto mean = [&](int i) { return static_cast<uint8_t>((c1[i] + c2[i]) / 2); };
            dc.SetBrush(plat::Brush{false, plat::ColorRef::FromPaletteRgb(mean(0), mean(1), mean(2))});
            dc.Rectangle(ToPlatRect(cell)); // outlined with the current pen
            dc.SetBrush(previous);
        }
    PresentAndWait(GetRealClock()->Elapsed(), 2);
}
