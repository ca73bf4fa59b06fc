#include "game/shell/DiscSwitch.h"

#include <memory>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Str.h"
#include "game/base/DiscPromptFrm.h"
#include "game/base/DriveLibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"
#include "game/shell/FileCommands.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/Travel.h"

namespace {

// A sound that never reports its end is not waited for longer than this.
constexpr uint64_t kSoundStopWaitMs = 500;
constexpr int32_t kPromptResult = 1000;

// Shows the prompt until the disc is found or the player gives up.
void RunPrompt(CDiscPromptFrm& prompt)
{
    CImageFrame holder(-2, CPoint(0, 0), true);
    holder.AddChild(&prompt, false);
    holder.Run(CWind::GetTopWnd(), true);
    holder.RemoveChild(prompt);
}

} // namespace

bool SwitchAppDisc(int32_t disc, bool offerSave)
{
    CQM3Appl* appl = GetGameAppl();
    CDriveLibMgr* manager = GetDriveLibMgr();
    if (!appl || !manager)
        return false;
    if (disc < 1) {
        if (disc != appl->GetCurrentDisc())
            manager->RemoveLibrariesWithMask(CDriveLibMgr::kDiscMaskBit);
        appl->SetCurrentDisc(disc);
        return true;
    }
    StopAndEmptySlots(kSoundStopWaitMs);

    auto prompt = std::make_unique<CDiscPromptFrm>(-2, CPoint(0, 0), appl, kPromptResult, manager, disc, disc,
                                                   0xFFFFFFFFu);
    std::unique_ptr<CFileSpec> folder = prompt->GetResult();
    if (folder && disc == appl->GetCurrentDisc())
        return true;
    manager->RemoveLibrariesWithMask(CDriveLibMgr::kDiscMaskBit);
    if (!folder) {
        RunPrompt(*prompt);
        folder = prompt->GetResult();
    }
    prompt.reset();

    int16_t count = 0;
    if (folder) {
        if (const CStr* name = appl->GetDiscFolderName(); name && name->GetLength() > 0)
            folder->Append(name->GetText());
        count = static_cast<int16_t>(ScanForLibraries(*manager, *folder, "*.qmd", ".qmd", disc) +
                                     ScanForLibraries(*manager, *folder, "*.lng", ".lng", disc));
    }
    if (count < 1) {
        if (offerSave)
            PromptSave(false, true);
        appl->SetCurrentDisc(-1);
        if (CModuleMgr* modules = GetModuleMgr())
            if (auto* travel = dynamic_cast<CTravel*>(modules->GetModule(CModuleMgr::kTravel)))
                travel->ResetTrip();
        return false;
    }
    appl->SetCurrentDisc(disc);
    return true;
}
