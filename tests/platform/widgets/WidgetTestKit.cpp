#include <gtest/gtest.h>

#include "tests/platform/widgets/WidgetTestKit.h"

#include <cstdlib>

#include "platform/Desktop.h"
#include "platform/Font.h"
#include "tests/support/TestEnv.h"
#include "tools/PngImage.h"

namespace widgettest {

void UseTestFont()
{
    const std::string bdf = (qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string();
    for (const char* face : {"MS Sans Serif", "Arial", "Courier New"})
        plat::AddFontFace(face, {bdf});
}

WidgetFixture::WidgetFixture()
{
    UseTestFont();
    window = wintest::MakeTopLevel("Widgets", {100, 100, 400, 300}, plat::style::Visible);
    plat::ActivateWindow(window);
    wintest::PumpAll();
    recorder.Clear();
}

plat::WindowHandle WidgetFixture::Make(const char* className, uint32_t style, plat::Rect rect,
                                       const std::string& text)
{
    const plat::WindowHandle h = plat::CreateWindow(
        {className, text, plat::style::Child | plat::style::Visible | style, 0, rect, window});
    if (!text.empty())
        plat::SetWidgetText(h, text);
    wintest::PumpAll();
    recorder.Clear();
    return h;
}

std::vector<uint32_t> WidgetFixture::Codes(plat::WindowHandle widget) const
{
    std::vector<uint32_t> out;
    for (const wintest::Seen& s : recorder.Of(plat::msg::Command)) {
        if (static_cast<plat::WindowHandle>(s.lParam) == widget)
            out.push_back(plat::HighWord(s.wParam));
    }
    return out;
}

std::vector<uint32_t> WidgetFixture::ScrollCodes(plat::WindowHandle bar) const
{
    std::vector<uint32_t> out;
    for (const wintest::Seen& s : recorder.All()) {
        if ((s.message == plat::msg::HScroll || s.message == plat::msg::VScroll) &&
            static_cast<plat::WindowHandle>(s.lParam) == bar)
            out.push_back(plat::LowWord(s.wParam));
    }
    return out;
}

std::vector<int32_t> WidgetFixture::ScrollPositions(plat::WindowHandle bar, uint32_t code) const
{
    std::vector<int32_t> out;
    for (const wintest::Seen& s : recorder.All()) {
        if ((s.message == plat::msg::HScroll || s.message == plat::msg::VScroll) &&
            static_cast<plat::WindowHandle>(s.lParam) == bar && plat::LowWord(s.wParam) == code)
            out.push_back(static_cast<int16_t>(plat::HighWord(s.wParam)));
    }
    return out;
}

plat::Point WidgetFixture::Screen(plat::WindowHandle widget, plat::Point client) const
{
    return plat::ClientToScreen(widget, client);
}

void WidgetFixture::Click(plat::WindowHandle widget, plat::Point client)
{
    plat::Click(Screen(widget, client));
    wintest::PumpAll();
}

void WidgetFixture::Press(plat::WindowHandle widget, plat::Point client, bool down)
{
    plat::InjectMouseButton(plat::MouseButton::Left, down, Screen(widget, client));
    wintest::PumpAll();
}

void WidgetFixture::MoveTo(plat::WindowHandle widget, plat::Point client)
{
    plat::InjectMouseMove(Screen(widget, client));
    wintest::PumpAll();
}

void WidgetFixture::Key(uint8_t key, bool shift, bool ctrl, bool alt)
{
    if (shift)
        plat::InjectKey(plat::key::Shift, true);
    if (ctrl)
        plat::InjectKey(plat::key::Control, true);
    if (alt)
        plat::InjectKey(plat::key::Alt, true);
    plat::PressKey(key);
    wintest::PumpAll();
    if (alt)
        plat::InjectKey(plat::key::Alt, false);
    if (ctrl)
        plat::InjectKey(plat::key::Control, false);
    if (shift)
        plat::InjectKey(plat::key::Shift, false);
    wintest::PumpAll();
}

void WidgetFixture::Type(const std::string& text)
{
    plat::TypeText(text);
    wintest::PumpAll();
}

::testing::AssertionResult MatchesGolden(const std::string& name, const plat::Rect& area)
{
    wintest::PumpAll();
    const auto golden = qmtest::SourceDir() / "tests/platform/widgets/golden" / (name + ".png");
    const auto made = qmtest::TempDir() / (name + ".png");
    if (!plat::WriteDesktopPng(made, &area))
        return ::testing::AssertionFailure() << "cannot write " << made;
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        std::filesystem::copy_file(made, golden, std::filesystem::copy_options::overwrite_existing);
    try {
        const IndexedImage want = ReadIndexedPng(golden);
        const IndexedImage got = ReadIndexedPng(made);
        if (want.width != got.width || want.height != got.height || want.pixels != got.pixels ||
            want.palette != got.palette)
            return ::testing::AssertionFailure()
                   << name << " differs from its golden picture (see " << made << ")";
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << e.what();
    }
    return ::testing::AssertionSuccess();
}

} // namespace widgettest
