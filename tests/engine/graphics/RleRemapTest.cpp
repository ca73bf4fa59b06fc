#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Appl.h"
#include "engine/framework/Memory.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/RleStretchDraw.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/RleFixtures.h"

using qmtest::Pixels;
using Rows = std::vector<std::string>;

namespace {

// One row of 4 pixels: a literal run whose first byte is 0 (transparent with key 0), then
// a repeat run of colour 5.
std::unique_ptr<CMemory> Sprite()
{
    return qmtest::BlockOf(qmtest::MakeRls({{1, 4, {0x81, 0, 9, 0x01, 5}}}));
}

DrawRecord Record(DrawProc proc, intptr_t key, CDibSect* mask = nullptr, intptr_t priority = 0)
{
    return DrawRecord{proc, {0, 0, 0, key, reinterpret_cast<intptr_t>(mask), priority}, 0};
}

// Draws the sprite at its own size over a row of 4 pixels.
Rows DrawOver(DrawProc proc, CMemory* sprite, const std::string& row, DrawRecord record)
{
    auto bitmap = qmtest::MakeBitmap(Rows{row});
    proc(sprite, bitmap.get(), CRect(0, 0, 1, 4), &record);
    return Pixels(*bitmap);
}

// A "civ" record format of `count` bytes and a record 1008 holding 255 - i (mod 256) for byte i.
std::vector<deftext::Resource> CivRecord(int count)
{
    std::string format, values;
    for (int i = 0; i < count; ++i) {
        format += "ubyte ";
        values += (i ? ", " : "") + std::to_string((511 - i) % 256);
    }
    return {{"civ", 0, format}, {"civ", 1008, values}};
}

} // namespace

TEST(RleRemap, TheBuiltInTableAndAMissingRecord)
{
    const uint8_t* table = GetRemapTable();
    EXPECT_EQ(table[0], 1);
    EXPECT_EQ(table[7], 8);
    EXPECT_EQ(table[255], 0);
    EXPECT_EQ(GetRemapState(), kRemapNotLoaded);

    // The destination's colour is remapped whatever the sprite's colour; key 0 skips the
    // literal run starting with 0, key 128 remaps every pixel of the sprite's rectangle.
    auto sprite = Sprite();
    EXPECT_EQ(DrawOver(DrawRleRemapped, sprite.get(), "cc7.", Record(DrawRleRemapped, 0)), (Rows{"cc80"}));
    EXPECT_EQ(GetRemapState(), kRemapFailed);
    EXPECT_EQ(DrawOver(DrawRleRemapped, sprite.get(), "cc7.", Record(DrawRleRemapped, 0x80)), (Rows{"dd80"}));

    // A record that appears later is not looked for again.
    deftext::AddFolderLibrary(CivRecord(256));
    EXPECT_EQ(DrawOver(DrawRleRemapped, sprite.get(), "cc7.", Record(DrawRleRemapped, 0)), (Rows{"cc80"}));
    EXPECT_EQ(GetRemapState(), kRemapFailed);
}

TEST(RleRemap, TheRecordIsLoadedOnce)
{
    deftext::AddFolderLibrary(CivRecord(300));
    auto sprite = Sprite();
    EXPECT_EQ(DrawOver(DrawRleRemapped, sprite.get(), "0123", Record(DrawRleRemapped, 0)), (Rows{"01??"}));
    EXPECT_EQ(GetRemapState(), kRemapLoaded);
    EXPECT_EQ(GetRemapTable()[2], 253);
    EXPECT_EQ(GetRemapTable()[255], 0);

    // With the library gone the table stays: nothing is loaded again.
    std::filesystem::remove_all(qmtest::TempDir() / "Data");
    EXPECT_EQ(DrawOver(DrawRleRemapped, sprite.get(), "..12", Record(DrawRleRemapped, 0)), (Rows{"..??"}));
    EXPECT_EQ(GetRemapState(), kRemapLoaded);
    EXPECT_EQ(GetRemapTable()[1], 254);
}

TEST(RleRemap, AShortRecordIsAFailedLoad)
{
    deftext::AddFolderLibrary(CivRecord(100));
    auto sprite = Sprite();
    EXPECT_EQ(DrawOver(DrawRleRemapped, sprite.get(), "0123", Record(DrawRleRemapped, 0)), (Rows{"0134"}));
    EXPECT_EQ(GetRemapState(), kRemapFailed);
    EXPECT_EQ(GetRemapTable()[100], 101);
}

TEST(RleRemap, RemapsOnlyAboveThePriorityMask)
{
    auto sprite = Sprite();
    auto mask = qmtest::MakeBitmap(Rows{"0099"});
    auto record = Record(DrawRleRemapped, 0x80, mask.get(), 5);
    EXPECT_EQ(DrawOver(DrawRleRemapped, sprite.get(), "1234", record), (Rows{"1245"}));
}

TEST(RleBlend, WritesTheColourNearestTheAverage)
{
    InstallGraphicsHooks();
    auto sprite = qmtest::BlockOf(qmtest::MakeRls({{1, 3, {0x00, 40, 0x81, 0, 40}}}));
    // Without the application's palette nothing is drawn.
    EXPECT_EQ(DrawOver(DrawRleBlended, sprite.get(), "1234", Record(DrawRleBlended, 0x80)), (Rows{"1234"}));

    // Colour 40 is (200, 100, 0), colour 41 (100, 50, 255), colour 42 (150, 75, 127); the
    // rest of the table lies far from them.
    std::vector<uint8_t> bytes(2 + 4 * 236, 0);
    bytes[0] = 235;
    const auto put = [&](int index, uint8_t r, uint8_t g, uint8_t b) {
        bytes[2 + 4 * (index - 10)] = r;
        bytes[3 + 4 * (index - 10)] = g;
        bytes[4 + 4 * (index - 10)] = b;
    };
    for (int i = 10; i < 246; ++i)
        put(i, 0, 255, 0);
    auto* palette = new CPalette(qmtest::BlockOf(bytes).release());
    // The palette brightens its table: set the entries it uses as they are.
    plat::ColorTable& entries = *palette->GetHandle();
    entries[40] = {200, 100, 0, kPcNoCollapse};
    entries[41] = {100, 50, 255, kPcNoCollapse};
    entries[42] = {150, 75, 127, kPcNoCollapse};
    CAppl appl;
    appl.InstallPalette(palette, 1);
    const uint8_t blended = palette->NearestIndex(150, 75, 127);
    EXPECT_EQ(blended, 42);

    auto bitmap = qmtest::MakeBitmap(4, 1, 41);
    DrawRecord record = Record(DrawRleBlended, 0, nullptr, 0);
    DrawRleBlended(sprite.get(), bitmap.get(), CRect(0, 0, 1, 4), &record);
    // The literal run starting with 0 is transparent.
    EXPECT_EQ(bitmap->GetPixel(0, 0), 42);
    EXPECT_EQ(bitmap->GetPixel(1, 0), 41);
    EXPECT_EQ(bitmap->GetPixel(2, 0), 41);
    EXPECT_EQ(bitmap->GetPixel(3, 0), 41);
    EXPECT_EQ(sprite->GetLockCount(), 0);
}
