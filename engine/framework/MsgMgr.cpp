#include "engine/framework/MsgMgr.h"

#include <algorithm>

#include "engine/framework/EventObj.h"
#include "engine/framework/PtrArray.h"
#include "engine/framework/Stopwatch.h"

namespace {

struct PendingEntry {
    std::unique_ptr<CBaseObj> key;
    std::unique_ptr<CMessage> message;
    CBaseObj* sender;
    bool all; // a broadcast: every matching object gets it, not only the first that handles it
};

std::unique_ptr<CPtrArray> g_live;
std::unique_ptr<CPtrArray> g_pending;
bool g_held = false;

void EnsureArrays()
{
    if (!g_live)
        g_live = std::make_unique<CPtrArray>();
    if (!g_pending)
        g_pending = std::make_unique<CPtrArray>();
}

PendingEntry* EntryAt(int32_t i) { return static_cast<PendingEntry*>(g_pending->GetAt(i)); }

void Enqueue(std::unique_ptr<CBaseObj> keyCopy, std::unique_ptr<CMessage> messageCopy, CBaseObj* sender,
             bool all)
{
    if (!keyCopy || !messageCopy)
        return;
    EnsureArrays();
    if (messageCopy->GetDelay() > 0)
        messageCopy->SetDueTick(GetTick() + static_cast<uint32_t>(messageCopy->GetDelay()));
    auto entry =
        std::make_unique<PendingEntry>(PendingEntry{std::move(keyCopy), std::move(messageCopy), sender, all});
    if (g_pending->Add(entry.get()))
        entry.release();
}

bool DeliverToLive(const CBaseObj& key, CMessage& message, CBaseObj* sender, bool all)
{
    if (!g_live)
        return false;
    CPtrArray& live = *g_live;
    // The count is read again at every step, so objects registered by a handler are
    // visited too; the cursor follows objects that handlers unregister.
    CPtrArrayCursor next(live, 0);
    bool result = false;
    while (next.Attached() && next.index < live.GetCount()) {
        auto* obj = static_cast<CEventObj*>(live.GetAt(next.index++));
        if (!obj || !obj->Matches(key) || !obj->IsEnabled())
            continue;
        result = obj->HandleMessage(message, sender);
        if (result && !all)
            break;
    }
    return result;
}

} // namespace

CMsgMgr::CMsgMgr() { EnsureArrays(); }

CMsgMgr::~CMsgMgr() { FreeAll(); }

void CMsgMgr::FreeAll()
{
    if (g_pending) {
        for (int32_t i = g_pending->GetCount() - 1; i >= 0; --i)
            delete EntryAt(i);
        g_pending.reset();
    }
    if (g_live) {
        for (int32_t i = 0; i < g_live->GetCount(); ++i)
            if (auto* obj = static_cast<CEventObj*>(g_live->GetAt(i)))
                obj->SetLive(false);
        g_live.reset();
    }
}

bool DeliverMessage(CBaseObj& key, CMessage& message, CBaseObj* sender, bool all)
{
    if (message.GetDelay() >= 0) {
        QueueMessage(std::make_unique<CBaseObj>(key), std::make_unique<CMessage>(message), sender);
        return true;
    }
    if (message.GetId() == 0)
        return true;
    if (key.IsReceiver()) {
        // A receiver is an event object; the checked cast keeps out a key that only claims to be.
        auto* obj = dynamic_cast<CEventObj*>(&key);
        return obj && obj->IsEnabled() ? obj->HandleMessage(message, sender) : false;
    }
    return DeliverToLive(key, message, sender, all);
}

void QueueMessage(std::unique_ptr<CBaseObj> keyCopy, std::unique_ptr<CMessage> messageCopy, CBaseObj* sender)
{
    Enqueue(std::move(keyCopy), std::move(messageCopy), sender, false);
}

bool BroadcastMessage(CMessage& message, CBaseObj* sender)
{
    CBaseObj everyone(CBaseObj::kAnyKind, CBaseObj::kAnyId, nullptr);
    if (message.GetDelay() < 0)
        return DeliverMessage(everyone, message, sender, true);
    // A delayed broadcast reaches every live object when it falls due, as an immediate one does.
    Enqueue(std::make_unique<CBaseObj>(everyone), std::make_unique<CMessage>(message), sender, true);
    return true;
}

bool DeliverMessageDelayed(CBaseObj& key, const CMessage& message, int16_t delay, CBaseObj* sender)
{
    CMessage copy(message);
    copy.SetDelay(delay);
    return DeliverMessage(key, copy, sender, false);
}

bool SendMsg(CBaseObj& key, int32_t id, MsgWord param1, MsgWord param2, CBaseObj* sender)
{
    CMessage message(id, param1, param2, -1);
    return DeliverMessage(key, message, sender, false);
}

bool SendMsgParam(CBaseObj& key, int32_t id, int index, MsgWord value, CBaseObj* sender)
{
    CMessage message(id, 0, 0, -1);
    message.SetParam(value, index);
    return DeliverMessage(key, message, sender, false);
}

bool SendMessageRecord(CBaseObj& key, int32_t id, int16_t delay, MsgWord param1, MsgWord param2,
                       CBaseObj* sender)
{
    CMessage message(id, param1, param2, delay);
    return DeliverMessage(key, message, sender, false);
}

void ProcessDueMessages()
{
    if (!g_pending)
        return;
    CPtrArray& pending = *g_pending;
    const uint32_t tick = GetTick();
    // Walks from the last entry down. A handler may queue (above the cursor, so those wait
    // for the next pass), or run a nested pump that delivers and removes entries below it:
    // the cursor follows those removals and is clamped to the count at every step.
    CPtrArrayCursor cursor(pending, pending.GetCount());
    while (cursor.Attached()) {
        cursor.index = std::min(cursor.index, pending.GetCount());
        if (cursor.index <= 0)
            break;
        const int32_t i = --cursor.index;
        PendingEntry* e = EntryAt(i);
        if (!e || e->message->GetDueTick() > tick)
            continue;
        pending.RemoveAt(i);
        std::unique_ptr<PendingEntry> owned(e);
        owned->message->SetDelay(-1);
        DeliverMessage(*owned->key, *owned->message, owned->sender, owned->all);
    }
}

std::optional<uint32_t> TicksUntilNextMessage()
{
    if (!g_pending || g_pending->GetCount() == 0)
        return std::nullopt;
    const uint32_t tick = GetTick();
    uint32_t best = UINT32_MAX;
    for (int32_t i = 0; i < g_pending->GetCount(); ++i)
        if (const PendingEntry* e = EntryAt(i)) {
            const uint32_t due = e->message->GetDueTick();
            best = std::min(best, due <= tick ? 0u : due - tick);
        }
    return best;
}

int32_t GetPendingMessageCount() { return g_pending ? g_pending->GetCount() : 0; }

void RegisterLiveObject(CEventObj* object)
{
    if (!object || !object->IsReceiver() || object->IsLive())
        return;
    EnsureArrays();
    if (g_live->Add(object))
        object->SetLive(true);
}

void UnregisterLiveObject(CEventObj* object)
{
    if (!g_live || !object)
        return;
    const int32_t i = g_live->IndexOf(object);
    if (i < 0)
        return;
    g_live->RemoveAt(i);
    object->SetLive(false);
}

int32_t GetLiveObjectCount() { return g_live ? g_live->GetCount() : 0; }

void ForgetSender(const CBaseObj* sender)
{
    if (!g_pending)
        return;
    for (int32_t i = 0; i < g_pending->GetCount(); ++i)
        if (PendingEntry* e = EntryAt(i); e && e->sender == sender)
            e->sender = nullptr;
}

void SetMessagesHeld(bool held) { g_held = held; }
bool AreMessagesHeld() { return g_held; }
