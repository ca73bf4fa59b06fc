#include "engine/controls/EditTarget.h"

#include "engine/framework/Appl.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"

namespace {

uint16_t g_editTargetWord = 0;

// Sends the announcement at once to the application, when there is one.
void Announce(CEditTarget* target, MsgWord value)
{
    CBaseAppl* app = GetApplication();
    if (!app)
        return;
    CMessage message(CEditTarget::kMsgEditTarget, 0, 0, -1);
    message.SetParam(reinterpret_cast<MsgWord>(target), 2);
    message.SetParam(value, 3);
    DeliverMessage(*app, message, nullptr, false);
}

} // namespace

CEditTarget::~CEditTarget()
{
    if (!active_)
        return;
    CEditTarget::Deactivate();
    ClearEditTarget();
}

void CEditTarget::Deactivate()
{
    if (active_)
        g_editTargetWord = 0;
    active_ = false;
}

void CEditTarget::Activate(MsgWord value)
{
    Announce(this, value);
    active_ = true;
}

std::unique_ptr<CStr> CEditTarget::Undo() { return nullptr; }

void ClearEditTarget()
{
    g_editTargetWord = 0;
    Announce(nullptr, 0);
}

uint16_t GetEditTargetWord() { return g_editTargetWord; }
void SetEditTargetWord(uint16_t word) { g_editTargetWord = word; }
