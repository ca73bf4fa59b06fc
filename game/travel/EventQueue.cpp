#include "game/travel/EventQueue.h"

#include <algorithm>
#include <array>

#include "engine/framework/Doc.h"
#include "game/base/save/Diary.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"

namespace {

CRouteEvent* EventOf(const CList::Node* node) { return static_cast<CRouteEvent*>(node->item); }

// Counts a run for as long as it lasts, even when a fatal report unwinds it.
class RunDepth {
public:
    explicit RunDepth(int& depth) : depth_(depth) { ++depth_; }
    ~RunDepth() { --depth_; }
    RunDepth(const RunDepth&) = delete;
    RunDepth& operator=(const RunDepth&) = delete;

private:
    int& depth_;
};

// The diary entry that announces event type t is entry t + 61.
constexpr int32_t kAnnounceEntry = 61;

} // namespace

void CPlainEventHandler::ShowEvent(CEventQueue& queue, CRouteEvent& event)
{
    event.SetStep(0);
    queue.ResolveEvent(event);
}

void CPlainEventHandler::ResolveEvent(CEventQueue&, CRouteEvent& event)
{
    event.SetState(CRouteEvent::kFinished);
}

CEventQueue::CEventQueue(CEventHost& host) : host_(host), handler_(std::make_unique<CPlainEventHandler>()) {}

CEventQueue::~CEventQueue() { DeleteAll(); }

void CEventQueue::DeleteAll()
{
    for (CList::Node* n = events_.GetHeadNode(); n; n = n->next)
        delete EventOf(n);
    events_.RemoveAll();
}

void CEventQueue::SetHandler(std::unique_ptr<CEventHandler> handler)
{
    handler_ = handler ? std::move(handler) : std::make_unique<CPlainEventHandler>();
}

CRouteEvent* CEventQueue::PostEvent(int16_t type, CEventArg first, CEventArg second, int16_t count, int16_t,
                                    CPartyMember* person)
{
    if (CRouteEvent* queued = FindPending(type))
        return queued;
    auto* event = new CRouteEvent(type, first, second, person);
    if (count != -1)
        event->SetCount(count);
    events_.AddTail(event);
    return event;
}

void CEventQueue::PostAndRunEvent(int16_t type, CEventArg first, CEventArg second, int16_t count,
                                  CPartyMember* person)
{
    CRouteEvent* event = FindPending(type);
    if (!event) {
        event = new CRouteEvent(type, first, second, person);
        if (count != -1)
            event->SetCount(count);
        events_.AddHead(event);
    }
    RunEvent(event);
}

CRouteEvent* CEventQueue::FindEvent(int16_t type) const
{
    for (const CList::Node* n = events_.GetHeadNode(); n; n = n->next)
        if (EventOf(n)->GetType() == type)
            return EventOf(n);
    return nullptr;
}

CRouteEvent* CEventQueue::FindPending(int16_t type) const
{
    for (const CList::Node* n = events_.GetHeadNode(); n; n = n->next)
        if (EventOf(n)->GetType() == type && EventOf(n)->GetState() != CRouteEvent::kFinished)
            return EventOf(n);
    return nullptr;
}

CRouteEvent* CEventQueue::GetEvent(int32_t i) const
{
    const CList::Node* n = events_.GetHeadNode();
    for (; n && i > 0; --i)
        n = n->next;
    return n && i == 0 ? EventOf(n) : nullptr;
}

void CEventQueue::Append(std::unique_ptr<CRouteEvent> event)
{
    if (event)
        events_.AddTail(event.release());
}

void CEventQueue::Save(CDoc& doc) const
{
    doc.WriteShort(GetCount()).WriteByte(recovery_);
    for (const CList::Node* n = events_.GetHeadNode(); n; n = n->next)
        EventOf(n)->Save(doc);
}

void CEventQueue::Load(CDoc& doc)
{
    int16_t count = 0;
    uint8_t recovery = 0;
    doc.ReadShort(count).ReadByte(recovery);
    if (doc.GetError() != CDoc::kOk)
        return;
    // A run under way stands on its events: they are not replaced under it.
    if (count < 0 || count > doc.Remaining() / CRouteEvent::kSavedSize || depth_ > 0) {
        doc.SetError(CDoc::kStreamFailure);
        return;
    }
    DeleteAll();
    recovery_ = recovery;
    for (int16_t i = 0; i < count; ++i) {
        std::unique_ptr<CRouteEvent> event = CRouteEvent::Load(doc, host_.GetParty());
        if (!event)
            return;
        Append(std::move(event));
    }
}

bool CEventQueue::RunsWhileSuspended(int32_t type)
{
    static constexpr std::array<int32_t, 8> kTypes = {63, 65, 64, 50, 10, 80, 78, 2};
    return std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end();
}

bool CEventQueue::IsLiveCondition(const CEventArg& arg, const CParty* party)
{
    const CHealthCond* condition = arg.GetCondition();
    return condition && party && party->IsMember(condition->GetPerson());
}

void CEventQueue::ReturnAnimals(const CRouteEvent& event)
{
    const CParty* party = host_.GetParty();
    const MsgWord n = event.GetSecond().GetValue();
    if (party && n > 0)
        party->GetSupplies()->AddItem(CParty::kDraughtAnimals,
                                      static_cast<int16_t>(std::min<MsgWord>(n, 32767)));
}

bool CEventQueue::CanRun() const
{
    if (abandoned_)
        return false;
    const CParty* party = host_.GetParty();
    if (!party || party->CountMembers(true) == 0)
        return false;
    const CPartyMember* leader = party->GetMember(0);
    return leader && leader->GetStatus() != 0;
}

void CEventQueue::RunEvent(CRouteEvent* event)
{
    if (!CanRun())
        return;
    if (event && !RunsWhileSuspended(event->GetType()) && host_.IsTripSuspended())
        return;
    const bool panelDisabled = !host_.IsTravelFrameEnabled();
    if (panelDisabled)
        host_.EnableRoutePanel(false);
    {
        const RunDepth run(depth_);
        if (!event)
            RunQueue();
        else if (event->GetState() == CRouteEvent::kNew && !IsSpent(*event))
            Announce(*event);
    }
    if (depth_ == 0)
        Sweep();
    if (panelDisabled)
        host_.EnableRoutePanel(true);
}

void CEventQueue::RunQueue()
{
    // Nodes are freed only by the outermost sweep, so the node in hand stays valid while its
    // event runs; its next node is read afterwards, which takes in events queued meanwhile.
    // The walk ends when the leader dies (or the party goes) on the way: the trip then quits
    // or starts over, and no further dialog may run under it.
    for (CList::Node* n = events_.GetHeadNode(); n && host_.IsTravelFrameEnabled() && CanRun(); n = n->next)
        RunOne(*EventOf(n));
}

void CEventQueue::RunOne(CRouteEvent& event)
{
    // An event whose member has gone is left to the sweep, unseen.
    if (IsSpent(event))
        return;
    if (event.GetState() == CRouteEvent::kNew)
        Announce(event);
    else if (event.GetState() == CRouteEvent::kResolveAgain)
        ResolveEvent(event);
    // An event shown again and again (records whose every choice asks to be shown again) waits
    // for the next run after a while rather than holding the day forever.
    for (int shown = 0;
         shown < kMaxShowsPerRun && event.GetState() == CRouteEvent::kShowAgain && !IsSpent(event); ++shown)
        ShowEvent(event);
}

void CEventQueue::Announce(CRouteEvent& event)
{
    if (CDiary* diary = host_.GetDiary())
        diary->PostString(static_cast<int16_t>(event.GetType() + kAnnounceEntry));
    if (notify_ != 0)
        ClearNotify();
    event.SetStep(-1);
    ShowEvent(event);
}

void CEventQueue::ClearNotify()
{
    notify_ = 0;
    host_.SendToTravelFrame(CEventHost::kMsgEventGone);
}

bool CEventQueue::IsSpent(const CRouteEvent& event) const
{
    if (event.GetState() == CRouteEvent::kFinished)
        return true;
    if (!event.HasPerson())
        return false;
    // A member deleted since, or no longer in the party, has gone like one of status 0.
    const CPartyMember* person = event.GetPerson();
    const CParty* party = host_.GetParty();
    return !person || !party || !party->IsMember(person) || person->GetStatus() == 0;
}

void CEventQueue::Sweep()
{
    // The travel screen may run events when it hears of a removal: those runs do not sweep.
    const RunDepth sweeping(depth_);
    for (;;) {
        CList::Node* n = events_.GetHeadNode();
        while (n && !IsSpent(*EventOf(n)))
            n = n->next;
        if (!n)
            return;
        CRouteEvent* event = EventOf(n);
        ClearNotify();
        events_.RemoveItem(event);
        delete event;
    }
}
