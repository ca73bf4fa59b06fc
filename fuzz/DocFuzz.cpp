// Reads arbitrary bytes as a saved document: the header, then every typed value in turn
// until an error latches, as a loader reading its records would.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/framework/Doc.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Files.h"

namespace {

// A folder of its own for the document file, mapped to drive C:.
const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path path = fuzz::MakeTempFolder("qm-docfuzz");
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
        return path;
    }();
    return folder;
}

void ReadRecords(CDoc& doc)
{
    for (int i = 0; i < 64 && doc.GetError() == CDoc::kOk; ++i) {
        uint8_t b;
        int16_t s;
        int32_t l;
        double d;
        float f;
        CPoint p;
        CRect r;
        CStr text;
        char counted[32];
        CMemory block;
        doc.ReadByte(b).ReadShort(s).ReadLong(l).ReadDouble(d).ReadFloat(f).ReadPoint(p).ReadRect(r);
        doc.ReadString(text).ReadCounted(counted, sizeof counted).ReadBlock(block);
    }
}

void LoadDocument(const uint8_t* data, size_t size)
{
    const fuzz::InputFile file(Folder() / "fuzz.qm3", data, size);
    CDoc doc("Saved games", "*.qm3", "fuzz", std::make_unique<CFileSpec>("C:\\fuzz.qm3"));
    if (doc.OpenForLoad() != CDoc::kOk)
        return;
    // Any type and version, so the records behind the header are reached.
    if (size >= 8)
        doc.ReadHeader(static_cast<uint32_t>(data[4]) << 24 | static_cast<uint32_t>(data[5]) << 16 |
                           static_cast<uint32_t>(data[6]) << 8 | data[7],
                       0, 0xFFFF);
    if (doc.GetError() == CDoc::kBadMagic)
        doc.SetError(CDoc::kOk);
    ReadRecords(doc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] { LoadDocument(data, size); });
    return 0;
}
