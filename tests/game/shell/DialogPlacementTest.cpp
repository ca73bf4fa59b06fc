// Where the prompts and dialogs of the sample data are drawn when the game runs them: each lies
// whole inside the game area, and each dialog's screen inside the frame that runs it. The
// dialogs run as the game runs them (the disc prompt through the disc switch, the save list
// through the save prompt, the others through their modal run); a source of input events looks
// at the layer pushed over the game window and ends it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/MsgMgr.h"
#include "game/base/DiscPromptFrm.h"
#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/ModalList.h"
#include "game/base/SaveListFrm.h"
#include "game/base/save/QM3Doc.h"
#include "game/shell/FileCommands.h"
#include "game/shell/QM3Appl.h"
#include "platform/MessageQueue.h"
#include "tests/game/shell/SampleGame.h"

namespace {

// The game area: 480 rows of 640.
const CRect kGameArea(0, 0, 480, 640);
constexpr int32_t kMsgEndModal = -39;

bool Inside(const CRect& inner, const CRect& outer)
{
    return inner.GetTop() >= outer.GetTop() && inner.GetLeft() >= outer.GetLeft() &&
           inner.GetBottom() <= outer.GetBottom() && inner.GetRight() <= outer.GetRight();
}

std::string Text(const CRect& r)
{
    // Appended piece by piece: GCC 12's optimiser warns (-Wrestrict) on "(" + std::to_string().
    std::string text = "(";
    for (const int16_t v : {r.GetTop(), r.GetLeft(), r.GetBottom(), r.GetRight()}) {
        if (text.size() > 1)
            text += ", ";
        text += std::to_string(v);
    }
    return text + ")";
}

class DialogPlacement : public shelltest::SampleGameScreen {
protected:
    void TearDown() override
    {
        plat::GetMessageQueue().SetEventSource(nullptr);
        SetSaveDialogRunner(nullptr);
        SampleGameScreen::TearDown();
    }
    // Runs `open`; when it has pushed a layer over the game window, expects the layer and every
    // shown frame in it inside the game area, and every frame inside the layer; then `close`
    // ends it. False when no layer came up.
    bool ExpectInsideGameArea(const std::string& what, const std::function<void()>& open,
                              const std::function<void(CFrame& layer)>& close)
    {
        bool seen = false;
        plat::GetMessageQueue().SetEventSource([&](plat::MessageQueue&, uint64_t) {
            CWind* top = CWind::GetTopWnd();
            if (seen || !top || top->GetLayerCount() < 2)
                return;
            seen = true;
            CFrame& layer = *top->GetTopFrame();
            const CRect area = layer.GetDrawnRect();
            EXPECT_TRUE(Inside(area, kGameArea)) << what << ": the layer at " << Text(area);
            ExpectShownInside(what, layer, area);
            close(layer);
        });
        open();
        plat::GetMessageQueue().SetEventSource(nullptr);
        EXPECT_TRUE(seen) << what << ": nothing came up";
        return seen;
    }
    void ExpectShownInside(const std::string& what, CFrame& frame, const CRect& area)
    {
        for (CFrame* child : ChildFrames(frame)) {
            if (!child->IsShown())
                continue;
            EXPECT_TRUE(Inside(child->GetDrawnRect(), area))
                << what << ": frame " << child->GetId() << " at " << Text(child->GetDrawnRect());
            ExpectShownInside(what, *child, area);
        }
    }
    // The first frame of the layer's tree of the type.
    template <class T> static T* Find(CFrame& frame)
    {
        if (auto* found = dynamic_cast<T*>(&frame))
            return found;
        for (CFrame* child : ChildFrames(frame))
            if (T* found = Find<T>(*child))
                return found;
        return nullptr;
    }
};

TEST_F(DialogPlacement, EveryModalDialogOfTheSampleDataLiesInTheGameArea)
{
    for (int32_t list : {1, 2, 911, 915, 1029, 1031, 4001, 4002, 4010, 4999, 600200, 600201, 600600, 600610})
        ExpectInsideGameArea(
            "list " + std::to_string(list), [&] { RunModalList(list, appl.get()); },
            [](CFrame& layer) { SendMsg(layer, kMsgEndModal, 0, 0, nullptr); });
}

TEST_F(DialogPlacement, TheDiscPromptLiesInTheGameArea)
{
    // No disc is in a drive: the switch asks for it until the player gives up.
    for (int32_t disc : {1, 2})
        ExpectInsideGameArea(
            "disc " + std::to_string(disc), [&] { SwitchDisc(disc, false); },
            [](CFrame& layer) {
                auto* prompt = Find<CDiscPromptFrm>(layer);
                ASSERT_NE(prompt, nullptr);
                SendMsg(*prompt, CDiscPromptFrm::kMsgGiveUp, 0, 0, nullptr);
            });
}

TEST_F(DialogPlacement, TheSaveAndOpenDialogsLieInTheGameArea)
{
    auto doc = std::make_unique<CQM3Doc>("Placement");
    doc->SetDisc(2);
    Game().document = doc.get();
    for (const auto& [what, opening, forced] : std::vector<std::tuple<std::string, bool, bool>>{
             {"save", false, false}, {"open", true, false}, {"save before leaving", false, true}})
        ExpectInsideGameArea(
            what, [&] { PromptSave(opening, forced); },
            [](CFrame& layer) {
                auto* dialog = Find<CSaveListFrm>(layer);
                ASSERT_NE(dialog, nullptr);
                SendMsg(*dialog, CSaveListFrm::kMsgCancel, 0, 0, nullptr);
            });
    Game().document = nullptr;
}

} // namespace
