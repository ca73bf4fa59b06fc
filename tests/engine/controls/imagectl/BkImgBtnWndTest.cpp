#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/controls/imagectl/BkImgBtnWnd.h"
#include "tests/engine/controls/imagectl/ImageControlsKit.h"

namespace {

using namespace itest;

constexpr uint32_t kAnyLibrary = 0xFFFFFFFF;

class BkImgBtnWndTest : public ImageControlsTest {
protected:
    std::unique_ptr<CImgSet> Background()
    {
        return std::unique_ptr<CImgSet>(LoadPictureSet(kBackground, kAnyLibrary, false));
    }
};

// The pixels of the button's image i that differ from the expectation, as "(h,v)=got/want".
std::string Differences(CImgSet& images, int16_t i, const std::function<int(int, int)>& want)
{
    std::string out;
    CDibSect* image = images.GetImage(i);
    if (!image)
        return "no image";
    for (int v = 0; v < 8; ++v)
        for (int h = 0; h < 10; ++h)
            if (const int got = image->GetPixel(h, v); got != want(h, v))
                (out += "(") += std::to_string(h) + "," + std::to_string(v) + ")=" + std::to_string(got) +
                                "/" + std::to_string(want(h, v)) + " ";
    return out;
}

// Whether (h, v) lies on the one-pixel frame of colour 0 around the 10 x 8 button images.
bool OnFrame(int h, int v) { return h == 0 || v == 0 || h == 9 || v == 7; }

TEST_F(BkImgBtnWndTest, ImagesAreComposedOverTheBackgroundUnderTheButton)
{
    const std::unique_ptr<CImgSet> background = Background();
    const CPoint offset(2, 1); // x, y
    CBkImgBtnWnd button(1, CPoint(30, 20), 50, nullptr, 2, kFramed, background.get(), CPoint(100, 40),
                        &offset, kAnyLibrary, 0, 0, false);
    CImgSet& images = *button.GetImages();
    ASSERT_EQ(images.GetCount(), 3);
    const auto plain = [](int i) {
        return [i](int h, int v) { return OnFrame(h, v) ? BackgroundAt(100 + h, 40 + v) : kFramedColor + i; };
    };
    EXPECT_EQ(Differences(images, 0, plain(0)), "");
    EXPECT_EQ(Differences(images, 2, plain(2)), ""); // the offset is the pressed image's alone
    // Image 1: the button drawn from (2, 1) over the unmoved background.
    EXPECT_EQ(Differences(images, 1,
                          [](int h, int v) {
                              const bool onButton = h >= 2 && v >= 1 && !OnFrame(h - 2, v - 1);
                              return onButton ? kFramedColor + 1 : BackgroundAt(100 + h, 40 + v);
                          }),
              "");
    // The composed images draw opaque; the background set is given back as it was.
    EXPECT_EQ(images.GetDrawProc(), &DrawOpaque);
    EXPECT_EQ(background->GetDrawProc(), &DrawOpaque);
    EXPECT_EQ(background->GetRecord().params[0], 0);
    EXPECT_EQ(DrawnAt(button, 30, 20), BackgroundAt(100, 40));
}

TEST_F(BkImgBtnWndTest, APlacedButtonTakesThePartUnderWhereItLies)
{
    const std::unique_ptr<CImgSet> background = Background();
    // Centred on (50, 30): the button lies 5 left of and 4 above the point.
    CBkImgBtnWnd centred(1, CPoint(50, 30), 50, nullptr, 2, kFramed, background.get(), CPoint(100, 40),
                         nullptr, kAnyLibrary, 1, 1, false);
    EXPECT_EQ(wtest::Str(centred.GetBounds()), "26,45,34,55");
    EXPECT_EQ(Differences(*centred.GetImages(), 1,
                          [](int h, int v) {
                              return OnFrame(h, v) ? BackgroundAt(95 + h, 36 + v) : kFramedColor + 1;
                          }),
              "");

    // Near the background's corner the copy is cut: the rest keeps the button's own pixels.
    CBkImgBtnWnd corner(2, CPoint(0, 0), 50, nullptr, 2, kFramed, background.get(), CPoint(195, 96), nullptr,
                        kAnyLibrary, 0, 0, false);
    EXPECT_EQ(Differences(*corner.GetImages(), 0,
                          [](int h, int v) {
                              if (!OnFrame(h, v))
                                  return static_cast<int>(kFramedColor);
                              return h < 5 && v < 4 ? BackgroundAt(195 + h, 96 + v) : 0;
                          }),
              "");
}

TEST_F(BkImgBtnWndTest, WithoutABackgroundTheButtonKeepsItsOwnImages)
{
    CBkImgBtnWnd plain(1, CPoint(0, 0), 50, nullptr, 2, kFramed, nullptr, CPoint(100, 40), nullptr,
                       kAnyLibrary, 0, 0, false);
    EXPECT_EQ(
        Differences(*plain.GetImages(), 0, [](int h, int v) { return OnFrame(h, v) ? 0 : kFramedColor; }),
        "");
    const std::unique_ptr<CImgSet> background = Background();
    CBkImgBtnWnd missing(2, CPoint(0, 0), 50, nullptr, 2, 99, background.get(), CPoint(100, 40), nullptr,
                         kAnyLibrary, 0, 0, false);
    EXPECT_EQ(missing.GetImages(), nullptr);
    EXPECT_EQ(wtest::Str(missing.GetBounds()), "0,0,20,20");
}

// Kinds 0x14 and 0x15: the frame values, the control values, whentosend, imgid, imglibmask, then
// bimgid, bimglibmask, y in background, x in background, y offset, x offset.
TEST_F(BkImgBtnWndTest, TemplatesComposeOverTheirBackgroundAndMayBeTheDefault)
{
    Build("0x14, 31, 0, 0x9, 0,0, 0,0, 10, 10, 0, 0, 0, 900, 80, 0, 0, 2, 11, -1, 10, -1, 40, 100, 1, 2\n"
          "0x15, 32, 0, 0x9, 0,0, 0,0, 30, 10, 0, 0, 0, 900, 81, 0, 0, 2, 11, -1, 0, -1, 0, 0, 0, 0\n");
    auto* composed = Control<CBkImgBtnWnd>(31);
    auto* chosen = Control<CBkImgBtnWnd>(32);
    ASSERT_TRUE(composed && chosen);
    EXPECT_EQ(DrawnAt(*composed, 10, 10), BackgroundAt(100, 40));
    EXPECT_EQ(Differences(*composed->GetImages(), 1,
                          [](int h, int v) {
                              const bool onButton = h >= 2 && v >= 1 && !OnFrame(h - 2, v - 1);
                              return onButton ? kFramedColor + 1 : BackgroundAt(100 + h, 40 + v);
                          }),
              "");
    EXPECT_EQ(DrawnAt(*chosen, 10, 30), 0); // no background: its own image
    EXPECT_EQ(wnd->GetDefaultControl(), chosen);
    Down(15, 14);
    Up(15, 14);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, 80);
}

} // namespace
