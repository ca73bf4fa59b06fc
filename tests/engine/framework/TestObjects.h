#pragma once
// Event objects for the framework tests: each logs what it receives into a shared log and
// answers through a handler the test can replace.
#include <functional>
#include <string>
#include <vector>

#include "engine/framework/EventObj.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"

namespace fwtest {

using Log = std::vector<std::string>;

class Probe : public CEventObj {
public:
    Probe(Log& log, std::string name, uint32_t kind = 5, int32_t id = 1, CBaseObj* owner = nullptr,
          bool live = true)
        : CEventObj(kind, id, owner), log_(log), name_(std::move(name))
    {
        if (live)
            RegisterLiveObject(this);
    }

    bool HandleMessage(CMessage& message, CBaseObj*) override
    {
        log_.push_back(name_ + ":" + std::to_string(message.GetId()));
        return onMessage ? onMessage(message) : answer;
    }
    bool OnTimer() override
    {
        log_.push_back(name_ + ":tick");
        if (onTimer)
            onTimer();
        return true;
    }

    bool answer = true;
    std::function<bool(CMessage&)> onMessage;
    std::function<void()> onTimer;

private:
    Log& log_;
    std::string name_;
};

} // namespace fwtest
