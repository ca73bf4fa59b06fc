#include "engine/framework/EngineProfile.h"

namespace {

EngineProfile g_profile;

} // namespace

const EngineProfile& GetEngineProfile() { return g_profile; }
void SetEngineProfile(const EngineProfile& profile) { g_profile = profile; }
void ResetEngineProfile() { g_profile = EngineProfile{}; }

EngineProfile LauncherProfile()
{
    EngineProfile p;
    p.onlyFatalReportsAct = true;
    p.pathTestOpens = true;
    p.defineValueIsLineText = true;
    p.offScreenPassClipsToParent = true;
    p.directMaskKeptOnRoot = true;
    p.leafPaintTestsOwnDirectBit = true;
    p.offScreenOnlyWhenShadowed = true;
    p.activationKeepsFramesEnabled = true;
    return p;
}
