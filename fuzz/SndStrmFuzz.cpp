// Reads arbitrary bytes as a "CSN" sound resource through the sound stream: opened from a copy
// in memory and from the library file, read to the end in uneven pieces, sought and read
// again. The output is capped, since a valid resource may claim billions of bytes in a few
// bytes of repeated fills.
// Run: fuzz_SndStrmFuzz fuzz/corpus/SndStrmFuzz
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/SndStrm.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Files.h"
#include "platform/Platform.h"

namespace {

std::filesystem::path g_resource;

void SetUpOnce()
{
    if (!g_resource.empty())
        return;
    const auto folder = fuzz::MakeTempFolder("sndfuzz");
    std::filesystem::create_directories(folder / "CSN");
    g_resource = folder / "CSN" / "000001.CSN";
    plat::SetDrives({{'C', folder, plat::DriveKind::Fixed}});
    plat::SetBackend(plat::Backend::Null);
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\"));
    fuzz::CatchFatalReports();
}

void ReadSome(CSndStrm& s, int32_t limit)
{
    std::vector<uint8_t> buf(4099);
    for (int32_t total = 0, i = 0; total < limit; ++i) {
        int32_t count = static_cast<int32_t>(buf.size()) - (i % 7) * 3;
        if (s.Read(buf.data(), count) != 0 || count == 0)
            return;
        total += count;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20))
        return 0;
    SetUpOnce();
    const fuzz::InputFile file(g_resource, data, size);
    for (bool fromFile : {false, true}) {
        fuzz::Guarded([&] {
            CSndStrm s(1, 0xFFFFFFFF);
            const int32_t length = s.Open(fromFile);
            ReadSome(s, 1 << 18);
            s.Seek(size > 0 ? static_cast<int32_t>(data[size - 1] * 1031 % (int64_t{length} + 1)) : 0);
            ReadSome(s, 1 << 16);
        });
    }
    return 0;
}
