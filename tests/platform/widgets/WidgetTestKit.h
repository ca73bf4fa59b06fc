#pragma once
// A recording top-level window to put widgets in, scripted input at client points of a widget,
// the notifications a widget sent, and golden pictures of an area of the desktop.
//
// Golden pictures live in tests/platform/widgets/golden. After a deliberate change of a look,
// run the tests once with QM_UPDATE_GOLDEN=1 in the environment to write them again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/widgets/Widgets.h"
#include "tests/platform/WindowTestKit.h"

namespace widgettest {

// Makes the committed bitmap font stand in for every face the widgets and the window system
// draw with, so that pictures are the same on every machine.
void UseTestFont();

class WidgetFixture {
public:
    WidgetFixture();
    plat::WindowHandle Make(const char* className, uint32_t style, plat::Rect rect,
                            const std::string& text = "");
    // The notification codes (msg::Command high words) a widget sent to the window.
    std::vector<uint32_t> Codes(plat::WindowHandle widget) const;
    // The scroll codes (low words) a scroll bar sent, and their positions.
    std::vector<uint32_t> ScrollCodes(plat::WindowHandle bar) const;
    std::vector<int32_t> ScrollPositions(plat::WindowHandle bar, uint32_t code) const;
    plat::Point Screen(plat::WindowHandle widget, plat::Point client) const;
    void Click(plat::WindowHandle widget, plat::Point client);
    void Press(plat::WindowHandle widget, plat::Point client, bool down);
    void MoveTo(plat::WindowHandle widget, plat::Point client);
    // A key pressed and released, with modifiers held around it, then everything dispatched.
    void Key(uint8_t key, bool shift = false, bool ctrl = false, bool alt = false);
    void Type(const std::string& text);

    wintest::Recorder recorder;
    plat::WindowHandle window = 0;
};

// Compares the area of the desktop (screen coordinates) with a golden picture.
::testing::AssertionResult MatchesGolden(const std::string& name, const plat::Rect& area);

} // namespace widgettest
