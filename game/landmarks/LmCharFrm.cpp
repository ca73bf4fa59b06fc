#include "game/landmarks/LmCharFrm.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/Util.h"
#include "engine/media/SmackerFrame.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/save/QM3Doc.h"
#include "game/landmarks/LandmarkTrip.h"
#include "game/landmarks/LmCharDataRecord.h"
#include "game/landmarks/LmCharHost.h"
#include "game/landmarks/LmCharVideo.h"
#include "game/landmarks/TLmCharFrm.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"

namespace {

// Continue and stop actions.
enum Action : int32_t {
    kActPlay = 3,
    kActShowList = 5,
    kActShowLast = 7,
    kActTransition = 8,
    kActHideAndShow = 9,
    kActLastFrame = 10,
    kActFirstFrame = 11,
    kActRandomList = 12,
    kActMoraleList = 13,
    kActBroadcast = 15,
};

// The video flag every character's video gets; the video frame gives it no meaning.
constexpr uint32_t kCharacterVideoFlag = 0x80;
// A visit count's step in the landmark flag of a FILENAME RANDOM character.
constexpr int32_t kVisitStep = 10;
// Frame 999 is the clip's last.
constexpr int32_t kLastFrame = 999;
// Item type 35 is money; its quantity in a traveller's goods shows in the popup.
constexpr int16_t kMoneyItem = 35;
// The last party slot a person can join in (so a pair cannot start there).
constexpr int16_t kLastPartySlot = 4;
// A popup placed beside a character stays within the screen's width.
constexpr int32_t kScreenWidth = 640;

constexpr const char* kLastOnlyText = "LM_KILL_N_LOAD_MSG has to be the last stop condition.";
constexpr const char* kLastOnlyCaption = "CTLmCharFrm::TemplateError.";

// Person ids of the continue values' person codes 1..20.
constexpr int16_t kPersonOfCode[20] = {7, 4, 15, 11, 16, 3, 20, 6, 5, 17, 1, 19, 12, 9, 10, 14, 18, 2, 8, 13};

// The quantity of money in the goods of market slot i; 0 without such a market or line.
int16_t MoneyInMarket(int16_t slot)
{
    const CTravel* travel = GetTravelModule();
    const CMarket* market = travel ? travel->GetMarket(slot) : nullptr;
    if (!market)
        return 0;
    for (int16_t line = 0; line < market->GetItemCount(); ++line)
        if (market->GetItemId(line) == kMoneyItem)
            return market->GetQuantity(line);
    return 0;
}

} // namespace

CLmCharFrm::CLmCharFrm(int32_t id, const CPoint& at) : CFrame(kKind, id, at, true) { SetTakesInput(true); }

CLmCharFrm::~CLmCharFrm() = default;

void CLmCharFrm::SetDataRecord(std::unique_ptr<CLmCharDataRecord> record) { record_ = std::move(record); }

void CLmCharFrm::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    CFrame::SetOwner(owner);
    if (owner)
        RegisterLiveObject(this);
}

int16_t CLmCharFrm::PersonOfCode(int32_t code)
{
    return code >= 1 && code <= 20 ? kPersonOfCode[code - 1] : 0;
}

// ---- The video ----

void CLmCharFrm::StartMovie()
{
    if (!record_ || video_)
        return;
    CLmCharDataRecord& r = *record_;
    int32_t clipId = r.GetFileId();
    if (r.GetFileMode() == CLmCharDataRecord::kFileRandom)
        clipId = ChooseRandomClip();
    uint32_t flags = r.GetFlags() | kCharacterVideoFlag;
    if (r.GetLoop())
        flags |= CSmackerFrame::kLoop;
    if (r.GetAutoPlay())
        flags |= CSmackerFrame::kAutoPlay;
    if (std::unique_ptr<CSmackerFrame> made =
            MakeLmCharVideo(GetDrawnRect().TopLeft(), clipId, r.GetLibMask(), r.GetFileName(), flags)) {
        CSmackerFrame* video = made.release();
        video->SetClickMode(0);
        video->SetVisible(true);
        // Being added gives it its owner, which opens the clip.
        AddChild(video, true);
        if (video->GetState() == CSmackerFrame::kNoMovie) {
            video->RemoveFromParent();
            delete video;
        } else {
            video_ = video;
            SetBounds(video->GetDrawnRect());
        }
    }
    if (clipId < kFirstUncaptioned || clipId > kLastUncaptioned)
        ShowCaption();
    StartTimer(1, nullptr);
}

int32_t CLmCharFrm::ChooseRandomClip()
{
    CLmCharDataRecord& r = *record_;
    const int32_t base = r.GetFileId();
    const int32_t lines = r.GetLineCount();
    CQM3Doc* doc = GetCurDoc();
    const int64_t stored = doc ? doc->GetLMFlag(base) : -1;
    // 11 after the first visit, 21 after the second...; a count that would pass the largest
    // number stays there.
    int64_t visits = stored < 1 ? kVisitStep : stored + kVisitStep;
    visits = std::min<int64_t>(visits, std::numeric_limits<int32_t>::max());
    if (visits % 2 == 0)
        ++visits;
    if (doc)
        doc->SetLMFlag(base, static_cast<int32_t>(visits));
    if ((visits - 1) / kVisitStep >= lines)
        r.SetClickMode(kClickNone);
    return CUtil::Random(base, base + lines - 1, 1);
}

void CLmCharFrm::ShowCaption()
{
    CLmCharDataRecord& r = *record_;
    auto* host = dynamic_cast<CLmCharHost*>(GetParent());
    if (host && r.GetCaption())
        r.SetCaption(host->ShowCaption(r.TakeCaption()));
    if (CFrame* parent = GetParent())
        parent->Draw(false);
}

bool CLmCharFrm::OnTimer()
{
    StopTimer();
    if (record_ && record_->GetFileMode() == CLmCharDataRecord::kFileIdle) {
        ScheduleIdlePlay(static_cast<int16_t>(record_->GetPrePause()));
        if (video_)
            video_->Draw(true);
    }
    return true;
}

void CLmCharFrm::ScheduleIdlePlay(int16_t pause)
{
    int32_t delay = pause < 1 ? -static_cast<int32_t>(pause) : CUtil::Random(0, pause, 1);
    delay = std::clamp<int32_t>(delay, 1, std::numeric_limits<int16_t>::max());
    SendMessageRecord(*this, kMsgIdlePlay, static_cast<int16_t>(delay), GetId(), 0, this);
}

// ---- Messages and clicks ----

bool CLmCharFrm::HandleMessage(CMessage& message, CBaseObj*)
{
    // What the actions delete waits until they are done.
    CDispatchScope scope;
    switch (message.GetId()) {
    case CSmackerFrame::kMsgVideoDone: return OnVideoEvent(static_cast<int32_t>(message.GetParam(0)));
    case kMsgMouse:
        if (message.GetParam(2) == 1) {
            ++clickCount_;
            OnClick();
        }
        return false;
    case kMsgIdlePlay:
        if (message.GetParam(0) == GetId() && video_)
            video_->Play(1);
        return false;
    default: return false;
    }
}

bool CLmCharFrm::OnVideoEvent(int32_t event)
{
    if (!record_)
        return false;
    switch (event) {
    case kEventClick: ProcessOnContinue(); return true;
    case kEventFinished:
        if (record_->GetFileMode() == CLmCharDataRecord::kFileIdle) {
            ScheduleIdlePlay(static_cast<int16_t>(record_->GetPostPause()));
            return false;
        }
        [[fallthrough]];
    case kEventPaused:
        if (!CheckCondition(kContinueList, kActPlay))
            record_->SetClickMode(kClickContinue);
        ProcessOnStop();
        return true;
    default: return false;
    }
}

void CLmCharFrm::SendEvent(int32_t event)
{
    CMessage message(CSmackerFrame::kMsgVideoDone, event, 0, -1);
    DeliverMessage(*this, message, this, false);
}

void CLmCharFrm::OnClick()
{
    if (!record_)
        return;
    switch (record_->GetClickMode()) {
    case kClickContinue:
        if (record_->GetContinueValue(0) < kPopupBelow)
            ShowPopup();
        else
            SendEvent(kEventClick);
        return;
    case kClickToggle:
    case kClickIdle: ToggleVideo(record_->GetClickMode() == kClickIdle); return;
    default: return;
    }
}

void CLmCharFrm::ToggleVideo(bool idleMode)
{
    // In click mode 4 a pause shows the clip's last frame and reports the clip finished.
    if (idleMode && video_)
        video_->SetClickMode(kClickIdle);
    if (clickCount_ >= 2 || !video_)
        return;
    const CFrame* parent = GetParent();
    if (!video_->IsPlaying()) {
        video_->Play(0);
        SendEvent(kEventPlaying);
    } else {
        video_->Pause();
        SendEvent(kEventPaused);
    }
    if (!IsGone(parent) && video_)
        video_->SetClickMode(0);
}

// ---- The popup and the party ----

void CLmCharFrm::ShowPopup()
{
    const bool wasPlaying = video_ && video_->IsPlaying();
    const int32_t listId = record_->GetPopupResId();
    if (listId == 0)
        return;
    if (wasPlaying)
        video_->Stop();
    int16_t slot = 0;
    std::unique_ptr<CImageFrame> popup;
    {
        CTplList list(listId, CLibMgr::kAllLibraries, GetRsrcCache());
        for (int16_t i = 0; i < kPickCount; ++i)
            if (list.Find(kFirstPick + i)) {
                slot = i;
                break;
            }
        // The popup runs as a modal layer of its own, so it is built without a parent; the
        // character hears its controls.
        std::unique_ptr<CBaseObj> built(list.Build(nullptr, this, 0));
        if (auto* frame = dynamic_cast<CImageFrame*>(built.get())) {
            built.release();
            popup.reset(frame);
        }
    }
    if (!popup)
        return;
    if (listId == kBesidePopup)
        PlaceBeside(*popup);
    if (auto* money = dynamic_cast<CTextFrame*>(popup->FindObject(kAnyKind, kMoneyText))) {
        char text[16];
        std::snprintf(text, sizeof text, "$ %hd", MoneyInMarket(slot));
        money->SetText(std::make_unique<CStr>(text));
    }
    const CFrame* parent = GetParent();
    const int32_t result = popup->Run(CWind::GetTopWnd(), false);
    popup.reset();
    if (IsGone(parent))
        return;
    if (result >= kFirstPick && result < kFirstPick + kPickCount)
        OnPickMe(static_cast<int16_t>(result - (kFirstPick - 1)));
    else if (result == kResume && wasPlaying && video_)
        video_->Play(0);
}

void CLmCharFrm::PlaceBeside(CImageFrame& popup) const
{
    const CRect& me = GetDrawnRect();
    const int16_t width = popup.GetDrawnRect().GetWidth();
    int32_t h = me.GetRight();
    if (h + width > kScreenWidth)
        h = kScreenWidth + 1 - width;
    // The popup is a layer of the window, placed in the window's client coordinates.
    popup.MoveToPoint(
        CPoint(static_cast<int16_t>(h), static_cast<int16_t>(me.GetTop() + me.GetHeight() / 2)));
}

void CLmCharFrm::OnPickMe(int16_t personId)
{
    if (!record_)
        return;
    if (record_->GetPickMeResId() == 0) {
        CTLmCharFrm::ErrorMessage("PickMe resource ID not found in template", "CLmCharFrm::OnPickMe()",
                                  record_.get());
        return;
    }
    CParty* party = GetTravelParty();
    if (!party)
        return;
    const int16_t partner = CTrip::GetPartner(personId);
    for (int16_t slot = 1; slot <= kLastPartySlot; ++slot) {
        const CPartyMember* member = party->GetMember(slot);
        if (member && member->GetId() == personId)
            return;
        if (member)
            continue;
        // A pair needs this slot and the next; the count grows to take in whoever joins, so a
        // member who no longer travels keeps a place.
        const int16_t joining = partner ? 2 : 1;
        if (partner && (slot == kLastPartySlot || party->GetMember(static_cast<int16_t>(slot + 1))))
            return;
        party->CreateMember(slot, personId);
        if (partner)
            party->CreateMember(static_cast<int16_t>(slot + 1), partner);
        party->SetMemberCount(
            std::max<int16_t>(party->CountMembers(false), static_cast<int16_t>(slot + joining)));
        SendToParent(kMsgShowList, GetId(), record_->GetPickMeResId(), 1);
        return;
    }
}

// ---- The actions ----

bool CLmCharFrm::CheckCondition(int32_t list, int32_t action) const
{
    if (list != kStopList && list != kContinueList) {
        CTLmCharFrm::ErrorMessage("Can only check for ONSTOP or ONCONTINUE commands",
                                  "CLmCharFrm::CheckCondition", record_.get());
        return false;
    }
    if (!record_)
        return false;
    const bool stop = list == kStopList;
    const int16_t count = stop ? record_->GetStopCount() : record_->GetContinueCount();
    for (int16_t i = 0; i < count; ++i)
        if ((stop ? record_->GetStopAction(i) : record_->GetContinueAction(i)) == action)
            return true;
    return false;
}

void CLmCharFrm::SendToParent(int32_t id, int32_t param1, int32_t param2, int16_t delay)
{
    if (CFrame* parent = GetParent())
        SendMessageRecord(*parent, id, delay, param1, param2, this);
}

bool CLmCharFrm::IsGone(const CFrame* parent) const
{
    if (GetParent() != parent)
        return true;
    for (const CFrame* f = this; f; f = f->GetParent())
        if (IsDeletePending(f))
            return true;
    return false;
}

bool CLmCharFrm::BroadcastStored(bool delayed, const CFrame* parent)
{
    std::unique_ptr<CMessage> message = record_->TakeStoredMessage();
    if (!message)
        return true;
    if (delayed && message->GetId() == kMsgDelayedBroadcast)
        message->SetDelay(1);
    BroadcastMessage(*message, this);
    return !IsGone(parent);
}

void CLmCharFrm::ProcessOnStop()
{
    if (!record_)
        return;
    CDispatchScope scope;
    const CFrame* parent = GetParent();
    for (int16_t i = 0; i < record_->GetStopCount(); ++i) {
        const int32_t value = record_->GetStopValue(i);
        switch (record_->GetStopAction(i)) {
        case kActShowList:
        case kActRandomList:
        case kActMoraleList: SendToParent(kMsgShowList, GetId(), value, 1); break;
        case kActLastFrame:
            if (video_)
                video_->ShowFrame(kLastFrame, false);
            break;
        case kActFirstFrame:
            if (video_)
                video_->ShowFrame(1, false);
            break;
        case kActBroadcast:
            if (!BroadcastStored(true, parent))
                return;
            break;
        default: break;
        }
    }
}

void CLmCharFrm::ProcessOnContinue()
{
    if (!record_)
        return;
    CDispatchScope scope;
    const CFrame* parent = GetParent();
    const int16_t count = record_->GetContinueCount();
    for (int16_t i = 0; i < count; ++i)
        if (!RunContinueAction(i, count, parent))
            return;
}

bool CLmCharFrm::RunContinueAction(int16_t i, int16_t count, const CFrame* parent)
{
    const int32_t value = record_->GetContinueValue(i);
    const bool last = i == count - 1;
    switch (record_->GetContinueAction(i)) {
    case kActPlay:
        if (video_)
            video_->Play(1);
        return true;
    case kActShowList: {
        const int16_t person = PersonOfCode(value / 10000);
        const CTravel* travel = GetTravelModule();
        if (person == 0 || (travel && travel->IsPersonListed(person)))
            SendToParent(kMsgShowList, GetId(), value, 0);
        return true;
    }
    case kActShowLast:
        if (last)
            SendToParent(kMsgShowList, GetId(), value, 0);
        else
            ShowMessageBox(kLastOnlyText, kLastOnlyCaption, CMsgBox::kIconExclamation, CMsgBox::kButtonsOk,
                           1);
        return true;
    case kActTransition: {
        int32_t kind = value;
        if (kind != 0 && kind != 1) {
            CTLmCharFrm::ErrorMessage("Template data out of range for SCREEN_TRANS",
                                      "CLmCharFrm::ProcessOnContinue()", record_.get());
            kind = 0;
        }
        SendToParent(kMsgTransition, kind, 2, count);
        return true;
    }
    case kActHideAndShow:
        if (!last) {
            CTLmCharFrm::ErrorMessage(kLastOnlyText, kLastOnlyCaption, record_.get());
            return true;
        }
        Hide(false, false);
        SendToParent(kMsgTransition, 0, 2, -1);
        if (IsGone(parent))
            return false;
        SendToParent(kMsgShowList, GetId(), value, 0);
        return true;
    case kActRandomList:
    case kActMoraleList: SendToParent(kMsgShowList, GetId(), value, 0); return true;
    case kActBroadcast: return BroadcastStored(false, parent);
    default: return true;
    }
}
