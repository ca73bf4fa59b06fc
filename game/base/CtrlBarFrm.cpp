#include "game/base/CtrlBarFrm.h"

#include "engine/controls/ImageFrame.h"
#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/anim/SeqWnd.h"
#include "engine/controls/text/PopWind.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/framework/Str.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleLinks.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"

namespace {

constexpr int16_t kBarDepth = -50;
constexpr int32_t kShotSound = 5900;

struct OptionToggle {
    int32_t message;
    const char* key;
    int32_t imageOn;
    int32_t imageOff;
    int32_t element;
};
constexpr OptionToggle kToggles[] = {
    {CCtrlBarFrm::kMsgToggleMusic, "musicon", 275, 276, 10370},
    {CCtrlBarFrm::kMsgToggleSound, "soundon", 270, 271, 10371},
    {CCtrlBarFrm::kMsgToggleCaptions, "closecap", 265, 266, 10372},
};

void DismissHelp()
{
    if (CPopWind* popup = CPopWind::GetPopup())
        popup->Dismiss();
}

void ShowHelpFor(CFrame* frame)
{
    if (CPopWind* popup = CPopWind::GetPopup())
        popup->ShowFor(frame);
}

// The frame or its first descendant with the id.
CFrame* FindById(CFrame* frame, int32_t id)
{
    if (!frame)
        return nullptr;
    if (frame->GetId() == id)
        return frame;
    for (CFrame* child : ChildFrames(*frame))
        if (CFrame* found = FindById(child, id))
            return found;
    return nullptr;
}

// Builds a template list over the image cache with no owner; the bar hears its objects.
CFrame* BuildList(int32_t listId, CFrame* root, CBaseObj* target)
{
    CTplList list(listId, CLibMgr::kAllLibraries, GetRsrcCache());
    return dynamic_cast<CFrame*>(list.Build(root, target, 0));
}

} // namespace

CCtrlBarFrm::CCtrlBarFrm(const CRect& rect) : CAnimModule(rect)
{
    StoreId(kId);
    SetShown(true);
}

CCtrlBarFrm::~CCtrlBarFrm()
{
    delete textLine_;
    if (panelContents_ && panelContents_->GetParent() == nullptr)
        delete panelContents_;
    StopTimer();
}

int32_t CCtrlBarFrm::ElementSetFor(int32_t type, bool landmarkFour)
{
    switch (type) {
    case 2: return landmarkFour ? 50000 : 55002;
    case 3: return 57001;
    case 4: return 55001;
    case 6:
    case 8: return 52000;
    case 7: return 51000;
    default: return 50000;
    }
}

int32_t CCtrlBarFrm::PanelListFor(int32_t type)
{
    switch (type) {
    case 0: return 54000;
    case 4: return 55000;
    case 7: return 56001;
    case 6:
    case 8: return 56000;
    case 10: return 50001;
    default: return 57000;
    }
}

void CCtrlBarFrm::OnAttach()
{
    if (CWind* window = GetMenuWnd())
        window->SetCloseTarget(this);
    SetTakesInput(false);
    Enable(true, false, false);
    SetTransparent(true);
    MoveTo(GetH(), GetV(), kBarDepth);
}

bool CCtrlBarFrm::AtLandmarkFour() const
{
    const CModuleMgr* manager = GetParent() ? GetModuleMgr() : nullptr;
    const auto* travel = manager ? manager->GetModuleAs<CTravelLink>(CModuleMgr::kTravel) : nullptr;
    return travel && travel->GetNodeLandmark() == 4;
}

void CCtrlBarFrm::SetupForModule(int32_t type)
{
    DismissHelp();
    LoadElements(ElementSetFor(type, AtLandmarkFour()));
    switch (type) {
    case 0:
    case 1:
    case 5:
    case 9:
    case 10:
    case 11:
    case -1: SetTransparent(true); break;
    case 7: {
        shotCount_ = kMaxShots;
        for (CFrame* child : ChildFrames(*this)) {
            const int32_t id = child->GetId();
            if (id >= kFirstShotId && id < kFirstShotId + kMaxShots)
                shots_[static_cast<size_t>(id - kFirstShotId)] = child;
            else if (id == kShotAnimId)
                shotAnim_ = child;
        }
        if (auto* gun = dynamic_cast<CSeqWnd*>(shotAnim_))
            gun->SetAnimation(kGunIdle);
        StartTimer(10, nullptr);
        break;
    }
    default: break;
    }
    ShowHelpFor(this);
}

void CCtrlBarFrm::ForgetElements()
{
    panelContents_ = nullptr;
    textLine_ = nullptr;
    shots_.fill(nullptr);
    shotAnim_ = nullptr;
}

void CCtrlBarFrm::LoadElements(int32_t setId)
{
    if (setId != elementSet_) {
        // The element that asked for this may still be dispatching: deferred deletion.
        for (CFrame* child : ChildFrames(*this))
            child->Destroy();
        ForgetElements();
        BuildList(setId, this, this);
        elementSet_ = setId;
    }
    MoveTo(GetH(), GetV(), kBarDepth);
}

void CCtrlBarFrm::SetMessage(std::unique_ptr<CStr> text)
{
    if (textLine_) {
        textLine_->Destroy();
        textLine_ = nullptr;
    }
    if (text) {
        CRect area = GetDrawnRect();
        area.Set(static_cast<int16_t>(area.GetTop() + 5), static_cast<int16_t>(area.GetLeft() + 50),
                 static_cast<int16_t>(area.GetBottom() - 5), static_cast<int16_t>(area.GetRight() - 50));
        textLine_ = new CTextFrame(-2, area, std::move(text), 16, false, false);
        textLine_->SetTextColor(50);
        textLine_->SetBackColor(30);
        textLine_->SetTransparent(false);
        textLine_->MoveTo(area.GetLeft(), area.GetTop(), -5);
        textLine_->SetHJust(1);
        textLine_->SetVJust(1);
        AddChild(textLine_, false);
    }
    Draw(false);
}

void CCtrlBarFrm::RemoveShot()
{
    PlaySoundEffect(kShotSound, kSoundStreamed, 255);
    if (shotCount_ <= 0)
        return;
    --shotCount_;
    if (CFrame* icon = shots_[static_cast<size_t>(shotCount_)])
        icon->Hide(false, true);
    if (auto* gun = dynamic_cast<CSeqWnd*>(shotAnim_))
        gun->SetAnimation(kGunReload);
    Draw(true);
}

void CCtrlBarFrm::SetShotCount(int16_t n)
{
    shotCount_ = n < 0 ? 0 : (n > kMaxShots ? kMaxShots : n);
    if (shotAnim_)
        shotAnim_->SetShown(true);
    for (int16_t i = 0; i < shotCount_; ++i)
        if (CFrame* icon = shots_[static_cast<size_t>(i)])
            icon->SetShown(true);
    Draw(true);
}

int16_t CCtrlBarFrm::GetShotState() const
{
    const auto* gun = dynamic_cast<const CSeqWnd*>(shotAnim_);
    if (!gun)
        return 0;
    const int16_t animation = gun->GetAnimation();
    return animation != CSeqWnd::kNoAnimation && animation != kGunIdle ? kShotReloading : 0;
}

void CCtrlBarFrm::SaveEnabled(bool flag, int32_t recurse)
{
    CAnimModule::SaveEnabled(flag, recurse);
    if (panel_)
        panel_->Enable(true, false, true);
}

void CCtrlBarFrm::ShowOptionImage(int32_t imageId, int32_t element)
{
    auto* target = dynamic_cast<CImageWnd*>(FindById(panelContents_, element));
    if (!target)
        return;
    if (std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, imageId, false, 1)) {
        target->SetImages(image.release(), true);
        target->Draw(true);
    }
}

void CCtrlBarFrm::ToggleOption(const char* key, int32_t imageOn, int32_t imageOff, int32_t element)
{
    const bool on = !GetOption(key);
    SetOption(key, on);
    ShowOptionImage(on ? imageOn : imageOff, element);
}

void CCtrlBarFrm::OpenPanel()
{
    DismissHelp();
    if (panelContents_) {
        panelContents_->Destroy();
        panelContents_ = nullptr;
    }
    const int32_t type = GetModuleMgr() ? GetModuleMgr()->GetCurModule() : -1;
    panelContents_ = BuildList(PanelListFor(type), nullptr, this);
    for (const OptionToggle& t : kToggles)
        if (!GetOption(t.key))
            ShowOptionImage(t.imageOff, t.element);
    CWind* top = GetMenuWnd();
    CFrame* screen = top ? top->GetFirstFrame() : nullptr;
    panel_ = new CImageFrame(-2, screen ? screen->GetDrawnRect() : GetDrawnRect(), true);
    panel_->SetTakesInput(true);
    if (panelContents_) {
        panelContents_->RemoveFromParent();
        panel_->AddChild(panelContents_, false);
    }
    ShowHelpFor(panelContents_);
    panelChoice_ = 0;
    panel_->Run(top, false);
    DismissHelp();
    CImageFrame* panel = panel_;
    panel_ = nullptr;
    panelContents_ = nullptr;
    panel->Destroy();
    if (CMainWnd* main = GetMainWnd()) {
        if (panelChoice_ == kChoiceGuidebook)
            SendMsg(*main, CMainWnd::kMsgRequestModule, 4, 1, this);
        else if (panelChoice_ == kChoiceTripStatus)
            SendMsg(*main, CMainWnd::kMsgRequestModule, 2, 1, this);
    }
}

bool CCtrlBarFrm::HandleMessage(CMessage& message, CBaseObj* sender)
{
    const int32_t id = message.GetId();
    for (const OptionToggle& t : kToggles)
        if (id == t.message) {
            ToggleOption(t.key, t.imageOn, t.imageOff, t.element);
            return true;
        }
    CBaseAppl* appl = GetApplication();
    switch (id) {
    case kMsgOpenPanel: OpenPanel(); break;
    case kMsgQuit:
        if (appl)
            SendMsg(*appl, -26, 0, 0, this);
        break;
    case kMsgSave:
        if (appl)
            SendMsg(*appl, -27, 0, 0, this);
        break;
    default:
        if (panel_) {
            panelChoice_ = static_cast<int32_t>(message.GetParam(0));
            SendMsg(*panel_, kMsgEndModal, 0, 0, sender);
        }
        break;
    }
    (void)sender;
    return true;
}
