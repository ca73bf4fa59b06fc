#pragma once
// The game's sample data packed as the game reads it (QM3Data.qmd and QM3Lang.lng of the
// build's game folder, QM_GAME_FOLDER), opened once for the process; loss reports are dropped.
// A benchmark on these libraries times the game's own record reads, not a folder's listing.
#include <filesystem>
#include <memory>

#include "engine/resources/LibMgr.h"
#include "engine/resources/MegaLib.h"
#include "game/travel/SupplyList.h"
#include "platform/Files.h"

namespace benchgame {

inline void OpenPackedGameData()
{
    static const bool open = [] {
        plat::SetDrives({{'C', std::filesystem::path(QM_GAME_FOLDER), plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CMegaLib>("C:\\QM3Data.qmd"));
        GetLibMgr()->AddLibrary(std::make_unique<CMegaLib>("C:\\QM3Lang.lng"));
        SetLossReporter([](const CStr&) {});
        return true;
    }();
    (void)open;
}

} // namespace benchgame
