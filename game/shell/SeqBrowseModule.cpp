#include "game/shell/SeqBrowseModule.h"

#include "engine/framework/Message.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/CursorMgr.h"
#include "game/base/ButtonPanel.h"
#include "game/base/MainWnd.h"
#include "game/travel/RouteObj.h"

namespace {

// The sequences the command keys pick.
struct SequenceKey {
    int8_t code;
    int16_t seq;
};
constexpr SequenceKey kSequenceKeys[] = {{0x21, 1}, {0x40, 2}, {0x23, 3}, {0x29, 0}};
// 'A' to 'W': entries 0 to 22 of the current sequence.
constexpr int8_t kFirstEntryKey = 0x41;
constexpr int8_t kLastEntryKey = 0x57;
constexpr int8_t kRebuildKey = 0x72;
constexpr int8_t kNextFrameKey = 0x75;

} // namespace

CSeqBrowseModule::CSeqBrowseModule(const CRect& rect)
    : CFrameModule(rect), panel_(std::make_unique<CButtonPanel>(this)), busy_(std::make_unique<CBusyCursor>())
{
}

CSeqBrowseModule::~CSeqBrowseModule()
{
    stopwatch_.reset();
    panel_.reset();
    route_.reset();
    busy_.reset();
}

void CSeqBrowseModule::OnAttach()
{
    SetMapProc(nullptr);
    SetTakesInput(false);
    route_ = std::make_unique<CRouteObj>(this);
    route_->Init();
    Draw(true);
    UpdateWindow();
    busy_.reset();
    stopwatch_ = std::make_unique<CStopwatch>();
    StartTimer(kPeriod, nullptr);
}

bool CSeqBrowseModule::OnTimer()
{
    if (route_)
        route_->Step();
    return true;
}

void CSeqBrowseModule::DrawContent(CDrawEnv* env, const CRect&) { DrawBackground(env); }

void CSeqBrowseModule::Suspend()
{
    CBusyCursor busy;
    CModule::Suspend();
}

void CSeqBrowseModule::Resume()
{
    CBusyCursor busy;
    CModule::Resume();
    Draw(true);
}

bool CSeqBrowseModule::HandleMessage(CMessage& message, CBaseObj*)
{
    switch (message.GetId()) {
    case kMsgCommand: Command(static_cast<int8_t>(message.GetParam(2))); return true;
    case kMsgPassed: return false;
    case kMsgClose:
        QueueLeaveModule(1);
        closeRequested_ = true;
        return true;
    default: return true;
    }
}

void CSeqBrowseModule::Rebuild()
{
    StopTimer();
    stopwatch_.reset();
    route_.reset();
    OnAttach();
}

void CSeqBrowseModule::Command(int8_t code)
{
    if (!route_)
        return;
    for (const SequenceKey& key : kSequenceKeys)
        if (key.code == code) {
            route_->SelectSequence(key.seq, 0);
            return;
        }
    if (code >= kFirstEntryKey && code <= kLastEntryKey)
        route_->SelectSequence(-1, static_cast<int16_t>(code - kFirstEntryKey));
    else if (code == kRebuildKey)
        Rebuild();
    else if (code == kNextFrameKey)
        route_->NextFrame();
}
