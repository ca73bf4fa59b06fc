#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/controls/ScreenTransition.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/WndEnv.h"
#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/Desktop.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace wtest;

// A frame whose picture is its background colour with a stripe of colour + 1 down its middle
// column, so that a stretched copy is seen.
class PictureFrame : public CFrame {
public:
    PictureFrame(const CRect& rect, uint32_t color) : CFrame(5, kNewId, rect, false) { SetBackColor(color); }
    void DrawContent(CDrawEnv* env, const CRect&) override
    {
        DrawBackground(env);
        CRect stripe = GetDrawnRect();
        stripe.SetLeft(static_cast<int16_t>(stripe.GetLeft() + stripe.GetWidth() / 2));
        stripe.SetWidth(1);
        env->SetTextColor(static_cast<int32_t>(GetBackColor() + 1));
        env->FillRect(stripe);
    }
};

// A display that calls back at every present, so a test sees each stage.
class StageDisplay : public plat::Display {
public:
    void Pump(uint64_t, bool) override {}
    void Present() override
    {
        ++presents;
        if (onPresent)
            onPresent();
    }
    int presents = 0;
    std::function<void()> onPresent;
};

constexpr uint8_t kOld = 77;  // what the window shows before
constexpr uint8_t kNew = 40;  // the frame's new picture (41 its stripe)
constexpr uint8_t kRoot = 21; // the root frame's own picture

class ScreenTransitionTest : public WindowsTest {
protected:
    // A window of the size whose root frame holds the transition's frame at `rect`.
    void Make(int16_t width, int16_t height, const CRect& rect)
    {
        auto* root = new PictureFrame(CRect(0, 0, height, width), kRoot);
        frame = new PictureFrame(rect, kNew);
        root->AddChild(frame, false);
        wnd = MakeWindow(CWind::kTypeTopLevel, root, CWind::kFlagOffScreen);
        PumpAll();
        plat::SetDisplay(&display);
    }
    void TearDown() override
    {
        plat::SetDisplay(nullptr);
        delete wnd;
    }
    // The old picture everywhere in the window.
    void ShowOld()
    {
        const plat::ClientTarget t = plat::GetClientTarget(wnd->GetHwnd());
        for (int y = 0; y < t.client.Height(); ++y)
            for (int x = 0; x < t.client.Width(); ++x)
                t.surface->Row(t.origin.y + y)[t.origin.x + x] = kOld;
    }
    // The window's client pixels, one string a row.
    std::vector<std::string> Picture()
    {
        const plat::ClientTarget t = plat::GetClientTarget(wnd->GetHwnd());
        std::vector<std::string> rows;
        for (int y = 0; y < t.client.Height(); ++y) {
            const uint8_t* row = t.surface->Row(t.origin.y + y) + t.origin.x;
            rows.emplace_back(reinterpret_cast<const char*>(row), static_cast<size_t>(t.client.Width()));
        }
        return rows;
    }
    // True when the frame shows its new picture and everything else the old one.
    ::testing::AssertionResult ShowsNewFrameOnly()
    {
        const CRect& r = frame->GetDrawnRect();
        const int stripe = r.GetLeft() + r.GetWidth() / 2;
        const std::vector<std::string> rows = Picture();
        for (int y = 0; y < static_cast<int>(rows.size()); ++y)
            for (int x = 0; x < static_cast<int>(rows[0].size()); ++x) {
                const bool inside =
                    x >= r.GetLeft() && x < r.GetRight() && y >= r.GetTop() && y < r.GetBottom();
                const int want = !inside ? kOld : x == stripe ? kNew + 1 : kNew;
                if (static_cast<uint8_t>(rows[y][x]) != want)
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << ") is " << int(static_cast<uint8_t>(rows[y][x]));
            }
        return ::testing::AssertionSuccess();
    }
    // The ticks a transition took on the fake clock: one per paced copy.
    uint32_t Run(int32_t code, int32_t subMode, int32_t speed)
    {
        const uint32_t start = plat::CurrentTick();
        DoScreenTransition(frame, code, subMode, speed);
        return plat::CurrentTick() - start;
    }
    static int CursorCount()
    {
        const int count = plat::ShowCursor(true);
        plat::ShowCursor(false);
        return count - 1;
    }

    CWind* wnd = nullptr;
    CFrame* frame = nullptr;
    StageDisplay display;
};

TEST_F(ScreenTransitionTest, EveryEffectAndSubModeEndsShowingTheNewPicture)
{
    Make(40, 30, CRect(4, 6, 24, 34));
    plat::ColorTable colors = plat::GetDesktopPalette();
    CPalette palette(&colors);
    wnd->SetPalette(&palette); // for the mosaic
    const int32_t codes[] = {0x1000, 0x2000, 0x3000, 0x4000, 0x5000, 0x6000,
                             0x7000, 0x8000, 0x9000, 0xA000, 0xB000, 0x1234};
    const int32_t subModes[] = {0x100, 0x200, 0x300, 0x400, 0x500, 0x600, 0x700,
                                0x800, 0x900, 0xA00, 0xB00, 0xC00, 0x123};
    const int cursor = CursorCount();
    bool hiddenDuringStages = true;
    display.onPresent = [&] { hiddenDuringStages = hiddenDuringStages && !plat::IsCursorShown(); };
    for (int32_t code : codes)
        for (int32_t subMode : subModes)
            for (int32_t speed : code == 0x8000 ? std::vector<int32_t>{1, 2, 3} : std::vector<int32_t>{3}) {
                const std::string what =
                    std::to_string(code) + "/" + std::to_string(subMode) + " speed " + std::to_string(speed);
                ShowOld();
                wnd->Invalidate(&frame->GetDrawnRect());
                display.presents = 0;
                const uint32_t ticks = Run(code, subMode, speed);
                EXPECT_TRUE(ShowsNewFrameOnly()) << what;
                EXPECT_EQ(CursorCount(), cursor) << what;
                EXPECT_TRUE(plat::GetUpdateRect(wnd->GetHwnd()).Empty()) << what;
                // The mosaic waits two ticks after each present.
                EXPECT_GE(display.presents * (code == kTransitionMosaic ? 2 : 1), static_cast<int>(ticks))
                    << what;
                EXPECT_GE(ticks, 1u) << what; // the end's copy waits too
            }
    EXPECT_TRUE(hiddenDuringStages);
}

TEST_F(ScreenTransitionTest, StageCounts)
{
    struct Case {
        int16_t width, height;
        int32_t code, subMode, speed;
        uint32_t stages;
    };
    const Case cases[] = {
        {640, 440, kTransitionIris, kClosing, 10, 38},
        {640, 400, kTransitionBox, kClosing, 8, 26},
        {64, 44, kTransitionIris, kOpening, 10, 3}, // radius 38
        {64, 40, kTransitionBox, kOpening, 8, 3},
        {64, 40, kTransitionZoom, kClosing, 8, 3},
        {64, 40, kTransitionZoom, kOpening, 8, 3},
        {60, 40, kTransitionEasedStretch, kFromLeft, 10, 9},
        {60, 40, kTransitionEasedStretch, kFromHorizontalCentre, 91, 0},
        {60, 40, kTransitionWipe, kFromRight, 7, 8},
        {60, 40, kTransitionWipe, kFromTopLeft, 30, 3},
        {60, 40, kTransitionWipe, kFromTopLeft, 101, 0},
        {60, 40, kTransitionSlide, kFromBottom, 7, 5},
        {60, 40, kTransitionSmearWipe, kFromTop, 7, 5},
        {60, 40, kTransitionDissolve, kClosing, 1, 0}, // the dissolve never waits
        {60, 40, kTransitionWipe, kFromRight, 0, 0},   // a speed of 0 gives no stages
        {60, 40, kTransitionMosaic, kClosing, 0, 0},
        {60, 40, kTransitionIris, kFromLeft, 5, 0}, // a sub-mode the effect does not know
        {60, 40, 0x1000, kClosing, 5, 0},
        {60, 40, 0x9000, kClosing, 5, 0},
        {60, 40, 0x4321, kClosing, 5, 0},
    };
    for (const Case& k : cases) {
        Make(k.width, k.height, CRect(0, 0, k.height, k.width));
        ShowOld();
        EXPECT_EQ(Run(k.code, k.subMode, k.speed), k.stages + 1)
            << k.code << "/" << k.subMode << " speed " << k.speed;
        if (k.width < 100) {
            EXPECT_TRUE(ShowsNewFrameOnly()) << k.code;
        }
        TearDown();
        wnd = nullptr;
    }
}

TEST_F(ScreenTransitionTest, TheMosaicWaitsTwoTicksAPassAndEndsWithForeColourZero)
{
    Make(40, 30, CRect(4, 6, 24, 34)); // 28 x 20
    // Without a palette there are no passes.
    wnd->GetWndEnv()->SetTextColor(5);
    EXPECT_EQ(Run(kTransitionMosaic, kClosing, 3), 1u);
    EXPECT_EQ(wnd->GetWndEnv()->GetForeColor(), 0);

    plat::ColorTable colors = plat::GetDesktopPalette();
    CPalette palette(&colors);
    wnd->SetPalette(&palette);
    wnd->GetWndEnv()->SetTextColor(5);
    ShowOld();
    std::vector<std::vector<std::string>> stages;
    display.onPresent = [&] { stages.push_back(Picture()); };
    // Sizes 20, 17, 14 and 11 closing; 8, 11, 14, 17 and 20 opening.
    EXPECT_EQ(Run(kTransitionMosaic, kClosing, 3), 4 * 2 + 1u);
    EXPECT_EQ(wnd->GetWndEnv()->GetForeColor(), 0);
    EXPECT_EQ(Run(kTransitionMosaic, kOpening, 3), 5 * 2 + 1u);
    EXPECT_TRUE(ShowsNewFrameOnly());
    // The first pass paints cells over the frame only.
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(static_cast<uint8_t>(stages[0][3][5]), kOld);
    EXPECT_NE(static_cast<uint8_t>(stages[0][10][10]), kOld);
}

// The colour of pixel (x, y) of a frame's picture.
using ColorAt = std::function<int(int x, int y)>;
// 40 + x + 16 y: every moved or stretched pixel of a frame up to 16 x 12 tells where it came from.
int Gradient(int x, int y) { return 40 + x + 16 * y; }

// A frame whose pixels have the colours the function gives.
class GradientFrame : public CFrame {
public:
    explicit GradientFrame(const CRect& rect, ColorAt color = Gradient)
        : CFrame(5, kNewId, rect, false), color_(std::move(color))
    {
    }
    void DrawContent(CDrawEnv* env, const CRect&) override
    {
        const CRect& r = GetDrawnRect();
        for (int16_t y = r.GetTop(); y < r.GetBottom(); ++y)
            for (int16_t x = r.GetLeft(); x < r.GetRight(); ++x) {
                env->SetTextColor(color_(x - r.GetLeft(), y - r.GetTop()));
                env->FillRect(CRect(y, x, static_cast<int16_t>(y + 1), static_cast<int16_t>(x + 1)));
            }
    }

private:
    ColorAt color_;
};

// Where each pixel of a stage comes from: the new picture's pixel the function names (its x and
// y), kOldPicture for the old picture, kEither for a pixel on a curved or slanted edge.
struct From {
    int x, y;
};
constexpr From kOldPicture{-1, -1};
constexpr From kEither{-2, -2};
using StageSource = std::function<From(int x, int y)>;

// The pixels of the picture that differ from what the source says, as " (x,y)" each.
std::string WrongPixels(const std::vector<std::string>& picture, const StageSource& source,
                        const ColorAt& color, uint8_t old)
{
    std::string wrong;
    for (int y = 0; y < static_cast<int>(picture.size()); ++y)
        for (int x = 0; x < static_cast<int>(picture[0].size()); ++x) {
            const From from = source(x, y);
            if (from.x == kEither.x)
                continue;
            const int want = from.x == kOldPicture.x ? old : color(from.x, from.y);
            if (static_cast<uint8_t>(picture[y][x]) != want)
                wrong += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    return wrong;
}

TEST_F(ScreenTransitionTest, TheFirstStageOfTheStripEffects)
{
    // A 12 x 6 window that is all frame, speed 3: (x, y) of the window shows the new pixel
    // the function names, or the old picture (-1).
    using Source = std::function<int(int x, int y)>;
    struct Case {
        int32_t code, subMode;
        Source source;
    };
    const auto at = Gradient;
    const Case cases[] = {
        {kTransitionWipe, kFromRight, [&](int x, int y) { return x >= 9 ? at(x, y) : -1; }},
        {kTransitionWipe, kFromLeft, [&](int x, int y) { return x < 3 ? at(x, y) : -1; }},
        {kTransitionWipe, kFromBottom, [&](int x, int y) { return y >= 3 ? at(x, y) : -1; }},
        {kTransitionWipe, kFromTop, [&](int x, int y) { return y < 3 ? at(x, y) : -1; }},
        {kTransitionSlide, kFromRight, [&](int x, int y) { return x >= 9 ? at(x - 9, y) : -1; }},
        {kTransitionSlide, kFromLeft, [&](int x, int y) { return x < 3 ? at(x + 9, y) : -1; }},
        {kTransitionSlide, kFromBottom, [&](int x, int y) { return y >= 3 ? at(x, y - 3) : -1; }},
        {kTransitionSlide, kFromTop, [&](int x, int y) { return y < 3 ? at(x, y + 3) : -1; }},
        // The smear stretches the strip over everything not yet revealed.
        {kTransitionSmearWipe, kFromRight, [&](int x, int y) { return at(9 + x / 4, y); }},
        {kTransitionSmearWipe, kFromLeft, [&](int x, int y) { return at(x / 4, y); }},
        {kTransitionSmearWipe, kFromBottom, [&](int x, int y) { return at(x, y / 2); }}, // from the top
        {kTransitionSmearWipe, kFromTop, [&](int x, int y) { return at(x, 3 + y / 2); }},
    };
    auto* root = new GradientFrame(CRect(0, 0, 6, 12));
    frame = root;
    wnd = MakeWindow(CWind::kTypeTopLevel, root, CWind::kFlagOffScreen);
    PumpAll();
    plat::SetDisplay(&display);
    for (const Case& k : cases) {
        ShowOld();
        std::vector<std::string> first;
        display.onPresent = [&] {
            if (first.empty())
                first = Picture();
        };
        Run(k.code, k.subMode, 3);
        ASSERT_EQ(first.size(), 6u);
        std::string wrong;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 12; ++x) {
                const int want = k.source(x, y) < 0 ? kOld : k.source(x, y);
                if (static_cast<uint8_t>(first[y][x]) != want)
                    wrong += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
            }
        EXPECT_EQ(wrong, "") << k.code << "/" << k.subMode;
    }
}

// A stage in the middle of each effect that moves shapes or stretches the picture, on a 16 x 12
// window that is all frame.
TEST_F(ScreenTransitionTest, AMiddleStageOfTheShapedAndZoomingEffects)
{
    const auto same = [](bool isNew, int x, int y) { return isNew ? From{x, y} : kOldPicture; };
    // The diagonal wipes at speed 20: five bands 10 wide and 8 high; after the second the
    // triangle from the corner to (20, 0) and (0, 16) is new.
    const auto diagonal = [same](bool fromRight, bool fromBottom) -> StageSource {
        return [=](int x, int y) {
            const double across = (fromRight ? 16 - (x + 0.5) : x + 0.5) / 20;
            const double down = (fromBottom ? 12 - (y + 0.5) : y + 0.5) / 16;
            const double d = across + down;
            return d > 0.93 && d < 1.07 ? kEither : same(d < 1, x, y);
        };
    };
    struct Case {
        const char* name;
        int32_t code, subMode, speed;
        size_t stage; // the present after which the picture is taken
        StageSource source;
    };
    const Case cases[] = {
        // Four rings 2 wide from the edge in: the first two are new.
        {"box closing", kTransitionBox, kClosing, 2, 1,
         [&](int x, int y) { return same(x < 4 || x >= 12 || y < 4 || y >= 8, x, y); }},
        // From the centre out: a nothing, then 8 x 4, then the ring round it to 12 x 8.
        {"box opening", kTransitionBox, kOpening, 2, 2,
         [&](int x, int y) { return same(x >= 2 && x < 14 && y >= 2 && y < 10, x, y); }},
        // The centre's 8 x 4 stretched over the whole frame (after two empty copies).
        {"zoom closing", kTransitionZoom, kClosing, 2, 2,
         [](int x, int y) {
             return From{4 + x / 2, 4 + y / 3};
         }},
        // The whole picture squeezed into the centre's 8 x 4, each pixel taken from the middle
        // of the part it stands for.
        {"zoom opening", kTransitionZoom, kOpening, 2, 2,
         [](int x, int y) {
             return x >= 4 && x < 12 && y >= 4 && y < 8 ? From{(x - 4) * 2 + 1, (y - 4) * 3 + 1}
                                                        : kOldPicture;
         }},
        // Radius 10, speed 3: a disc 6 across, then the ring out to a circle of radius 6.
        {"iris opening", kTransitionIris, kOpening, 3, 1,
         [&](int x, int y) {
             const double d = ((x + 0.5 - 8) * (x + 0.5 - 8) + (y + 0.5 - 6) * (y + 0.5 - 6)) / 36;
             return d > 0.75 && d < 1.3 ? kEither : same(d < 1, x, y);
         }},
        {"wipe from top left", kTransitionWipe, kFromTopLeft, 20, 1, diagonal(false, false)},
        {"wipe from top right", kTransitionWipe, kFromTopRight, 20, 1, diagonal(true, false)},
        {"wipe from bottom left", kTransitionWipe, kFromBottomLeft, 20, 1, diagonal(false, true)},
        {"wipe from bottom right", kTransitionWipe, kFromBottomRight, 20, 1, diagonal(true, true)},
    };
    frame = new GradientFrame(CRect(0, 0, 12, 16));
    wnd = MakeWindow(CWind::kTypeTopLevel, frame, CWind::kFlagOffScreen);
    PumpAll();
    plat::SetDisplay(&display);
    for (const Case& k : cases) {
        ShowOld();
        std::vector<std::vector<std::string>> stages;
        display.onPresent = [&] { stages.push_back(Picture()); };
        Run(k.code, k.subMode, k.speed);
        ASSERT_GT(stages.size(), k.stage + 1) << k.name;
        EXPECT_EQ(WrongPixels(stages[k.stage], k.source, Gradient, kOld), "") << k.name;
    }
}

// The dissolve's cells come in the order of its shift register, each with its own new pixels;
// a look at the display after 1025 of them (it is shown every 1024 cells once the clock moved).
TEST_F(ScreenTransitionTest, TheDissolveShowsItsFirstCellsInTheirNewColours)
{
    const ColorAt color = [](int x, int y) { return 20 + (x * 7 + y * 3) % 200; };
    for (int32_t speed : {1, 2, 3}) {
        // 41 x 31 cells: more than 1024.
        const auto width = static_cast<int16_t>(40 * speed), height = static_cast<int16_t>(30 * speed);
        frame = new GradientFrame(CRect(0, 0, height, width), color);
        wnd = MakeWindow(CWind::kTypeTopLevel, frame, CWind::kFlagOffScreen);
        PumpAll();
        plat::SetDisplay(&display);
        ShowOld();
        std::vector<std::vector<std::string>> stages;
        display.onPresent = [&] { stages.push_back(Picture()); };
        qmtest::Clock().SetAutoAdvance(17); // every look at the clock finds a new tick
        Run(kTransitionDissolve, kClosing, speed);
        qmtest::Clock().SetAutoAdvance(0);
        ASSERT_GE(stages.size(), 2u) << speed;

        const DissolveGrid grid = GetDissolveGrid(width, height, speed);
        std::vector<bool> shown(grid.count + 1, false); // cell v is value v of the register
        uint32_t v = 1;
        for (int step = 0; step <= 1024; ++step) {
            v = NextDissolveCell(v, grid);
            shown[v] = true;
        }
        const StageSource source = [&](int x, int y) {
            return shown[static_cast<size_t>(y / speed * grid.columns + x / speed)] ? From{x, y}
                                                                                    : kOldPicture;
        };
        EXPECT_EQ(WrongPixels(stages[1], source, color, kOld), "") << speed;
        TearDown();
        wnd = nullptr;
    }
}

// Each mosaic cell is outlined and filled with the palette colour nearest the average of two
// of its new pixels: its top-left corner and the one half its size further right and down.
TEST_F(ScreenTransitionTest, TheMosaicFillsEachCellWithTheAverageOfTwoPixels)
{
    // A grey ramp, so that the average of two entries is the entry between them.
    plat::ColorTable grey = plat::GetDesktopPalette();
    for (int i = 10; i < 246; ++i)
        grey[static_cast<size_t>(i)] =
            plat::Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0};
    CPalette palette(&grey);
    const ColorAt color = [](int x, int y) { return 10 + x + 15 * y; };
    frame = new GradientFrame(CRect(0, 0, 15, 15), color);
    wnd = MakeWindow(CWind::kTypeTopLevel, frame, CWind::kFlagOffScreen);
    wnd->SetPalette(&palette);
    PumpAll();
    plat::SetDisplay(&display);
    ShowOld();
    std::vector<std::vector<std::string>> stages;
    display.onPresent = [&] { stages.push_back(Picture()); };
    // Opening at speed 7: cells of 8, then of 15. The cells start one pixel up and left of the
    // frame and are cut to it: 0-6 and 7-14 each way.
    EXPECT_EQ(Run(kTransitionMosaic, kOpening, 7), 2 * 2 + 1u);
    ASSERT_GE(stages.size(), 1u);
    const std::vector<std::string>& first = stages[0];
    for (const int left : {0, 7})
        for (const int top : {0, 7}) {
            const int right = left == 0 ? 7 : 15, bottom = top == 0 ? 7 : 15;
            const int want = (color(left, top) + color(left + 4, top + 4)) / 2;
            std::string wrong;
            for (int y = top + 1; y < bottom - 1; ++y)
                for (int x = left + 1; x < right - 1; ++x)
                    if (static_cast<uint8_t>(first[y][x]) != want)
                        wrong += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
            EXPECT_EQ(wrong, "") << "cell at " << left << ", " << top << " wants " << want;
        }
}

TEST_F(ScreenTransitionTest, TheEasedStretchsSecondCopyIsEmpty)
{
    Make(60, 40, CRect(0, 0, 40, 60));
    ShowOld();
    std::vector<std::vector<std::string>> stages;
    display.onPresent = [&] { stages.push_back(Picture()); };
    EXPECT_EQ(Run(kTransitionEasedStretch, kFromLeft, 10), 10u);
    ASSERT_EQ(stages.size(), 10u);
    // Stage 0 squeezes the picture into the leftmost column; stage 1 draws nothing.
    EXPECT_NE(static_cast<uint8_t>(stages[0][5][0]), kOld);
    EXPECT_EQ(static_cast<uint8_t>(stages[0][5][1]), kOld);
    EXPECT_EQ(stages[1], stages[0]);
    // Stage 2 stretches it over the first sin(10 degrees) of the width: 10 columns.
    EXPECT_NE(static_cast<uint8_t>(stages[2][5][9]), kOld);
    EXPECT_EQ(static_cast<uint8_t>(stages[2][5][10]), kOld);
}

TEST_F(ScreenTransitionTest, TheIrisRingsStayInsideTheFrame)
{
    Make(60, 40, CRect(5, 10, 35, 50));
    ShowOld();
    std::vector<std::vector<std::string>> stages;
    display.onPresent = [&] { stages.push_back(Picture()); };
    // Radius 25, speed 5: five rings from the outside in.
    EXPECT_EQ(Run(kTransitionIris, kClosing, 5), 6u);
    ASSERT_EQ(stages.size(), 6u);
    EXPECT_EQ(static_cast<uint8_t>(stages[0][5][10]), kNew);  // a corner of the frame
    EXPECT_EQ(static_cast<uint8_t>(stages[0][20][30]), kOld); // the centre
    EXPECT_EQ(static_cast<uint8_t>(stages[3][20][30]), kOld);
    EXPECT_NE(static_cast<uint8_t>(stages[4][20][30]), kOld); // the last ring is a whole disc
    EXPECT_TRUE(ShowsNewFrameOnly());
}

TEST(ScreenTransitionMath, SinScaleAndTheDissolveGrid)
{
    EXPECT_EQ(SinScale(640, 0), 0);
    EXPECT_EQ(SinScale(640, 90), 639); // 57.2958 is a little more than a radian's degrees
    EXPECT_EQ(SinScale(60, 10), 10);
    EXPECT_EQ(SinScale(-60, 10), -10);

    const DissolveGrid screen = GetDissolveGrid(640, 480, 1);
    EXPECT_EQ(screen.columns, 641);
    EXPECT_EQ(screen.rows, 481);
    EXPECT_EQ(screen.count, 308321u);
    EXPECT_EQ(screen.width, 19);
    EXPECT_EQ(screen.mask, 0x72000u);
    // Every value from 1 to the count comes exactly once.
    std::vector<bool> seen(screen.count + 1, false);
    uint32_t v = 1, repeats = 0;
    for (uint32_t step = 0; step < screen.count; ++step) {
        v = NextDissolveCell(v, screen);
        repeats += seen[v] ? 1 : 0;
        seen[v] = true;
    }
    EXPECT_EQ(repeats, 0u);
    EXPECT_FALSE(seen[0]);

    EXPECT_EQ(GetDissolveGrid(640, 480, 3).width, 16); // 214 x 161 = 34454 cells
    EXPECT_EQ(GetDissolveGrid(1024, 511, 1).width, 0); // 1025 x 512 = 2^19 + 512
    EXPECT_EQ(GetDissolveGrid(0, 0, 1).count, 1u);
    EXPECT_EQ(GetDissolveGrid(10, 10, 0).width, 0);
}

} // namespace
