#include <gtest/gtest.h>

#include <memory>

#include "engine/controls/native/Control.h"
#include "engine/controls/native/ScrollBarCtl.h"
#include "platform/Input.h"
#include "platform/widgets/Widgets.h"
#include "tests/engine/controls/native/NativeKit.h"

namespace {

using namespace ntest;

// A control over an edit widget whose wish for keys the test sets.
class KeyControl : public CControl {
public:
    KeyControl(const CRect& rect, CBaseObj* target) : CControl(kKindEditField, kNewId, rect, 7, target, 0)
    {
        SetWndClass(plat::widgetclass::Edit);
        SetWndStyle(plat::style::Child);
        SetInputMode(kInputFocusable);
    }
    bool WantsKey(int32_t key) override { return wants && key != 9; }
    bool wants = false;
};

using ControlTest = NativeTest;

TEST_F(ControlTest, AControlThatNeverJoinedAWindowChangesOnlyItsEngineState)
{
    CScrollBarCtl bar(1, CRect(10, 10, 26, 110), 5, target, 0, 50, 10, 5);
    bar.MoveBy(5, 7, 0);
    bar.SetSize(80, 20);
    bar.Hide(false, false);
    bar.Show(false);
    bar.SetValue(70);
    bar.EnableWnd(false);
    EXPECT_EQ(bar.GetHwnd(), 0u);
    EXPECT_EQ(wtest::Str(bar.GetBounds()), "17,15,37,95");
    EXPECT_EQ(bar.GetValue(), 50);
    EXPECT_TRUE(bar.IsShown());
    EXPECT_TRUE(bar.IsDirect()) << "the engine's painting leaves a widget control out";
    EXPECT_TRUE(target->notes.empty());
}

TEST_F(ControlTest, MovingOneBoundPastTheOtherDragsItAlongAndClampsTheValue)
{
    struct Case {
        int16_t min, max, value;
        bool setMax;
        int16_t to;
        int16_t wantMin, wantMax, wantValue;
    };
    const Case cases[] = {
        {10, 50, 30, true, 20, 10, 20, 20},  // value lowered to the new maximum
        {10, 50, 30, true, 5, 5, 5, 5},      // maximum below the minimum drags it down
        {10, 50, 30, false, 40, 40, 50, 40}, // value raised to the new minimum
        {10, 50, 30, false, 60, 60, 60, 60}, // minimum above the maximum drags it up
        {10, 50, 30, true, 50, 10, 50, 30},  // unchanged
    };
    for (const Case& c : cases) {
        CScrollBarCtl bar(1, CRect(0, 0, 16, 100), 5, target, c.min, c.max, c.value, 5);
        if (c.setMax)
            bar.SetMax(c.to);
        else
            bar.SetMin(c.to);
        EXPECT_EQ(bar.GetMin(), c.wantMin) << c.to;
        EXPECT_EQ(bar.GetMax(), c.wantMax) << c.to;
        EXPECT_EQ(bar.GetValue(), c.wantValue) << c.to;
    }
}

TEST_F(ControlTest, TheWidgetLivesWhileTheControlIsInAWindowAndShowsWithTheNextPaint)
{
    auto* bar = Add(new CScrollBarCtl(1, CRect(20, 30, 36, 130), 5, target, 0, 10, 0, 2));
    const plat::WindowHandle widget = bar->GetHwnd();
    ASSERT_NE(widget, 0u);
    EXPECT_EQ(plat::GetParent(widget), wnd->GetHwnd());
    EXPECT_EQ(plat::GetWindowRect(widget), plat::Rect::FromSize(At(30, 20).x, At(30, 20).y, 100, 16));
    EXPECT_FALSE(plat::IsVisible(widget)) << "made hidden";
    EXPECT_EQ(CControl::FromHwnd(widget), bar);
    bar->Draw(true);
    wtest::PumpAll();
    EXPECT_TRUE(plat::IsVisible(widget)) << "the paint pass shows it";

    bar->MoveBy(10, 5, 0);
    EXPECT_EQ(plat::GetWindowRect(widget), plat::Rect::FromSize(At(40, 25).x, At(40, 25).y, 100, 16));
    bar->SetSize(60, 20);
    EXPECT_EQ(plat::GetClientRect(widget).Width(), 60);
    EXPECT_EQ(plat::GetClientRect(widget).Height(), 20);

    bar->Hide(false, false);
    EXPECT_FALSE(plat::IsVisible(widget));
    bar->Show(false);
    wtest::PumpAll();
    EXPECT_TRUE(plat::IsVisible(widget));

    bar->Enable(false);
    EXPECT_FALSE(plat::IsEnabled(widget));
    bar->Enable(true);
    EXPECT_TRUE(plat::IsEnabled(widget));

    root->RemoveChild(*bar);
    EXPECT_FALSE(plat::IsWindow(widget));
    EXPECT_EQ(bar->GetHwnd(), 0u);
    EXPECT_FALSE(wnd->HasControl(bar));
    delete bar;
}

TEST_F(ControlTest, AWidgetUnderALayerPushedOverItHidesUntilTheLayerIsGone)
{
    // Two bars; a layer (a dialog over the window) is pushed over the first only.
    auto* under = Add(new CScrollBarCtl(1, CRect(20, 30, 36, 130), 5, target, 0, 10, 0, 2));
    auto* beside = Add(new CScrollBarCtl(2, CRect(200, 30, 216, 130), 5, target, 0, 10, 0, 2));
    root->Draw(true);
    wtest::PumpAll();
    ASSERT_TRUE(plat::IsVisible(under->GetHwnd()));
    ASSERT_TRUE(plat::IsVisible(beside->GetHwnd()));
    auto layer = std::make_unique<CFrame>(CFrame::kKindFrame, 9, CRect(0, 0, 100, 100), false);
    layer->SetShown(true);
    wnd->PushFrame(layer.get(), false);
    wtest::PumpAll();
    EXPECT_FALSE(plat::IsVisible(under->GetHwnd())) << "it would show through the layer";
    EXPECT_TRUE(plat::IsVisible(beside->GetHwnd()));
    wnd->PopFrame(layer.get());
    wtest::PumpAll();
    EXPECT_TRUE(plat::IsVisible(under->GetHwnd()));
}

TEST_F(ControlTest, AControlInAWindowWithoutItsNativeWindowGetsItsWidgetAtTheFirstPaint)
{
    auto* frame = wtest::Root(200, 100, log);
    auto* bar = new CScrollBarCtl(1, CRect(10, 10, 26, 110), 5, target, 0, 10, 3, 2);
    frame->AddChild(bar, false);
    CWind late(CWind::kTypeTopLevel, frame, nullptr, 0);
    EXPECT_EQ(bar->GetHwnd(), 0u) << "no native window to put it in";
    uint32_t exStyle = 0;
    late.Create(CWind::kTypeTopLevel, nullptr, late.GetStyle(exStyle), exStyle, nullptr);
    late.ShowWnd();
    wtest::PumpAll();
    ASSERT_NE(bar->GetHwnd(), 0u);
    EXPECT_EQ(plat::GetParent(bar->GetHwnd()), late.GetHwnd());
    EXPECT_TRUE(plat::IsVisible(bar->GetHwnd()));
    EXPECT_EQ(plat::GetScrollBarPos(bar->GetHwnd()), 3);
}

TEST_F(ControlTest, ACharacterReachesTheWidgetOnlyWhenTheFocusedControlWantsIt)
{
    auto* field = Add(new KeyControl(CRect(10, 10, 30, 110), target));
    auto* other = Add(new KeyControl(CRect(40, 10, 60, 110), target));
    wtest::PumpAll();
    ASSERT_EQ(wnd->GetFocusControl(), field);
    ASSERT_EQ(plat::GetFocus(), field->GetHwnd());

    plat::TypeText("ab");
    wtest::PumpAll();
    EXPECT_EQ(plat::GetWidgetText(field->GetHwnd()), "");
    field->wants = true;
    plat::TypeText("cd");
    wtest::PumpAll();
    EXPECT_EQ(plat::GetWidgetText(field->GetHwnd()), "cd");

    // Tab goes to the window's key handler, which moves the focus; the widget never sees it.
    Key(plat::key::Tab);
    EXPECT_EQ(wnd->GetFocusControl(), other);
    EXPECT_EQ(plat::GetFocus(), other->GetHwnd());
    EXPECT_EQ(plat::GetWidgetText(field->GetHwnd()), "cd");
    EXPECT_EQ(other->OnKey(9), 0);
    EXPECT_EQ(wnd->GetFocusControl(), field) << "Tab through the control moves on";
    EXPECT_EQ(other->OnKey('x'), 1);
}

TEST_F(ControlTest, ScrollBarLiesAlongItsLongerSide)
{
    struct Case {
        int16_t width, height;
        bool vertical;
    };
    for (const Case c : {Case{100, 16, false}, Case{16, 100, true}, Case{16, 16, true}}) {
        auto* bar = Add(new CScrollBarCtl(1, CRect(0, 0, c.height, c.width), 5, target, 0, 10, 4, 2));
        EXPECT_EQ((plat::GetStyle(bar->GetHwnd()) & plat::wstyle::VerticalBar) != 0, c.vertical)
            << c.width << "x" << c.height;
        EXPECT_EQ(plat::GetScrollBarRange(bar->GetHwnd()), std::make_pair(0, 10));
        EXPECT_EQ(plat::GetScrollBarPos(bar->GetHwnd()), 4);
        root->RemoveChild(*bar);
        delete bar;
    }
}

TEST_F(ControlTest, AShownScrollBarIsEnabledOnlyWhileItsRangeIsNotEmpty)
{
    auto* bar = Add(new CScrollBarCtl(1, CRect(0, 0, 16, 100), 5, target, 10, 50, 20, 5));
    bar->SetMax(10);
    EXPECT_FALSE(plat::IsEnabled(bar->GetHwnd()));
    EXPECT_EQ(plat::GetScrollBarRange(bar->GetHwnd()), std::make_pair(10, 10));
    bar->SetMax(30);
    EXPECT_TRUE(plat::IsEnabled(bar->GetHwnd()));
    bar->SetMin(30);
    EXPECT_FALSE(plat::IsEnabled(bar->GetHwnd()));
    bar->SetValue(25);
    EXPECT_EQ(plat::GetScrollBarPos(bar->GetHwnd()), 30);
    EXPECT_TRUE(target->notes.empty()) << "setting values never notifies";
}

TEST_F(ControlTest, ScrollCodesMoveTheValueAndNotifyOnlyOnAChange)
{
    auto* bar = Add(new CScrollBarCtl(1, CRect(0, 0, 16, 100), 5, target, 0, 100, 95, 10));
    const auto scroll = [&](uint32_t code, int32_t position = 0) {
        plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::VScroll, plat::PackWords(code, position),
                                static_cast<intptr_t>(bar->GetHwnd()));
        return bar->GetValue();
    };
    EXPECT_EQ(scroll(plat::scroll::PageDown), 100);
    EXPECT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, 5);
    EXPECT_EQ(target->notes[0].sender, bar);
    EXPECT_EQ(scroll(plat::scroll::PageDown), 100);
    EXPECT_EQ(scroll(plat::scroll::LineDown), 100);
    EXPECT_EQ(target->notes.size(), 1u) << "nothing at the end of the range";

    EXPECT_EQ(scroll(plat::scroll::LineUp), 99);
    EXPECT_EQ(scroll(plat::scroll::PageUp), 89);
    EXPECT_EQ(scroll(plat::scroll::ThumbTrack, 40), 40);
    EXPECT_EQ(scroll(plat::scroll::ThumbPosition, 41), 41);
    EXPECT_EQ(scroll(plat::scroll::EndScroll, 7), 41);
    EXPECT_EQ(scroll(plat::scroll::Top), 41);
    EXPECT_EQ(target->notes.size(), 5u);
    EXPECT_EQ(plat::GetScrollBarPos(bar->GetHwnd()), 41);
}

TEST_F(ControlTest, TheScrollBarTemplateGivesItsValues)
{
    // Kind 0x2b: the frame values, the control values, fontid, minval, maxval, curval, page.
    auto* bar = Build<CScrollBarCtl>(
        "0x2b, 8, 0, 0x9, 0, 0, 0, 0, 10, 20, 26, 220, 1, 0, 44, 3, 4, 0, -5, 5, 2, 3\n", 8);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->GetId(), 8);
    EXPECT_EQ(bar->GetMin(), -5);
    EXPECT_EQ(bar->GetMax(), 5);
    EXPECT_EQ(bar->GetValue(), 2);
    EXPECT_EQ(bar->GetPage(), 3);
    EXPECT_TRUE(bar->IsDirect());
    EXPECT_EQ(bar->GetNotifyMessage().GetId(), 44);
    EXPECT_EQ(bar->GetNotifyMessage().GetParam(0), 3);
}

} // namespace
