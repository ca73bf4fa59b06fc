#include <gtest/gtest.h>

#include "engine/resources/BigEndian.h"
#include "engine/resources/MegaFormat.h"
#include "platform/Files.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmLib.h"

namespace fs = std::filesystem;

namespace {

using qmtest::Bytes;
using qmtest::ToolRun;

std::string ReadFile(const fs::path& path) { return qmtest::ReadWholeFile(path); }

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) { qmtest::WriteFile(path, bytes); }

ToolRun QmLib(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmLib, args); }

// A single-file library with an absent entry (size 0) and a negative number.
fs::path SampleLibrary()
{
    const fs::path path = qmtest::TempDir() / "sample.qmd";
    WriteBytes(path, BuildMegaLibrary({{"CBM", -5, Bytes("minus five")},
                                       {"CBM", 5, {}},
                                       {"CBM", 123, Bytes(std::string("bin\0ary", 7))},
                                       {"STR", 8, Bytes("Out of memory\n")}},
                                      20, 0));
    return path;
}

} // namespace

TEST(QmLib, ListsPresentResourcesOfASingleFileLibraryInDirectoryOrder)
{
    const ToolRun r = QmLib({"list", SampleLibrary().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CBM -5 10\nCBM 123 7\nSTR 8 14\n");
    EXPECT_EQ(r.err, "");
}

TEST(QmLib, ExtractsTheBytesWhateverTheCaseOfTheType)
{
    const fs::path lib = SampleLibrary();
    const ToolRun r = QmLib({"extract", lib.string(), "cbm", "123"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string("bin\0ary", 7));
    EXPECT_EQ(QmLib({"extract", lib.string(), "Str", "8"}).out, "Out of memory\n");
}

TEST(QmLib, ErrorsAreOneLineAndStatusOne)
{
    const fs::path lib = SampleLibrary();
    const fs::path corrupt = qmtest::TempDir() / "corrupt.qmd";
    auto bytes = BuildMegaLibrary({{"CBM", 1, Bytes("x")}}, 20, 0);
    PutBigEndian32(&bytes[12], 0x7FFFFFF0u); // directory far past the end
    WriteBytes(corrupt, bytes);
    WriteBytes(qmtest::TempDir() / "short.qmd", Bytes("QMK3"));
    // Header counts of 0, which the engine refuses to open: no types, no resources, neither.
    auto noTypes = BuildMegaLibrary({{"CBM", 1, Bytes("x")}}, 20, 0);
    PutBigEndian16(&noTypes[2], 0);
    WriteBytes(qmtest::TempDir() / "no-types.qmd", noTypes);
    auto noResources = BuildMegaLibrary({{"CBM", 1, Bytes("x")}}, 19, 0);
    PutBigEndian32(&noResources[4], 0);
    WriteBytes(qmtest::TempDir() / "no-resources.qmd", noResources);
    WriteBytes(qmtest::TempDir() / "nothing.qmd", BuildMegaLibrary({}, 20, 0));
    qmtest::WriteFile(qmtest::TempDir() / "full" / "x.txt", "x");

    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"list"},
        {"list", (qmtest::TempDir() / "missing.qmd").string()},
        {"list", corrupt.string()},
        {"list", (qmtest::TempDir() / "short.qmd").string()},
        {"list", (qmtest::TempDir() / "no-types.qmd").string()},
        {"list", (qmtest::TempDir() / "no-resources.qmd").string()},
        {"list", (qmtest::TempDir() / "nothing.qmd").string()},
        {"extract", (qmtest::TempDir() / "no-types.qmd").string(), "CBM", "1"},
        {"unpack", (qmtest::TempDir() / "no-resources.qmd").string(), (qmtest::TempDir() / "none").string()},
        {"extract", lib.string(), "CBM", "5"},   // size 0: absent
        {"extract", lib.string(), "CBM", "124"}, // no entry
        {"extract", lib.string(), "XYZ", "1"},
        {"extract", lib.string(), "CBM", "12x"},
        {"extract", lib.string(), "CBM", "4294967296"},
        {"extract", lib.string(), "CBM", "-"},
        {"unpack", lib.string(), (qmtest::TempDir() / "full").string()},
        {"pack", lib.string(), (qmtest::TempDir() / "out.qmd").string()}, // not a folder
        {"pack", qmtest::TempDir().string(), "out.qmd", "--level", "3"},
        {"pack", qmtest::TempDir().string(), "out.qmd", "--version", "70000"},
        {"pack", qmtest::TempDir().string(), "out.qmd", "--stamp"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args)
            joined += a + " ";
        const ToolRun r = QmLib(args);
        EXPECT_EQ(r.status, 1) << joined;
        EXPECT_EQ(r.out, "") << joined;
        ASSERT_FALSE(r.err.empty()) << joined;
        EXPECT_EQ(r.err.rfind("qmlib: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    const ToolRun empty = QmLib({"list", (qmtest::TempDir() / "nothing.qmd").string()});
    EXPECT_NE(empty.err.find("nothing.qmd: an empty library"), std::string::npos) << empty.err;
}

TEST(QmLib, UnpackWritesCanonicalNamesIntoANewFolder)
{
    const fs::path out = qmtest::TempDir() / "unpacked";
    const ToolRun r = QmLib({"unpack", SampleLibrary().string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(out / "CBM" / "-00005.CBM"), "minus five");
    EXPECT_EQ(ReadFile(out / "CBM" / "000123.CBM"), std::string("bin\0ary", 7));
    EXPECT_EQ(ReadFile(out / "STR" / "000008.STR"), "Out of memory\n");
    EXPECT_FALSE(fs::exists(out / "CBM" / "000005.CBM")); // absent entries stay out
}

TEST(QmLib, UnpackRefusesTypesThatWouldLeaveTheFolder)
{
    const fs::path lib = qmtest::TempDir() / "evil.qmd";
    WriteBytes(lib, BuildMegaLibrary({{"..", 1, Bytes("x")}}, 20, 0));
    const ToolRun r = QmLib({"unpack", lib.string(), (qmtest::TempDir() / "out" / "deeper").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(qmtest::TempDir() / "out" / "000001.."));
}

namespace {

// A folder library as people write them by hand: names with suffixes, an alternative folder,
// an ignored "(...)" folder, an empty file and types in mixed case.
fs::path HandWrittenFolder()
{
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "src.qmd");
    lib.Add("SND", 7, "seven");
    lib.Add("CBM", 123, "house", "front"); // 000123 front.CBM
    lib.Add("CBM", -5, "minus");
    lib.Add("CBM", 9, ""); // empty: not present
    lib.Add("lid", 1, "1 2 3");
    qmtest::WriteFile(lib.Folder() / "CBM" / "Winter" / "000124.CBM", "winter");
    qmtest::WriteFile(lib.Folder() / "CBM" / "(old)" / "000125.CBM", "old");
    qmtest::WriteFile(lib.Folder() / "CBM" / "notes.txt", "not a resource");
    return lib.Folder();
}

} // namespace

TEST(QmLib, ListsAFolderLibraryInTheOrderPackWritesIt)
{
    const ToolRun r = QmLib({"list", HandWrittenFolder().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CBM -5 5\nCBM 123 5\nCBM 124 6\nlid 1 5\nSND 7 5\n");
}

TEST(QmLib, PackThenUnpackRoundTripsWithCanonicalNames)
{
    const fs::path packed = qmtest::TempDir() / "packed.qmd";
    ToolRun r = QmLib({"pack", HandWrittenFolder().string(), packed.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(QmLib({"list", packed.string()}).out, "CBM -5 5\nCBM 123 5\nCBM 124 6\nlid 1 5\nSND 7 5\n");

    // Version 20, offset 8 zero, stamp 0, data in directory order, directory after the data.
    const std::string bytes = ReadFile(packed);
    ASSERT_EQ(bytes.size(), 20u + 26u + 5u * 20u);
    EXPECT_EQ(bytes.substr(0, 20), std::string("\0\x14\0\x03\0\0\0\x05\0\0\0\0\0\0\0\x2e\0\0\0\0", 20));
    EXPECT_EQ(bytes.substr(20, 26), "minushousewinter1 2 3seven");

    const fs::path out = qmtest::TempDir() / "out";
    r = QmLib({"unpack", packed.string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(out / "CBM" / "-00005.CBM"), "minus");
    EXPECT_EQ(ReadFile(out / "CBM" / "000123.CBM"), "house");
    EXPECT_EQ(ReadFile(out / "CBM" / "000124.CBM"), "winter");
    EXPECT_EQ(ReadFile(out / "lid" / "000001.lid"), "1 2 3");
    EXPECT_EQ(ReadFile(out / "SND" / "000007.SND"), "seven");
    size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(out))
        files += e.is_regular_file();
    EXPECT_EQ(files, 5u);

    // The unpacked folder packs to the same bytes.
    const fs::path again = qmtest::TempDir() / "again.qmd";
    ASSERT_EQ(QmLib({"pack", out.string(), again.string()}).status, 0);
    EXPECT_EQ(ReadFile(again), bytes);
    // A folder library unpacks too.
    ASSERT_EQ(QmLib({"unpack", out.string(), (qmtest::TempDir() / "copy").string()}).status, 0);
    EXPECT_EQ(ReadFile(qmtest::TempDir() / "copy" / "CBM" / "-00005.CBM"), "minus");
}

TEST(QmLib, PackTakesVersionAndStampAndRefusesLongTypeNames)
{
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "src");
    lib.Add("STR", 8, "text");
    const fs::path v19 = qmtest::TempDir() / "v19.qmd";
    ASSERT_EQ(QmLib({"pack", lib.Folder().string(), v19.string(), "--version", "19"}).status, 0);
    EXPECT_EQ(ReadFile(v19).substr(0, 16), std::string("\0\x13\0\x01\0\0\0\x01\0\0\0\0\0\0\0\x14", 16));
    const fs::path stamped = qmtest::TempDir() / "stamped.qmd";
    ASSERT_EQ(QmLib({"pack", lib.Folder().string(), stamped.string(), "--stamp", "4294967295"}).status, 0);
    EXPECT_EQ(ReadFile(stamped).substr(16, 4), "\xFF\xFF\xFF\xFF");

    lib.Add("LONGTYPE", 1, "x");
    const ToolRun r = QmLib({"pack", lib.Folder().string(), (qmtest::TempDir() / "bad.qmd").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("LONGTYPE"), std::string::npos);
    EXPECT_FALSE(fs::exists(qmtest::TempDir() / "bad.qmd"));
}

TEST(QmLib, FolderToolLeavesTheDrivesAsTheyWere)
{
    const auto drives = plat::GetDrives();
    ASSERT_EQ(QmLib({"list", HandWrittenFolder().string()}).status, 0);
    ASSERT_EQ(QmLib({"list", (qmtest::TempDir() / "nowhere").string()}).status, 1);
    ASSERT_EQ(plat::GetDrives().size(), drives.size());
    EXPECT_EQ(plat::GetDrives()[0].root, drives[0].root);
}
