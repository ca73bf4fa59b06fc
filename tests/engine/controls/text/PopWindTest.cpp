#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/framework/TimerEvent.h"
#include "tests/engine/controls/text/PopupKit.h"

namespace {

using namespace wtest;

// The placement table, for a 100 x 40 popup, the mouse at (400, 300) and the frame at
// (200, 250)-(260, 350) (top, left, bottom, right) on an 800 x 600 screen.
TEST(PopWindPlacement, ModesPlaceAroundTheMouseOrTheFrame)
{
    const CRect frame(200, 250, 260, 350);
    const CPoint mouse(400, 300);
    struct Case {
        int32_t mode;
        int16_t h, v;
    } cases[] = {
        {0, 350, 256}, {1, 350, 310}, {2, 296, 280}, {3, 510, 280}, {4, 400, 300},  {5, 250, 156},
        {6, 250, 264}, {7, 146, 210}, {8, 354, 210}, {9, 250, 210}, {12, 400, 300},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPopWind::PlaceFor(c.mode, mouse, 100, 40, frame, 800, 600), CPoint(c.h, c.v)) << c.mode;
}

TEST(PopWindPlacement, PopupIsKeptOnTheScreen)
{
    const CRect frame(0, 0, 10, 10);
    struct Case {
        int32_t mode;
        int16_t mouseH, mouseV;
        int16_t h, v;
    } cases[] = {
        {1, 20, 100, 1, 110},    // off the left edge: 1
        {1, 780, 100, 699, 110}, // off the right edge: screen width - width - 1
        {0, 400, 10, 350, 20},   // off the top: below the mouse
        {1, 400, 595, 350, 551}, // 5 pixels above the bottom: above the mouse
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPopWind::PlaceFor(c.mode, CPoint(c.mouseH, c.mouseV), 100, 40, frame, 800, 600),
                  CPoint(c.h, c.v))
            << c.mouseH << "," << c.mouseV;
}

class PopWindTest : public poptest::PopupTest {
protected:
    // The position the popup was given (CWind::SetPosition): its outer left, and its outer
    // top plus its non-client height.
    plat::Point Position()
    {
        const plat::Rect outer = plat::GetWindowRect(popup->GetHwnd());
        const int32_t nonClient = outer.Height() - plat::GetClientRect(popup->GetHwnd()).Height();
        return {outer.left, outer.top + nonClient};
    }
};

TEST_F(PopWindTest, WithoutDelayTheHelpShowsAtOnceBelowTheMouse)
{
    EXPECT_EQ(CPopWind::GetPopup(), popup.get());
    EXPECT_EQ(popup->GetType(), CWind::kTypePopup);
    MouseAt(50, 30);
    popup->ShowFor(plain); // help id 0
    EXPECT_FALSE(popup->IsShown());
    EXPECT_EQ(popup->GetOwnerWnd(), wnd);

    popup->ShowFor(helped);
    ASSERT_TRUE(popup->IsShown());
    EXPECT_EQ(Text(), "Wagons roll west");
    const CRect& content = popup->GetFirstFrame()->GetDrawnRect();
    EXPECT_GT(content.GetWidth(), 6);
    EXPECT_LE(content.GetWidth(), 120); // within the record's width limit
    const plat::Point mouse = ScreenOf(*wnd, 50, 30);
    const plat::Point corner = Position();
    EXPECT_EQ(corner.y, mouse.y + 10);                     // mode 1: below the mouse
    EXPECT_EQ(corner.x, mouse.x - content.GetWidth() / 2); // centred on it
    EXPECT_FALSE(popup->IsActive());                       // never takes the activation

    popup->Dismiss();
    EXPECT_FALSE(popup->IsShown());
}

TEST_F(PopWindTest, ModeFourKeepsTheRecordsSizeAndDoesNotMove)
{
    helped->SetHelpId(8);
    popup->SetPosition(5, 6);
    MouseAt(50, 30);
    popup->ShowFor(helped);
    ASSERT_TRUE(popup->IsShown());
    EXPECT_EQ(Text(), "Kept");
    EXPECT_EQ(popup->GetFirstFrame()->GetDrawnRect().GetWidth(), 90);
    EXPECT_EQ(popup->GetFirstFrame()->GetDrawnRect().GetHeight(), 30);
    EXPECT_EQ(Position(), (plat::Point{5, 6}));
}

TEST_F(PopWindTest, DelayedHelpShowsOnlyWhileTheMouseStaysOnTheFrame)
{
    popup->SetDelay(5);
    MouseAt(50, 30);
    popup->ShowFor(helped);
    EXPECT_FALSE(popup->IsShown());
    EXPECT_EQ(popup->GetPending(), helped);
    qmtest::Clock().Advance(5 * 17);
    RunDueTimers();
    EXPECT_TRUE(popup->IsShown());
    popup->Dismiss();

    const int32_t timers = GetTimerCount();
    popup->ShowFor(helped);
    EXPECT_EQ(GetTimerCount(), timers + 1);
    MouseAt(250, 150); // gone from the frame
    qmtest::Clock().Advance(5 * 17);
    RunDueTimers();
    EXPECT_FALSE(popup->IsShown());
    EXPECT_EQ(popup->GetPending(), nullptr);
    EXPECT_EQ(GetTimerCount(), timers); // the wait fires once
    MouseAt(50, 30);
    qmtest::Clock().Advance(5 * 17);
    RunDueTimers();
    EXPECT_FALSE(popup->IsShown());
}

TEST_F(PopWindTest, DeletingThePendingFrameCancelsTheShow)
{
    popup->SetDelay(5);
    MouseAt(50, 30);
    popup->ShowFor(helped);
    delete wnd->GetFirstFrame()->RemoveChild(*helped);
    EXPECT_EQ(popup->GetPending(), nullptr);
    qmtest::Clock().Advance(5 * 17);
    RunDueTimers();
    EXPECT_FALSE(popup->IsShown());
}

TEST_F(PopWindTest, PauseHidesAShownPopupAndResumeBringsItBack)
{
    MouseAt(50, 30);
    popup->ShowFor(helped);
    popup->OnAppPause();
    EXPECT_FALSE(popup->IsShown());
    EXPECT_TRUE(popup->IsShownOrPaused());
    popup->Restore();
    EXPECT_TRUE(popup->IsShown());

    popup->Dismiss();
    popup->OnAppPause();
    popup->Restore();
    EXPECT_FALSE(popup->IsShown()); // hidden before the pause: stays hidden
}

TEST_F(PopWindTest, HoverWithPopupHelpOnGoesThroughTheHooks)
{
    SetPopupHelp(true);
    helped->SetTakesInput(true);
    MouseAt(50, 30);
    PumpAll();
    EXPECT_TRUE(popup->IsShown());
    MouseAt(250, 150);
    PumpAll();
    EXPECT_FALSE(popup->IsShown());
}

} // namespace
