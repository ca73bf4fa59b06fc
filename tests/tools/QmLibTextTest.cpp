#include <gtest/gtest.h>

#include "engine/resources/MegaFormat.h"
#include "platform/SystemInfo.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmLib.h"

namespace fs = std::filesystem;

namespace {

using qmtest::ToolRun;

ToolRun QmLib(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmLib, args); }

// A folder library with string lists, a record format and records.
fs::path SampleFolder()
{
    const fs::path folder = qmtest::TempDir() / "sample.qmd";
    qmtest::FolderLibraryWriter lib(folder);
    lib.Add("STR", 8, "\"\" \"\" \"\" \"\" \"\" \"Error in \""); // engine message 5
    lib.Add("STR", 20, "\"line\\nbreak\" \"back\\\\slash\" \"cr\\r\" bare \"\xD2mac\"");
    lib.Add("STR", 21, "// nothing but a comment\n");
    lib.Add("STR", 22, std::string("\0", 1));
    lib.Add("NOD", 0,
            "byte ubyte short ushort long ulong tbyte Dir tushort Dir\n"
            "fbyte fnbyte -2 fnubyte 254 fshort fnshort -3 fnushort 65533 flong fnlong -4 fnulong -5\n"
            "string fstring list short endlist");
    lib.Add("NOD", 1,
            "enum Dir { North, South = 200 };\n"
            "-1, 255, -2, 65535, -3, 0xFFFFFFFF, North, South\n"
            "\"q\\\"b\\\\s\\n\\x\x01\xE9\" 10 20 30");
    lib.Add("NOD", 2, "1 2 Unknown");
    lib.Add("LID", 1, "0x10000000, 3, -7, \"First\", APPVERSTR");
    return folder;
}

TEST(QmLibText, StringsPrintsOneEntryPerLineWithLineEndsEscaped)
{
    const std::string lib = SampleFolder().string();
    ToolRun r = QmLib({"strings", lib, "20"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "line\\nbreak\nback\\\\slash\ncr\\r\nbare\n\xD2mac\n");
    EXPECT_EQ(QmLib({"strings", lib, "21"}).out, "\n"); // one empty entry
    r = QmLib({"strings", lib, "22"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ""); // an empty list prints nothing

    r = QmLib({"strings", lib, "99"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "qmlib: " + lib + ": no resource STR 99\n");
    EXPECT_EQ(QmLib({"strings", lib, "x"}).status, 1);
    EXPECT_EQ(QmLib({"strings", lib}).status, 1);
}

TEST(QmLibText, RecordPrintsEveryStoredItem)
{
    const std::string lib = SampleFolder().string();
    ToolRun r = QmLib({"record", lib, "nod", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    // Runs of equal sizes lie back to back; a change of size pads the run to 4 bytes.
    EXPECT_EQ(r.out, "0 1 -1\n"
                     "1 1 255\n"
                     "4 2 -2\n"
                     "6 2 65535\n"
                     "8 4 -3\n"
                     "12 4 4294967295\n"
                     "16 1 0\n"
                     "20 2 200\n"
                     "24 1 0\n"
                     "25 1 -2\n"
                     "26 1 254\n"
                     "28 2 0\n"
                     "30 2 -3\n"
                     "32 2 65533\n"
                     "36 4 0\n"
                     "40 4 -4\n"
                     "44 4 4294967291\n"
                     "48 4 \"q\\\"b\\\\s\\nx\\x01\\xE9\"\n"
                     "52 4 null\n"
                     "56 4 3\n"
                     "60 2 10\n"
                     "62 2 20\n"
                     "64 2 30\n"
                     "size 66\n");
}

TEST(QmLibText, RecordKnowsTheIdentityFormatInline)
{
    const fs::path folder = SampleFolder();
    ASSERT_EQ(QmLib({"pack", folder.string(), (qmtest::TempDir() / "packed.qmd").string()}).status, 0);
    for (const fs::path& lib : {folder, qmtest::TempDir() / "packed.qmd"}) {
        ToolRun r = QmLib({"record", lib.string(), "LID", "1"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "0 4 268435456\n4 4 3\n8 4 -7\n12 4 \"First\"\n16 4 \"" + plat::GetProductVersion() +
                             "\"\nsize 20\n");
    }
}

TEST(QmLibText, BadRecordsGiveTheParsersMessage)
{
    const std::string lib = SampleFolder().string();
    ToolRun r = QmLib({"record", lib, "NOD", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "qmlib: Fatal Error: Error in NOD 2 - File: parseraw  Line: 991\n");

    r = QmLib({"record", lib, "NOD", "7"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "qmlib: " + lib + ": no resource NOD 7\n");
    r = QmLib({"record", lib, "CBM", "1"}); // no record, so no format is asked for
    EXPECT_EQ(r.status, 1);
    r = QmLib({"record", (qmtest::TempDir() / "none").string(), "NOD", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open the library"), std::string::npos);
}

// A library without the engine's messages ("STR" 8): the report names the message it lacks.
TEST(QmLibText, AReportWithoutTheEngineMessagesNamesItsMessage)
{
    const fs::path folder = qmtest::TempDir() / "no-messages";
    qmtest::FolderLibraryWriter lib(folder);
    lib.Add("NOD", 0, "short short short");
    lib.Add("NOD", 2, "1 2 Unknown");
    const ToolRun r = QmLib({"record", folder.string(), "NOD", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "qmlib: Fatal Error: [engine message 5] NOD 2 - File: parseraw  Line: 991\n");
}

} // namespace
