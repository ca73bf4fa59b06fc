// The event clip of a no-dialog route event (plain rain): message 340 plays it in the route
// panel, message 341 (the event has gone) stops and deletes it; so do the next clip and a stay.
#include "engine/media/SmackerFrame.h"
#include "engine/media/SmkResource.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/Travel.h"

namespace {

} // namespace

bool CTravel::HandleEventClipMessage(const CMessage& message)
{
    if (message.GetId() == kMsgEventClip) {
        StartEventClip();
        return true;
    }
    if (message.GetId() == kMsgEventGone) {
        ++eventsGone_;
        DeleteEventClip();
        return true;
    }
    return false;
}

CSmackerFrame* CTravel::GetEventClip() const
{
    // The clip lives in the route panel: a panel made again since holds no clip of ours.
    const CList* children = routePanel_ ? routePanel_->GetChildren() : nullptr;
    for (const CList::Node* n = children ? children->GetHeadNode() : nullptr; n; n = n->next)
        if (n->item == eventClip_)
            return eventClip_;
    return nullptr;
}

void CTravel::StartEventClip()
{
    if (!routePanel_ || !routePanel_->IsShown())
        return;
    if (stayPanel_ && !stayPanel_->IsEnabled())
        return;
    DeleteEventClip();
    const CEventQueue* queue = GetEventQueue();
    const int16_t id = queue ? queue->GetNotifyWord() : 0;
    if (id == 0 || !FindSmkResource(id, CLibMgr::kAllLibraries))
        return;
    eventClip_ = new CSmackerFrame(kEventClipId, CPoint(0, 0), id, CLibMgr::kAllLibraries, 0, this, 0);
    routePanel_->AddChild(eventClip_, false);
    Draw(true);
    eventClip_->Play(0);
}

void CTravel::DeleteEventClip()
{
    CSmackerFrame* clip = GetEventClip();
    eventClip_ = nullptr;
    if (!clip)
        return;
    clip->Stop();
    routePanel_->RemoveChild(*clip);
    delete clip;
}
