#include "game/travel/PartyTrip.h"

#include "game/travel/Party.h"

namespace {

CPartyTrip* g_trip = nullptr;

} // namespace

bool CPartyTrip::IsLeader(const CPartyMember* member) const
{
    const CParty* party = GetParty();
    return member && party && party->GetMember(0) == member;
}

CPartyTrip* GetPartyTrip() { return g_trip; }

void SetPartyTrip(CPartyTrip* trip) { g_trip = trip; }
