#include <gtest/gtest.h>

#include <utility>

#include "engine/controls/RsrcTplList.h"
#include "engine/controls/input/ScrollBar.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/resources/RsrcBlock.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace ctest;

using Steps = std::vector<std::pair<MsgWord, MsgWord>>; // (value, word 4) of each notification

class ScrollBarTest : public ControlsTest {
protected:
    // A bar from (0, 100) to (200, 140), against the right edge: 124..140 wide, arrows of 16,
    // a track of 168 and a thumb travelling 148.
    CScrollBar* Bar(uint16_t flags, int32_t minimum = 0, int32_t maximum = 100, int32_t value = 0,
                    std::vector<CPoint> images = BarImages())
    {
        return Add(new CScrollBar(3, CRect(0, 100, 200, 140), 50, target, MarkedSet(images),
                                  static_cast<uint16_t>(flags | CScrollBar::kFarEdge), minimum, maximum,
                                  value, 10));
    }
    Steps Notes() const
    {
        Steps out;
        for (const Note& n : target->notes)
            out.emplace_back(n.words[3], n.words[4]);
        return out;
    }
    static constexpr int kX = 130;
};

TEST_F(ScrollBarTest, BoundsFollowTheImagesTheEdgeAndTheOneTileFlag)
{
    struct Case {
        uint16_t flags;
        const char* bounds;
        int16_t track;
    };
    const Case cases[] = {
        {0, "0,100,200,116", 168},                    // the near edge
        {CScrollBar::kFarEdge, "0,124,200,140", 168}, // the far edge
        {CScrollBar::kOneTile, "0,100,42,116", 10},   // one tile and both arrows
        {CScrollBar::kHorizontal, "0,100,10,140", 8}, // tiles 16 wide, breadth 10
    };
    for (const Case& c : cases) {
        std::vector<CPoint> images = BarImages();
        if (c.flags & CScrollBar::kHorizontal)
            images = {{16, 10}, {16, 10}, {4, 10},  {4, 10},  {4, 10}, {16, 10},
                      {16, 10}, {16, 10}, {16, 10}, {16, 10}, {16, 10}};
        CScrollBar bar(3, CRect(0, 100, 200, 140), 50, nullptr, MarkedSet(images), c.flags, 0, 10, 0, 1);
        EXPECT_EQ(wtest::Str(bar.GetBounds()), c.bounds) << c.flags;
        EXPECT_EQ(bar.GetTrackLength(), c.track) << c.flags;
        EXPECT_TRUE(bar.HasArrows());
        EXPECT_FALSE(bar.IsTransparent()); // created opaque
    }
    // Five images: no arrows, the track takes the whole length.
    CScrollBar bare(3, CRect(0, 0, 100, 16), 50, nullptr,
                    MarkedSet({{16, 10}, {16, 10}, {16, 20}, {16, 20}, {16, 20}}), 0, 0, 10, 0, 1);
    EXPECT_FALSE(bare.HasArrows());
    EXPECT_EQ(bare.GetArrowLength(), 0);
    EXPECT_EQ(bare.GetTrackLength(), 100);
    bare.SetSize(16, 60); // laid out again
    EXPECT_EQ(bare.GetTrackLength(), 60);
    EXPECT_EQ(bare.GetTravel(), 40);
}

TEST_F(ScrollBarTest, ThumbAndValueGoThroughAFloatRatioRoundedByAHalf)
{
    struct Case {
        int32_t minimum, maximum, value;
        int16_t travel, thumb;
    };
    const Case cases[] = {
        {0, 100, 50, 148, 74},
        {0, 100, 1, 148, 1},
        {0, 100, 100, 148, 148},
        {5, 5, 5, 148, 0},
        {10, 0, 5, 148, 0},
        {0, 3, 1, 100, 33},
        {-50, 50, 0, 10, 5},
        // Ranges wider than 2^31 would overflow 32-bit differences.
        {INT32_MIN, INT32_MAX, 0, 100, 50},
        {INT32_MIN, INT32_MAX, INT32_MAX, 100, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CScrollBar::ThumbFor(c.value, c.minimum, c.maximum, c.travel), c.thumb)
            << c.minimum << ".." << c.maximum << " " << c.value;
    EXPECT_EQ(CScrollBar::ValueFor(74, 0, 100, 148), 50);
    EXPECT_EQ(CScrollBar::ValueFor(1, 0, 100, 148), 1); // 0.675 + 0.5
    EXPECT_EQ(CScrollBar::ValueFor(148, 0, 100, 148), 100);
    EXPECT_EQ(CScrollBar::ValueFor(100, INT32_MIN, INT32_MAX, 100), INT32_MAX);
    EXPECT_EQ(CScrollBar::ValueFor(0, INT32_MIN, INT32_MAX, 100), INT32_MIN);
    EXPECT_EQ(CScrollBar::ValueFor(0, 0, 100, 0), 0); // no travel
}

TEST_F(ScrollBarTest, MouseScriptsGiveTheirValuesAndReasons)
{
    // Steps: 'd' press, 'm' move, 'u' release at the y given; 't' runs that many ticks.
    struct Step {
        char what;
        int arg;
    };
    struct Case {
        const char* name;
        uint16_t flags;
        std::vector<Step> script;
        Steps expected;
    };
    const Case cases[] = {
        {"click on the second arrow", CScrollBar::kStepByOne, {{'d', 190}, {'u', 190}}, {{1, 0}}},
        {"held arrow",
         CScrollBar::kStepByOne,
         {{'d', 190}, {'t', 25}, {'u', 190}},
         {{1, -1}, {2, -1}, {3, 0}}},
        {"held arrow paging", CScrollBar::kPage, {{'d', 190}, {'t', 10}, {'u', 190}}, {{10, -1}, {20, 0}}},
        {"first arrow at the minimum", CScrollBar::kStepByOne, {{'d', 5}, {'t', 10}, {'u', 5}}, {{0, 0}}},
        {"arrow left and re-entered",
         CScrollBar::kStepByOne,
         {{'d', 190}, {'m', 300}, {'t', 30}, {'m', 190}, {'t', 10}, {'u', 190}},
         {{1, -1}, {2, 0}}},
        {"paging stops under the pointer",
         CScrollBar::kPage,
         {{'d', 116}, {'t', 100}, {'u', 116}},
         {{10, -1}, {20, -1}, {30, -1}, {40, -1}, {50, -1}, {60, -1}, {60, 0}}},
        {"track inert without paging", CScrollBar::kStepByOne, {{'d', 116}, {'t', 20}, {'u', 116}}, {}},
        {"arrows inert without 0x01 and 0x02", 0, {{'d', 190}, {'t', 20}, {'u', 190}}, {}},
        {"drag notifying",
         CScrollBar::kDragNotify,
         {{'d', 26}, {'m', 100}, {'m', 199}, {'u', 199}},
         {{50, 2}, {100, 2}, {100, 0}}},
        {"drag without 0x04", 0, {{'d', 26}, {'m', 100}, {'t', 10}, {'m', 199}, {'u', 199}}, {{100, 0}}},
        {"drag out of the bar keeps the thumb",
         CScrollBar::kDragNotify,
         {{'d', 26}, {'m', 100}, {'m', 300}, {'u', 300}},
         {{50, 2}, {50, 0}}},
    };
    for (const Case& c : cases) {
        CScrollBar* bar = Bar(c.flags);
        target->notes.clear();
        for (const Step& s : c.script) {
            // 300 stands for a point of the window beside the bar.
            const int x = s.arg == 300 ? 10 : kX, y = s.arg == 300 ? 100 : s.arg;
            switch (s.what) {
            case 'd': Down(x, y); break;
            case 'm': Move(x, y); break;
            case 'u': Up(x, y); break;
            case 't': Ticks(static_cast<uint32_t>(s.arg)); break;
            }
        }
        EXPECT_EQ(Notes(), c.expected) << c.name;
        EXPECT_EQ(bar->GetTrackedPart(), CScrollBar::kPartNone) << c.name;
        EXPECT_EQ(bar->GetThumbPos(), CScrollBar::ThumbFor(bar->GetValue(), 0, 100, 148)) << c.name;
        bar->Destroy();
    }
}

TEST_F(ScrollBarTest, ABarWithoutRangeIsInactiveUntilSetValueSeesARange)
{
    CScrollBar* bar = Bar(CScrollBar::kStepByOne, 5, 5, 5);
    EXPECT_TRUE(bar->IsInactive());
    EXPECT_EQ(bar->GetThumbPos(), 0);
    Down(kX, 190);
    Ticks(20);
    Up(kX, 190);
    EXPECT_TRUE(target->notes.empty());

    bar->SetMax(50); // the range alone does not wake it
    EXPECT_TRUE(bar->IsInactive());
    bar->SetValue(5);
    EXPECT_FALSE(bar->IsInactive());
    Down(kX, 190);
    Up(kX, 190);
    EXPECT_EQ(Notes(), (Steps{{6, 0}}));
    bar->SetMax(0); // back to one value
    bar->SetValue(0);
    EXPECT_TRUE(bar->IsInactive());
    EXPECT_EQ(bar->GetThumbPos(), 0);
}

TEST_F(ScrollBarTest, FiveImagesGiveNoArrowsAndPressesHitOnlyTheTrackAndTheThumb)
{
    CScrollBar* bar = Bar(CScrollBar::kStepByOne | CScrollBar::kPage, 0, 100, 0,
                          {{16, 10}, {16, 10}, {16, 20}, {16, 20}, {16, 20}});
    EXPECT_EQ(bar->GetTrackLength(), 200);
    Down(kX, 5); // the thumb, where the first arrow would be
    EXPECT_EQ(bar->GetTrackedPart(), CScrollBar::kPartThumb);
    Up(kX, 5);
    Down(kX, 195); // the track after the thumb, where the second arrow would be
    EXPECT_EQ(bar->GetTrackedPart(), CScrollBar::kPartAfter);
    Up(kX, 195);
    EXPECT_EQ(Notes(), (Steps{{0, 0}, {10, 0}}));
}

TEST_F(ScrollBarTest, ImagesAreDrawnAlongTheBarInTheirLooks)
{
    // A bar 20 long: arrows 4, a track of 12 tiled from tiles 5 long (the last one cut), a
    // thumb of 5 travelling 7. Each image's first row is colour 1.
    const std::vector<CPoint> images{{2, 5}, {2, 5}, {2, 5}, {2, 5}, {2, 5}, {2, 4},
                                     {2, 4}, {2, 4}, {2, 4}, {2, 4}, {2, 4}};
    CScrollBar bar(3, CRect(0, 0, 20, 2), 50, nullptr, MarkedSet(images), CScrollBar::kStepByOne, 0, 10, 5,
                   1);
    auto env = WhiteEnv(2, 20);
    bar.DrawContent(env.get(), CRect(0, 0, 20, 2));
    EXPECT_EQ(Column(*env, 0, 0, 20), "1fff1aaa1cccca1a1iii");

    bar.SetMax(0);
    bar.SetValue(0); // inactive: the disabled looks, the thumb at 0
    bar.DrawContent(env.get(), CRect(0, 0, 20, 2));
    EXPECT_EQ(Column(*env, 0, 0, 20), "1hhh1eeee1bbbb1b1kkk");

    // A bar without images keeps its rectangle, draws nothing and stays inactive.
    CScrollBar none(3, CRect(0, 0, 20, 2), 50, nullptr, nullptr, CScrollBar::kStepByOne, 0, 10, 5, 1);
    EXPECT_EQ(wtest::Str(none.GetBounds()), "0,0,20,2");
    none.SetValue(7);
    EXPECT_TRUE(none.IsInactive());
    auto blank = WhiteEnv(2, 20);
    none.DrawContent(blank.get(), CRect(0, 0, 20, 2));
    EXPECT_EQ(Column(*blank, 0, 0, 20), std::string(20, '.'));
}

TEST_F(ScrollBarTest, TheTemplateReadsItsValuesAndLoadsItsImagesQuietlyUnlessFlag0x400)
{
    deftext::InstallEngineStrings();
    RegisterAllTemplateKinds();
    deftext::AddFolderLibrary({{"STR", 1, "x"}});
    // Kind 0x2c: the frame values, the control values, minval, maxval, curval, imgid,
    // imglibmsk, scrollflags, pagesize. Picture 99 is missing.
    const auto text = [](const char* flags) {
        return std::string("0x2c, 8, 0, ") + flags +
               ", 0, 0, 0, 0, 10, 20, 110, 36, 1, 900, 55, 0, 0, 2, 40, 7, 99, -1, 0x13, 6\n";
    };
    CRsrcTplList quiet(deftext::MakeBlock(text("0x9"), "TPL", 72));
    quiet.Build(root, nullptr, 0);
    auto* bar = dynamic_cast<CScrollBar*>(wnd->FindControlById(8));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetImages(), nullptr);
    EXPECT_TRUE(bar->IsInactive());
    EXPECT_EQ(wtest::Str(bar->GetBounds()), "10,20,110,36"); // kept as given
    EXPECT_EQ(bar->GetMin(), 2);
    EXPECT_EQ(bar->GetMax(), 40);
    EXPECT_EQ(bar->GetValue(), 7);
    EXPECT_EQ(bar->GetScrollFlags(), 0x13);
    EXPECT_EQ(bar->GetPageSize(), 6);
    EXPECT_EQ(bar->GetControlKind(), CInputFrame::kKindScrollBar);

    CRsrcTplList reported(deftext::MakeBlock(text("0x409"), "TPL", 73));
    EXPECT_NE(deftext::FatalReport([&] { reported.Build(root, nullptr, 0); }).find("6:CBM 99"),
              std::string::npos);
}

} // namespace
