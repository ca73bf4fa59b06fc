#pragma once
// Switching the open disc libraries from one disc to another, as SwitchDisc
// (game/base/LibraryDiscovery.h) describes it: the application installs this as the game's
// disc switch while it runs.
#include <cstdint>

bool SwitchAppDisc(int32_t disc, bool offerSave);
