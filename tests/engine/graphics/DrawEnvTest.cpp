#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Region.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/TestEnv.h"

namespace {

using Rows = std::vector<std::string>;
using qmtest::MakeBitmap;
using qmtest::Pixels;

// An off-screen environment of w x h pixels, all white (255).
std::unique_ptr<COffScEnv> Env(int16_t w, int16_t h)
{
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, h, w), nullptr, false);
    return env;
}

Rows Picture(COffScEnv& env) { return Pixels(*env.GetBitmap()); }

TEST(DrawEnv, ProgramColoursBecomeColourReferences)
{
    const struct {
        int32_t value;
        plat::ColorRef ref;
    } cases[] = {
        {0, plat::ColorRef::FromRgb(0, 0, 0)},
        {255, plat::ColorRef::FromRgb(255, 255, 255)},
        {17, plat::ColorRef::FromIndex(17)},
        {0x7F0123, plat::ColorRef::FromIndex(0x0123)},
        {0x10FF8040, plat::ColorRef::FromPaletteRgb(0x40, 0x80, 0xFF)},
        {0x10000000, plat::ColorRef::FromPaletteRgb(0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDrawEnv::ToColorRef(c.value), c.ref) << std::hex << c.value;
}

TEST(DrawEnv, SetupGivesTheDefaultState)
{
    const int32_t before = CDrawEnv::GetInstanceCount();
    {
        auto env = Env(4, 4);
        EXPECT_EQ(CDrawEnv::GetInstanceCount(), before + 1);
        EXPECT_EQ(env->GetKind(), kEnvOffScreen);
        EXPECT_EQ(env->GetForeColor(), 0);
        EXPECT_EQ(env->GetBkColor(), 255);
        EXPECT_EQ(env->GetPenColor(), 0);
        EXPECT_EQ(env->GetPenWidth(), 1);
        EXPECT_EQ(env->GetBrushColor(), 0);
        EXPECT_EQ(env->GetTransferMode(), 8);
        EXPECT_EQ(env->GetBkMode(), kBkTransparent);
        EXPECT_EQ(env->GetFontId(), 0) << "no font table: the system font";
        env->SetBkMode(kBkOpaque);
        EXPECT_EQ(env->GetBkMode(), kBkOpaque);
        env->SetBkMode(5);
        EXPECT_EQ(env->GetBkMode(), kBkOpaque) << "an unknown mode changes nothing";
    }
    EXPECT_EQ(CDrawEnv::GetInstanceCount(), before);
}

TEST(DrawEnv, PensAndBrushesAreMadeOnlyWhenTheyChange)
{
    auto env = Env(4, 4);
    plat::DrawContext& dc = *env->GetHDC();
    env->SetBrushColor(9);
    const plat::Brush marker{false, plat::ColorRef::FromIndex(77)};
    dc.SetBrush(marker);
    env->SetBrushColor(9);
    EXPECT_EQ(dc.GetBrush(), marker) << "the same colour makes no new brush";
    env->SetBrushColor(10);
    EXPECT_EQ(dc.GetBrush(), (plat::Brush{false, plat::ColorRef::FromIndex(10)}));

    env->SetPen(3, 2);
    EXPECT_EQ(dc.GetPen(), (plat::Pen{plat::PenStyle::InsideFrame, 2, plat::ColorRef::FromIndex(3)}));
    const plat::Pen penMarker{plat::PenStyle::Solid, 5, plat::ColorRef::FromIndex(66)};
    dc.SetPen(penMarker);
    env->SetPenWidth(2);
    EXPECT_EQ(dc.GetPen(), penMarker);

    env->SetTextColor(6);
    EXPECT_EQ(env->GetPenColor(), 6) << "the text colour is the pen's too";
    EXPECT_EQ(env->GetPenWidth(), 2);
    EXPECT_EQ(dc.GetTextColor(), plat::ColorRef::FromIndex(6));
    env->SetBkColor(8);
    EXPECT_EQ(env->GetBrushColor(), 8);
    EXPECT_EQ(dc.GetBkColor(), plat::ColorRef::FromIndex(8));
}

TEST(DrawEnv, WithoutADeviceContextNothingIsDrawn)
{
    CDrawEnv env;
    env.SetTextColor(5);
    EXPECT_EQ(env.GetForeColor(), 0);
    env.SetBkColor(7);
    EXPECT_EQ(env.GetBkColor(), 7) << "the background colour is kept in any case";
    env.FillRect(CRect(0, 0, 5, 5));
    EXPECT_EQ(env.GetBkMode(), kBkTransparent);
    FontInfo info;
    env.GetFontMetrics(info, 0);
    EXPECT_EQ(info.ascent, 8);
    EXPECT_EQ(info.descent, 3);
    EXPECT_EQ(info.leading, 1);
    EXPECT_EQ(info.height, 8);
    EXPECT_EQ(env.GetTextWidth(CStr("text")), 0);
    CPoint p(3, 4);
    env.LocalToScreen(p);
    EXPECT_EQ(p, CPoint(3, 4));
    std::unique_ptr<CRegion> device(env.GetDeviceRegion());
    EXPECT_EQ(device->GetKind(), kRgnDevice);
    EXPECT_EQ(std::unique_ptr<CDibSect>(env.GrabBitmap(CRect(0, 0, 2, 2)))->GetPixel(0, 0), 255);
}

TEST(DrawEnv, RectanglesFillFrameAndEraseInTheirColours)
{
    auto env = Env(9, 5);
    env->SetTextColor(1);
    env->SetBkColor(2);
    env->FillRect(CRect(0, 0, 2, 3));
    env->FrameRect(CRect(0, 3, 3, 6));
    env->EraseRect(CRect(0, 6, 3, 9)); // the pen still draws the outline in the text colour
    env->InvertRect(CRect(4, 0, 5, 2));
    EXPECT_EQ(Picture(*env), (Rows{"111111111", "1111.1121", "...111111", ".........", "00......."}));
}

TEST(DrawEnv, DrawingCoordinatesStartAtTheBoundsCorner)
{
    plat::Surface surface(6, 4);
    std::fill(surface.pixels.begin(), surface.pixels.end(), 255);
    plat::DrawContext dc(surface);
    CDrawEnv env;
    env.Setup(&dc, CRect(1, 2, 4, 6), nullptr);
    EXPECT_EQ(env.GetKind(), kEnvPlain);
    env.SetTextColor(3);
    env.FillRect(CRect(0, 0, 2, 2));
    env.DrawLine(2, 0, 2, 3); // (v1, h1, v2, h2): the end point is not drawn
    std::string rows;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            rows += qmtest::PixelChar(surface.At(x, y));
    EXPECT_EQ(rows, "......"
                    "..33.."
                    "..33.."
                    "..333.");
}

TEST(DrawEnv, TransferModesCombineThePenWithThePixels)
{
    const uint8_t d = 0x0C;
    const uint8_t p = 0x0A;
    const uint8_t expected[8] = {p,
                                 static_cast<uint8_t>(p | d),
                                 static_cast<uint8_t>(p ^ d),
                                 static_cast<uint8_t>(~p & d),
                                 static_cast<uint8_t>(~p),
                                 static_cast<uint8_t>(~p | d),
                                 static_cast<uint8_t>(~(p ^ d)),
                                 static_cast<uint8_t>(p & d)};
    for (int16_t mode = 0; mode < 8; ++mode) {
        auto env = Env(3, 3);
        env->GetBitmap()->FillRect(CRect(0, 0, 3, 3), d);
        env->SetTextColor(p);
        env->SetTransferMode(mode);
        env->SetTransferMode(8); // out of the table: the mode stays
        EXPECT_EQ(env->GetTransferMode(), mode);
        env->FillRect(CRect(0, 0, 2, 2));
        EXPECT_EQ(env->GetBitmap()->GetPixel(1, 1), expected[mode]) << mode;
        EXPECT_EQ(env->GetBitmap()->GetPixel(2, 2), d);
    }
}

// Each shape through the environment matches the drawing context's own shape drawn with the
// pen, brush and raster mode the environment promises, for every transfer mode.
TEST(DrawEnv, EveryShapeInEveryTransferModeUsesTheEnvironmentsPenAndBrush)
{
    using plat::DrawContext;
    const plat::Rect box{1, 1, 11, 9};
    const CRect cbox(1, 1, 9, 11);
    const plat::Pen pen{plat::PenStyle::InsideFrame, 2, plat::ColorRef::FromIndex(0x35)};
    const plat::Brush fill{false, plat::ColorRef::FromIndex(0x35)};
    const plat::Brush hollow{true, {}};
    const struct {
        const char* name;
        std::function<void(CDrawEnv&)> engine;
        std::function<void(DrawContext&)> platform;
    } shapes[] = {
        {"FillRect", [&](CDrawEnv& e) { e.FillRect(cbox); },
         [&](DrawContext& dc) {
             dc.SetBrush(fill);
             dc.Rectangle(box);
         }},
        {"FillEllipse", [&](CDrawEnv& e) { e.FillEllipse(cbox); },
         [&](DrawContext& dc) {
             dc.SetBrush(fill);
             dc.Ellipse(box);
         }},
        {"FrameRect", [&](CDrawEnv& e) { e.FrameRect(cbox); },
         [&](DrawContext& dc) {
             dc.SetBrush(hollow);
             dc.Rectangle(box);
         }},
        {"FrameEllipse", [&](CDrawEnv& e) { e.FrameEllipse(cbox); },
         [&](DrawContext& dc) {
             dc.Arc(box, {1, 1}, {1, 1});
         }},
        {"EraseRect", [&](CDrawEnv& e) { e.EraseRect(cbox); },
         [&](DrawContext& dc) {
             dc.SetBrush({false, plat::ColorRef::FromIndex(0x0F)});
             dc.Rectangle(box);
         }},
        {"DrawLine", [&](CDrawEnv& e) { e.DrawLine(CPoint(1, 1), CPoint(10, 7)); },
         [&](DrawContext& dc) {
             dc.MoveTo({1, 1});
             dc.LineTo({10, 7});
         }},
        {"FillArc", [&](CDrawEnv& e) { e.FillArc(cbox, 30, 100, false); },
         [&](DrawContext& dc) {
             dc.SetBrush({false, plat::ColorRef::FromIndex(0x0F)}); // the brush is the background colour
             // The inner box (2, 2)-(10, 8): radius 4 round (6, 6); 30 degrees lies at (8, 3)
             // and 130 at (9, 8).
             dc.Pie({2, 2, 11, 9}, {9, 8}, {8, 3});
         }},
    };
    for (const auto& shape : shapes) {
        for (int16_t mode = 0; mode < 8; ++mode) {
            SCOPED_TRACE(std::string(shape.name) + " mode " + std::to_string(mode));
            auto env = Env(12, 10);
            env->GetBitmap()->FillRect(CRect(0, 0, 5, 12), 0x66);
            env->SetTextColor(0x35);
            env->SetBkColor(0x0F);
            env->SetPenWidth(2);
            env->SetTransferMode(mode);
            shape.engine(*env);

            auto reference = MakeBitmap(12, 10);
            reference->FillRect(CRect(0, 0, 5, 12), 0x66);
            DrawContext dc(*reference->GetHandle());
            dc.SetPen(pen);
            dc.SetBrush({false, plat::ColorRef::FromIndex(0x0F)});
            dc.SetRop2(static_cast<plat::Rop2>(mode));
            shape.platform(dc);
            EXPECT_EQ(Picture(*env), Pixels(*reference));
        }
    }
}

TEST(DrawEnv, PieSlicesRunClockwiseFromTwelveOClock)
{
    // A 13 x 13 box: the inner circle has radius 5 round (6, 6).
    const CRect box(0, 0, 13, 13);
    auto quarter = Env(13, 13);
    quarter->SetTextColor(1);
    quarter->SetBkColor(1);
    quarter->FillArc(box, 0, 90, false);
    CDibSect& q = *quarter->GetBitmap();
    EXPECT_EQ(q.GetPixel(8, 4), 1) << "upper right";
    EXPECT_EQ(q.GetPixel(4, 4), 255) << "upper left";
    EXPECT_EQ(q.GetPixel(8, 8), 255) << "lower right";

    // A slice across 270 degrees drawn in two halves covers the same pixels.
    auto whole = Env(13, 13);
    auto split = Env(13, 13);
    for (auto* env : {whole.get(), split.get()}) {
        env->SetTextColor(1);
        env->SetBkColor(1);
    }
    whole->FillArc(box, 200, 120, false);
    split->FillArc(box, 200, 120, true);
    EXPECT_EQ(Picture(*split), Picture(*whole));
    EXPECT_EQ(whole->GetBitmap()->GetPixel(3, 6), 1) << "9 o'clock lies inside";

    // A full turn is the ellipse of the whole box.
    auto full = Env(13, 13);
    auto ellipse = Env(13, 13);
    for (auto* env : {full.get(), ellipse.get()}) {
        env->SetTextColor(1);
        env->SetBkColor(1);
    }
    full->FillArc(box, 45, 360, true);
    ellipse->FillEllipse(box);
    EXPECT_EQ(Picture(*full), Picture(*ellipse));
}

TEST(DrawEnv, ScrollMovesPixelsInsideTheRectangle)
{
    auto env = Env(4, 3);
    qmtest::PaintPixels(*env->GetBitmap(), {"1234", "5678", "9abc"});
    env->ScrollRect(CRect(0, 0, 2, 4), 1, 1);
    EXPECT_EQ(Picture(*env), (Rows{"1234", "5123", "9abc"}));
}

TEST(DrawEnv, ClipRegionsLimitDrawingUntilTheScopeEnds)
{
    auto env = Env(6, 3);
    env->SetTextColor(4);
    {
        CClipScope scope(env.get(), 0);
        const CRegion clip = CRegion(CRect(0, 0, 1, 2), kRgnRect) + CRegion(CRect(2, 4, 3, 6), kRgnRect);
        env->SetClipRgn(&clip);
        env->FillRect(CRect(0, 0, 3, 6));
        EXPECT_EQ(Picture(*env), (Rows{"44....", "......", "....44"}));
    }
    env->FillRect(CRect(1, 0, 2, 6));
    EXPECT_EQ(Picture(*env), (Rows{"44....", "444444", "....44"}));
    env->SetClipRect(CRect(0, 2, 3, 3));
    env->SetTextColor(5);
    env->FillRect(CRect(0, 0, 3, 6));
    EXPECT_EQ(Picture(*env), (Rows{"445...", "445444", "..5.44"}));
    env->RemoveClip();

    std::unique_ptr<CRegion> device(env->GetDeviceRegion());
    EXPECT_EQ(device->GetKind(), kRgnDevice);
    // The device is the bitmap's section: rows of 8 bytes hold the 6 pixels.
    EXPECT_EQ(device->GetHandle()->Dump(), "0-3: 0-8\n");
}

TEST(DrawEnv, SameSizeCopiesAreClippedAndOtherSizesStretch)
{
    auto bitmap = MakeBitmap({"123", "456"});
    DrawRecord gdi; // a null callback asks for the drawing context's copy
    {
        auto env = Env(5, 3);
        env->BlitDib(bitmap.get(), CRect(0, 0, 2, 3), CRect(1, 1, 3, 4), nullptr, &gdi);
        EXPECT_EQ(Picture(*env), (Rows{".....", ".123.", ".456."}));
    }
    {
        auto env = Env(5, 3);
        const CRect clip(0, 2, 3, 5);
        CRect recordClip(0, 0, 2, 5);
        gdi.params[7] = reinterpret_cast<intptr_t>(&recordClip);
        env->BlitDib(bitmap.get(), CRect(0, 0, 2, 3), CRect(1, 1, 3, 4), &clip, &gdi);
        gdi.params[7] = 0;
        EXPECT_EQ(Picture(*env), (Rows{".....", "..23.", "....."}))
            << "only the overlap, from the matching part";
    }
    {
        auto env = Env(6, 4);
        env->BlitDib(bitmap.get(), CRect(0, 0, 2, 3), CRect(0, 0, 4, 6), nullptr, &gdi);
        EXPECT_EQ(Picture(*env), (Rows{"112233", "112233", "445566", "445566"}));
    }
    {
        auto env = Env(4, 3);
        env->BlitDib(bitmap.get(), CRect(5, 5, 7, 8), CRect(0, 0, 2, 3), nullptr, &gdi);
        EXPECT_EQ(Picture(*env), (Rows{"....", "....", "...."})) << "a source outside the bitmap";
    }
}

TEST(DrawEnv, GrabbedBitmapsAreUpright)
{
    auto env = Env(5, 4);
    qmtest::PaintPixels(*env->GetBitmap(), {"12345", "6789a", "bcdef", "ghijk"});
    std::unique_ptr<CDibSect> grabbed(env->GrabBitmap(CRect(1, 1, 3, 4)));
    EXPECT_EQ(grabbed->GetRect(), CRect(0, 0, 2, 3));
    EXPECT_EQ(Pixels(*grabbed), (Rows{"789", "cde"}));
}

} // namespace
