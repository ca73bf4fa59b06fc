#pragma once
// The trip as the landmark code reaches it: the travel module in its module slot and its
// party. Both are null when no game runs.
class CParty;
class CTravel;

CTravel* GetTravelModule();
CParty* GetTravelParty();
