// Windows built with the three options instead of a flag word, and the top-level style they
// give under the window-frame switch.
#include <gtest/gtest.h>

#include <memory>

#include "engine/controls/text/PopWind.h"
#include "engine/controls/TopWnd.h"
#include "engine/framework/Appl.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/Str.h"
#include "tests/engine/controls/WindowsKit.h"

namespace {

using namespace wtest;
using namespace plat::style;

class WindOptionsTest : public WindowsTest {};

TEST_F(WindOptionsTest, OptionsMapOntoTheFlagWord)
{
    const struct {
        CWindOptions options;
        uint32_t flags;
    } cases[] = {
        {{}, CWind::kFlagMinimizeBox},
        {{.shadowed = true}, CWind::kFlagMinimizeBox | CWind::kFlagOffScreen},
        {{.close = true}, CWind::kFlagMinimizeBox | CWind::kFlagClose},
        {{.grow = true}, CWind::kFlagMinimizeBox | CWind::kFlagResizable},
        {{true, true, true},
         CWind::kFlagMinimizeBox | CWind::kFlagOffScreen | CWind::kFlagClose | CWind::kFlagResizable},
    };
    for (const auto& c : cases) {
        CWind w(CWind::kTypeTopLevel, Root(40, 30, log), nullptr, c.options);
        EXPECT_EQ(w.GetWndFlags(), c.flags);
        EXPECT_EQ(w.HasClose(), c.options.close);
        EXPECT_EQ(w.IsStyleBit2(), c.options.grow);
        EXPECT_EQ(w.GetOffScreenEnv() != nullptr, c.options.shadowed);
    }
}

TEST_F(WindOptionsTest, TopLevelStyleTable)
{
    const uint32_t clip = ClipChildren;
    const struct {
        bool menuBar, grow;
        uint32_t style;
    } cases[] = {
        {true, false, Caption | SysMenu | MinimizeBox | clip},
        {true, true, Caption | SysMenu | MinimizeBox | ThickFrame | MaximizeBox | clip},
        {false, false, Popup | clip},
        {false, true, Popup | clip}, // without the switch, grow changes nothing
    };
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        for (const auto& c : cases) {
            SetUseMenuBar(c.menuBar);
            // The launcher's main window: no position, not shadowed, with close.
            CTopWnd top(std::make_unique<CStr>("Vespar"), Root(200, 100, log), nullptr,
                        CWindOptions{.shadowed = false, .close = true, .grow = c.grow});
            EXPECT_EQ(plat::GetStyle(top.GetHwnd()), c.style) << c.menuBar << c.grow;
            EXPECT_EQ(plat::GetExStyle(top.GetHwnd()), 0u);
            EXPECT_TRUE(top.HasClose());
            EXPECT_EQ(top.GetOffScreenEnv(), nullptr);
        }
    }
}

TEST_F(WindOptionsTest, ThePopupFrameWindowTakesNoOption)
{
    CPopWind popup(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(popup.GetWndFlags(), CWind::FlagsFor({}));
    EXPECT_FALSE(popup.HasClose());
    EXPECT_EQ(popup.GetOffScreenEnv(), nullptr);
}

} // namespace
