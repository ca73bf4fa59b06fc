#pragma once
// The work of the template-list harnesses: arbitrary text read as a template list ("TPL"),
// built, each template's branch switched off and on, and built again. They differ only in the
// template kinds registered and the libraries the lists read.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TObj.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcBlock.h"
#include "engine/resources/RsrcCache.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Files.h"
#include "platform/Platform.h"

namespace fuzz {

// Larger inputs only slow the run down.
constexpr size_t kMaxTplListInput = 16384;

// Drive C: a folder library with a string list (1) for the lists to read; then the headless
// backend, the engine's window classes (titled windows make their native window at once) and
// fatal reports caught. The caller registers its kinds and may add libraries after this one.
inline void SetUpTplListEngine(std::vector<plat::Drive> moreDrives = {})
{
    const auto folder = MakeTempFolder("tplfuzz");
    std::filesystem::create_directories(folder / "STR");
    std::ofstream(folder / "STR" / "000001.STR") << "\"zero\" \"one\"\n";
    moreDrives.insert(moreDrives.begin(), {'C', folder, plat::DriveKind::Fixed});
    plat::SetDrives(moreDrives);
    plat::SetBackend(plat::Backend::Null);
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\"));
    CatchFatalReports();
    RegisterEngineClasses();
}

// Builds the list and deletes what it made.
inline void BuildTplListOnce(CTplList& list)
{
    CBaseObj* made = list.Build(nullptr, nullptr, 0);
    if (auto* window = dynamic_cast<CWind*>(made))
        delete window;
    else
        delete made;
}

// One input: the list built, its first branches switched off and on, and built again.
inline void RunTplListInput(const uint8_t* data, size_t size)
{
    CRsrcCache cache(1 << 20);
    Guarded([&] {
        auto block = std::make_unique<CRsrcBlock>("TPL", 1, static_cast<int32_t>(size));
        if (size > 0)
            block->PutBytes(data, static_cast<int32_t>(size), 0);
        CTplList list(std::move(block), &cache);
        BuildTplListOnce(list);
        for (int32_t i = 0; i < list.GetCount() && i < 8; ++i) {
            list.SetBranchEnabled(list.GetIdAt(i), false);
            list.SetBranchEnabled(list.GetIdAt(i), true);
        }
        BuildTplListOnce(list);
    });
}

} // namespace fuzz
