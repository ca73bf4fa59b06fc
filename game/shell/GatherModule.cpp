#include "game/shell/GatherModule.h"

#include <algorithm>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/ScreenTransition.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/controls/native/ColorWnd.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Date.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/CtrlBarFrm.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/GameRecord.h"
#include "game/travel/Party.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"

namespace {

// The iris that closes the screen on a spoiled gathering.
constexpr int32_t kIrisSpeed = 10;

// The largest count one item takes.
int16_t ClampPackages(int32_t n) { return static_cast<int16_t>(std::clamp<int32_t>(n, 0, INT16_MAX)); }

// The close target this screen took over, when it is still there to be given back: the
// control bar of the running game or the application. Anything else may be gone by now (the
// game window takes the control bar down before its modules), so the window is then left
// without one.
CEventObj* LiveCloseTarget(CEventObj* before)
{
    CCtrlBarFrm* bar = GetCtrlBar();
    if (before && ((bar && before == bar->GetGraphic()) || before == GetApplication()))
        return before;
    return nullptr;
}

} // namespace

CGatherModule::CGatherModule(const CRect& rect) : CFrameModule(rect)
{
    SetTakesInput(true);
    SetId(kFrameId);
    plantNames_ = CreateTplRec(kPlantNames, CLibMgr::kAllLibraries, false);
    ReadPlantTable();
}

CGatherModule::~CGatherModule()
{
    DeleteScreen();
    if (CWind* menu = GetMenuWnd(); menu && menu->GetCloseTarget() == this)
        menu->SetCloseTarget(LiveCloseTarget(closeTargetBefore_));
}

int16_t CGatherModule::SeasonColumn(int16_t month)
{
    return (month >= 3 && month <= 5) || (month >= 9 && month <= 11) ? 2 : 1;
}

CTravel* CGatherModule::TravelModule() const
{
    CModuleMgr* manager = GetModuleMgr();
    if (!GetParent() || !manager)
        return nullptr;
    return dynamic_cast<CTravel*>(manager->GetModule(CModuleMgr::kTravel));
}

void CGatherModule::ReadPlantTable()
{
    const CGameRecord record("PTP", kPlantTable);
    if (!record.Exists())
        return;
    for (int i = 0; i < kPlantTableWords; ++i)
        plantTable_[static_cast<size_t>(i)] = record.Short(2 * i);
}

void CGatherModule::ReadGatherTable(int32_t id)
{
    const CGameRecord record("GTR", id);
    if (!record.Exists())
        return;
    for (int i = 0; i < kEntryCount; ++i) {
        Entry& e = table_[static_cast<size_t>(i)];
        e.picture = record.Short(8 * i);
        e.plant = record.Short(8 * i + 2);
        e.amount = record.Short(8 * i + 4);
        e.unused = record.Short(8 * i + 6);
    }
}

void CGatherModule::DrawPicks()
{
    column_ = 1;
    plants_ = 0;
    if (CTravel* travel = TravelModule()) {
        if (const CDate* date = travel->GetCurDate())
            column_ = SeasonColumn(date->GetMonth());
        if (const CRouteNode* node = travel->GetRouteNode())
            plants_ = node->GetPlants();
    }
    ReadGatherTable(GetGatherTableId());

    // The filled entries: a picture, and a plant number the plant table holds. Tables keep
    // them first, so their positions are the entry numbers the draws name.
    std::vector<int16_t> filled;
    for (int i = 0; i < kEntryCount; ++i) {
        const Entry& e = table_[static_cast<size_t>(i)];
        if (e.picture != 0 && e.plant >= 1 && e.plant <= kPlantCount)
            filled.push_back(static_cast<int16_t>(i));
    }
    // As many different picks as there are filled entries, at most four: a draw that repeats
    // an earlier pick is drawn again.
    pickCount_ = static_cast<int16_t>(std::min<size_t>(kPickCount, filled.size()));
    for (int i = 0; i < pickCount_; ++i) {
        int32_t drawn = 0;
        do
            drawn = CUtil::Random(0, static_cast<int32_t>(filled.size()) - 1, 1);
        while (std::any_of(picks_.begin(), picks_.begin() + i,
                           [&](const Pick& p) { return p.entry == filled[static_cast<size_t>(drawn)]; }));
        Pick& pick = picks_[static_cast<size_t>(i)];
        pick.entry = filled[static_cast<size_t>(drawn)];
        const Entry& e = table_[static_cast<size_t>(pick.entry)];
        pick.amount = e.amount;
        const CStr* name = plantNames_ ? plantNames_->GetEntry(e.plant) : nullptr;
        pick.name = name ? *name : CStr();
        pick.kind = plantTable_[static_cast<size_t>(e.plant - 1)];
        pick.topic = EvenTopic(plantTable_[static_cast<size_t>(kPlantCount - 1 + e.plant)]);
    }
}

void CGatherModule::OnAttach()
{
    if (CWind* menu = GetMenuWnd()) {
        closeTargetBefore_ = menu->GetCloseTarget();
        menu->SetCloseTarget(this);
    }
    SetMapProc(nullptr);
    SetTakesInput(true);
    DrawPicks();
    BuildScreen();
    Enable(true, true, false);
}

void CGatherModule::Suspend()
{
    CModule::Suspend();
    DeleteScreen();
}

void CGatherModule::Resume()
{
    if (GetState() != kStateSuspended)
        return;
    CModule::Resume();
    BuildScreen();
    Enable(true, true, false);
}

void CGatherModule::DeleteScreen()
{
    if (screen_) {
        screen_->RemoveFromParent();
        delete screen_;
    }
    screen_ = nullptr;
    buttons_ = {};
    pages_ = {};
    markers_ = {};
    countImage_ = nullptr;
    resultPanel_ = nullptr;
    resultText_ = nullptr;
    resultButton_ = nullptr;
}

void CGatherModule::BuildScreen()
{
    CTplList list(kScreenList, CLibMgr::kAllLibraries, GetRsrcCache());
    screen_ = dynamic_cast<CFrame*>(list.Build(this, this, 0));
    FindScreenObjects();
    ShowState();
    if (gathered_)
        ShowResult();
    if (screen_)
        screen_->Draw(true);
}

void CGatherModule::FindScreenObjects()
{
    for (int i = 0; i < kPickCount; ++i) {
        buttons_[static_cast<size_t>(i)] = FindAs<CImgBtnWnd>(kPickButton + i);
        pages_[static_cast<size_t>(i)] = FindObject(CBaseObj::kAnyKind, kPickPage + i);
        markers_[static_cast<size_t>(i)] = FindAs<CImageWnd>(kMarker + i);
    }
    countImage_ = FindAs<CImageWnd>(kCountImage);
    resultPanel_ = FindObject(CBaseObj::kAnyKind, kResultPanel);
    if (resultPanel_) {
        resultText_ = resultPanel_->FindAs<CTextFrame>(kResultText);
        resultButton_ = resultPanel_->FindObject(CBaseObj::kAnyKind, kResultButton);
    }
    // The result's button takes the player back through the game window.
    if (auto* button = dynamic_cast<CInputFrame*>(resultButton_))
        button->SetNotifyTarget(GetParent());
}

void CGatherModule::ShowState()
{
    for (int i = 0; i < kPickCount; ++i) {
        const Pick& pick = picks_[static_cast<size_t>(i)];
        const bool drawn = i < pickCount_;
        if (CImgBtnWnd* button = buttons_[static_cast<size_t>(i)]) {
            button->SetNotifyTarget(this);
            if (drawn) {
                std::unique_ptr<CImgSet> picture =
                    LoadImage("CBM", 0, table_[static_cast<size_t>(pick.entry)].picture, true, 0);
                button->SetImages(picture.release());
            } else {
                // A table with fewer than four plants leaves the other picks out.
                button->Hide(true, true);
                button->Enable(false, true, false);
            }
        }
        if (CFrame* page = pages_[static_cast<size_t>(i)]; page && i != selection_)
            page->Hide(true, false);
        if (CImageWnd* marker = markers_[static_cast<size_t>(i)]) {
            marker->SetFrame(pick.take ? 0 : 1);
            if (pick.decided && drawn)
                marker->Show(true);
            else
                marker->Hide(true, false);
        }
    }
    ShowSelectedPage(pickCount_ > 0);
    if (countImage_)
        countImage_->SetFrame(static_cast<int16_t>(CountTaken()));
}

int32_t CGatherModule::CountTaken() const
{
    return static_cast<int32_t>(
        std::count_if(picks_.begin(), picks_.end(), [](const Pick& p) { return p.decided && p.take; }));
}

void CGatherModule::ShowSelectedPage(bool shown)
{
    CFrame* page = pages_[static_cast<size_t>(selection_)];
    if (shown) {
        if (page)
            page->Show(true);
        if (CModuleMgr* manager = GetModuleMgr())
            manager->SetGuideTopic(picks_[static_cast<size_t>(selection_)].topic);
    } else if (page) {
        page->Hide(true, true);
        page->UpdateWindow();
    }
}

bool CGatherModule::HandleMessage(CMessage& message, CBaseObj*)
{
    switch (message.GetId()) {
    case kMsgSelectPick: Select(message.GetParam(0)); break;
    case kMsgTake: Mark(true); break;
    case kMsgLeave: Mark(false); break;
    case kMsgGuidebook: TellGameWindow(kMsgOpenModule, kGuidebookModule, 1); break;
    case kMsgGather: Gather(); break;
    case kMsgMouse:
        if (message.GetParam(2) == CInputFrame::kMouseRelease && resultPanel_ && resultPanel_->IsShown())
            TellGameWindow(kMsgSwitchToGather, GetId(), 0);
        break;
    default: break;
    }
    return true;
}

void CGatherModule::TellGameWindow(int32_t id, MsgWord param1, MsgWord param2)
{
    if (CFrame* parent = GetParent())
        SendMsg(*parent, id, param1, param2, this);
}

void CGatherModule::Select(MsgWord pickNumber)
{
    // Only the picks drawn can be chosen.
    if (pickNumber < 1 || pickNumber > pickCount_)
        return;
    ShowSelectedPage(false);
    selection_ = static_cast<int16_t>(pickNumber - 1);
    ShowSelectedPage(true);
    if (screen_)
        screen_->Draw(true);
}

void CGatherModule::Mark(bool take)
{
    if (selection_ >= pickCount_)
        return;
    Pick& pick = picks_[static_cast<size_t>(selection_)];
    pick.decided = 1;
    pick.take = take ? 1 : 0;
    if (CImageWnd* marker = markers_[static_cast<size_t>(selection_)]) {
        marker->SetFrame(take ? 0 : 1);
        marker->Show(true);
    }
    if (countImage_)
        countImage_->SetFrame(static_cast<int16_t>(CountTaken()));
    if (screen_)
        screen_->Draw(true);
}

void CGatherModule::Gather()
{
    // A gather that added or posted something is the last one: the same plants are not
    // taken twice (a rebuilt screen offers the command again).
    if (gathered_)
        return;
    CTravel* travel = TravelModule();
    CSupplyList* supplies = travel && travel->GetParty() ? travel->GetParty()->GetSupplies() : nullptr;
    int32_t kind1 = 0;
    int32_t kind2 = 0;
    resultNames_.Empty();
    for (int i = 0; i < pickCount_; ++i) {
        const Pick& pick = picks_[static_cast<size_t>(i)];
        if (!pick.decided || !pick.take)
            continue;
        if (pick.kind == kKindItem76)
            kind1 += pick.amount;
        else if (pick.kind == kKindItem75)
            kind2 += pick.amount;
        else if (pick.kind == kKindSpoils)
            kind0_ = 1;
        resultNames_.Append(pick.name);
        resultNames_.Append(CStr("\r"));
    }
    kind1Total_ = ClampPackages(kind1);
    kind2Total_ = ClampPackages(kind2);

    if (kind0_) {
        gathered_ = true;
        Spoil();
        return;
    }
    if (kind1Total_ == 0 && kind2Total_ == 0) {
        TellGameWindow(kMsgLeaveScreen, GetId(), 0);
        return;
    }
    gathered_ = true;
    if (supplies) {
        const int32_t travellers = travel->GetParty()->CountMembers(true);
        supplies->AddItem75(ClampPackages(kind2Total_ * travellers));
        supplies->AddItem76(ClampPackages(kind1Total_ * travellers));
    }
    ShowResult();
    if (screen_)
        screen_->Draw(true);
}

void CGatherModule::ShowResult()
{
    if (screen_)
        for (CFrame* child : ChildFrames(*screen_)) {
            child->Hide(true, true);
            child->Enable(false, true, false);
        }
    if (resultText_)
        resultText_->SetText(std::make_unique<CStr>(resultNames_));
    if (resultPanel_) {
        resultPanel_->Show(true);
        resultPanel_->Enable(true, true, false);
    }
}

void CGatherModule::Spoil()
{
    const auto event = static_cast<int16_t>(kFirstSpoilEvent + CUtil::Random(0, 2, 1));
    if (CTravel* travel = TravelModule())
        travel->PostAndRunEvent(event, 0, 0, -1, nullptr);
    // The screen closes through an iris onto black.
    auto* black = new CColorWnd(-2, GetDrawnRect(), 0, kFlagBorders);
    AddChild(black, false);
    DoScreenTransition(this, kTransitionIris, kClosing, kIrisSpeed);
    RemoveChild(*black);
    delete black;
    TellGameWindow(kMsgLeaveScreen, GetId(), 0);
}
