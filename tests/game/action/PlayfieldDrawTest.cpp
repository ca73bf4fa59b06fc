#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/anim/AnimatorWnd.h"
#include "engine/framework/Memory.h"
#include "game/action/PlayfieldDraw.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/RleFixtures.h"

using Rows = std::vector<std::string>;

TEST(PlayfieldDraw, DrawsStretchedBehindTheObjectsMask)
{
    auto sprite = qmtest::BlockOf(qmtest::MakeRls({{1, 2, {0x81, 3, 4}}}));
    auto mask = qmtest::MakeBitmap(Rows{"1199"});
    auto dest = qmtest::MakeBitmap(4, 1);
    // Mirrored, index 0 transparent, the mask and a depth of 5.
    DrawRecord record{DrawPlayfieldCel, {0, 0, 1, 0, reinterpret_cast<intptr_t>(mask.get()), 5}, 0};
    DrawPlayfieldCel(sprite.get(), dest.get(), CRect(0, 0, 1, 4), &record);
    EXPECT_EQ(qmtest::Pixels(*dest), (Rows{"..43"}));
}

TEST(PlayfieldDraw, APlainFrameCarriesNoDrawingData)
{
    CFrame frame(CFrame::kKindFrame, 1, CRect(0, 0, 10, 10), false);
    EXPECT_EQ(frame.GetAltDrawData(), nullptr);
}

TEST(PlayfieldDraw, InstalledItDrawsTheAnimatorElementsPlayFieldCels)
{
    InstallPlayfieldDraw();
    EXPECT_EQ(GetPlayfieldCelProc(), &DrawPlayfieldCel);
}
