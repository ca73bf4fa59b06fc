#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/Palette.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "platform/Color.h"
#include "platform/Fatal.h"
#include "platform/SystemInfo.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

// A colour table of `count` colours, colour i being (i, 255 - i, i / 2).
std::vector<uint8_t> ColorTableBytes(int count)
{
    std::vector<uint8_t> bytes(2 + 4 * static_cast<size_t>(count), 0);
    bytes[0] = static_cast<uint8_t>(count - 1);
    for (int i = 0; i < count; ++i) {
        bytes[2 + 4 * i] = static_cast<uint8_t>(i);
        bytes[3 + 4 * i] = static_cast<uint8_t>(255 - i);
        bytes[4 + 4 * i] = static_cast<uint8_t>(i / 2);
    }
    return bytes;
}

plat::Rgb Brightened(int i)
{
    return {CPalette::Brighten(static_cast<uint8_t>(i)), CPalette::Brighten(static_cast<uint8_t>(255 - i)),
            CPalette::Brighten(static_cast<uint8_t>(i / 2)), kPcNoCollapse};
}

CMemory* Block(const std::vector<uint8_t>& bytes)
{
    auto* block = new CMemory(static_cast<int32_t>(bytes.size()));
    std::memcpy(block->Lock(), bytes.data(), bytes.size());
    block->Unlock();
    return block;
}

TEST(Palette, BrighteningFollowsTheFiveSeventhsPower)
{
    const struct {
        uint8_t in, out;
    } cases[] = {{0, 0}, {1, 4}, {16, 35}, {64, 95}, {128, 156}, {192, 208}, {254, 254}, {255, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(CPalette::Brighten(c.in), c.out) << int(c.in);
}

TEST(Palette, TablesOfUpTo236ColoursStartAtTenAndTheFixedColoursKeepTheEnds)
{
    for (const int count : {1, 236, 237, 256}) {
        SCOPED_TRACE(count);
        std::vector<uint8_t> bytes = ColorTableBytes(count);
        std::unique_ptr<plat::ColorTable> table(
            CPalette::Create(bytes.data(), static_cast<int32_t>(bytes.size())));
        const int offset = count <= 236 ? 10 : 0;
        for (int i = 0; i < 256; ++i) {
            const plat::Rgb& e = (*table)[static_cast<size_t>(i)];
            if (plat::IsSystemColorIndex(i))
                EXPECT_EQ(e, plat::SystemPaletteEntry(i)) << i;
            else if (i >= offset && i < offset + count)
                EXPECT_EQ(e, Brightened(i - offset)) << i;
            else
                EXPECT_EQ(e, plat::Rgb{}) << i;
        }
    }
}

TEST(Palette, WithoutAPaletteDisplayTheEndsAreBlackAndWhite)
{
    plat::DisplayCaps caps = plat::GetDisplayCaps();
    caps.paletteBased = false;
    caps.bitsPerPixel = 24;
    plat::SetDisplayCaps(caps);
    std::vector<uint8_t> bytes = ColorTableBytes(256);
    std::unique_ptr<plat::ColorTable> table(
        CPalette::Create(bytes.data(), static_cast<int32_t>(bytes.size())));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ((*table)[static_cast<size_t>(i)], (plat::Rgb{0, 0, 0, 0}));
        EXPECT_EQ((*table)[static_cast<size_t>(246 + i)], (plat::Rgb{255, 255, 255, 0}));
    }
    EXPECT_EQ((*table)[10], Brightened(10));
}

TEST(Palette, OnlyTheColoursTheBlockHoldsAreRead)
{
    // The count byte claims 256 colours; the block holds three and a half.
    std::vector<uint8_t> bytes = ColorTableBytes(3);
    bytes[0] = 255;
    bytes.push_back(77);
    bytes.push_back(78);
    std::unique_ptr<plat::ColorTable> table(
        CPalette::Create(bytes.data(), static_cast<int32_t>(bytes.size())));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ((*table)[static_cast<size_t>(10 + i)], Brightened(i));
    EXPECT_EQ((*table)[13], plat::Rgb{});
    EXPECT_EQ(bytes[14], 77) << "bytes past the last whole colour stay untouched";

    // Blocks too small for any colour, and no block, give the fixed colours only.
    for (int32_t size : {0, 1, 5}) {
        std::unique_ptr<plat::ColorTable> t(CPalette::Create(bytes.data(), size));
        EXPECT_EQ((*t)[10], plat::Rgb{}) << size;
        EXPECT_EQ((*t)[255], plat::SystemPaletteEntry(255));
    }
    std::unique_ptr<plat::ColorTable> none(CPalette::Create(nullptr, 100));
    EXPECT_EQ((*none)[0], plat::SystemPaletteEntry(0));
}

TEST(Palette, BuildingTwiceFromTheSameBytesBrightensTwice)
{
    std::vector<uint8_t> bytes = ColorTableBytes(2);
    delete CPalette::Create(bytes.data(), static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(bytes[3], CPalette::Brighten(255 - 0));
    std::unique_ptr<plat::ColorTable> second(
        CPalette::Create(bytes.data(), static_cast<int32_t>(bytes.size())));
    EXPECT_EQ((*second)[11].r, CPalette::Brighten(CPalette::Brighten(1)));
}

TEST(Palette, FromABlockOwnsItsEntriesAndReadsThemBack)
{
    CPalette palette(Block(ColorTableBytes(236)));
    EXPECT_TRUE(palette.IsValid());
    EXPECT_TRUE(palette.OwnsHandle());
    uint8_t r = 0, g = 0, b = 0;
    palette.GetEntry(10 + 64 + 256, &r, &g, &b); // the index is taken modulo 256
    EXPECT_EQ((plat::Rgb{r, g, b, kPcNoCollapse}), Brightened(64));

    CPalette empty;
    EXPECT_FALSE(empty.IsValid());
    empty.GetEntry(5, &r, &g, &b);
    EXPECT_EQ(r + g + b, 0);
}

TEST(Palette, NearestIndexReadsTheTableEntryOfTheHighNibbles)
{
    CPalette palette(Block(ColorTableBytes(236)));
    const plat::ColorTable& entries = *palette.GetHandle();
    EXPECT_EQ(CPalette::NearestTableIndex(0x12, 0x34, 0x56), 0x135);
    EXPECT_EQ(CPalette::NearestTableIndex(255, 255, 255), 0xFFF);
    EXPECT_EQ(palette.NearestIndex(0x12, 0x34, 0x56),
              plat::NearestColorIndex(entries, 1 * 17, 3 * 17, 5 * 17));
    EXPECT_EQ(palette.NearestIndex(255, 255, 255), 255);
    EXPECT_EQ(palette.NearestIndex(0, 0, 0), 0);

    const uint8_t* table = palette.LockNearestTable();
    ASSERT_NE(table, nullptr);
    for (int key : {0x000, 0x135, 0x7A2, 0xFFF}) {
        const auto c = [&](int shift) { return static_cast<uint8_t>(((key >> shift) & 15) * 17); };
        EXPECT_EQ(table[key], plat::NearestColorIndex(entries, c(8), c(4), c(0))) << key;
    }
    palette.UnlockNearestTable();
}

TEST(Palette, CopiesShareTheNearestTableAndOwnTheirEntries)
{
    auto original = std::make_unique<CPalette>(Block(ColorTableBytes(236)));
    const uint8_t* table = original->LockNearestTable();
    original->UnlockNearestTable();

    auto copy = std::make_unique<CPalette>(*original);
    auto copyOfCopy = std::make_unique<CPalette>(*copy);
    EXPECT_NE(copy->GetHandle(), original->GetHandle());
    EXPECT_EQ(*copy->GetHandle(), *original->GetHandle());
    EXPECT_TRUE(copyOfCopy->IsValid());
    original.reset();
    copy.reset();
    EXPECT_EQ(copyOfCopy->LockNearestTable(), table);
    copyOfCopy->UnlockNearestTable();

    // A copy of a palette that wraps entries it does not own still frees the entries it made
    // (the leak checker watches this).
    plat::ColorTable outside = plat::SystemPalette();
    CPalette wrapped(&outside);
    EXPECT_FALSE(wrapped.OwnsHandle());
    CPalette wrappedCopy(wrapped);
    EXPECT_TRUE(wrappedCopy.OwnsHandle());
    EXPECT_EQ(wrappedCopy.NearestIndex(255, 0, 0), plat::NearestColorIndex(outside, 255, 0, 0));
}

TEST(Palette, LoadsItsColourTableFromTheLibraries)
{
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter writer(qmtest::TempDir() / "Lib");
    writer.Add("CLT", 5, ColorTableBytes(20));
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Lib"));

    CPalette palette(5, 0xFFFFFFFFu);
    EXPECT_TRUE(palette.IsValid());
    EXPECT_EQ((*palette.GetHandle())[29], Brightened(19));
    EXPECT_THROW(CPalette(6, 0xFFFFFFFFu), plat::FatalError);
}

} // namespace
