#pragma once
// Helpers for tests of definition text: a resource block holding a text, a parser that turns
// its errors into exceptions carrying the error code, and the engine messages the fatal
// reports are built from.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "engine/framework/EngineStrings.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

class CTObj;

namespace deftext {

// The engine message list the tests install: entry n reads "<n>:".
inline void InstallEngineStrings()
{
    std::vector<std::string> strings;
    for (int i = 0; i < 32; ++i)
        strings.push_back(std::to_string(i) + ":");
    SetEngineStrings(std::move(strings));
}

inline std::unique_ptr<CRsrcBlock> MakeBlock(std::string_view text, const char* type = "TST", int32_t id = 7)
{
    auto block = std::make_unique<CRsrcBlock>(type, id, static_cast<int32_t>(text.size()));
    if (!text.empty()) {
        std::memcpy(block->Lock(), text.data(), text.size());
        block->Unlock();
    }
    return block;
}

// A template of the kind read from its definition text by the read function.
template <typename Template>
std::unique_ptr<Template> ReadTemplateText(std::string_view text, CTObj* (*read)(int32_t, CRawParser*),
                                           int32_t kind)
{
    const std::unique_ptr<CRsrcBlock> block = MakeBlock(text, "TPL", 1);
    CRawParser parser(block.get(), 0xFFFFFFFF);
    parser.Preprocess();
    parser.LockSource();
    std::unique_ptr<Template> tpl(static_cast<Template*>(read(kind, &parser)));
    parser.UnlockSource();
    return tpl;
}

struct Resource {
    const char* type;
    int32_t id;
    std::string text;
};

// Writes a folder library (in the test's temporary folder, as drive C:) and adds it to the
// library manager.
inline void AddFolderLibrary(const std::vector<Resource>& resources, const char* folder = "Data")
{
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter writer(qmtest::TempDir() / folder);
    for (const Resource& r : resources)
        writer.Add(r.type, r.id, r.text);
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>((std::string("C:\\") + folder).c_str()));
}

inline std::string BlockBytes(CRsrcBlock& block)
{
    if (block.GetSize() == 0)
        return {};
    std::string bytes(static_cast<const char*>(block.Lock()), static_cast<size_t>(block.GetSize()));
    block.Unlock();
    return bytes;
}

struct ParseFailure {
    int16_t code;
    std::string text;
    int32_t number;
};

// A parser whose errors throw ParseFailure instead of ending the program.
class CodeParser : public CRawParser {
public:
    using CRawParser::CRawParser;
    void ReportParseError(int16_t code, const char* text, const char*, int32_t number) override
    {
        throw ParseFailure{code, text ? text : "", number};
    }
};

// A text preprocessed and locked for reading.
struct Text {
    explicit Text(std::string_view text, uint32_t includeMask = 0xFFFFFFFF)
        : block(MakeBlock(text)), parser(block.get(), includeMask)
    {
        parser.Preprocess();
        parser.LockSource();
    }
    // What is left to read.
    std::string Rest() const { return parser.GetPos(); }
    bool AtEnd() const { return parser.GetPos() >= parser.GetEnd(); }

    std::unique_ptr<CRsrcBlock> block;
    CodeParser parser;
};

// The error code that running f raises, or 0 when it raises none.
template <typename F> int16_t ErrorCode(F&& f)
{
    try {
        f();
    } catch (const ParseFailure& failure) {
        return failure.code;
    }
    return 0;
}

// The body of the fatal report that running f makes, or "(no report)".
inline std::string FatalReport(const std::function<void()>& f)
{
    plat::GetScriptedMessageBoxes().Clear();
    return qmtest::FatalBoxText(f, "(no report)");
}

} // namespace deftext
