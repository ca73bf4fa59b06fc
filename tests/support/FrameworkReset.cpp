// Puts the framework's process-wide objects back to their start state before every test.
#include "engine/framework/Appl.h"
#include "engine/framework/BaseObj.h"
#include "engine/framework/Date.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Diag.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/Memory.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_frameworkReset([] {
    SetMemoryAllocator(nullptr);
    CBaseObj::ResetIdCounter();
    CMsgMgr::FreeAll();
    SetMessagesHeld(false);
    ClearTimerQueue();
    DeleteClocks();
    ResetMsgBox();
    SetEngineStringList(nullptr);
    SetDebugSwitch(false);
    ResetApplGlobals();
    ResetDeferredDeletes();
    CDate::ResetLocaleState();
    ResetEngineProfile();
});

} // namespace
