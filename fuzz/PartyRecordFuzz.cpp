// Loads arbitrary bytes as the party's record of a saved game (the fixed part, the members with
// their conditions, the supplies), as the travel module reads it; a party that loads is saved
// again and lives one day, so that what a record can hold meets the daily rules. A small folder
// library holds the record formats and a few item and health records, which loading reads.
// Run: fuzz_PartyRecordFuzz fuzz/corpus/PartyRecordFuzz
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/travel/Party.h"
#include "platform/Files.h"

namespace {

void WriteText(const std::filesystem::path& path, const char* text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = fuzz::MakeTempFolder("qm-partyfuzz");
        const std::filesystem::path data = path / "data";
        WriteText(
            data / "IVT" / "000000.IVT",
            "short short long long short short short short short short short short short short short short");
        WriteText(data / "IVT" / "000005.IVT", "5, 4, 64, 333, -1, 3, 2, 13, 48, 0, 0, 0, 0, 0, 0, 0");
        WriteText(data / "IVT" / "000019.IVT", "19, 10, 160, 500, 30, 3, 2, 14, 27, 0, 0, 0, 0, 0, 0, 0");
        WriteText(data / "IVT" / "000064.IVT", "64, 20, 320, 200, -1, 5, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0");
        WriteText(data / "IVT" / "000132.IVT", "132, 0, 0, 2500, -1, 2, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0");
        WriteText(data / "HLT" / "000000.HLT",
                  "short short short short short short short short short short short "
                  "short short short short short short short short short short "
                  "short short");
        // Every flag among three kinds, ranges for every state.
        WriteText(data / "HLT" / "000002.HLT",
                  "0x4F, 3, 5, 0, 0, 1, 3, 2, 4, 1, 2, 10, 30, 4, 50, 0, 0, 0, 0, 0, 0, 0, 0");
        WriteText(data / "HLT" / "000006.HLT",
                  "0xB0, 2, 4, 0, 0, 1, 5, 2, 9, 1, 3, 5, 40, 2, 20, 0, 0, 0, 0, 0, 0, 0, 0");
        WriteText(data / "HLT" / "000013.HLT",
                  "0x140, 2, 30, 0, 0, 1, 2, 3, 5, 2, 4, 40, 50, 3, 60, 0, 0, 0, 0, 0, 0, 0, 0");
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\data"));
        return path;
    }();
    return folder;
}

std::unique_ptr<CDoc> MakeDoc(const char* path)
{
    return std::make_unique<CDoc>(nullptr, nullptr, "party", std::make_unique<CFileSpec>(path));
}

void LoadParty(const uint8_t* data, size_t size)
{
    const fuzz::InputFile file(Folder() / "party.rec", data, size);
    CUtil::SetRandomSeed(1);
    CParty party;
    const auto in = MakeDoc("C:\\party.rec");
    if (in->OpenForLoad() != CDoc::kOk)
        return;
    party.Load(*in);
    if (in->GetError() != CDoc::kOk)
        return;
    const auto out = MakeDoc("C:\\saved.rec");
    if (out->OpenForSave({}, nullptr) == CDoc::kOk) {
        party.Save(*out);
        out->CommitSave();
    }
    party.DailyUpdate(24);
    party.CheckFood();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] { LoadParty(data, size); });
    return 0;
}
