#include "game/base/save/SaveGameHost.h"

namespace {

CSaveGameHost g_nullHost;
CSaveGameHost* g_host = &g_nullHost;

} // namespace

CSaveGameHost& GetSaveGameHost() { return *g_host; }

void SetSaveGameHost(CSaveGameHost* host) { g_host = host ? host : &g_nullHost; }
