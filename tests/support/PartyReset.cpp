// Every test starts without a trip, with the condition marks at 0 and losses shown in their
// window.
#include "game/travel/HealthCond.h"
#include "game/travel/PartyTrip.h"
#include "game/travel/SupplyList.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_partyReset([] {
    SetPartyTrip(nullptr);
    CHealthCond::ResetMarks();
    SetLossReporter(nullptr);
});

} // namespace
