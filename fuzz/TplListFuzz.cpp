// Reads arbitrary text as a template list ("TPL") with every screen kind registered, builds
// it, switches each template's branch off and on, and builds it again. A small folder library
// gives the lists a string list to read; images are missing (quietly, or as a fatal report
// under template flag 0x400).
// Run: fuzz_TplListFuzz fuzz/corpus/TplListFuzz
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "engine/controls/Frame.h"
#include "engine/controls/TObj.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcBlock.h"
#include "engine/resources/RsrcCache.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

namespace {

void SetUpOnce()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const auto folder = fuzz::MakeTempFolder("tplfuzz");
    std::filesystem::create_directories(folder / "STR");
    std::ofstream(folder / "STR" / "000001.STR") << "\"zero\" \"one\"\n";
    plat::SetDrives({{'C', folder, plat::DriveKind::Fixed}});
    plat::SetBackend(plat::Backend::Null);
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\"));
    fuzz::CatchFatalReports();
    RegisterEngineClasses(); // titled windows make their native window at once
    RegisterAllTemplateKinds();
}

// Builds the list and deletes what it made.
void BuildOnce(CTplList& list)
{
    CBaseObj* made = list.Build(nullptr, nullptr, 0);
    if (auto* window = dynamic_cast<CWind*>(made))
        delete window;
    else
        delete made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384)
        return 0;
    SetUpOnce();
    CRsrcCache cache(1 << 20);
    fuzz::Guarded([&] {
        auto block = std::make_unique<CRsrcBlock>("TPL", 1, static_cast<int32_t>(size));
        if (size > 0)
            block->PutBytes(data, static_cast<int32_t>(size), 0);
        CTplList list(std::move(block), &cache);
        BuildOnce(list);
        for (int32_t i = 0; i < list.GetCount() && i < 8; ++i) {
            list.SetBranchEnabled(list.GetIdAt(i), false);
            list.SetBranchEnabled(list.GetIdAt(i), true);
        }
        BuildOnce(list);
    });
    plat::GetScriptedMessageBoxes().Clear();
    return 0;
}
