#pragma once
// Message delivery. A message is sent to a key (a CBaseObj whose kind, id and owner select
// receivers among the live event objects) or to an event object itself. With a negative
// delay it is delivered at once; with a delay of 0 or more a copy of the key and the
// message is queued until its due tick on the real clock, and the pump delivers it then,
// matching the key against the objects live at that moment.
//
// The manager owns the two arrays this rests on: the live-object array and the pending
// messages. Delivery walks are safe against handlers that register, unregister, queue or
// run a nested pump while they are called.
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/framework/Message.h"

class CBaseObj;
class CEventObj;

class CMsgMgr {
public:
    // Creates the arrays when they do not exist yet.
    CMsgMgr();
    // Frees every pending message undelivered and marks every live object not live.
    virtual ~CMsgMgr();
    CMsgMgr(const CMsgMgr&) = delete;
    CMsgMgr& operator=(const CMsgMgr&) = delete;

    // What the destructor does; also the reset used by tests.
    static void FreeAll();
};

// Delivers (delay < 0) or queues (delay >= 0) the message. At once: to the key itself when
// it is an event object (false when it is disabled), else to every enabled live object the
// key matches, stopping at the first that answers true unless `all` is set; returns the
// last handler's answer. Queuing answers true. Id 0 is accepted and dropped.
bool DeliverMessage(CBaseObj& key, CMessage& message, CBaseObj* sender, bool all);
// Queues the copies (both owned from here on); nothing is queued when either is missing.
void QueueMessage(std::unique_ptr<CBaseObj> keyCopy, std::unique_ptr<CMessage> messageCopy, CBaseObj* sender);
// Delivers the message to every live object: at once, or, with a delay of 0 or more, to every
// object live when it falls due.
bool BroadcastMessage(CMessage& message, CBaseObj* sender);
// Delivers a copy of the message with its delay replaced.
bool DeliverMessageDelayed(CBaseObj& key, const CMessage& message, int16_t delay, CBaseObj* sender);
// Builds (id, p1, p2, delay -1) and delivers it at once to the first handler.
bool SendMsg(CBaseObj& key, int32_t id, MsgWord param1, MsgWord param2, CBaseObj* sender);
// Builds (id, 0, 0, delay -1) with word `index` set to `value` and delivers it at once.
bool SendMsgParam(CBaseObj& key, int32_t id, int index, MsgWord value, CBaseObj* sender);
// Builds (id, p1, p2, delay) and delivers or queues it.
bool SendMessageRecord(CBaseObj& key, int32_t id, int16_t delay, MsgWord param1, MsgWord param2,
                       CBaseObj* sender);

// Delivers the queued messages that are due, the most recently queued first. Messages
// queued by handlers during the walk wait for the next call.
void ProcessDueMessages();
// Ticks of the real clock until the nearest queued message falls due (0 when one is due);
// nullopt when nothing is queued.
std::optional<uint32_t> TicksUntilNextMessage();
int32_t GetPendingMessageCount();

// Adds a receiver to the live-object array once; removes it again.
void RegisterLiveObject(CEventObj* object);
void UnregisterLiveObject(CEventObj* object);
int32_t GetLiveObjectCount();
// Clears the sender of queued messages sent by an object that is going away.
void ForgetSender(const CBaseObj* sender);

// While messages are held the pump does not deliver queued messages.
void SetMessagesHeld(bool held);
bool AreMessagesHeld();
