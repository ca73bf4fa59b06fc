#pragma once
// The game's sample data (data/game of the source tree) as the engine's only library, with the
// game's template kinds, definitions, fonts and image cache, for the game benchmarks.
#include <filesystem>
#include <memory>

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/FontList.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/RsrcCache.h"
#include "game/base/GameGlobals.h"
#include "game/shell/QM3Appl.h"
#include "game/shell/TemplateTypes.h"
#include "platform/Files.h"

namespace benchgame {

constexpr int32_t kCacheBytes = 16 * 1024 * 1024;

// The sample data library as the engine's only library, the game's kinds, fonts and cache.
class SampleData {
public:
    SampleData()
    {
        plat::SetDrives(
            {{'C', std::filesystem::path(QM_SOURCE_DIR) / "data" / "game", plat::DriveKind::Fixed}});
        SetLibMgr(std::make_unique<CLibMgr>());
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Data"));
        RegisterTemplateTypes();
        for (int32_t id : CQM3Appl::kDefinitionRecords) // as the game does at start
            CRawParser::ParseResource("VAL", id, 0xFFFFFFFFu);
        FontList fonts;
        CDrawEnv::InitFonts(LoadFontList(fonts) ? &fonts : nullptr);
        Game().imageCache = cache_.get();
    }
    ~SampleData()
    {
        Game().imageCache = nullptr;
        CDrawEnv::DeleteFonts();
        SetLibMgr(nullptr);
    }
    SampleData(const SampleData&) = delete;
    SampleData& operator=(const SampleData&) = delete;

private:
    CRegistrar registrar_;
    std::unique_ptr<CRsrcCache> cache_ = std::make_unique<CRsrcCache>(kCacheBytes);
};

} // namespace benchgame
