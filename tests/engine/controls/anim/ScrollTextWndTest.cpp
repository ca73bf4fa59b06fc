#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/TplList.h"
#include "engine/controls/anim/ScrollTextWnd.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/OffScEnv.h"
#include "platform/Window.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using Rows = std::vector<std::string>;

std::unique_ptr<CTplRec> Lines(const std::vector<std::string>& lines)
{
    auto list = std::make_unique<CTplRec>();
    for (const std::string& l : lines)
        list->Add(std::make_unique<CStr>(l.c_str()));
    return list;
}

std::unique_ptr<COffScEnv> Env(int16_t w, int16_t h)
{
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, h, w), nullptr, false);
    return env;
}

int16_t FontLine(CDrawEnv& env, int16_t font)
{
    FontInfo info;
    env.GetFontMetrics(info, font);
    return static_cast<int16_t>(info.height + 1);
}

// "CBM" 40: one 5 x 7 picture of colour 4.
class ScrollTextWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
        const std::vector<uint8_t> cbm =
            qmtest::MakeFrameStrip({qmtest::CodedFrame(5, 7, std::vector<uint8_t>(35, 4))});
        deftext::AddFolderLibrary({{"CBM", 40, std::string(cbm.begin(), cbm.end())}});
    }

    // The slots in use as "line:type:height" (the height from the first top or the previous
    // slot's bottom).
    static std::string Slots(const CScrollTextWnd& text)
    {
        std::string out;
        int16_t top = text.GetFirstTop();
        for (int16_t i = 0; i < text.GetSlotsInUse(); ++i) {
            const CScrollTextWnd::Slot& s = text.GetSlot(i);
            (out += out.empty() ? "" : " ") +=
                std::to_string(s.line) + ":" + std::to_string(s.type) + ":" + std::to_string(s.bottom - top);
            top = s.bottom;
        }
        return out;
    }
};

} // namespace

TEST_F(ScrollTextWndTest, EntriesRepeatUntilTheAreaIsFilled)
{
    animtest::SoundAppl appl;
    auto env = Env(100, 100);
    const int16_t h = FontLine(*env, 0);
    // Tall enough for seven lines, and the fill goes 10 pixels further.
    CScrollTextWnd text(1, CRect(0, 0, static_cast<int16_t>(7 * h), 100),
                        Lines({"one", "two", "three"}).release(), 0xFFFFFFFF, 0x30);
    EXPECT_EQ(appl.log, (std::vector<std::string>{"stop 0/0"}));
    text.AddNextLine(env.get());
    std::string expected;
    const int lines = (7 * h + 10) / h + 1;
    for (int i = 0; i < lines; ++i)
        (expected += i ? " " : "") += std::to_string(i % 3) + ":1:" + std::to_string(h);
    EXPECT_EQ(Slots(text), expected);
    EXPECT_EQ(text.GetFirstTop(), 0);
    EXPECT_EQ(text.GetFillLimit(), 7 * h + 10);
    // Each wrap to line 0 asks the application to stop its sounds.
    EXPECT_EQ(static_cast<int>(appl.log.size()), 1 + lines / 3);
}

TEST_F(ScrollTextWndTest, LineCodesChooseTheKindAndHeightOfEachLine)
{
    animtest::SoundAppl appl;
    auto env = Env(100, 100);
    const int16_t h0 = FontLine(*env, 0), h2 = FontLine(*env, 2);
    CScrollTextWnd text(
        1, CRect(0, 0, 400, 100),
        Lines({"^c40", "^ct40", "^c99", "^s45", "^l7", "^f2 Title", "plain", "^f3", "^x", "", "^"}).release(),
        0xFFFFFFFF, 0x30);
    text.AddNextLine(env.get());
    const std::string expected =
        "0:2:7 1:2:7 2:0:" + std::to_string(h0) + " 3:3:0 4:3:0 5:1:" + std::to_string(h2) +
        " 6:1:" + std::to_string(h2) + " 7:1:" + std::to_string(FontLine(*env, 3)) +
        " 8:0:" + std::to_string(FontLine(*env, 3)) + " 9:1:" + std::to_string(FontLine(*env, 3)) +
        " 10:0:" + std::to_string(FontLine(*env, 3));
    EXPECT_EQ(Slots(text).substr(0, expected.size()), expected);
    EXPECT_EQ(text.GetSlot(5).font, 2);
    EXPECT_EQ(std::string(text.GetSlot(5).text->GetText()), "Title");
    EXPECT_EQ(text.GetSlot(6).font, 2); // the font stays
    EXPECT_FALSE(text.GetSlot(7).text); // "^f" without a blank: empty
    EXPECT_EQ(text.GetSlot(1).picture->GetDrawProc(), &DrawTransparent);
    EXPECT_EQ(text.GetSlot(0).picture->GetDrawProc(), &DrawOpaque);
    EXPECT_EQ(appl.log[1], "play 45/48/2");
    EXPECT_EQ(appl.log[2], "play 7/48/6");
}

TEST_F(ScrollTextWndTest, TabsPlaceTheTextAfterThemAndASingleTildeEndsTheLine)
{
    auto env = Env(300, 40), expected = Env(300, 40);
    CScrollTextWnd text(1, CRect(0, 0, 40, 300), Lines({"Name~200~Role", "Cut~here"}).release(), 0xFFFFFFFF,
                        0xFFFFFFFF);
    text.SetTextColor(3);
    text.DrawContent(env.get(), text.GetDrawnRect());
    const int16_t h = FontLine(*expected, 0);
    expected->SetTextColor(255);
    expected->FillRect(CRect(0, 0, 40, 300));
    expected->SetTextColor(3);
    expected->SetFont(0);
    expected->DrawTextAt(CPoint(0, 0), "Name", 4, kBkTransparent);
    expected->DrawTextAt(CPoint(200, 0), "Role", 4, kBkTransparent);
    // A line starts below the previous line's bottom: 0, h + 1, 2 h + 1.
    expected->DrawTextAt(CPoint(0, static_cast<int16_t>(h + 1)), "Cut", 3, kBkTransparent);
    expected->DrawTextAt(CPoint(0, static_cast<int16_t>(2 * h + 1)), "Name", 4, kBkTransparent);
    expected->DrawTextAt(CPoint(200, static_cast<int16_t>(2 * h + 1)), "Role", 4, kBkTransparent);
    EXPECT_EQ(qmtest::Pixels(*env->GetBitmap()), qmtest::Pixels(*expected->GetBitmap()));
    EXPECT_NE(qmtest::Pixels(*env->GetBitmap()), qmtest::Pixels(*Env(300, 40)->GetBitmap()));
    EXPECT_NE(text.GetTimer(), nullptr); // the first draw started the scroll
}

TEST_F(ScrollTextWndTest, PicturesAreCutAtTheElementsEdges)
{
    // The 5 x 7 picture of line 1 ends 7 pixels below line 0's bottom, in a text 4 pixels
    // lower than that and 3 pixels wide: only its top-left part inside shows.
    for (const char* code : {"^c40", "^ct40"}) {
        auto env = Env(10, 40);
        const int16_t h = FontLine(*env, 0);
        CScrollTextWnd text(1, CRect(0, 1, static_cast<int16_t>(h + 4), 4), Lines({"", code}).release(),
                            0xFFFFFFFF, 0xFFFFFFFF);
        text.DrawContent(env.get(), text.GetDrawnRect());
        const Rows rows = qmtest::Pixels(*env->GetBitmap());
        for (int v = 0; v < 40; ++v) {
            const bool inside = v >= h && v < h + 4; // a picture sits on its line's bottom
            EXPECT_EQ(rows[static_cast<size_t>(v)], inside ? ".444......" : "..........") << code << " " << v;
        }
    }
}

TEST_F(ScrollTextWndTest, MissingOrEmptyListsAndLinesWithoutHeightStayBounded)
{
    auto env = Env(50, 50);
    for (CTplRec* lines : {static_cast<CTplRec*>(nullptr), Lines({}).release()}) {
        CScrollTextWnd text(1, CRect(0, 0, 50, 50), lines, 0xFFFFFFFF, 0xFFFFFFFF);
        text.DrawContent(env.get(), text.GetDrawnRect());
        EXPECT_EQ(text.GetSlotsInUse(), 0);
        EXPECT_EQ(text.GetTimer(), nullptr);
    }
    // Sound lines take no room: the slots end the fill.
    CScrollTextWnd sounds(2, CRect(0, 0, 50, 50), Lines({"^s1", "^s2"}).release(), 0xFFFFFFFF, 0xFFFFFFFF);
    sounds.AddNextLine(env.get());
    EXPECT_EQ(sounds.GetSlotsInUse(), CScrollTextWnd::kSlotCount);
}

TEST_F(ScrollTextWndTest, OneScrollStepMovesThePicturePixelForPixel)
{
    animtest::TestScreen shown(120, 60);
    auto* text = new CScrollTextWnd(1, CRect(5, 10, 55, 110),
                                    Lines({"Wagons", "^c40", "roll~50~west", "", "at dawn"}).release(),
                                    0xFFFFFFFF, 0xFFFFFFFF);
    text->SetTextColor(3);
    text->SetBackColor(200);
    text->SetScrollStep(2);
    text->SetWaitTicks(3);
    shown.Show(text);
    const std::unique_ptr<CWind>& window = shown.window;
    CDibSect* screen = window->GetOffScreenEnv()->GetBitmap();
    const Rows before = qmtest::Pixels(*screen);
    ASSERT_NE(text->GetTimer(), nullptr);
    EXPECT_EQ(text->GetTimer()->GetPeriod(), 3u);
    const int16_t bottom0 = text->GetSlot(0).bottom;

    EXPECT_TRUE(text->OnTimer());
    EXPECT_EQ(text->GetSlot(0).bottom, bottom0 - 2);
    const Rows after = qmtest::Pixels(*screen);
    // Inside the text the rows moved up by 2; outside nothing changed.
    for (int v = 0; v < 60; ++v) {
        if (v < 5 || v >= 55) {
            EXPECT_EQ(after[v], before[v]) << v;
            continue;
        }
        EXPECT_EQ(after[v].substr(0, 10), before[v].substr(0, 10)) << v;
        EXPECT_EQ(after[v].substr(110), before[v].substr(110)) << v;
        if (v < 53) {
            EXPECT_EQ(after[v].substr(10, 100), before[v + 2].substr(10, 100)) << v;
        }
    }
    // The uncovered strip holds what a whole redraw of the new state draws.
    window->Redraw(nullptr);
    wtest::PumpAll();
    EXPECT_EQ(qmtest::Pixels(*screen), after);
    // The screen shows the off-screen picture.
    const plat::ClientTarget target = plat::GetClientTarget(window->GetHwnd());
    ASSERT_TRUE(target.surface);
    EXPECT_EQ(target.surface->Row(target.origin.y + 20)[target.origin.x + 30], screen->GetPixel(30, 20));
}

// The bitmap's pixel values, one string a row.
Rows RawPixels(CDibSect& bitmap)
{
    Rows rows;
    const CRect& r = bitmap.GetRect();
    for (int32_t v = r.GetTop(); v < r.GetBottom(); ++v) {
        std::string row;
        for (int32_t h = r.GetLeft(); h < r.GetRight(); ++h)
            row += static_cast<char>(bitmap.GetPixel(h, v));
        rows.push_back(row);
    }
    return rows;
}

// A frame whose row y has colour 100 + y.
class RowStripes : public CFrame {
public:
    explicit RowStripes(const CRect& rect) : CFrame(5, kNewId, rect, false) {}
    void DrawContent(CDrawEnv* env, const CRect&) override
    {
        const CRect& r = GetDrawnRect();
        for (int16_t y = r.GetTop(); y < r.GetBottom(); ++y) {
            env->SetTextColor(100 + y);
            env->FillRect(CRect(y, r.GetLeft(), static_cast<int16_t>(y + 1), r.GetRight()));
        }
    }
};

TEST_F(ScrollTextWndTest, ATransparentTextMovesOverWhatLiesUnderItWithoutMovingIt)
{
    animtest::TestScreen shown(120, 60);
    shown.Show(new RowStripes(CRect(0, 0, 60, 120)));
    auto* text = new CScrollTextWnd(1, CRect(5, 10, 55, 110),
                                    Lines({"Wagons", "roll~50~west", "", "at dawn"}).release(), 0xFFFFFFFF,
                                    0xFFFFFFFF);
    text->SetTransparent(true);
    text->SetTextColor(3);
    text->SetScrollStep(2);
    shown.Show(text);
    CDibSect* screen = shown.window->GetOffScreenEnv()->GetBitmap();
    const Rows before = RawPixels(*screen);
    ASSERT_NE(before[10].find('\x03'), std::string::npos); // the first line's letters

    EXPECT_TRUE(text->OnTimer());
    const Rows after = RawPixels(*screen);
    // The letters moved up by 2; every other pixel still shows the stripes where they were.
    std::string wrong;
    for (int v = 0; v < 60; ++v)
        for (int h = 0; h < 120; ++h) {
            const bool inside = v >= 5 && v < 55 && h >= 10 && h < 110;
            const bool letter = inside && v + 2 < 55 && before[v + 2][h] == '\x03';
            const char want = letter ? '\x03' : static_cast<char>(100 + v);
            if (after[v][h] != want && !(inside && v + 2 >= 55)) // the bottom strip gets new lines
                wrong += " (" + std::to_string(h) + "," + std::to_string(v) + ")";
        }
    EXPECT_EQ(wrong, "");
    // What a whole redraw of the new state draws.
    shown.window->Redraw(nullptr);
    wtest::PumpAll();
    EXPECT_EQ(RawPixels(*screen), after);
}

TEST_F(ScrollTextWndTest, LinesThatLeaveTheTopAreDroppedAndNewOnesAdded)
{
    animtest::TestScreen screen(120, 60);
    auto* text = screen.Show(new CScrollTextWnd(1, CRect(0, 0, 40, 100),
                                                Lines({"a", "b", "c", "d", "e", "f", "g"}).release(),
                                                0xFFFFFFFF, 0xFFFFFFFF));
    const int16_t first = text->GetSlot(0).bottom;
    for (int i = 0; i < first; ++i)
        text->OnTimer();
    // Slot 0 scrolled out: line 1 leads, just below the old line's last row.
    EXPECT_EQ(text->GetSlot(0).line, 1);
    EXPECT_EQ(text->GetFirstTop(), 1);
    for (int i = 0; i < 200; ++i)
        text->OnTimer();
    // The lines stay a run that covers the area, wrapping round the list.
    for (int16_t i = 1; i < text->GetSlotsInUse(); ++i)
        EXPECT_EQ(text->GetSlot(i).line, (text->GetSlot(i - 1).line + 1) % 7) << i;
    EXPECT_GE(text->GetSlot(static_cast<int16_t>(text->GetSlotsInUse() - 1)).bottom,
              text->GetFillLimit() - 1);
    EXPECT_GE(text->GetSlot(0).bottom, 1);
    EXPECT_LE(text->GetFirstTop(), 1);

    // Hidden, it does not scroll the pixels of what lies under it.
    const int16_t bottom = text->GetSlot(0).bottom;
    text->Hide(false, false);
    const Rows under = qmtest::Pixels(*screen.window->GetOffScreenEnv()->GetBitmap());
    EXPECT_FALSE(text->OnTimer());
    EXPECT_EQ(text->GetSlot(0).bottom, bottom);
    EXPECT_EQ(qmtest::Pixels(*screen.window->GetOffScreenEnv()->GetBitmap()), under);

    // Without a window there is no environment: nothing moves.
    CScrollTextWnd alone(2, CRect(0, 0, 40, 100), Lines({"a"}).release(), 0xFFFFFFFF, 0xFFFFFFFF);
    EXPECT_FALSE(alone.OnTimer());
}

// Kind 6 after the frame values: strlistid, strlibid, textcolor, bckcolor, scrollhgt, waitticks.
TEST_F(ScrollTextWndTest, TemplatesTakeTheirListColoursAndPace)
{
    deftext::AddFolderLibrary({{"STR", 41, "first\nsecond"}}, "Text");
    const std::string text = "1, 1, 0, 9, 0,0, 0,0, 0, 0, 100, 200\n"
                             "6, 2, 1, 9, 0,0, 0,0, 10, 20, 60, 120, 41, -1, -1, -1, 2, 3\n"
                             "6, 3, 1, 11, 0,0, 0,0, 10, 20, 60, 120, 42, -1, 5, 6, 1, 1\n";
    CTplList list(deftext::MakeBlock(text, "TPL", 1), nullptr);
    std::unique_ptr<CFrame> root(static_cast<CFrame*>(list.Build(nullptr, nullptr, 0)));
    auto* a = dynamic_cast<CScrollTextWnd*>(root->FindObject(CBaseObj::kAnyKind, 2));
    auto* b = dynamic_cast<CScrollTextWnd*>(root->FindObject(CBaseObj::kAnyKind, 3));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetTextColor(), 0u);
    EXPECT_EQ(a->GetBackColor(), 255u);
    EXPECT_EQ(a->GetScrollStep(), 2);
    EXPECT_EQ(a->GetWaitTicks(), 3);
    EXPECT_TRUE(a->HasOwnContent());
    EXPECT_EQ(a->GetKind(), CScrollTextWnd::kKind);
    EXPECT_EQ(b->GetTextColor(), 5u);
    EXPECT_EQ(b->GetBackColor(), 6u);
    EXPECT_TRUE(b->IsTransparent());
    auto env = Env(200, 100);
    a->AddNextLine(env.get());
    EXPECT_EQ(std::string(a->GetSlot(1).text->GetText()), "second");
    b->AddNextLine(env.get()); // list 42 is missing: nothing to show
    EXPECT_EQ(b->GetSlotsInUse(), 0);
}
