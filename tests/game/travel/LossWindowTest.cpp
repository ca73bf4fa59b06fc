// The loss window of the sample data: LoseItems shows what was lost in template list 600610
// over the top window until Enter answers its default OK button.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/graphics/FontList.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/LibraryHooks.h"
#include "game/travel/SupplyList.h"
#include "tests/engine/controls/native/NativeKit.h"
#include "tests/game/travel/GameDialogData.h"
#include "tests/support/LibraryFixtures.h"

namespace fs = std::filesystem;

namespace {

class LossWindowTest : public ntest::NativeTest {
protected:
    void SetUp() override
    {
        NativeTest::SetUp();
        appl = std::make_unique<wtest::TestAppl>(log);
        traveltest::OpenGameDataForDialogs();
    }

    std::unique_ptr<wtest::TestAppl> appl;
};

TEST_F(LossWindowTest, TheLossIsShownUntilEnterAnswersIt)
{
    CSupplyList list;
    list.AddItem(82, 2); // rope
    list.AddItem(5, 1);  // flour
    std::string shown;
    bool defaultOk = false;
    wtest::Later answer([&] {
        CFrame* top = wnd->GetTopFrame();
        ASSERT_NE(dynamic_cast<CImageFrame*>(top), nullptr);
        const auto* text = dynamic_cast<CTextFrame*>(top->FindObject(CBaseObj::kAnyKind, 6420));
        ASSERT_NE(text, nullptr);
        shown = text->GetText()->GetText();
        const CWindControl* ok = wnd->GetDefaultControl();
        defaultOk = ok && ok->GetId() == 6421;
        plat::PressKey(plat::key::Enter);
    });
    list.LoseItems(200, 35, false); // everything, undrawn
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(defaultOk);
    EXPECT_EQ(shown, "Lost:\nFlour, Rope, ");
    EXPECT_EQ(wnd->GetLayerCount(), 1); // the window is gone again
}

} // namespace
