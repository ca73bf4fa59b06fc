#include "game/travel/SceneFrame.h"

#include <memory>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/native/EditField.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Date.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/EventResolve.h"
#include "game/travel/Party.h"
#include "game/travel/RouteNode.h"
#include "game/travel/Travel.h"

namespace {

// The naming dialog's rows: row k holds a text (9200 + 20k) and a name field (9210 + 20k).
constexpr int32_t kNamingRow0Text = 9200;
constexpr int32_t kNamingRow0Field = 9210;
constexpr int32_t kNamingRowStep = 20;
constexpr int32_t kNamingRows = 5;
// The date as the naming dialog shows it.
constexpr int32_t kNamingDateFormat = 1;

bool TemplateListExists(int32_t id)
{
    CLibMgr* libraries = GetLibMgr();
    return libraries && libraries->GetResourceSize("TPL", id, CLibMgr::kAllLibraries) > 0;
}

// Builds template list `id` under `root` (null: its first object stands alone) with `owner`
// hearing its controls; null when the list does not exist or makes no frame.
CFrame* BuildTemplateList(int32_t id, CFrame* root, CBaseObj* owner)
{
    return TemplateListExists(id) ? BuildListFrame(id, root, owner) : nullptr;
}

// Gives element `id` of the dialog its text: a text frame shows it, a name field offers it
// selected. No text leaves the element as it is.
void SetElementText(CFrame& dialog, int32_t id, std::unique_ptr<CStr> text)
{
    if (!text)
        return;
    CFrame* element = dialog.FindObject(CBaseObj::kAnyKind, id);
    if (auto* field = dynamic_cast<CEditField*>(element))
        field->SetText(std::move(text), true);
    else if (auto* textFrame = dynamic_cast<CTextFrame*>(element))
        textFrame->SetText(std::move(text));
}

void HideElement(CFrame& dialog, int32_t id)
{
    if (CFrame* element = dialog.FindObject(CBaseObj::kAnyKind, id))
        element->Hide(true, false);
}

} // namespace

CRouteSceneFrm::CRouteSceneFrm(int32_t id, const CRect& rect, int32_t sceneId, CTravel& travel)
    : CFrame(kKindFrame, id, rect, true), travel_(travel), sceneId_(sceneId)
{
    SetTakesInput(true);
}

CRouteSceneFrm::~CRouteSceneFrm() = default;

void CRouteSceneFrm::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    CFrame::SetOwner(owner);
    if (owner)
        RegisterLiveObject(this);
}

void CRouteSceneFrm::DeleteContent()
{
    if (content_)
        content_->Destroy();
    content_ = nullptr;
}

void CRouteSceneFrm::OnAttach()
{
    DeleteContent();
    // A stop built anew has not been left yet, whatever the scene before it did.
    closed_ = 0;
    ++builds_;
    WriteEventLogLine("scene", travel_.GetCurDate(), {sceneId_});
    content_ = BuildTemplateList(sceneId_, this, this);
    DimFerryWhenPoor();
    HideForkObject();
    if (sceneId_ == kNamingScene && !namesAsked_) {
        namesAsked_ = 1;
        AskNames();
    }
}

// A fork's second branch below node 169 is no choice for a player without a post.
void CRouteSceneFrm::HideForkObject()
{
    const CRouteNode* node = travel_.GetNode();
    if (!node || !travel_.HasNoPost())
        return;
    const int16_t branch = node->GetNextNode(1);
    if (branch == 0 || branch >= kForkNodeLimit)
        return;
    if (CFrame* object = FindObject(CBaseObj::kAnyKind, kForkObject))
        object->Hide(true, false);
}

// The party's names: the leader's to keep or change, the companions' trail names to take or
// change. Rows beyond the members are hidden; an emptied field keeps the member's name.
void CRouteSceneFrm::AskNames()
{
    CParty* party = travel_.GetParty();
    if (!party)
        return;
    const std::unique_ptr<CTplRec> trailNames = CreateTplRec(kTrailNames, CLibMgr::kAllLibraries, false);
    const std::unique_ptr<CFrame> built(BuildTemplateList(kNamingDialog, nullptr, GetApplication()));
    auto* dialog = dynamic_cast<CImageFrame*>(built.get());
    if (!dialog)
        return;
    const int16_t members = party->CountMembers(false);
    if (const CDate* date = travel_.GetCurDate())
        SetElementText(*dialog, kNamingRow0Text, date->Format(kNamingDateFormat));
    if (const CPartyMember* leader = party->GetMember(0))
        SetElementText(*dialog, kNamingRow0Field, std::make_unique<CStr>(leader->GetName()));
    for (int32_t row = members; row < kNamingRows; ++row) {
        HideElement(*dialog, kNamingRow0Text + kNamingRowStep * row);
        HideElement(*dialog, kNamingRow0Field + kNamingRowStep * row);
    }
    for (int16_t slot = 1; slot < members; ++slot) {
        const CPartyMember* member = party->GetMember(slot);
        if (!member)
            continue;
        SetElementText(*dialog, kNamingRow0Text + kNamingRowStep * slot,
                       std::make_unique<CStr>(member->GetName()));
        SetElementText(*dialog, kNamingRow0Field + kNamingRowStep * slot,
                       trailNames ? trailNames->GetEntryString(member->GetId() - 1) : nullptr);
    }
    dialog->Run(CWind::GetTopWnd(), true);
    for (int16_t slot = 0; slot < members; ++slot) {
        auto* field = dynamic_cast<CEditField*>(
            dialog->FindObject(CBaseObj::kAnyKind, kNamingRow0Field + kNamingRowStep * slot));
        CPartyMember* member = party->GetMember(slot);
        if (!field || !member)
            continue;
        const std::unique_ptr<CStr> name = field->GetText();
        if (name && !name->IsEmpty())
            member->SetName(name->GetText());
    }
}

// Every message ends here: the scene's own, and the rest after the frame has seen them.
bool CRouteSceneFrm::HandleMessage(CMessage& message, CBaseObj* sender)
{
    switch (message.GetId()) {
    case kMsgLeave:
        if (!IsStaleLeave(message, sender))
            Leave();
        break;
    case kMsgLeaveNow: Leave(); break;
    case kMsgVisit: Visit(static_cast<int32_t>(message.GetParam(0))); break;
    case kMsgRest: Rest(); break;
    default:
        if (!HandleChoice(message.GetId()))
            CFrame::HandleMessage(message, sender);
        break;
    }
    return true;
}

void CRouteSceneFrm::DisableScene()
{
    Enable(false, false, true);
    Enable(true, false, false);
}

// The party moves on: the outcome of what it did here takes effect, the scene goes away and
// the travel screen goes on to the next node with its music. The scene is taken down before
// the screen moves on: should the next node be a stop as well, its scene is this frame built
// anew, which must stay.
void CRouteSceneFrm::Leave()
{
    if (closed_)
        return;
    DeletePanel(outcomePanel_);
    ApplyOutcome();
    DeleteContent();
    Hide(true, true);
    closed_ = 1;
    SendMsg(travel_, kMsgContinue, 0, 0, this);
    travel_.PlayTravelMusic();
}

bool CRouteSceneFrm::IsStaleLeave(const CMessage& message, const CBaseObj* sender) const
{
    return sender == this && message.GetParam(1) != builds_;
}

void CRouteSceneFrm::Visit(int32_t landmarkId)
{
    DisableScene();
    travel_.SetLandmarkId(landmarkId);
    travel_.RequestModule(CModuleMgr::kLandmark);
}

// The days dialog: a wait the player asks for runs in the landmark module; cancelled, the
// scene takes its buttons back.
void CRouteSceneFrm::Rest()
{
    DisableScene();
    if (!travel_.WaitFromDaysDialog())
        Enable(true, false, true);
}

void CTravel::SetCrossingCode(int32_t code)
{
    if (auto* scene = dynamic_cast<CRouteSceneFrm*>(sceneFrame_))
        scene->SetOutcome(code);
}

CFrame* MakeSceneFrame(CTravel& travel, int32_t sceneId)
{
    return new CRouteSceneFrm(CRouteSceneFrm::kFrameId, travel.GetDrawnRect(), sceneId, travel);
}

void SetSceneFrameId(CFrame& scene, int32_t sceneId)
{
    if (auto* frame = dynamic_cast<CRouteSceneFrm*>(&scene))
        frame->SetSceneId(sceneId);
}

void ApplySceneOutcome(CFrame& scene)
{
    if (auto* frame = dynamic_cast<CRouteSceneFrm*>(&scene))
        frame->ApplyOutcome();
}
