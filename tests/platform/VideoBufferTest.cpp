#include <gtest/gtest.h>

#include "platform/DrawContext.h"
#include "platform/Surface.h"
#include "platform/VideoBuffer.h"

namespace {

// A 4 x 2 buffer whose pixel (x, y) is 10 * y + x + 1.
std::unique_ptr<plat::ClipBuffer> Numbered(int shownWidth, int shownHeight)
{
    auto b = plat::ClipBuffer::Open(4, 2, shownWidth, shownHeight);
    for (int i = 0; i < 8; ++i)
        b->Pixels()[i] = static_cast<uint8_t>(10 * (i / 4) + i % 4 + 1);
    return b;
}

std::string Rows(const plat::Surface& s)
{
    std::string out;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x)
            out += std::to_string(s.At(x, y)) + (x + 1 < s.width ? " " : "");
        out += "|";
    }
    return out;
}

TEST(ClipBuffer, OpensOnlyAtItsSizeHalfOrDoubleAndStartsAtZero)
{
    const std::vector<std::tuple<int, int, int, int, bool>> cases = {
        {320, 240, 320, 240, true}, {320, 240, 160, 120, true}, {321, 241, 160, 120, true},
        {320, 240, 640, 480, true}, {320, 240, 640, 240, true}, {320, 240, 300, 240, false},
        {0, 240, 0, 240, false},    {4097, 8, 4097, 8, false},  {8, 8, 0, 8, false},
    };
    for (const auto& [w, h, sw, sh, ok] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " shown " << sw << "x" << sh);
        auto b = plat::ClipBuffer::Open(w, h, sw, sh);
        ASSERT_EQ(b != nullptr, ok);
        if (b) {
            EXPECT_TRUE(std::all_of(b->Pixels(), b->Pixels() + w * h, [](uint8_t p) { return p == 0; }));
            EXPECT_EQ(b->Target().pitch, w);
        }
    }
}

TEST(ClipBuffer, BlitsAtItsShownSizeClippedToTheBufferAndTheTarget)
{
    plat::Surface screen(8, 4);
    plat::DrawContext dc(screen);
    const struct {
        int shownWidth, shownHeight, x, y;
        plat::Rect src;
        const char* rows;
    } cases[] = {
        {4, 2, 1, 1, {0, 0, 4, 2}, "0 0 0 0 0 0 0 0|0 1 2 3 4 0 0 0|0 11 12 13 14 0 0 0|0 0 0 0 0 0 0 0|"},
        {8,
         4,
         0,
         0,
         {2, 0, 6, 4},
         "0 0 2 2 3 3 0 0|0 0 2 2 3 3 0 0|0 0 12 12 13 13 0 0|0 0 12 12 13 13 0 0|"},
        {2, 1, 6, 3, {0, 0, 9, 9}, "0 0 0 0 0 0 0 0|0 0 0 0 0 0 0 0|0 0 0 0 0 0 0 0|0 0 0 0 0 0 1 3|"},
        {4, 2, 5, 2, {-2, -2, 4, 2}, "0 0 0 0 0 0 0 0|0 0 0 0 0 0 0 0|0 0 0 0 0 1 2 3|0 0 0 0 0 11 12 13|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        std::fill(screen.pixels.begin(), screen.pixels.end(), 0);
        EXPECT_EQ(Numbered(c.shownWidth, c.shownHeight)->Blit(dc, c.x, c.y, c.src), 0);
        EXPECT_EQ(Rows(screen), c.rows);
    }
}

TEST(ClipBuffer, CopiesPlainOrKeyedThroughTheSourceZoomClippedOnBothSides)
{
    auto dst = plat::ClipBuffer::Open(4, 2, 4, 2);
    auto src = Numbered(8, 4); // shown doubled
    plat::ClipBuffer::Copy(*dst, 1, 0, *src, 2, 1, 8, 8);
    EXPECT_EQ(std::vector<uint8_t>(dst->Pixels(), dst->Pixels() + 8),
              (std::vector<uint8_t>{0, 2, 2, 3, 0, 12, 12, 13}));
    // Key 3 leaves those pixels as they were; a source area partly left of the buffer moves
    // the destination with it.
    std::fill(dst->Pixels(), dst->Pixels() + 8, 9);
    auto plain = Numbered(4, 2);
    plat::ClipBuffer::Copy(*dst, 0, 0, *plain, -1, 0, 4, 2, 3);
    EXPECT_EQ(std::vector<uint8_t>(dst->Pixels(), dst->Pixels() + 8),
              (std::vector<uint8_t>{9, 1, 2, 9, 9, 11, 12, 13}));
    plat::ClipBuffer::Copy(*dst, 5, 0, *plain, 0, 0, 4, 2); // wholly outside: nothing
    plat::ClipBuffer::Copy(*dst, 0, 0, *plain, 0, 0, -3, 2);
    EXPECT_EQ(dst->Pixels()[0], 9);
}

TEST(ClipBuffer, TakesTheSurfacesPixelsWhereTheyLie)
{
    plat::Surface screen(6, 3, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            screen.Row(y)[x] = static_cast<uint8_t>(10 * y + x);
    auto b = plat::ClipBuffer::Open(4, 2, 4, 2);
    b->FromSurface(screen, 3, 1);
    EXPECT_EQ(std::vector<uint8_t>(b->Pixels(), b->Pixels() + 8),
              (std::vector<uint8_t>{13, 14, 15, 0, 23, 24, 25, 0}));
}

} // namespace
