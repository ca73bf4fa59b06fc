#pragma once
// Fixtures for the help popup tests: a shown window with two frames, one with help id 7 and
// one without help, a library of "HEP" records, and the popup made over it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/controls/text/PopTextList.h"
#include "engine/controls/text/PopWind.h"
#include "engine/controls/text/ScreenHooks.h"
#include "engine/framework/Str.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace poptest {

class PopupTest : public wtest::WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        InstallScreenHooks();
        deftext::InstallEngineStrings();
        deftext::AddFolderLibrary({
            {"HEP", 0, "short short short short short short short long long long long string"},
            {"HEP", 7, "1, 120, 0, 0, 0, 0, 0, 0, 0, 0, 0, \"Wagons roll west\""},
            {"HEP", 8, "4, 200, 0, 0, 0, 30, 90, 0, 0, 0, 0, \"Kept\""},
            {"HEP", 9, "2, 150, 0, 0, 0, 0, 0, 11, -12, 13, 14, \"Four values\""},
            {"HEP", 10, "1, 200, 0, 5, 6, 35, 106, 0, 0, 0, 0, \"Placed\""},
            {"HEP", 11, "1, 120, 50, 0, 0, 0, 0, 0, 0, 0, 0, \"Fixed\""},
            {"HEP", 12, ""},          // empty: nothing to compile
            {"HEP", 13, "1, 120, 0"}, // cut short
        });
        wnd = wtest::MakeWindow(CWind::kTypeTopLevel, wtest::Root(300, 200, log));
        helped = new CFrame(4, 11, CRect(20, 20, 60, 120), false);
        helped->SetHelpId(7);
        plain = new CFrame(4, 12, CRect(100, 150, 120, 200), false);
        wnd->GetFirstFrame()->AddChild(helped, false);
        wnd->GetFirstFrame()->AddChild(plain, false);
        popup = std::make_unique<CPopWind>(MakeContent(), nullptr, nullptr, -1);
    }
    void TearDown() override
    {
        popup.reset();
        delete wnd;
    }
    // The popup's content; null lets the popup make its own.
    virtual CFrame* MakeContent() { return nullptr; }

    CPopTextList* List() { return static_cast<CPopTextList*>(popup->GetFirstFrame()); }
    std::string Text() { return List()->GetText()->GetText(); }
    void MouseAt(int h, int v) { plat::InjectMouseMove(wtest::ScreenOf(*wnd, h, v)); }

    wtest::Log log;
    CWind* wnd = nullptr;
    CFrame* helped = nullptr;
    CFrame* plain = nullptr;
    std::unique_ptr<CPopWind> popup;
};

} // namespace poptest
