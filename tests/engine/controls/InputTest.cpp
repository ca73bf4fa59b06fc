#include <gtest/gtest.h>

#include "engine/framework/Stopwatch.h"
#include "platform/Metrics.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace wtest;

class InputTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        // Recording stand-ins for the cursor manager and the help popup.
        WindHooks& h = GetWindHooks();
        h.setCursorId = [this](int32_t id, uint32_t) { cursors.push_back(id); };
        h.showHelpFor = [this](CFrame* f) { log.push_back("help:" + std::to_string(f->GetHelpId())); };
        h.dismissHelp = [this] { log.push_back("help:off"); };
        root = Root(300, 200, log);
        wnd = MakeWindow(CWind::kTypeTopLevel, root);
        plat::ActivateWindow(wnd->GetHwnd());
        PumpAll();
        log.clear();
        cursors.clear();
    }
    void TearDown() override { delete wnd; }

    TestControl* AddControl(const char* name, CRect rect = CRect(0, 0, 10, 10), int32_t kind = 1)
    {
        auto* c = new TestControl(log, name, rect, -1, kind);
        root->AddChild(c, false);
        return c;
    }
    LogFrame* AddFrame(const char* name, CRect rect)
    {
        auto* f = new LogFrame(log, name, rect);
        root->AddChild(f, false);
        return f;
    }
    void Click(int x, int y)
    {
        plat::Click(ScreenOf(*wnd, x, y));
        PumpAll();
    }
    void Key(uint8_t key)
    {
        plat::PressKey(key);
        PumpAll();
    }

    CFrame* root = nullptr;
    CWind* wnd = nullptr;
    std::vector<int32_t> cursors;
};

TEST_F(InputTest, KeysGoToTheFocusControlTheDefaultAndCancelControlsTheTabOrderOrEveryone)
{
    TestControl* field = AddControl("field");
    TestControl* ok = AddControl("ok");
    TestControl* cancel = AddControl("cancel");
    TestControl* list = AddControl("list");
    AddFrame("bystander", {100, 100, 110, 110});
    wnd->SetDefaultControl(ok);
    wnd->SetCancelControl(cancel);
    field->wantedKey = 'a';
    list->wantedKey = 'z';
    log.clear();

    // A key nobody takes is broadcast to every live object.
    const auto everyone = [](int key) {
        const std::string k = std::to_string(key);
        return Log{"root:-3/" + k + "/0", "field:-3/" + k, "ok:-3/" + k,
                   "cancel:-3/" + k,      "list:-3/" + k,  "bystander:-3/" + k + "/0"};
    };
    struct Case {
        uint8_t key;
        Log expected;
    };
    const Case cases[] = {
        {'A', {"field:-3/97"}}, // the focus control takes its key
        {'Z', {"list:-3/122"}}, // the first control in tab order that wants it
        {plat::key::Enter, {"ok:pressed=1", "ok:pressed=0", "ok:notify"}},
        {plat::key::Escape, {"cancel:pressed=1", "cancel:pressed=0", "cancel:notify"}},
        {'Q', everyone('q')},              // the character typed
        {plat::key::Left, everyone(0x1C)}, // arrows map to 0x1C-0x1F
        {plat::key::Delete, everyone(8)},  // Delete to 8
    };
    for (const Case& c : cases) {
        log.clear();
        Key(c.key);
        EXPECT_EQ(log, c.expected) << int(c.key);
    }

    // A hidden default control is passed over: Enter goes to the key queries, then everyone.
    ok->Hide(false, false);
    log.clear();
    Key(plat::key::Enter);
    EXPECT_EQ(log, everyone(13));
}

TEST_F(InputTest, PressingByKeyShowsTheControlPressedForHalfACaretBlink)
{
    TestControl* ok = AddControl("ok");
    TestControl* native = AddControl("native", CRect(0, 0, 10, 10), CWindControl::kKindNativeButton);
    const uint32_t before = GetTick();
    wnd->FlashAndPress(ok);
    EXPECT_EQ(GetTick() - before, CWind::FlashTicks(plat::GetMetrics().caretBlinkMs));
    log.clear();
    wnd->FlashAndPress(native); // never flashed
    EXPECT_EQ(log, Log{"native:notify"});

    struct Case {
        uint32_t blinkMs, ticks;
    };
    const Case cases[] = {{530, 15}, {500, 14}, {1200, 35}, {0, 15}, {1201, 15}, {0xFFFFFFFFu, 15}};
    for (const Case& c : cases)
        EXPECT_EQ(CWind::FlashTicks(c.blinkMs), c.ticks) << c.blinkMs;
}

TEST_F(InputTest, TabMovesTheFocusAndAnEditFieldReachedByTabIsToldToSelectAll)
{
    TestControl* a = AddControl("a");
    TestControl* edit = AddControl("edit", CRect(0, 0, 10, 10), CWindControl::kKindEditField);
    EXPECT_EQ(CWind::GetKeyFocus(), a);
    log.clear();
    Key(plat::key::Tab);
    EXPECT_EQ(CWind::GetKeyFocus(), edit);
    EXPECT_EQ(log, (Log{"a:focus=0", "edit:focus=1", "edit:-34"}));
    plat::InjectKey(plat::key::Shift, true);
    Key(plat::key::Tab);
    plat::InjectKey(plat::key::Shift, false);
    EXPECT_EQ(CWind::GetKeyFocus(), a);
}

TEST_F(InputTest, ModifiersAndListBoxKeys)
{
    AddFrame("bystander", {100, 100, 110, 110});
    plat::InjectKey(plat::key::Control, true);
    plat::InjectKey(plat::key::Shift, true);
    Key(plat::key::Up);
    plat::InjectKey(plat::key::Shift, false);
    plat::InjectKey(plat::key::Control, false);
    EXPECT_EQ(log.back(), "bystander:-3/30/192");

    log.clear();
    EXPECT_EQ(plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::VKeyToItem, plat::key::Enter), -2);
    EXPECT_EQ(log.back(), "bystander:-3/13/0");
    EXPECT_EQ(plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::VKeyToItem, plat::key::Home), -1);
}

TEST_F(InputTest, PressesGoToTheFrameUnderTheMouseAndDoubleClicksOnlyToThePreviousOne)
{
    LogFrame* a = AddFrame("a", {10, 10, 50, 50});
    LogFrame* b = AddFrame("b", {10, 60, 50, 100});
    Click(20, 20);
    qmtest::Clock().Advance(100);
    Click(20, 20); // a double click on the same frame
    qmtest::Clock().Advance(100);
    Click(70, 20); // a double click of the platform, but on another frame
    EXPECT_EQ(log, (Log{"a:-1/1@20,20", "a:-1/0@20,20", "a:-1/1@20,20/dbl", "a:-1/0@20,20", "b:-1/1@70,20",
                        "b:-1/0@70,20"}));
    EXPECT_EQ(GetHoverFrame(), b);
    EXPECT_EQ(GetCaptureObj(), nullptr);
    EXPECT_EQ(plat::GetCapture(), 0u);
    (void)a;
}

TEST_F(InputTest, TheReleaseGoesToTheFrameThatHadTheMouseAndTheHoverMovesOn)
{
    LogFrame* a = AddFrame("a", {10, 10, 50, 50});
    LogFrame* b = AddFrame("b", {10, 60, 50, 100});
    plat::InjectMouseButton(plat::MouseButton::Left, true, ScreenOf(*wnd, 20, 20));
    plat::InjectMouseMove(ScreenOf(*wnd, 70, 20));
    plat::InjectMouseButton(plat::MouseButton::Left, false, ScreenOf(*wnd, 70, 20));
    PumpAll();
    EXPECT_EQ(log, (Log{"a:-1/1@20,20", "a:-1/2@70,20", "a:-1/0@70,20"}));
    EXPECT_EQ(GetHoverFrame(), b);

    // A press on nothing sends nothing and captures nothing.
    log.clear();
    plat::InjectMouseButton(plat::MouseButton::Left, true, ScreenOf(*wnd, 150, 150));
    PumpAll();
    EXPECT_EQ(log, Log{});
    EXPECT_EQ(GetCaptureObj(), nullptr);
    EXPECT_EQ(plat::GetCapture(), 0u);
    plat::InjectMouseButton(plat::MouseButton::Left, false, ScreenOf(*wnd, 150, 150));
    PumpAll();
    EXPECT_EQ(log, Log{});
    (void)a;
}

TEST_F(InputTest, AClickOutsideAPushedLayerActsOnNothingBelowItThenOrAfterTheLayerGoes)
{
    AddFrame("under", {10, 10, 50, 50});
    TestControl* button = AddControl("button", {60, 10, 90, 50});
    auto* layer = new LogFrame(log, "layer", {0, 0, 100, 100});
    wnd->PushFrame(layer, false);
    layer->MoveBy(150, 100, 0);
    log.clear();
    Click(20, 20);
    Click(70, 20);
    EXPECT_EQ(log, Log{});
    EXPECT_EQ(GetCaptureObj(), nullptr);

    wnd->PopFrame(layer);
    delete layer;
    PumpAll();
    qmtest::Clock().Advance(1000);
    PumpAll();
    EXPECT_EQ(log, Log{});
    EXPECT_TRUE(button->IsEnabled());
}

TEST_F(InputTest, ThePressedControlTakesTheFocus)
{
    TestControl* first = AddControl("first", {0, 0, 10, 10});
    TestControl* second = AddControl("second", {20, 20, 40, 40});
    EXPECT_EQ(CWind::GetKeyFocus(), first);
    Click(25, 25);
    EXPECT_EQ(CWind::GetKeyFocus(), second);
    EXPECT_EQ(wnd->GetFocusControl(), second);
}

TEST_F(InputTest, TheHoverFrameSetsTheCursorAndTheHelpPopup)
{
    LogFrame* a = AddFrame("a", {10, 10, 50, 50});
    LogFrame* b = AddFrame("b", {10, 60, 50, 100});
    a->SetCursor(12);
    b->SetHelpId(7);
    SetPopupHelp(true);
    plat::InjectMouseMove(ScreenOf(*wnd, 20, 20));
    plat::InjectMouseMove(ScreenOf(*wnd, 70, 20));
    plat::InjectMouseMove(ScreenOf(*wnd, 150, 150));
    PumpAll();
    EXPECT_EQ(cursors, (std::vector<int32_t>{12, 0, 0}));
    EXPECT_EQ(log, (Log{"help:0", "help:off", "help:7", "help:off"}));
    EXPECT_EQ(GetHoverFrame(), nullptr);
}

TEST_F(InputTest, APausedApplicationDropsMouseMovesAndShowsTheArrow)
{
    TestAppl appl(log);
    LogFrame* a = AddFrame("a", {10, 10, 50, 50});
    plat::InjectAppActive(false);
    PumpAll();
    EXPECT_TRUE(IsAppPaused());
    EXPECT_TRUE(GetGameClock()->IsPaused());
    plat::InjectMouseMove(ScreenOf(*wnd, 20, 20));
    PumpAll();
    EXPECT_EQ(GetHoverFrame(), nullptr);
    cursors.clear();
    plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::SetCursor, wnd->GetHwnd(), plat::hit::Client);
    EXPECT_EQ(cursors, std::vector<int32_t>{0});

    plat::InjectAppActive(true);
    PumpAll();
    EXPECT_FALSE(IsAppPaused());
    plat::InjectMouseMove(ScreenOf(*wnd, 21, 21));
    PumpAll();
    EXPECT_EQ(GetHoverFrame(), a);
}

TEST_F(InputTest, DeactivationEndsADragWithAReleaseAwayFromTheFrame)
{
    LogFrame* a = AddFrame("a", {10, 10, 50, 50});
    plat::InjectMouseButton(plat::MouseButton::Left, true, ScreenOf(*wnd, 20, 20));
    PumpAll();
    wnd->Activate();
    wnd->Deactivate();
    EXPECT_EQ(log, (Log{"a:-1/1@20,20", "a:-1/0@-90,-90"}));
    EXPECT_EQ(GetCaptureObj(), nullptr);
    EXPECT_FALSE(root->IsEnabled()); // the top layer waits disabled for the next activation
    wnd->Activate();
    EXPECT_TRUE(root->IsEnabled());
    (void)a;
}

TEST_F(InputTest, OnlyThePushedTopLayerGetsTheMouse)
{
    AddFrame("below", {0, 0, 200, 300});
    auto* layer = new LogFrame(log, "layer", {50, 50, 100, 100});
    wnd->PushFrame(layer, false);
    Click(60, 60);
    Click(10, 10);
    EXPECT_EQ(log, (Log{"layer:-1/1@60,60", "layer:-1/0@60,60"}));
    wnd->PopFrame(layer);
    delete layer;
}

TEST_F(InputTest, NativeControlNotificationsReachTheirControl)
{
    TestControl* button = AddControl("button");
    button->hwnd = plat::CreateWindow({"WClass", "", plat::style::Child, 0, {0, 0, 10, 10}, wnd->GetHwnd()});
    log.clear();
    plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::Command, plat::PackWords(40, 2),
                            static_cast<intptr_t>(button->hwnd));
    plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::VScroll, plat::PackWords(4, 17),
                            static_cast<intptr_t>(button->hwnd));
    plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::VScroll, plat::PackWords(4, 17), 0);
    EXPECT_EQ(log, (Log{"button:command 40/2", "button:scroll 4/17"}));
    EXPECT_EQ(FindNativeControl(button->hwnd), button);
}

} // namespace
