#include <gtest/gtest.h>

#include <cstring>

#include "engine/resources/BigEndian.h"
#include "engine/resources/MegaFormat.h"

namespace {

std::vector<uint8_t> Bytes(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }

MegaReadAt ReaderOf(const std::vector<uint8_t>& file)
{
    return [&file](uint64_t pos, void* buf, size_t n) {
        if (pos > file.size() || n > file.size() - pos)
            return false;
        std::memcpy(buf, file.data() + pos, n);
        return true;
    };
}

int16_t ReadDir(const std::vector<uint8_t>& file, MegaDirectory& dir)
{
    return dir.Read(ReaderOf(file), file.size());
}

std::vector<MegaResource> ThreeTypes()
{
    return {{"CBM", 5, Bytes("five")},
            {"CBM", 100, Bytes("hundred")},
            {"lid", 1, Bytes("id")},
            {"SND", -3, Bytes("minus")},
            {"SND", 7, Bytes("seven")}};
}

} // namespace

TEST(BigEndianReader, ReadsInOrderAndRefusesToPassTheEnd)
{
    const uint8_t raw[] = {0x01, 0x02, 0xFF, 0xFE, 0x00, 0x00, 0x00};
    BigEndianReader in(raw, sizeof raw);
    uint16_t u = 0;
    int32_t i = 0;
    ASSERT_TRUE(in.ReadU16(u));
    EXPECT_EQ(u, 0x0102);
    ASSERT_TRUE(in.ReadI32(i));
    EXPECT_EQ(i, static_cast<int32_t>(0xFFFE0000u));
    EXPECT_FALSE(in.ReadU16(u)); // one byte left: nothing is read
    EXPECT_EQ(u, 0x0102);
    EXPECT_EQ(in.Remaining(), 1u);
}

TEST(MegaFormat, BuiltFileReadsBackWithHeaderTypesAndEntries)
{
    for (uint16_t version : {19, 20}) {
        SCOPED_TRACE(version);
        const auto file = BuildMegaLibrary(ThreeTypes(), version, 123456);
        MegaDirectory dir;
        ASSERT_EQ(ReadDir(file, dir), 0);
        EXPECT_EQ(dir.header.version, version);
        EXPECT_EQ(dir.header.stamp, version >= 20 ? 123456u : 0u);
        EXPECT_EQ(dir.header.reserved, 0u);
        EXPECT_EQ(dir.header.typeCount, 3);
        EXPECT_EQ(dir.header.resourceCount, 5);
        // Data right after the header, directory right after the data.
        EXPECT_EQ(dir.entries[0].offset, version >= 20 ? 20 : 16);
        EXPECT_EQ(dir.header.dirOffset, file.size() - 5 * kMegaEntrySize);
        ASSERT_EQ(dir.types.size(), 3u);
        EXPECT_EQ(MegaTypeName(dir.types[1].type), "lid");
        EXPECT_EQ(dir.types[2].first, 3);
        EXPECT_EQ(dir.types[2].count, 2);
        const int32_t i = dir.FindEntry("snd", -3);
        ASSERT_GE(i, 0);
        const MegaEntry& e = dir.entries[static_cast<size_t>(i)];
        EXPECT_EQ(std::string(file.begin() + e.offset, file.begin() + e.offset + e.size), "minus");
    }
}

TEST(MegaFormat, SearchesFoldCaseAndStopAtTheTable)
{
    const auto file = BuildMegaLibrary(ThreeTypes(), 20, 0);
    MegaDirectory dir;
    ASSERT_EQ(ReadDir(file, dir), 0);
    struct Case {
        const char* type;
        int32_t id;
        int32_t index;
    };
    const Case cases[] = {
        {"CBM", 5, 0},  {"cbm", 100, 1}, {"LID", 1, 2},   {"Snd", 7, 4},
        {"CBM", 6, -1}, {"SND", 8, -1},  {"SND", -4, -1}, {"ZZZ", 1, -1}, // sorts after every type
        {"AAA", 1, -1}, {"", 1, -1},     {"CB", 5, -1},   {"CBMX", 5, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dir.FindEntry(c.type, c.id), c.index) << c.type << " " << c.id;
    // Types compare within their 8 bytes: a longer request is cut there.
    EXPECT_EQ(CompareMegaTypes("ABCDEFGHxyz", "abcdefgh"), 0);
    EXPECT_FALSE(SameMegaType("CBM", "cbm"));
}

TEST(MegaFormat, OneEntryDirectoryIsOneRunAtIndexZero)
{
    const auto file = BuildMegaLibrary({{"STR", 8, Bytes("x")}}, 20, 0);
    MegaDirectory dir;
    ASSERT_EQ(ReadDir(file, dir), 0);
    ASSERT_EQ(dir.types.size(), 1u);
    EXPECT_EQ(dir.types[0].first, 0);
    EXPECT_EQ(dir.types[0].count, 1);
    EXPECT_EQ(dir.FindEntry("str", 8), 0);
}

TEST(MegaFormat, EntriesOfSizeBelowOneOrWithDataOutsideTheFileAreAbsent)
{
    auto file = BuildMegaLibrary({{"CBM", 1, Bytes("a")},
                                  {"CBM", 2, Bytes("b")},
                                  {"CBM", 3, Bytes("c")},
                                  {"CBM", 4, Bytes("d")},
                                  {"CBM", 5, Bytes("e")}},
                                 20, 0);
    MegaDirectory dir;
    ASSERT_EQ(ReadDir(file, dir), 0);
    const size_t d = dir.header.dirOffset;
    PutBigEndian32(&file[d + 0 * 20 + 12], 0);                                  // size 0
    PutBigEndian32(&file[d + 1 * 20 + 12], static_cast<uint32_t>(-7));          // deleted
    PutBigEndian32(&file[d + 2 * 20 + 16], static_cast<uint32_t>(file.size())); // past the end
    PutBigEndian32(&file[d + 3 * 20 + 16], static_cast<uint32_t>(-1));          // negative
    PutBigEndian32(&file[d + 4 * 20 + 12], 0x7FFFFFFF);                         // too large
    ASSERT_EQ(ReadDir(file, dir), 0);
    for (int32_t id = 1; id <= 5; ++id) {
        EXPECT_EQ(dir.FindEntry("CBM", id), -1) << id;
        EXPECT_EQ(dir.FindEntryIndex("CBM", id), id - 1) << id;
    }
}

TEST(MegaFormat, CorruptHeadersAndDirectoriesDoNotOpen)
{
    const auto good = BuildMegaLibrary(ThreeTypes(), 20, 0);
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> spoil;
        int16_t status;
    };
    const Case cases[] = {
        {"empty file", [](auto& f) { f.clear(); }, 6},
        {"short header", [](auto& f) { f.resize(15); }, 6},
        {"stamp cut off", [](auto& f) { f.resize(18); }, 6},
        {"type count 0", [](auto& f) { PutBigEndian16(&f[2], 0); }, 2},
        {"resource count 0", [](auto& f) { PutBigEndian32(&f[4], 0); }, 2},
        {"negative type count", [](auto& f) { PutBigEndian16(&f[2], 0xFFFF); }, 6},
        {"negative resource count", [](auto& f) { PutBigEndian32(&f[4], 0x80000000u); }, 6},
        {"directory past the end",
         [](auto& f) { PutBigEndian32(&f[12], static_cast<uint32_t>(f.size() - 10)); }, 6},
        {"directory offset huge", [](auto& f) { PutBigEndian32(&f[12], 0xFFFFFFF0u); }, 6},
        {"resource count too large", [](auto& f) { PutBigEndian32(&f[4], 0x7FFFFFFF); }, 6},
        {"truncated directory", [](auto& f) { f.resize(f.size() - 1); }, 6},
        {"more runs than types", [](auto& f) { PutBigEndian16(&f[2], 2); }, 6},
    };
    for (const Case& c : cases) {
        auto file = good;
        c.spoil(file);
        MegaDirectory dir;
        EXPECT_EQ(ReadDir(file, dir), c.status) << c.what;
        EXPECT_EQ(dir.FindEntry("CBM", 5), -1) << c.what;
    }
}

TEST(MegaFormat, FewerRunsThanTheTypeCountStillOpen)
{
    auto file = BuildMegaLibrary(ThreeTypes(), 20, 0);
    PutBigEndian16(&file[2], 9);
    MegaDirectory dir;
    ASSERT_EQ(ReadDir(file, dir), 0);
    EXPECT_EQ(dir.types.size(), 3u);
    EXPECT_EQ(dir.FindEntry("SND", 7), 4);
}

TEST(MegaFormat, BuildRefusesTypesThatDoNotFitEightBytes)
{
    EXPECT_THROW(BuildMegaLibrary({{"ABCDEFGH", 1, Bytes("x")}}, 20, 0), std::invalid_argument);
    EXPECT_NO_THROW(BuildMegaLibrary({{"ABCDEFG", 1, Bytes("x")}}, 20, 0));
}
