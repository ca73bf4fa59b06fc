// Reads arbitrary text as a template list ("TPL") with the game's template kinds registered
// (its buttons, spin controls, lists, random picture and frame-type text among them), builds
// it, switches each template's branch off and on, and builds it again. Beside a small string
// list, the game's sample data and language libraries are open, so that the lists find the
// game's pictures, string lists and definitions ("TPL" 3400, the game controls' demonstration,
// is a seed).
// Run: fuzz_GameTplListFuzz fuzz/corpus/GameTplListFuzz
#include <cstdint>
#include <memory>

#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/TplListHarness.h"
#include "game/shell/TemplateTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > fuzz::kMaxTplListInput)
        return 0;
    static const bool ready = [] {
        fuzz::SetUpTplListEngine({{'D', QM_GAME_DATA_DIR, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\QM3Data"));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\QM3Lang"));
        RegisterTemplateTypes();
        return true;
    }();
    (void)ready;
    fuzz::RunTplListInput(data, size);
    return 0;
}
