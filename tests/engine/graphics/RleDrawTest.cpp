#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/RleDraw.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/RleFixtures.h"

using qmtest::MakeBitmap;
using qmtest::Pixels;
using Rows = std::vector<std::string>;

namespace {

std::unique_ptr<CMemory> Block(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    return block;
}

// Cel 0: 2 rows of 4 pixels "0123" and "4567", each one literal run. Cel 1: one row of two
// repeat runs, colour 1 and colour 200.
std::unique_ptr<CMemory> Sprite()
{
    return Block(
        qmtest::MakeRls({{2, 4, {0x83, 0, 1, 2, 3, 0x83, 4, 5, 6, 7}}, {1, 2, {0x00, 1, 0x00, 200}}}));
}

DrawRecord Record(DrawProc proc, intptr_t cel, const CRect* clip = nullptr, intptr_t mirror = 0,
                  intptr_t key = 0)
{
    return DrawRecord{proc, {cel, reinterpret_cast<intptr_t>(clip), mirror, key}, 0};
}

} // namespace

TEST(RleDraw, ParametersOfTheCelDraw)
{
    auto sprite = Sprite();
    const CRect clip(0, 0, 2, 3);
    struct Case {
        const char* name;
        DrawRecord record;
        int16_t top, left;
        Rows pixels;
    };
    const Case cases[] = {
        {"key 0 skips the literal starting with 0", Record(DrawRleCel, 0), 0, 1, {".....", ".4567"}},
        {"key 128 and up: nothing transparent",
         Record(DrawRleCel, 0, nullptr, 0, 0x80),
         0,
         0,
         {"0123.", "4567."}},
        {"only the low byte counts", Record(DrawRleCel, 0, nullptr, 0, 0x104), 0, 0, {"0123.", "....."}},
        {"a key of 200 means none: colour 200 is drawn",
         Record(DrawRleCel, 1, nullptr, 0, 200),
         1,
         0,
         {".....", "1?..."}},
        {"the clip rectangle", Record(DrawRleCel, 0, &clip, 0, 0x80), 0, 1, {".01..", ".45.."}},
        {"mirrored", Record(DrawRleCel, 0, nullptr, 1, 0x80), 0, 1, {".3210", ".7654"}},
        {"a cel out of range", Record(DrawRleCel, 2), 0, 0, {".....", "....."}},
    };
    for (const Case& k : cases) {
        auto dest = MakeBitmap(5, 2);
        DrawRecord record = k.record;
        // The position's bottom and right do not limit the cel: its own size does.
        DrawRleCel(sprite.get(), dest.get(), CRect(k.top, k.left, k.top, k.left), &record);
        EXPECT_EQ(Pixels(*dest), k.pixels) << k.name;
    }
    EXPECT_EQ(sprite->GetLockCount(), 0);
}

TEST(RleDraw, MaskedDrawWritesOnlyAbovePriority)
{
    auto sprite = Sprite();
    auto mask = MakeBitmap(5, 2, 10);
    qmtest::PaintPixels(*mask, {"....."}); // row 0 all 255
    struct Case {
        const char* name;
        intptr_t mirror, key;
        int16_t priority;
        Rows pixels;
    };
    const Case cases[] = {
        {"priority 10 writes where the mask is 255", 0, -1, 10, {"0123?", "?????"}},
        {"priority 9 writes everything opaque", 0, -1, 9, {"0123?", "4567?"}},
        {"key 0 or more: index 0 transparent", 0, 0, 9, {"?????", "4567?"}},
        {"mirrored: index 0 transparent whatever the key", 1, -1, 9, {"?????", "7654?"}},
    };
    for (const Case& k : cases) {
        auto dest = MakeBitmap(5, 2, 99);
        DrawRecord record{
            DrawRleCelMasked, {0, 0, k.mirror, k.key, reinterpret_cast<intptr_t>(mask.get()), k.priority}, 0};
        DrawRleCelMasked(sprite.get(), dest.get(), CRect(0, 0, 0, 0), &record);
        EXPECT_EQ(Pixels(*dest), k.pixels) << k.name;
    }
    // Without a mask nothing is drawn.
    auto dest = MakeBitmap(5, 2);
    DrawRecord noMask = Record(DrawRleCelMasked, 0);
    DrawRleCelMasked(sprite.get(), dest.get(), CRect(0, 0, 0, 0), &noMask);
    EXPECT_EQ(Pixels(*dest), (Rows{".....", "....."}));
}

TEST(RleDraw, APositionAboveOrBelowTheClipDrawsNothing)
{
    // The position's top and bottom are tested against the clip rectangle (the destination's
    // rectangle without one) before anything is drawn; the cel's rows are then clipped as usual.
    auto sprite = Sprite();
    const CRect clip(2, 0, 4, 5);
    struct Case {
        const char* name;
        CRect position;
        const CRect* clip;
        Rows pixels;
    };
    const Rows none{".....", ".....", ".....", "....."};
    const Case cases[] = {
        {"bottom above the clip's top", CRect(0, 0, 1, 2), &clip, none},
        {"bottom on the clip's top: the rows inside are drawn",
         CRect(1, 0, 2, 4),
         &clip,
         {".....", ".....", "4567.", "....."}},
        {"top on the clip's bottom", CRect(4, 0, 6, 4), &clip, none},
        {"top inside the clip", CRect(3, 0, 5, 4), &clip, {".....", ".....", ".....", "0123."}},
        {"no clip: bottom above the destination", CRect(0, 0, -1, 4), nullptr, none},
        {"no clip: top below the destination", CRect(4, 0, 6, 4), nullptr, none},
        {"no clip: inside", CRect(1, 1, 3, 5), nullptr, {".....", ".0123", ".4567", "....."}},
    };
    for (const Case& k : cases)
        for (DrawProc proc : {DrawRleCel, DrawRleCelMasked}) {
            auto dest = MakeBitmap(5, 4);
            auto mask = MakeBitmap(5, 4);
            // Keys that leave index 0 opaque in each draw.
            const intptr_t key = proc == DrawRleCel ? 0x80 : -1;
            DrawRecord record{
                proc,
                {0, reinterpret_cast<intptr_t>(k.clip), 0, key, reinterpret_cast<intptr_t>(mask.get()), 0},
                0};
            proc(sprite.get(), dest.get(), k.position, &record);
            EXPECT_EQ(Pixels(*dest), k.pixels) << k.name << (proc == DrawRleCel ? "" : " (masked)");
        }
}

TEST(RleDraw, NothingToDrawFromOrInto)
{
    auto sprite = Sprite();
    DrawRecord record = Record(DrawRleCel, 0);
    auto dest = MakeBitmap(4, 2);
    DrawRleCel(nullptr, dest.get(), CRect(), &record);
    DrawRleCel(sprite.get(), nullptr, CRect(), &record);
    DrawRleCel(sprite.get(), dest.get(), CRect(), nullptr);
    CMemory empty;
    DrawRleCel(&empty, dest.get(), CRect(), &record);
    CDibSect noPixels;
    DrawRleCel(sprite.get(), &noPixels, CRect(), &record);
    EXPECT_EQ(Pixels(*dest), (Rows{"....", "...."}));
    EXPECT_EQ(sprite->GetLockCount(), 0);
}
