#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/resources/BigEndian.h"
#include "engine/resources/MegaFormat.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tools/QmLib.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    qmtest::WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

ToolRun QmLib(std::vector<std::string> args)
{
    std::ostringstream out, err;
    ToolRun r;
    r.status = RunQmLib(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

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
    qmtest::WriteFile(qmtest::TempDir() / "full" / "x.txt", "x");

    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"list"},
        {"list", (qmtest::TempDir() / "missing.qmd").string()},
        {"list", corrupt.string()},
        {"list", (qmtest::TempDir() / "short.qmd").string()},
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
