// The game controls' demonstration screen, "TPL" 3400 of the game data, built with the game's
// template kinds: as qmscreen draws it, and driven as a player would until every control that
// can be is selected or pressed. Both pictures are compared with their golden pictures; after a
// deliberate change of the screen, its data, a control's looks or the fonts, make them again
// with
//   QM_UPDATE_GOLDEN=1 build/test/tests/test_game_shell --gtest_filter='DemoScreen.*'
// Text pixels depend on the fonts installed, so the pictures hold on the project's machines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/framework/TimerEvent.h"
#include "engine/framework/Util.h"
#include "engine/graphics/Palette.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/RsrcCache.h"
#include "game/base/CheckListCtl.h"
#include "game/base/GameBtn.h"
#include "game/base/RandomPictureCtl.h"
#include "game/base/RepeatButton.h"
#include "game/base/SpinFrm.h"
#include "game/base/TwoColListFrm.h"
#include "game/shell/TemplateTypes.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/EngineLibrary.h"
#include "tools/PngImage.h"
#include "tools/QmScreen.h"
#include "tools/ScreenPicture.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kDemoList = 3400;
// The demonstration's controls, by template id.
constexpr int32_t kGameButton = 3401, kRepeatButton = 3402, kSpinWithArrows = 3404, kCheckList = 3405,
                  kTwoColumns = 3406, kRandomPicture = 3407;
constexpr uint32_t kAnyKind = 0xFFFFFFFFu;

// The game's data and language libraries, where the screen's pictures and texts are.
std::vector<std::string> GameLibraries()
{
    const fs::path game = qmtest::SourceDir() / "data" / "game";
    return {(game / "QM3Data").string(), (game / "QM3Lang").string()};
}

// The picture against tests/game/shell/golden/NAME; with QM_UPDATE_GOLDEN=1 it becomes the
// golden picture. A picture that differs is left in the system's temporary folder.
::testing::AssertionResult MatchesGolden(const IndexedImage& made, const std::string& name)
{
    const fs::path golden = qmtest::SourceDir() / "tests" / "game" / "shell" / "golden" / name;
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        WriteIndexedPng(golden, made.width, made.height, made.pixels, made.palette);
    IndexedImage want;
    try {
        want = ReadIndexedPng(golden);
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << e.what();
    }
    if (made.width == want.width && made.height == want.height && made.pixels == want.pixels &&
        made.palette == want.palette)
        return ::testing::AssertionSuccess();
    const fs::path kept = fs::temp_directory_path() / ("qm-made-" + name);
    WriteIndexedPng(kept, made.width, made.height, made.pixels, made.palette);
    return ::testing::AssertionFailure() << name << " differs from its golden picture (see " << kept << ")";
}

TEST(DemoScreen, QmScreenDrawsItWithTheGameKinds)
{
    const fs::path out = qmtest::TempDir() / "demo.png";
    std::vector<std::string> args = GameLibraries();
    for (const std::string& arg : {std::string("--tpl"), std::to_string(kDemoList), out.string()})
        args.push_back(arg);
    const qmtest::ToolRun r =
        qmtest::RunTool([](const std::vector<std::string>& a, std::ostream& o,
                           std::ostream& e) { return RunQmScreenWithKinds(&RegisterTemplateTypes, a, o, e); },
                        args);
    ASSERT_EQ(r.status, 0) << r.err;
    const IndexedImage made = ReadIndexedPng(out);
    EXPECT_EQ(made.width, 440);
    EXPECT_EQ(made.height, 300);
    EXPECT_TRUE(MatchesGolden(made, "demo-controls.png"));

    // The engine's kinds alone cannot build the game's screen.
    const qmtest::ToolRun engine = qmtest::RunTool(RunQmScreen, args);
    EXPECT_EQ(engine.status, 1);
}

// The demonstration screen shown in a window of the game data, driven with the mouse and the
// fake clock.
class DemoScreenDriven : public wtest::WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        library = std::make_unique<EngineLibrary>(GameLibraries());
        CRegistrar::Clear();
        RegisterTemplateTypes();
        InitScreenFonts();
        palette = LoadScreenPalette(std::nullopt);
        CUtil::SetRandomSeed(34);
        CTplList list(kDemoList, 0xFFFFFFFFu, &cache);
        window = ShowingWindow(list.Build(nullptr, nullptr, 0));
        ASSERT_NE(window, nullptr);
        ShowScreen(*window, *palette);
    }
    void TearDown() override
    {
        if (window)
            plat::InjectMouseButton(plat::MouseButton::Left, false, {0, 0});
        wtest::PumpAll();
        window.reset();
    }

    template <class T> T* Control(int32_t id)
    {
        auto* control = dynamic_cast<T*>(window->FindControlById(id));
        EXPECT_NE(control, nullptr) << id;
        return control;
    }
    void Button(bool down, int x, int y)
    {
        plat::InjectMouseButton(plat::MouseButton::Left, down, wtest::ScreenOf(*window, x, y));
        wtest::PumpAll();
    }
    void Click(int x, int y)
    {
        Button(true, x, y);
        Button(false, x, y);
    }
    // The middle of a list's line, in the window.
    static CPoint LineMiddle(const CListBox& list, int32_t line)
    {
        const CRect& r = list.GetBounds();
        return CPoint(static_cast<int16_t>(r.GetLeft() + 30),
                      static_cast<int16_t>(r.GetTop() + list.GetTopMargin() + line * list.GetItemHeight() +
                                           list.GetItemHeight() / 2));
    }
    void ClickLine(const CListBox& list, int32_t line)
    {
        const CPoint at = LineMiddle(list, line);
        Click(at.GetH(), at.GetV());
    }
    static void Ticks(uint32_t n)
    {
        for (uint32_t i = 0; i < n; ++i) {
            qmtest::Clock().Advance(17);
            RunDueTimers();
            wtest::PumpAll();
        }
    }

    std::unique_ptr<EngineLibrary> library;
    std::unique_ptr<CPalette> palette;
    CRsrcCache cache{4 * 1024 * 1024};
    std::unique_ptr<CWind> window;
};

TEST_F(DemoScreenDriven, EachControlSelectedOrPressed)
{
    // Before it is active the window shows what qmscreen draws; active, the control with the
    // key focus (the check list) shows its focus frame.
    EXPECT_TRUE(MatchesGolden(TakeScreen(*window, *palette), "demo-controls.png"));
    plat::ActivateWindow(window->GetHwnd());
    wtest::PumpAll();

    // The check list: the first line, selected from the start, checked by a click on it, then
    // the second selected; a landmark screen dims the last two lines, one of them checked.
    auto* checks = Control<CCheckListCtl>(kCheckList);
    ASSERT_NE(checks, nullptr);
    ClickLine(*checks, 0);
    ClickLine(*checks, 1);
    checks->SetState(2, CCheckListCtl::kDimmed);
    checks->SetState(3, CCheckListCtl::kDimmed | CCheckListCtl::kChecked);
    EXPECT_EQ(checks->GetSelection(), 1);
    EXPECT_EQ(checks->GetState(0), CCheckListCtl::kChecked);

    // The two-column list: the second row selected.
    auto* columns = Control<CTwoColListFrm>(kTwoColumns);
    ASSERT_NE(columns, nullptr);
    ClickLine(*columns, 1);
    EXPECT_EQ(columns->GetSelectedNumber(), 15);

    // The random picture: one period later another picture.
    auto* picture =
        dynamic_cast<CRandomPictureCtl*>(window->GetFirstFrame()->FindObject(kAnyKind, kRandomPicture));
    ASSERT_NE(picture, nullptr);
    Ticks(CRandomPictureCtl::kPeriod);
    EXPECT_NE(picture->GetShownId(), 0);

    // The spin control's upper arrow held for three periods of 10 ticks: its value (150) grows by
    // the start increment at the press and at each period.
    auto* spin = Control<CSpinFrm>(kSpinWithArrows);
    ASSERT_NE(spin, nullptr);
    const CRect arrow = spin->GetUpButton()->GetDrawnRect();
    Button(true, (arrow.GetLeft() + arrow.GetRight()) / 2, (arrow.GetTop() + arrow.GetBottom()) / 2);
    Ticks(30);
    EXPECT_EQ(spin->GetValue(), 154);

    // The game button lit as under the pointer, and the repeat button pressed as Enter presses
    // a default button: the pointer is held on the arrow.
    auto* game = Control<CGameBtn>(kGameButton);
    auto* repeat = Control<CRepeatButton>(kRepeatButton);
    ASSERT_NE(game, nullptr);
    ASSERT_NE(repeat, nullptr);
    game->UpdateColor(true);
    repeat->SetPressedLook(true);
    EXPECT_TRUE(MatchesGolden(TakeScreen(*window, *palette), "demo-controls-pressed.png"));
}

} // namespace
