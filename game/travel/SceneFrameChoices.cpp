// The stop scene's hill and river choices on the screen: the looks that show the river's facts
// or the hill's advice, the choices that roll their chance and play the outcome's clip before
// the scene is left, rafting, and the outcome's events when the scene is left. The chances
// themselves are scene::RollCrossing and scene::RollHill.
#include <memory>
#include <optional>
#include <string>

#include "engine/controls/TextFrame.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/media/SmackerFrame.h"
#include "engine/media/SmkResource.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"
#include "game/base/save/QM3Doc.h"
#include "game/travel/EventGen.h"
#include "game/travel/GameRecord.h"
#include "game/travel/Party.h"
#include "game/travel/RiverData.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SceneChoices.h"
#include "game/travel/SceneFrame.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "game/travel/Weather.h"

namespace {

// The scenes whose ferry button goes dim when the party cannot pay the ferry.
constexpr int32_t kFerryScenes[] = {20200, 22600, 24200};
constexpr int32_t kFerryButton = 18245;
constexpr uint32_t kDimText = 33;
// Panels and their objects.
constexpr int32_t kRiverPanel = 1050, kRiverFacts = 1051, kHillAPanel = 1052, kHillBPanel = 1053,
                  kAdvicePanel = 1056;
constexpr int32_t kConditionText = 10020, kDepthText = 10021, kWidthText = 10022, kAdviceText = 10220;
constexpr int32_t kConditions = 600073, kAdvice = 600074;
// The outcome clip's place, and how long it plays before the scene is left.
constexpr int16_t kClipX = 160, kClipY = 90;
constexpr int16_t kClipTicks = 360;
constexpr int32_t kRaftModule = 8;
constexpr int32_t kNoRaftOutcome = 11;
constexpr int16_t kLoadOverloaded = 1;
constexpr int16_t kSkillOne = 1;

void SetText(CFrame* panel, int32_t id, const std::string& text)
{
    if (auto* field = panel ? panel->FindAs<CTextFrame>(id) : nullptr)
        field->SetText(std::make_unique<CStr>(text.c_str()));
}

std::string Entry(int32_t list, int32_t index)
{
    const std::unique_ptr<CTplRec> strings = CreateTplRec(list, CLibMgr::kAllLibraries, false);
    const CStr* entry = strings ? strings->GetEntry(index) : nullptr;
    return entry && entry->GetText() ? entry->GetText() : "";
}

} // namespace

void CRouteSceneFrm::DimFerryWhenPoor()
{
    bool ferryScene = false;
    for (int32_t scene : kFerryScenes)
        ferryScene = ferryScene || scene == sceneId_;
    const CRouteNode* node = travel_.GetNode();
    const CRiverData* river = node ? node->GetRiverData() : nullptr;
    const CParty* party = travel_.GetParty();
    // A scene shown at a node without a river has no ferry to price.
    if (!ferryScene || !river || !party || party->GetMoney() >= river->GetFerryDollars())
        return;
    if (auto* button = FindAs<CTextBtnFrame>(kFerryButton)) {
        button->SetTextColors(kDimText, kDimText);
        button->Enable(false, false);
    }
}

bool CRouteSceneFrm::HandleChoice(int32_t id)
{
    switch (id) {
    case scene::kHillLookA:
    case scene::kHillLookB:
        Look();
        ShowAdvice();
        return true;
    case scene::kRiverLook:
        Look();
        ShowRiverFacts();
        return true;
    case scene::kRaft: Raft(); return true;
    default: break;
    }
    if ((id >= 351 && id <= 354) || (id >= 356 && id <= 358) ||
        (id >= scene::kFord && id <= scene::kRiverThird)) {
        Choose(id);
        return true;
    }
    return false;
}

// A look informs every later choice of the program run; it draws nothing and leaves the
// pending outcome as it was.
void CRouteSceneFrm::Look() { scene::GetSharedChoiceState().informed = true; }

CFrame* CRouteSceneFrm::ReplacePanel(CFrame*& panel, int32_t listId)
{
    DeletePanel(panel);
    panel = BuildListFrame(listId, this, this);
    return panel;
}

void CRouteSceneFrm::DeletePanel(CFrame*& panel)
{
    if (panel)
        panel->Destroy();
    panel = nullptr;
}

void CRouteSceneFrm::ShowRiverFacts()
{
    const CRouteNode* node = travel_.GetNode();
    const CRiverData* river = node ? node->GetRiverData() : nullptr;
    CFrame* panel = ReplacePanel(riverInfoPanel_, kRiverFacts);
    if (river) {
        SetText(panel, kConditionText, Entry(kConditions, river->GetSwiftness()));
        SetText(panel, kWidthText, std::to_string(river->GetWidth()));
        SetText(panel, kDepthText, scene::DepthText(river->GetDepthSixths()));
    }
    Draw(false);
}

void CRouteSceneFrm::ShowAdvice()
{
    const CRouteNode* node = travel_.GetNode();
    const CHilRecord* hill = node ? node->GetHill() : nullptr;
    const CWeather* weather = travel_.GetWeather();
    CFrame* panel = ReplacePanel(advicePanel_, kAdvicePanel);
    const int16_t index =
        scene::AdviceIndex(hill ? hill->GetDifficulty() : 0, hill && hill->GetAdviceFlag() != 0,
                           weather && weather->GetSnowDepth() != 0, WetGround());
    SetText(panel, kAdviceText, Entry(kAdvice, index));
    Draw(false);
}

bool CRouteSceneFrm::WetGround() const { return travel_.GetSceneFlag(CTrip::kFlagWeatherScene); }

scene::CrossingFacts CRouteSceneFrm::CrossingFacts() const
{
    scene::CrossingFacts facts;
    const CRouteNode* node = travel_.GetNode();
    if (const CRiverData* river = node ? node->GetRiverData() : nullptr) {
        facts.depthSteps = river->GetDepthSixths();
        facts.width = river->GetWidth();
        facts.condition = river->GetSwiftness();
    }
    if (const CWeather* weather = travel_.GetWeather()) {
        facts.freezingDays = weather->CountFreezingDays();
        facts.high = weather->GetHigh(0);
        facts.precipToday = weather->GetPrecipSum(0);
    }
    if (CParty* party = travel_.GetParty()) {
        facts.supplyWeight = party->GetSupplies() ? party->GetSupplies()->GetTotalWeight() : 0;
        party->GetTravelRate();
        facts.overloaded = party->GetLoadState() == kLoadOverloaded;
        facts.skilled = party->HasSkill(kSkillOne);
    }
    return facts;
}

scene::HillFacts CRouteSceneFrm::HillFacts() const
{
    scene::HillFacts facts;
    const CRouteNode* node = travel_.GetNode();
    if (const CHilRecord* hill = node ? node->GetHill() : nullptr)
        facts.difficulty = hill->GetDifficulty();
    if (CParty* party = travel_.GetParty()) {
        party->GetTravelRate();
        facts.overloaded = party->GetLoadState() == kLoadOverloaded;
    }
    const CWeather* weather = travel_.GetWeather();
    facts.wetOrSnow = WetGround() || (weather && weather->GetSnowDepth() != 0);
    return facts;
}

// The ferryman is paid whatever comes of the crossing; the money never goes below nothing.
void CRouteSceneFrm::PayFerry()
{
    const CRouteNode* node = travel_.GetNode();
    const CRiverData* river = node ? node->GetRiverData() : nullptr;
    CParty* party = travel_.GetParty();
    if (!river || !party)
        return;
    const double fee = river->GetFerryDollars();
    party->AddMoney(-(fee < party->GetMoney() ? fee : party->GetMoney()));
}

int32_t CRouteSceneFrm::OutcomeClip(int32_t id, bool success) const
{
    switch (id) {
    case scene::kFord: return success ? 980 : 982;
    case scene::kFerry: {
        const bool second = CUtil::Random(0, 1) == 1;
        return success ? (second ? 970 : 975) : (second ? 972 : 977);
    }
    case scene::kRiverThird: return success ? 985 : 987;
    default: break;
    }
    if (id <= 354)
        return success ? 967 : 965;
    const CQM3Doc* doc = GetCurDoc();
    return success ? (doc && doc->GetDisc() == 3 ? 990 : 995) : 992;
}

void CRouteSceneFrm::Choose(int32_t id)
{
    const bool river = id >= scene::kFord;
    StopSounds(nullptr, 0);
    if (id != scene::kRiverThird)
        DisableScene();
    if (id == scene::kFerry)
        PayFerry();
    const scene::ChoiceRoll roll =
        river ? scene::RollCrossing(id, CrossingFacts()) : scene::RollHill(id, HillFacts());
    outcome_ = roll.outcome;
    DeletePanel(river ? riverInfoPanel_ : advicePanel_);
    CFrame* panel = ReplacePanel(outcomePanel_, river ? kRiverPanel : id <= 354 ? kHillAPanel : kHillBPanel);
    if (id != scene::kRiverThird && content_)
        content_->Hide(true, true);
    // The scene is left once the clip has had its time, clip or none: the scene is disabled
    // now, so without the leave a missing clip would hold the party there for good. The leave
    // names this stop's build: should the party have left already and reached another stop,
    // that scene is not left by it.
    DeliverMessageDelayed(*this, CMessage(kMsgLeave, 0, builds_, -1), kClipTicks, this);
    closed_ = 0;
    // A clip opens once it is placed in the panel, so whether it exists is asked first.
    const int32_t clip = OutcomeClip(id, roll.success);
    if (!panel || !FindSmkResource(clip, CLibMgr::kAllLibraries)) {
        Draw(false);
        return;
    }
    auto* video = new CSmackerFrame(-2, CPoint(kClipX, kClipY), clip, CLibMgr::kAllLibraries, 0, this, 0);
    panel->AddChild(video, false);
    Draw(false);
    SendMsg(*video, CSmackerFrame::kMsgPlay, 1, 0, nullptr);
}

void CRouteSceneFrm::Raft()
{
    DisableScene();
    travel_.SetSceneReturn(true);
    const CRouteNode* node = travel_.GetNode();
    const CRiverData* river = node ? node->GetRiverData() : nullptr;
    if (node && river && !scene::RaftNeedsModule(node->LandmarkNumber(), river->GetDepth())) {
        outcome_ = kNoRaftOutcome;
        closed_ = 0;
        SendMsg(*this, kMsgLeave, 0, builds_, this);
        return;
    }
    travel_.RequestModule(kRaftModule);
}

void CRouteSceneFrm::ApplyOutcome()
{
    const int16_t outcome = static_cast<int16_t>(outcome_);
    outcome_ = 0;
    const CRouteNode* node = travel_.GetNode();
    const CRiverData* river = node ? node->GetRiverData() : nullptr;
    const CHilRecord* hill = node ? node->GetHill() : nullptr;
    if (!river && !hill)
        return;
    const std::optional<scene::OutcomeEvent> event =
        scene::EventForOutcome(outcome, hill ? std::optional<int16_t>(hill->GetDifficulty()) : std::nullopt,
                               river ? std::optional<int16_t>(river->GetSwiftness()) : std::nullopt);
    CEventGen* generator = travel_.GetEventGen();
    if (!event || !generator)
        return;
    if (event->routeEvent94)
        generator->RunRouteEvent(event->type);
    else
        generator->RunWagonMishap(event->type, event->amount, event->flagA, event->flagB);
}
