#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include "engine/controls/imagectl/ImageControl.h"
#include "engine/controls/imagectl/ImgScrollBar.h"
#include "tests/engine/controls/imagectl/ImageControlsKit.h"

namespace {

using namespace itest;

using Steps = std::vector<std::pair<MsgWord, MsgWord>>; // (value, word 4) of each notification

constexpr uint32_t kAnyLibrary = 0xFFFFFFFF;

class ImgScrollBarTest : public ImageControlsTest {
protected:
    // A vertical bar at (200, 10): the start arrow over 10..22, the track over 22..122, the end arrow
    // over 122..134; the thumb (20 high) travels 80.
    CImgScrollBar* Bar(int32_t minimum = 0, int32_t maximum = 100, int32_t value = 50)
    {
        return Add(new CImgScrollBar(
            3, CRect(10, 200, 20, 210), 55, target, LoadPictureSet(kParts, kAnyLibrary, false),
            LoadPictureSet(kTrack, kAnyLibrary, false), minimum, maximum, value, 10));
    }
    Steps Notes() const
    {
        Steps out;
        for (const Note& n : target->notes)
            out.emplace_back(n.words[3], n.words[4]);
        return out;
    }
};

TEST_F(ImgScrollBarTest, TheImagesLayTheBarOut)
{
    CImgScrollBar* bar = Bar();
    EXPECT_EQ(wtest::Str(bar->GetBounds()), "10,200,134,216");
    EXPECT_FALSE(bar->IsHorizontal());
    EXPECT_FALSE(bar->IsTransparent());
    EXPECT_EQ(bar->GetControlKind(), CInputFrame::kKindScrollBar);
    EXPECT_EQ(bar->GetTrackStart(), 12);
    EXPECT_EQ(bar->GetTrackEnd(), 100);
    EXPECT_EQ(bar->GetThumbLength(), 20);
    EXPECT_EQ(bar->GetTravel(), 80);
    EXPECT_EQ(bar->GetThumbPos(), 40); // 50 of 0..100

    // A track wider than high lays the bar out across: arrows of 12 and 14, a thumb of 20.
    CImgScrollBar across(4, CRect(0, 0, 5, 5), 55, nullptr,
                         MarkedSet({{12, 10}, {12, 10}, {14, 10}, {14, 10}, {20, 10}}),
                         MarkedSet({{100, 10}}), 0, 10, 0, 1);
    EXPECT_TRUE(across.IsHorizontal());
    EXPECT_EQ(wtest::Str(across.GetBounds()), "0,0,10,126");
    EXPECT_EQ(across.GetTrackStart(), 14);
    EXPECT_EQ(across.GetTravel(), 80);
    // A square track is vertical.
    CImgScrollBar square(5, CRect(0, 0, 5, 5), 55, nullptr,
                         MarkedSet({{10, 4}, {10, 4}, {10, 4}, {10, 4}, {10, 2}}), MarkedSet({{10, 10}}), 0,
                         10, 0, 1);
    EXPECT_FALSE(square.IsHorizontal());
    EXPECT_EQ(wtest::Str(square.GetBounds()), "0,0,18,10");
}

TEST_F(ImgScrollBarTest, ThumbAndValueTruncateTheirFloatRatio)
{
    struct Case {
        int32_t minimum, maximum, value;
        int16_t travel, thumb;
    };
    const Case cases[] = {
        {0, 100, 50, 80, 40},
        {0, 3, 1, 100, 33},
        {0, 3, 2, 100, 66}, // no rounding by a half
        {0, 100, 100, 80, 80},
        {-50, 50, 0, 10, 5},
        {INT32_MIN, INT32_MAX, 0, 100, 50}, // the range's difference needs 64 bits
        {INT32_MIN, INT32_MAX, INT32_MAX, 100, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CImgScrollBar::ThumbFor(c.value, c.minimum, c.maximum, c.travel), c.thumb)
            << c.minimum << ".." << c.maximum << " " << c.value;
    EXPECT_EQ(CImgScrollBar::ValueFor(79, 0, 100, 80), 98);  // 98.75
    EXPECT_EQ(CImgScrollBar::ValueFor(1, 0, 100, 80), 1);    // 1.25
    EXPECT_EQ(CImgScrollBar::ValueFor(90, 0, 100, 80), 100); // past the travel: clamped
    EXPECT_EQ(CImgScrollBar::ValueFor(-5, 0, 100, 80), 0);
    EXPECT_EQ(CImgScrollBar::ValueFor(100, INT32_MIN, INT32_MAX, 100), INT32_MAX);
    EXPECT_EQ(CImgScrollBar::ValueFor(0, INT32_MIN, INT32_MAX, 100), INT32_MIN);
}

TEST_F(ImgScrollBarTest, MouseScriptsGiveTheirValuesAndReasons)
{
    // Steps: 'd' press, 'm' move, 'u' release at (x, y); 't' runs x ticks.
    struct Step {
        char what;
        int x, y;
    };
    struct Case {
        const char* name;
        int32_t maximum;
        std::vector<Step> script;
        Steps expected;
        int32_t value;
    };
    const Case cases[] = {
        {"click on the end arrow", 100, {{'d', 208, 128}, {'u', 208, 128}}, {{51, 0}}, 51},
        {"held start arrow",
         100,
         {{'d', 208, 15}, {'t', 25, 0}, {'u', 208, 15}},
         {{49, -1}, {48, -1}, {47, 0}},
         47},
        {"start arrow left and re-entered",
         100,
         {{'d', 208, 15}, {'m', 300, 15}, {'t', 30, 0}, {'m', 208, 15}, {'t', 10, 0}, {'u', 208, 15}},
         {{49, -1}, {48, 0}},
         48},
        {"paging stops at the pointer",
         100,
         {{'d', 208, 110}, {'t', 100, 0}, {'u', 208, 110}},
         {{60, -1}, {70, -1}, {80, -1}, {90, -1}, {90, 0}},
         90},
        {"paging back", 100, {{'d', 208, 30}, {'t', 10, 0}, {'u', 208, 30}}, {{40, -1}, {30, 0}}, 30},
        {"released outside", 100, {{'d', 208, 128}, {'m', 300, 128}, {'u', 300, 128}}, {{50, 0}}, 50},
        {"thumb dragged",
         100,
         {{'d', 208, 72}, {'m', 208, 92}, {'t', 10, 0}, {'u', 208, 92}},
         {{75, 2}, {75, 0}},
         75},
        {"empty range", 0, {{'d', 208, 128}, {'t', 20, 0}, {'u', 208, 128}}, {}, 0},
    };
    for (const Case& c : cases) {
        CImgScrollBar* bar = Bar(0, c.maximum, c.maximum == 0 ? 0 : 50);
        target->notes.clear();
        for (const Step& s : c.script) {
            switch (s.what) {
            case 'd': Down(s.x, s.y); break;
            case 'm': Move(s.x, s.y); break;
            case 'u': Up(s.x, s.y); break;
            default: Ticks(static_cast<uint32_t>(s.x)); break;
            }
        }
        EXPECT_EQ(Notes(), c.expected) << c.name;
        EXPECT_EQ(bar->GetValue(), c.value) << c.name;
        EXPECT_EQ(bar->GetActivePart(), CImgScrollBar::kPartNone) << c.name;
        delete bar;
    }
}

TEST_F(ImgScrollBarTest, WithoutTravelADragLeavesTheValue)
{
    // The thumb is as long as the track.
    auto* bar = Add(new CImgScrollBar(3, CRect(10, 200, 20, 210), 55, target,
                                      MarkedSet({{16, 12}, {16, 12}, {16, 12}, {16, 12}, {16, 100}}),
                                      MarkedSet({{16, 100}}), 0, 100, 50, 10));
    EXPECT_EQ(bar->GetTravel(), 0);
    Down(208, 60);
    EXPECT_EQ(bar->GetActivePart(), CImgScrollBar::kPartThumb);
    Move(208, 90);
    Up(208, 90);
    EXPECT_EQ(Notes(), (Steps{{50, 0}}));
}

TEST_F(ImgScrollBarTest, PartsAreDrawnAlongTheBarInTheirLooks)
{
    CImgScrollBar* bar = Bar();
    // (y, image colour) down the bar's middle column.
    const auto column = [&] {
        std::vector<int> out;
        for (int y : {10, 21, 22, 61, 62, 81, 82, 121, 122, 133})
            out.push_back(DrawnAt(*bar, 208, y));
        return out;
    };
    const int start = kPartColor + CImgScrollBar::kStartArrow, end = kPartColor + CImgScrollBar::kEndArrow;
    const int thumb = kPartColor + CImgScrollBar::kThumb;
    EXPECT_EQ(column(), (std::vector<int>{start, start, kTrackColor, kTrackColor, thumb, thumb, kTrackColor,
                                          kTrackColor, end, end}));
    Down(208, 128); // held: the end arrow's pressed look
    EXPECT_EQ(DrawnAt(*bar, 208, 128), kPartColor + CImgScrollBar::kEndArrowPressed);
    Move(300, 128); // away from the bar: the plain look
    EXPECT_EQ(DrawnAt(*bar, 208, 128), end);
    Up(300, 128);

    bar->SetValue(75);
    EXPECT_EQ(bar->GetThumbPos(), 60);
    EXPECT_EQ(DrawnAt(*bar, 208, 82), thumb);
    // An empty range shows no thumb and turns the bar deaf.
    bar->SetMax(0);
    bar->SetValue(0);
    EXPECT_TRUE(bar->IsDeaf());
    for (int y = 22; y < 122; ++y)
        ASSERT_EQ(DrawnAt(*bar, 208, y), kTrackColor) << y;
}

TEST_F(ImgScrollBarTest, ABarWithoutOneOfItsSetsKeepsItsRectangleDrawsNothingAndStaysDeaf)
{
    auto* bar = Add(new CImgScrollBar(3, CRect(10, 200, 60, 216), 55, target,
                                      LoadPictureSet(kParts, kAnyLibrary, false), nullptr, 0, 100, 50, 10));
    EXPECT_EQ(wtest::Str(bar->GetBounds()), "10,200,60,216");
    EXPECT_TRUE(bar->IsDeaf());
    EXPECT_EQ(DrawnAt(*bar, 208, 20), 255);
    Down(208, 20);
    Ticks(20);
    Up(208, 20);
    EXPECT_TRUE(target->notes.empty());
    bar->SetValue(60); // the value still follows the program
    EXPECT_EQ(bar->GetValue(), 60);
    EXPECT_TRUE(bar->IsDeaf());
}

// Kind 0x2a: the frame values, the control values, minval, maxval, curval, imgid, imglibmsk,
// trimgid, trimglibmsk, page.
TEST_F(ImgScrollBarTest, TheTemplateLoadsBothSetsAndAMissingOneIsFatal)
{
    Build("0x2a, 41, 0, 0x9, 0,0, 0,0, 10, 200, 0, 0, 0, 900, 66, 0, 0, 0, 200, 100, 20, -1, 21, -1, 25\n");
    auto* bar = Control<CImgScrollBar>(41);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(wtest::Str(bar->GetBounds()), "10,200,134,216");
    EXPECT_EQ(bar->GetPage(), 25);
    EXPECT_EQ(bar->GetValue(), 100);
    EXPECT_EQ(bar->GetThumbPos(), 40);
    Down(208, 110); // the track after the thumb: one page on release
    Up(208, 110);
    EXPECT_EQ(Notes(), (Steps{{125, 0}}));
    EXPECT_EQ(target->notes[0].id, 66);

    EXPECT_NE(
        deftext::FatalReport([&] {
            Build("0x2a, 42, 0, 0x9, 0,0, 0,0, 10, 10, 0, 0, 0, 900, 66, 0, 0, 0, 9, 0, 20, -1, 99, -1, 1\n",
                  71);
        }).find("6:CBM 99"),
        std::string::npos);
}

} // namespace
