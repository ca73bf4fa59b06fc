#include <gtest/gtest.h>

#include <memory>

#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/controls/imagectl/ImgRadioWnd.h"
#include "engine/controls/imagectl/ImgSwitchWnd.h"
#include "tests/engine/controls/imagectl/ImageControlsKit.h"

namespace {

using namespace itest;

constexpr uint32_t kAnyLibrary = 0xFFFFFFFF;

class ImgBtnWndTest : public ImageControlsTest {};

// The look of a control: which image (its colour) it draws in its state.
struct Look {
    int16_t count; // the images of the picture ("CBM" count)
    int16_t base;
    bool enabled;
    bool pressed;
    bool on;
    int expected; // the image shown
};

// Sets the state the way a user or the program reaches it: a disabled control stops being
// pressed, so the pressed value comes after.
template <class T> int ShownImage(T& control, const Look& look)
{
    control.Enable(look.enabled);
    control.SetState(look.pressed ? 1 : 0);
    return DrawnAt(control, control.GetDrawnRect().GetLeft() + 4, control.GetDrawnRect().GetTop() + 3) -
           kImageColor;
}

TEST_F(ImgBtnWndTest, EachControlShowsTheImageOfItsState)
{
    const Look buttons[] = {
        {1, 0, true, false, false, 0},  {1, 0, true, true, false, 0},   {1, 0, false, false, false, 0},
        {2, 0, true, false, false, 0},  {2, 0, true, true, false, 1},   {2, 0, false, false, false, 0},
        {3, 0, true, false, false, 0},  {3, 0, true, true, false, 1},   {3, 0, false, false, false, 2},
        {3, 0, false, true, false, 2}, // disabled wins over pressed
        {4, 1, true, false, false, 1},  {4, 1, true, true, false, 2},   {4, 1, false, false, false, 3},
        {4, 2, false, false, false, 3}, // past the set: its last image
        {3, 5, true, false, false, 2},  // a frame base beyond the set
        {6, 4, true, true, false, 5},   {6, 4, false, false, false, 5},
    };
    for (const Look& look : buttons) {
        CImgBtnWnd button(1, CPoint(10, 10), 50, nullptr, 2, LoadPictureSet(look.count, kAnyLibrary, false),
                          look.base, 0, 0);
        EXPECT_EQ(ShownImage(button, look), look.expected)
            << "button of " << look.count << " from " << look.base << (look.enabled ? "" : " disabled")
            << (look.pressed ? " pressed" : "");
    }
    const Look switches[] = {
        {6, 0, true, false, false, 0}, {6, 0, true, true, false, 1},  {6, 0, false, true, false, 2},
        {6, 0, true, false, true, 3},  {6, 0, true, true, true, 4},   {6, 0, false, true, true, 5},
        {3, 0, true, false, true, 2}, // three images: every on state shows image 2
        {3, 0, true, true, true, 2},   {3, 0, false, false, true, 2}, {3, 0, true, true, false, 1},
    };
    for (const Look& look : switches) {
        CImgSwitchWnd toggle(1, CPoint(10, 10), 50, nullptr, look.count, look.on, kAnyLibrary, 0, 0, false);
        EXPECT_EQ(ShownImage(toggle, look), look.expected)
            << "switch of " << look.count << (look.on ? " on" : " off") << (look.enabled ? "" : " disabled")
            << (look.pressed ? " pressed" : "");
    }
    const Look radios[] = {
        {4, 0, false, false, true, 3}, // disabled and on: image 5 is past the set
        {4, 0, true, true, true, 3},   {6, 0, true, true, true, 4},
        {6, 0, true, false, true, 3},  {4, 0, false, false, false, 2},
    };
    for (const Look& look : radios) {
        CImgRadioWnd radio(1, CPoint(10, 10), 50, nullptr, look.count, kAnyLibrary, 7, look.on, 0, 0, false);
        EXPECT_EQ(ShownImage(radio, look), look.expected)
            << "radio of " << look.count << (look.on ? " on" : " off") << (look.enabled ? "" : " disabled")
            << (look.pressed ? " pressed" : "");
    }
}

TEST_F(ImgBtnWndTest, NewImagesKeepTheButtonsSizeButResizeSwitches)
{
    CImgBtnWnd button(1, CPoint(10, 10), 50, nullptr, 2, LoadPictureSet(kFramed, kAnyLibrary, false), 0, 0);
    EXPECT_EQ(wtest::Str(button.GetBounds()), "10,10,18,20");
    EXPECT_EQ(button.GetStateFrames(), 3);
    button.SetImages(LoadPictureSet(6, kAnyLibrary, false));
    EXPECT_EQ(wtest::Str(button.GetBounds()), "10,10,18,20"); // the size stays
    EXPECT_EQ(button.GetStateFrames(), 6);                    // every image is a state image now
    EXPECT_EQ(button.GetImageCount(), 6);
    std::unique_ptr<CImgSet> detached(button.DetachImages());
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(button.GetImages(), nullptr);
    EXPECT_EQ(button.GetImageCount(), 0);
    EXPECT_EQ(button.GetStateFrames(), 0);

    CImgRadioWnd radio(2, CPoint(30, 40), 50, nullptr, LoadPictureSet(kFramed, kAnyLibrary, false), 7, false,
                       1, 1);
    EXPECT_EQ(wtest::Str(radio.GetBounds()), "36,25,44,35"); // centred on (30, 40)
    radio.SetImages(LoadPictureSet(4, kAnyLibrary, false));
    EXPECT_EQ(wtest::Str(radio.GetBounds()), "36,25,42,33"); // 8 x 6 from the same corner
    EXPECT_EQ(radio.GetImageCount(), 4);
    radio.SetImages(nullptr);
    EXPECT_EQ(radio.GetImageCount(), 0);
    EXPECT_EQ(wtest::Str(radio.GetBounds()), "36,25,42,33");
}

TEST_F(ImgBtnWndTest, WithoutImagesAControlIs20By20AndShowsTheMissingMark)
{
    // A missing picture (99) leaves each control without images.
    CImgBtnWnd button(1, CPoint(10, 20), 50, nullptr, 2, 99, kAnyLibrary, 1, 1, false);
    CImgSwitchWnd toggle(2, CPoint(10, 20), 50, nullptr, 99, false, kAnyLibrary, 2, 2, false);
    CImgRadioWnd radio(3, CPoint(10, 20), 50, nullptr, nullptr, 7, false, 0, 0);
    for (CPushFrame* control : std::initializer_list<CPushFrame*>{&button, &toggle, &radio}) {
        EXPECT_EQ(wtest::Str(control->GetBounds()), "20,10,40,30") << control->GetId();
        for (const bool pressed : {false, true}) {
            for (const bool enabled : {true, false}) {
                control->Enable(enabled);
                control->SetState(pressed ? 1 : 0);
                const std::unique_ptr<COffScEnv> drawn = WhiteEnv(40, 40), expected = WhiteEnv(40, 40);
                control->DrawContent(drawn.get(), CRect(0, 0, 40, 40));
                // The mark's colours swap only while the control is enabled and pressed.
                DrawMissingImage(expected.get(), &control->GetDrawnRect(), enabled && pressed);
                EXPECT_EQ(qmtest::Pixels(*drawn->GetBitmap()), qmtest::Pixels(*expected->GetBitmap()))
                    << control->GetId() << (pressed ? " pressed" : "") << (enabled ? "" : " disabled");
            }
        }
    }
    EXPECT_NE(deftext::FatalReport([] {
                  CImgBtnWnd(1, CPoint(0, 0), 50, nullptr, 2, 99, kAnyLibrary, 0, 0, true);
              }).find("6:CBM 99"),
              std::string::npos);
}

TEST_F(ImgBtnWndTest, ModesPlaceTheControlAndAChangeKeepsTheReference)
{
    CImgBtnWnd button(1, CPoint(100, 50), 50, nullptr, 2, 2, kAnyLibrary, 1, 1, false);
    EXPECT_EQ(wtest::Str(button.GetBounds()), "47,96,53,104"); // 8 x 6 centred on (100, 50)
    button.SetHAlign(2);                                       // the centre, 100, becomes the right edge
    EXPECT_EQ(wtest::Str(button.GetBounds()), "47,92,53,100");
    button.SetVAlign(0); // the centre, 50, becomes the top
    EXPECT_EQ(wtest::Str(button.GetBounds()), "50,92,56,100");
    button.SetHAlign(0); // the right edge, 100, becomes the left
    EXPECT_EQ(wtest::Str(button.GetBounds()), "50,100,56,108");
    EXPECT_EQ(button.GetHAlign(), 0);

    CImgSwitchWnd toggle(2, CPoint(100, 50), 50, nullptr, 6, false, kAnyLibrary, 2, 2, false);
    EXPECT_EQ(wtest::Str(toggle.GetBounds()), "44,92,50,100"); // ending at the point
    toggle.SetVAlign(1);
    EXPECT_EQ(wtest::Str(toggle.GetBounds()), "47,92,53,100");
}

TEST_F(ImgBtnWndTest, TransparentControlsAreHitOnlyOnTheirImagesPixels)
{
    // Image 0's top-left pixel is colour 0.
    const auto transparent = [](int32_t id) {
        CImgSet* images = LoadPictureSet(id, kAnyLibrary, false);
        images->SetDrawProc(DrawTransparent);
        return images;
    };
    auto* button = Add(new CImgBtnWnd(1, CPoint(10, 10), 50, target, 2, transparent(3), 0, 0));
    auto* toggle = Add(new CImgSwitchWnd(2, CPoint(30, 10), 50, target, transparent(6), false, 0, 0));
    auto* radio = Add(new CImgRadioWnd(3, CPoint(50, 10), 50, target, transparent(6), 7, false, 0, 0));
    EXPECT_TRUE(button->IsTransparent());  // a push control is made transparent
    EXPECT_FALSE(toggle->IsTransparent()); // switches are made opaque
    toggle->SetFlags(toggle->GetFlags() | CFrame::kFlagTransparent);
    radio->SetFlags(radio->GetFlags() | CFrame::kFlagTransparent);
    for (CFrame* control : std::initializer_list<CFrame*>{button, toggle, radio}) {
        const CPoint corner = control->GetDrawnRect().TopLeft();
        EXPECT_FALSE(control->HitTest(corner)) << control->GetId();
        EXPECT_TRUE(control->HitTest(corner + CPoint(1, 0))) << control->GetId();
        EXPECT_FALSE(control->HitTest(corner + CPoint(8, 0))) << control->GetId(); // right edge
        control->SetFlags(control->GetFlags() & ~CFrame::kFlagTransparent);
        EXPECT_TRUE(control->HitTest(corner)) << control->GetId();
    }

    // Through the window: a press on the transparent pixel misses the button.
    button->SetFlags(button->GetFlags() | CFrame::kFlagTransparent);
    Down(10, 10);
    EXPECT_EQ(button->GetState(), 0);
    Up(10, 10);
    Down(11, 10);
    EXPECT_EQ(button->GetState(), 1);
    Up(11, 10);
    EXPECT_EQ(target->Words(2), (std::vector<MsgWord>{0}));
}

// Kinds 0x10-0x13: ID, parentid, flags, helpid, helplibmask, cursorid, curslibmask, top (the
// reference v), left (the reference h), bottom (the horizontal mode), right (the vertical mode);
// taborder, notifywhoid, mssgtype, usr1, usr2; whentosend; then switchon (and groupid), imgid and
// the image's library mask.
TEST_F(ImgBtnWndTest, TemplatesMakeButtonsSwitchesAndRadioButtons)
{
    Build("0x10, 11, 0, 0xB, 0,0, 0,0, 50, 100, 1, 1, 0, 900, 60, 1, 2, 3, 3, -1\n"
          "0x11, 12, 0, 0x9, 0,0, 0,0, 70, 100, 0, 0, 0, 900, 61, 0, 0, 2, 2, -1\n"
          "0x12, 13, 0, 0x9, 0,0, 0,0, 90, 100, 0, 0, 0, 900, 62, 0, 0, 2, 1, 6, -1\n"
          "0x13, 14, 0, 0x9, 0,0, 0,0, 110, 100, 0, 0, 0, 900, 63, 0, 0, 2, 1, 5, 6, -1\n"
          "0x13, 15, 0, 0x9, 0,0, 0,0, 110, 120, 0, 0, 0, 900, 63, 0, 0, 2, 0, 5, 99, -1\n");
    auto* button = Control<CImgBtnWnd>(11);
    auto* chosen = Control<CImgBtnWnd>(12);
    auto* toggle = Control<CImgSwitchWnd>(13);
    auto* radio = Control<CImgRadioWnd>(14);
    auto* bare = Control<CImgRadioWnd>(15);
    ASSERT_TRUE(button && chosen && toggle && radio && bare);
    EXPECT_EQ(wtest::Str(button->GetBounds()), "47,96,53,104");      // centred: bottom 1, right 1
    EXPECT_EQ(button->GetImages()->GetDrawProc(), &DrawTransparent); // flag 0x2
    EXPECT_EQ(button->GetWhenToSend(), 3);
    EXPECT_EQ(button->GetStateFrames(), 3);
    EXPECT_FALSE(button->IsDefault());
    EXPECT_EQ(chosen->GetImages()->GetDrawProc(), &DrawOpaque);
    EXPECT_EQ(wnd->GetDefaultControl(), chosen); // kind 0x11
    EXPECT_EQ(toggle->GetControlKind(), CImgSwitchWnd::kControlKind);
    EXPECT_TRUE(toggle->IsOn());
    EXPECT_EQ(radio->GetControlKind(), CWindControl::kKindRadioFrame);
    EXPECT_EQ(radio->GetGroupId(), 5);
    EXPECT_TRUE(radio->IsOn());
    EXPECT_EQ(wnd->GetGroupValue(5), radio);
    EXPECT_EQ(bare->GetImages(), nullptr); // quietly missing without flag 0x400
    EXPECT_EQ(wtest::Str(bare->GetBounds()), "110,120,130,140");

    // A click on the other radio button turns it on, and the first off; each shows it.
    Down(125, 115);
    Up(125, 115);
    EXPECT_TRUE(bare->IsOn());
    EXPECT_FALSE(radio->IsOn());
    EXPECT_EQ(DrawnAt(*radio, 104, 113), kImageColor + 0);
    // A click on the switch turns it off and tells word 3.
    Down(104, 93);
    Up(104, 93);
    EXPECT_FALSE(toggle->IsOn());
    EXPECT_EQ(DrawnAt(*toggle, 104, 93), kImageColor + 0);
    ASSERT_FALSE(target->notes.empty());
    EXPECT_EQ(target->notes.back().id, 62);
    EXPECT_EQ(target->notes.back().words[3], 0);

    EXPECT_NE(deftext::FatalReport([&] {
                  Build("0x10, 16, 0, 0x409, 0,0, 0,0, 0, 0, 0, 0, 0, 0, 60, 0, 0, 2, 99, -1\n", 71);
              }).find("6:CBM 99"),
              std::string::npos);
}

} // namespace
