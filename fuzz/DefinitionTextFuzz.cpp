// Feeds arbitrary definition text to the parser and the record compiler. An input is read
// whole as a string list and as a record format; when it holds a line "%%", the text before
// is compiled as a record format and the text after as a record of that format. A small
// folder library lets inputs include resources: 000001.VAL is a global definition set,
// 000002.VAL includes itself and 000003.VAL is plain values.
// Run: fuzz_DefinitionTextFuzz fuzz/corpus/DefinitionTextFuzz
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "engine/framework/Str.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/TextRsrc.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Files.h"

namespace {

void WriteFile(const std::filesystem::path& path, std::string_view text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
}

void SetUpOnce()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const auto folder = fuzz::MakeTempFolder("deftextfuzz");
    WriteFile(folder / "VAL" / "000001.VAL", "#define Base 7\nenum Dir { North, South = 4 };\n");
    WriteFile(folder / "VAL" / "000002.VAL", "x\n#include 000002.VAL\n");
    WriteFile(folder / "VAL" / "000003.VAL", "1 2 \"three\"\n");
    plat::SetDrives({{'C', folder, plat::DriveKind::Fixed}});
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\"));
    CRawParser::ParseResource("VAL", 1, 0xFFFFFFFF);
    fuzz::CatchFatalReports();
    // Inputs may ask for huge records; the limit keeps each run short.
    CTextRsrc::SetRecordSizeLimit(64 * 1024);
}

std::unique_ptr<CRsrcBlock> Block(std::string_view text, const char* type)
{
    auto block = std::make_unique<CRsrcBlock>(type, 1, static_cast<int32_t>(text.size()));
    if (!text.empty())
        block->PutBytes(text.data(), static_cast<int32_t>(text.size()), 0);
    return block;
}

void ReadAsStringList(std::string_view text)
{
    auto block = Block(text, "STR");
    CRawParser parser(block.get(), 0xFFFFFFFF);
    parser.Preprocess();
    parser.LockSource();
    while (parser.GetPos() < parser.GetEnd())
        parser.ReadStr(2048);
}

void CompileRecord(std::string_view format, std::string_view text)
{
    auto formatText = Block(format, "FUZ");
    CFormatList::Get().AddItem("FUZ", CFormatList::CompileFormat(formatText.get()));
    CTextRsrc record(Block(text, "FUZ"), 0xFFFFFFFF);
    CTextRsrc copy(record);
    for (const CTextRsrc::Item& item : copy.GetItems()) {
        uint8_t bytes[4];
        copy.GetBytes(bytes, CTextRsrc::GetItemSize(item), item.offset);
        if (copy.GetString(item.offset))
            copy.TakeString(item.offset);
        (void)record.GetString(item.offset);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpOnce();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::Guarded([&] { ReadAsStringList(input); });
    fuzz::Guarded([&] {
        auto block = Block(input, "FUZ");
        CFormatList::CompileFormat(block.get());
    });
    const size_t split = input.find("\n%%\n");
    if (split != std::string_view::npos)
        fuzz::Guarded([&] { CompileRecord(input.substr(0, split), input.substr(split + 4)); });
    CFormatList::Get().Clear();
    return 0;
}
