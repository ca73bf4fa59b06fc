#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/CelList.h"
#include "engine/graphics/RleDraw.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretch.h"
#include "engine/graphics/RleStretchDraw.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/RleFixtures.h"

using qmtest::MakeBitmap;
using qmtest::Pixels;
using Rows = std::vector<std::string>;

namespace {

// A literal run of the colours (at most 128).
std::vector<uint8_t> Literal(const std::vector<uint8_t>& colours)
{
    std::vector<uint8_t> run{static_cast<uint8_t>(127 + colours.size())};
    run.insert(run.end(), colours.begin(), colours.end());
    return run;
}

// A cel of rows of literal pixels, written as text ('0'-'9', 'a'-'z').
qmtest::RleCelSpec CelOf(const Rows& rows)
{
    qmtest::RleCelSpec cel{static_cast<int16_t>(rows.size()), static_cast<int16_t>(rows[0].size()), {}};
    for (const std::string& row : rows) {
        std::vector<uint8_t> colours;
        for (char c : row)
            colours.push_back(qmtest::PixelValue(c));
        const std::vector<uint8_t> run = Literal(colours);
        cel.runs.insert(cel.runs.end(), run.begin(), run.end());
    }
    return cel;
}

std::unique_ptr<CMemory> SpriteOf(const std::vector<qmtest::RleCelSpec>& cels)
{
    return qmtest::BlockOf(qmtest::MakeRls(cels));
}

// Parameters 0-6 of a stretched draw.
DrawRecord Record(DrawProc proc, intptr_t cel, intptr_t mirror = 0, intptr_t key = 0x80,
                  const CRect* clip = nullptr, CDibSect* mask = nullptr, intptr_t priority = 0,
                  CImgSet* caller = nullptr)
{
    return DrawRecord{proc,
                      {cel, reinterpret_cast<intptr_t>(clip), mirror, key, reinterpret_cast<intptr_t>(mask),
                       priority, reinterpret_cast<intptr_t>(caller)},
                      0};
}

Rows Draw(DrawProc proc, CMemory* sprite, const Rows& dest, const CRect& position, DrawRecord record)
{
    auto bitmap = qmtest::MakeBitmap(dest);
    proc(sprite, bitmap.get(), position, &record);
    return Pixels(*bitmap);
}

std::vector<uint32_t> Counts(int32_t n, int32_t m)
{
    std::vector<uint32_t> counts;
    BuildRepeatTable(n, m, counts);
    return counts;
}

} // namespace

TEST(RleStretch, RepeatTables)
{
    struct Case {
        int32_t n, m;
        std::vector<uint32_t> counts; // n + 1 entries: the last is never drawn
    };
    const Case cases[] = {
        {4, 2, {1, 0, 1, 0, 0}},
        {5, 3, {1, 0, 1, 0, 1, 0}},
        {2, 5, {1, 3, 1}}, // one count falls past the cel
        {3, 6, {1, 2, 2, 1}},
        {10, 11, {1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 0}},
        {3, 3, {1, 1, 1, 0}},
        {2, 600, {1, 300, 299}}, // wider than 8 bits
        {0, 5, {}},
        {3, 0, {0, 0, 0, 0}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Counts(k.n, k.m), k.counts) << k.n << " -> " << k.m;
}

TEST(RleStretch, StretchedPictures)
{
    auto sprite = SpriteOf({CelOf({"12"}),
                            CelOf({"123"}),
                            CelOf({"1234", "5678", "9abc", "defg"}),
                            {1, 3, {0x81, 0, 7, 0x00, 4}}});
    const CRect clip(0, 1, 2, 4);
    struct Case {
        const char* name;
        DrawRecord record;
        CRect position;
        Rows pixels;
    };
    const Case cases[] = {
        {"2 to 5 leaves the rightmost column",
         Record(DrawRleStretched, 0),
         {0, 0, 1, 5},
         {"1222..", "......"}},
        {"3 to 6 mirrored leaves the leftmost column",
         Record(DrawRleStretched, 1, 1),
         {0, 0, 1, 6},
         {".33221", "......"}},
        {"4 x 4 shrunk to 2 x 2 keeps rows and columns 0 and 2",
         Record(DrawRleStretched, 2),
         {0, 1, 2, 3},
         {".13...", ".9b..."}},
        {"grown rows", Record(DrawRleStretched, 0), {0, 0, 2, 2}, {"12....", "......"}},
        {"key 0: a literal run starting with 0 is skipped",
         Record(DrawRleStretched, 3, 0, 0),
         {0, 0, 1, 6},
         {"...44.", "......"}},
        {"the clip rectangle",
         Record(DrawRleStretched, 1, 0, 0x80, &clip),
         {0, 0, 2, 6},
         {".223..", "......"}},
        {"only the low 16 bits of the cel index",
         Record(DrawRleStretched, 0x10001),
         {0, 0, 1, 3},
         {"123...", "......"}},
        {"only the low byte of the mirror flag",
         Record(DrawRleStretched, 1, 0x100),
         {0, 0, 1, 3},
         {"123...", "......"}},
        {"an empty position", Record(DrawRleStretched, 0), {0, 3, 1, 3}, {"......", "......"}},
        {"an inverted position", Record(DrawRleStretched, 1, 1), {0, 3, 1, 1}, {"......", "......"}},
        {"a cel out of range", Record(DrawRleStretched, 4), {0, 0, 2, 6}, {"......", "......"}},
        {"a negative cel", Record(DrawRleStretched, -1), {0, 0, 2, 6}, {"......", "......"}},
        {"past the destination", Record(DrawRleStretched, 2), {-1, 4, 3, 8}, {"....56", "....9a"}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), {"......", "......"}, k.position, k.record), k.pixels)
            << k.name;
    EXPECT_EQ(sprite->GetLockCount(), 0);
}

TEST(RleStretch, EqualSizesDrawLikeTheCelDraw)
{
    auto sprite = SpriteOf(
        {{3, 5, {0x81, 1, 2, 0x00, 0, 0x81, 0, 3, 0x01, 4, 0x82, 5, 6, 7, 0x00, 0, 0x01, 8, 0x02, 9}}});
    const CRect clips[] = {{0, 0, 6, 8}, {1, 2, 3, 5}, {-4, -4, 20, 20}};
    for (intptr_t mirror : {0, 1})
        for (intptr_t key : {0, 0x80})
            for (const CRect& clip : clips) {
                const CRect position(1, 2, 4, 7);
                const Rows blank(6, "........");
                DrawRecord cel = Record(DrawRleCel, 0, mirror, key, &clip);
                DrawRecord stretched = Record(DrawRleStretched, 0, mirror, key, &clip);
                EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), blank, position, stretched),
                          Draw(DrawRleCel, sprite.get(), blank, position, cel))
                    << "mirror " << mirror << " key " << key << " clip " << clip.GetTop();
            }
}

TEST(RleStretch, ThePriorityMaskIsComparedUnsigned)
{
    auto sprite = SpriteOf({CelOf({"12", "34"})});
    auto mask = MakeBitmap(4, 2, 50);
    auto high = MakeBitmap(4, 2, 200);
    const Rows blank{"....", "...."};
    const CRect position(0, 0, 2, 4);
    EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), blank, position,
                   Record(DrawRleStretched, 0, 0, 0x80, nullptr, mask.get(), 49)),
              (Rows{"122.", "344."}));
    EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), blank, position,
                   Record(DrawRleStretched, 0, 0, 0x80, nullptr, mask.get(), 50)),
              blank);
    // The low byte of the priority: 0x131 is 49. A mask byte of 200 is above 150 read unsigned.
    EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), blank, position,
                   Record(DrawRleStretched, 0, 0, 0x80, nullptr, mask.get(), 0x131)),
              (Rows{"122.", "344."}));
    EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), blank, position,
                   Record(DrawRleStretched, 0, 1, 0x80, nullptr, high.get(), 150)),
              (Rows{".221", ".443"}));
}

TEST(RleStretch, CelsBeyondTheOldTableSizes)
{
    // 900 columns of 9 colour bands, 700 rows: the top half bands 1-9, the bottom half 11-19.
    qmtest::RleCelSpec big{700, 900, {}};
    for (int y = 0; y < 700; ++y)
        for (uint8_t band = 0; band < 9; ++band) {
            big.runs.push_back(99); // 100 pixels
            big.runs.push_back(static_cast<uint8_t>((y < 350 ? 1 : 11) + band));
        }
    auto sprite = SpriteOf({big, CelOf({"12"})});
    auto dest = MakeBitmap(450, 350, 255);
    DrawRecord record = Record(DrawRleStretched, 0);
    DrawRleStretched(sprite.get(), dest.get(), CRect(0, 0, 350, 450), &record);
    const PixelRows rows{dest->LockBits(), 450, 350, dest->GetRowBytes(), true};
    int wrong = 0;
    for (int y = 0; y < 350; ++y)
        for (int x = 0; x < 450; ++x)
            wrong += rows.Row(y)[x] != (y < 175 ? 1 : 11) + x / 50;
    dest->UnlockBits();
    EXPECT_EQ(wrong, 0);

    // A 300-fold enlargement: the first column gets 1, the second 300 (the rest falls past).
    auto wide = MakeBitmap(620, 1, 255);
    record = Record(DrawRleStretched, 1);
    DrawRleStretched(sprite.get(), wide.get(), CRect(0, 0, 1, 600), &record);
    EXPECT_EQ(Pixels(*wide)[0], "1" + std::string(300, '2') + std::string(319, '.'));
}

TEST(RleStretch, DamagedDataDrawNoMoreThanTheyHold)
{
    // Row 1 ends after one pixel: the rest of the row and the rows after it stay untouched.
    auto sprite = SpriteOf({{3, 3, {0x82, 1, 2, 3, 0x80, 4}}, {1, 2, {0x05, 6}}});
    EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), {"....", "....", "...."}, {0, 0, 3, 3},
                   Record(DrawRleStretched, 0)),
              (Rows{"123.", "4...", "...."}));
    // A run claiming more than the width is cut to it.
    EXPECT_EQ(Draw(DrawRleStretched, sprite.get(), {"....", "....", "...."}, {0, 0, 1, 4},
                   Record(DrawRleStretched, 1)),
              (Rows{"666.", "....", "...."}));
    // An entry whose data lie past the resource draws nothing.
    std::vector<uint8_t> bytes = qmtest::MakeRls({CelOf({"12"})});
    qmtest::PutBe32(bytes, 10, 5000);
    auto damaged = qmtest::BlockOf(bytes);
    EXPECT_EQ(Draw(DrawRleStretched, damaged.get(), {"...."}, {0, 0, 1, 4}, Record(DrawRleStretched, 0)),
              (Rows{"...."}));
}

TEST(RleStretch, TheCallingImageSetLendsItsRowOffsets)
{
    auto* cels = new CCelList(SpriteOf({CelOf({"12", "34"})}));
    CRleImgSet set(cels, 0);
    // Row 0 made to start where row 1 does: only a draw that reads the set's tables sees it.
    auto offsets = std::make_unique<CCelList::RowOffsets>(*cels->GetRowOffsets());
    (*offsets)[0][0] = (*offsets)[0][1];
    cels->SetRowOffsets(std::move(offsets));
    EXPECT_EQ(Draw(DrawRleStretched, cels->GetBlock(), {"..", ".."}, {0, 0, 2, 2},
                   Record(DrawRleStretched, 0, 0, 0x80, nullptr, nullptr, 0, &set)),
              (Rows{"34", "34"}));
    // Another block, or no caller: the offsets are built for the call.
    auto other = SpriteOf({CelOf({"12", "34"})});
    EXPECT_EQ(Draw(DrawRleStretched, other.get(), {"..", ".."}, {0, 0, 2, 2},
                   Record(DrawRleStretched, 0, 0, 0x80, nullptr, nullptr, 0, &set)),
              (Rows{"12", "34"}));
    EXPECT_EQ(
        Draw(DrawRleStretched, cels->GetBlock(), {"..", ".."}, {0, 0, 2, 2}, Record(DrawRleStretched, 0)),
        (Rows{"12", "34"}));
}
