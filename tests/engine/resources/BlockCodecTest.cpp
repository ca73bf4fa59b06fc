#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <vector>

#include "engine/resources/BlockCodec.h"
#include "tests/support/BitWriter.h"
#include "tests/support/CodecFixtures.h"

using namespace BlockCodec;
using qmtest::BitWriter;
using qmtest::Code;

namespace {

// A top-down bitmap whose rows are exactly `width` bytes, so that any write past the picture
// lands outside the allocation and the address sanitizer sees it.
struct Bitmap {
    int width;
    int height;
    std::vector<uint8_t> pixels;
    Bitmap(int w, int h, uint8_t background = 0xEE)
        : width(w), height(h), pixels(static_cast<size_t>(w * h), background)
    {
    }
    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    Status Decode(const std::vector<uint8_t>& image)
    {
        return DecodeToBitmap(image.data(), image.size(), static_cast<int16_t>(width),
                              static_cast<int16_t>(height), pixels.data(), width);
    }
};

// The value of every pixel of an 8x8 tile, by tile order (column by column, down first).
std::vector<uint8_t> TileValues(const Bitmap& bmp)
{
    std::vector<uint8_t> v;
    for (int x = 0; x < bmp.width; x += 8)
        for (int y = 0; y < bmp.height; y += 8)
            v.push_back(bmp.At(x, y));
    return v;
}

std::array<uint8_t, 64> Indices(int modulo)
{
    std::array<uint8_t, 64> v{};
    for (int i = 0; i < 64; ++i)
        v[static_cast<size_t>(i)] = static_cast<uint8_t>(i % modulo);
    return v;
}

std::vector<uint8_t> Identity(int n)
{
    std::vector<uint8_t> map(static_cast<size_t>(n));
    std::iota(map.begin(), map.end(), 0);
    return map;
}

// ---------------------------------------------------------------------------------------------
// Bits and number codes

TEST(BlockCodecBits, ReadMostSignificantBitFirstAndZerosPastTheEnd)
{
    const uint8_t data[] = {0xA5, 0x0F, 0x80};
    const BitSource bits(data, sizeof data);
    struct Case {
        uint32_t pos;
        int n;
        uint32_t value;
    };
    const Case cases[] = {
        {0, 1, 1},        {1, 1, 0},   {0, 8, 0xA5},  {4, 8, 0x50}, {4, 12, 0x50F},
        {0, 17, 0x14A1F}, {8, 0, 0},   {16, 1, 1},    {17, 7, 0}, // last byte
        {20, 8, 0},       {24, 25, 0}, {1000, 25, 0},             // past the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadBits(bits, c.pos, c.n), c.value) << "pos " << c.pos << " n " << c.n;
}

TEST(BlockCodecBits, PrefixCodeReadsEachOfItsThreeForms)
{
    // a = 2, b = 2, max = 20: h = 2, s = 2, K = 4.
    // 0 -> "1 0"; 5 -> "0 1 11" (one zero); 20 -> "0000 110" (K zeros, s + 1 bits).
    const uint8_t data[] = {0x9C, 0x30};
    uint8_t out[3];
    EXPECT_EQ(ReadPrefixValues(BitSource(data, 2), 0, 2, 2, 20, 3, out), 13u);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 5);
    EXPECT_EQ(out[2], 20);

    // a = 1, b = 1: a single 1 bit is the value 0.
    const uint8_t ones[] = {0xC0};
    EXPECT_EQ(ReadPrefixValues(BitSource(ones, 1), 0, 1, 1, 5, 2, out), 2u);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
}

TEST(BlockCodecBits, PrefixCodeWithNoZeroRunIsSPlusOneBitsFromHMinusTwoToTheS)
{
    // a = 2, b = 2, max = 4: h = 2, s = 2, K = 0, so every value is 3 bits r worth r - 2
    // (wrapping at 256): "000" -> 254, "001" -> 255, "110" -> 4, the largest value the map has.
    const uint8_t data[] = {0x07, 0x00};
    uint8_t out[3];
    EXPECT_EQ(ReadPrefixValues(BitSource(data, 2), 0, 2, 2, 4, 3, out), 9u);
    EXPECT_EQ((std::vector<uint8_t>(out, out + 3)), (std::vector<uint8_t>{254, 255, 4}));

    // (a, b, max) with K = 0: every value from 0 to max round-trips in s + 1 bits.
    struct Case {
        int a, b, max;
    };
    const Case cases[] = {{1, 2, 2},   {2, 2, 4},   {2, 2, 5},   {3, 3, 8},  {3, 3, 19},
                          {2, 8, 255}, {5, 4, 100}, {7, 2, 191}, {6, 8, 255}};
    for (const Case& c : cases) {
        BitWriter w;
        std::vector<uint8_t> values(static_cast<size_t>(c.max) + 1);
        std::iota(values.begin(), values.end(), 0);
        w.Values(Code::Prefix, c.a, c.b, c.max, values);
        const int s = c.a + c.b - 2;
        EXPECT_EQ(w.Position(), values.size() * static_cast<size_t>(s + 1)) << "a " << c.a << " b " << c.b;
        std::vector<uint8_t> read(values.size());
        ReadPrefixValues(BitSource(w.Bytes().data(), w.Bytes().size()), 0, c.a, c.b, c.max,
                         static_cast<int>(values.size()), read.data());
        EXPECT_EQ(read, values) << "a " << c.a << " b " << c.b << " max " << c.max;
    }
}

TEST(BlockCodecBits, PrefixCodeCarriesEveryValueForEveryPairOfWidths)
{
    // For every (a, b): the smallest max that is not plain, the largest with K = 0, and 255.
    // Every value up to max, or up to the largest the code reaches when K is held at 32.
    for (int a = 1; a <= 7; ++a)
        for (int b = 1; b <= 8; ++b) {
            const int h = 1 << (a - 1);
            const int s = a + b - 2;
            const int lastWithoutRun = std::min(h + (1 << s) - 1, 255);
            for (int max : {1 << a, lastWithoutRun, 255}) {
                if (max < (1 << a))
                    continue;
                const int k = std::min((max - h) >> s, 32);
                const int largest = std::min(max, h + (k - 1) * (1 << s) + (1 << (s + 1)) - 1);
                BitWriter w;
                std::vector<uint8_t> values(static_cast<size_t>(largest) + 1);
                std::iota(values.begin(), values.end(), 0);
                w.Values(Code::Prefix, a, b, max, values);
                std::vector<uint8_t> read(values.size());
                EXPECT_EQ(ReadPrefixValues(BitSource(w.Bytes().data(), w.Bytes().size()), 0, a, b, max,
                                           static_cast<int>(values.size()), read.data()),
                          w.Position());
                EXPECT_EQ(read, values) << "a " << a << " b " << b << " max " << max;
            }
        }
}

TEST(BlockCodecBits, ChainCodeStopsOnAShortStepOrWhenTheRestIsUsedUp)
{
    // a = 2, b = 2, max = 10: 8 -> "11 11 10", 10 -> "11 11 11 01", 3 -> "11 00", 2 -> "10".
    const uint8_t data[] = {0xFB, 0xF7, 0x20};
    uint8_t out[4];
    EXPECT_EQ(ReadChainValues(BitSource(data, 3), 0, 2, 2, 10, 4, out), 20u);
    EXPECT_EQ((std::vector<uint8_t>(out, out + 4)), (std::vector<uint8_t>{8, 10, 3, 2}));

    // max = 9: after two full steps nothing is left, so 9 is "11 11 11" with no end marker.
    const uint8_t nine[] = {0xFD};
    EXPECT_EQ(ReadChainValues(BitSource(nine, 1), 0, 2, 2, 9, 2, out), 8u);
    EXPECT_EQ(out[0], 9);
    EXPECT_EQ(out[1], 1);
}

TEST(BlockCodecBits, BothCodesArePlainWhenMaxFitsInA)
{
    // Map count 4 and a = 2: every value is a plain 2-bit number.
    const uint8_t data[] = {0x1B}; // 00 01 10 11
    for (auto read : {ReadChainValues, ReadPrefixValues}) {
        uint8_t out[4];
        EXPECT_EQ(read(BitSource(data, 1), 0, 2, 1, 3, 4, out), 8u);
        EXPECT_EQ((std::vector<uint8_t>(out, out + 4)), (std::vector<uint8_t>{0, 1, 2, 3}));
    }
}

TEST(BlockCodecBits, EveryValueRoundTripsThroughBothCodes)
{
    struct Case {
        int a, b, max;
    };
    const Case cases[] = {{1, 1, 5},   {2, 2, 20},  {3, 3, 255}, {4, 4, 255},
                          {2, 6, 255}, {7, 1, 255}, {3, 1, 60}};
    for (const Case& c : cases)
        for (Code code : {Code::Chain, Code::Prefix}) {
            BitWriter w;
            std::vector<uint8_t> values;
            for (int v = 0; v <= c.max; ++v) {
                values.push_back(static_cast<uint8_t>(v));
                w.Value(code, static_cast<uint8_t>(v), c.a, c.b, c.max);
            }
            std::vector<uint8_t> out(values.size());
            const BitSource bits(w.Bytes().data(), w.Bytes().size());
            const auto read = code == Code::Chain ? ReadChainValues : ReadPrefixValues;
            EXPECT_EQ(read(bits, 0, c.a, c.b, c.max, static_cast<int>(values.size()), out.data()),
                      w.Position());
            EXPECT_EQ(out, values) << "a " << c.a << " b " << c.b << " max " << c.max;
        }
}

// ---------------------------------------------------------------------------------------------
// Block kinds

TEST(BlockCodecBlocks, FillWithAndWithoutRepeat)
{
    BitWriter w;
    w.Fill(0x42).Fill(0x07, 300);
    const BitSource bits(w.Bytes().data(), w.Bytes().size());
    const DecoderState state = DecoderState::Identity();
    uint8_t out[64];
    BlockCode code = DecodeBlock(state, bits, 0, out);
    EXPECT_EQ(code.next, 11u);
    EXPECT_EQ(code.repeat, 0);
    EXPECT_EQ(code.kind, 3);
    EXPECT_EQ(std::count(out, out + 64, 0x42), 64);
    code = DecodeBlock(state, bits, 11, out);
    EXPECT_EQ(code.next, 38u);
    EXPECT_EQ(code.repeat, 300);
    EXPECT_EQ(std::count(out, out + 64, 0x07), 64);
}

TEST(BlockCodecBlocks, RepeatedFillStopsAtTheLastBlock)
{
    // A fill repeated 5 times in an image of 4 blocks is written 4 times.
    BitWriter w;
    w.Fill(9, 5);
    Bitmap bmp(8, 32);
    EXPECT_EQ(bmp.Decode(qmtest::MakeImage(4 * 64, std::nullopt, w.Bytes())), Status::Ok);
    EXPECT_EQ(std::count(bmp.pixels.begin(), bmp.pixels.end(), 9), 8 * 32);
}

TEST(BlockCodecBlocks, CopiesYieldTheEarlierBlockOnceAndFollowCopiesOfCopies)
{
    BitWriter w;
    w.Fill(5, 1); // bit 0: two tiles of 5
    w.Fill(6);    // bit 27
    w.Copy(0);    // bit 38: one tile of 5, the repeat is not copied
    w.Copy(38);   // bit 64: a copy of the copy
    w.Copy(27);
    Bitmap bmp(8, 48);
    EXPECT_EQ(bmp.Decode(qmtest::MakeImage(6 * 64, std::nullopt, w.Bytes())), Status::Ok);
    EXPECT_EQ(TileValues(bmp), (std::vector<uint8_t>{5, 5, 6, 5, 5, 6}));
}

TEST(BlockCodecBlocks, CopiesMustPointBackwards)
{
    // Each stream: a fill at bit 0, then a bad copy at bit 11, then a fill that is never reached.
    struct Case {
        const char* name;
        uint32_t target;
    };
    const Case cases[] = {{"itself", 11}, {"forward", 37}, {"far past the end", 0xFFFFFF}};
    for (const Case& c : cases) {
        BitWriter w;
        w.Fill(1).Copy(c.target).Fill(2);
        Bitmap bmp(8, 24);
        EXPECT_EQ(bmp.Decode(qmtest::MakeImage(3 * 64, std::nullopt, w.Bytes())), Status::BadCopy) << c.name;
        EXPECT_EQ(TileValues(bmp), (std::vector<uint8_t>{1, 0xEE, 0xEE})) << c.name;
    }
    // A cycle: the second copy points back at the first, which points forward at the second.
    BitWriter w;
    w.Copy(26).Copy(0);
    uint8_t out[64];
    const BitSource bits(w.Bytes().data(), w.Bytes().size());
    EXPECT_EQ(DecodeBlock(DecoderState::Identity(), bits, 26, out).status, Status::BadCopy);
    EXPECT_EQ(DecodeBlock(DecoderState::Identity(), bits, 0, out).status, Status::BadCopy);
}

TEST(BlockCodecBlocks, LongCopyChainsEndWithAnError)
{
    // Every copy points at the copy before it; the walk is bounded, so a long enough chain fails
    // instead of making each block walk the whole stream.
    BitWriter w;
    w.Fill(3);
    uint32_t previous = 0;
    for (int i = 0; i < 1100; ++i) {
        const uint32_t here = w.Position();
        w.Copy(previous);
        previous = here;
    }
    Bitmap bmp(8, 8 * 1101);
    EXPECT_EQ(bmp.Decode(qmtest::MakeImage(1101 * 64, std::nullopt, w.Bytes())), Status::BadCopy);
    const std::vector<uint8_t> tiles = TileValues(bmp);
    EXPECT_EQ(tiles[1000], 3); // short chains resolve
    EXPECT_EQ(tiles[1100], 0xEE);
}

class BlockCodecPalette : public ::testing::Test {
protected:
    // An 8x8 image with the given colour map and one block.
    std::vector<uint8_t> Decode(const std::vector<uint8_t>& map, const BitWriter& w)
    {
        Bitmap bmp(8, 8);
        EXPECT_EQ(bmp.Decode(qmtest::MakeImage(64, map, w.Bytes())), Status::Ok);
        return bmp.pixels;
    }
    static std::vector<uint8_t> Map8() { return {100, 101, 102, 103, 104, 105, 106, 107}; }
    static std::vector<uint8_t> Expect(const std::vector<uint8_t>& palette, int modulo)
    {
        std::vector<uint8_t> v;
        for (int i = 0; i < 64; ++i)
            v.push_back(palette[static_cast<size_t>(i % modulo)]);
        return v;
    }
};

TEST_F(BlockCodecPalette, WholeMapInBothCodes)
{
    // Map count 8, a = 3: plain 3-bit values.
    for (int kind : {0, 1}) {
        BitWriter w;
        w.Kind(kind).Select(0).AB(3, 2).Values(Code::Prefix, 3, 2, 7, Indices(8));
        EXPECT_EQ(Decode(Map8(), w), Expect(Map8(), 8)) << "kind " << kind;
    }
    // A 20-entry map read with a = 2, b = 2 uses the codes themselves.
    std::vector<uint8_t> map20;
    for (int i = 0; i < 20; ++i)
        map20.push_back(static_cast<uint8_t>(200 + i));
    for (Code code : {Code::Chain, Code::Prefix}) {
        BitWriter w;
        w.Kind(code == Code::Chain ? 0 : 1).Select(0).AB(2, 2).Values(code, 2, 2, 19, Indices(20));
        EXPECT_EQ(Decode(map20, w), Expect(map20, 20));
    }
}

TEST_F(BlockCodecPalette, SelectionsPickMapEntries)
{
    const std::vector<uint8_t> running = {2, 0, 3};       // indices 2, 3, 7
    const std::vector<uint8_t> stepped = {5, 1, 0, 1, 2}; // indices 5, 6, then 1 outright, 3
    struct Case {
        int mode;
        std::vector<uint8_t> values;
        std::vector<uint8_t> palette;
    };
    const Case cases[] = {
        {1, running, {102, 103, 107}},
        {2, stepped, {105, 106, 101, 103}},
        {3, stepped, {105, 106, 101, 103}},
        {2, {4, 0}, {104}}, // a zero step without a value after it makes no entry
    };
    for (const Case& c : cases) {
        const int n = static_cast<int>(c.palette.size());
        const int a = n <= 2 ? 1 : 2;
        BitWriter w;
        w.Kind(1).Select(c.mode, 2, 2, 7, c.values).AB(a, 1).Values(Code::Prefix, a, 1, n - 1, Indices(n));
        EXPECT_EQ(Decode(Map8(), w), Expect(c.palette, n)) << "mode " << c.mode;
    }
}

TEST_F(BlockCodecPalette, SelectionIndicesWrapAt256)
{
    // The running index of mode 1 and the steps of mode 2 go past 255 and wrap.
    std::vector<uint8_t> map(256);
    for (int i = 0; i < 256; ++i)
        map[static_cast<size_t>(i)] = static_cast<uint8_t>(255 - i);
    for (int mode : {1, 2}) {
        BitWriter w;
        const std::vector<uint8_t> values = {250, 10}; // mode 1: 250, 261; mode 2: 250, 260
        w.Kind(1).Select(mode, 4, 4, 255, values).AB(1, 1).Values(Code::Prefix, 1, 1, 1, Indices(2));
        const uint8_t second = mode == 1 ? 5 : 4;
        EXPECT_EQ(Decode(map, w), Expect({map[250], map[second]}, 2)) << "mode " << mode;
    }
}

TEST_F(BlockCodecPalette, AnImageWithoutColourMapUsesTheIdentityMap)
{
    BitWriter w;
    w.Kind(1).AB(8, 1).Values(Code::Prefix, 8, 1, 255, Indices(64));
    Bitmap bmp(8, 8);
    EXPECT_EQ(bmp.Decode(qmtest::MakeImage(64, std::nullopt, w.Bytes())), Status::Ok);
    EXPECT_EQ(bmp.pixels, Expect(Identity(64), 64));
}

// ---------------------------------------------------------------------------------------------
// Tiles

// One fill block per tile, valued 1, 2, 3 ... in decode order.
std::vector<uint8_t> NumberedTiles(int tiles)
{
    BitWriter w;
    for (int i = 1; i <= tiles; ++i)
        w.Fill(static_cast<uint8_t>(i));
    return qmtest::MakeImage(static_cast<uint32_t>(tiles * 64), std::nullopt, w.Bytes());
}

TEST(BlockCodecTiles, FillColumnByColumnDownFirst)
{
    Bitmap wide(16, 8);
    EXPECT_EQ(wide.Decode(NumberedTiles(2)), Status::Ok);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(wide.At(x, 5), x < 8 ? 1 : 2);

    Bitmap square(16, 16);
    EXPECT_EQ(square.Decode(NumberedTiles(4)), Status::Ok);
    EXPECT_EQ(square.At(0, 0), 1);
    EXPECT_EQ(square.At(0, 8), 2);
    EXPECT_EQ(square.At(8, 0), 3);
    EXPECT_EQ(square.At(15, 15), 4);
}

TEST(BlockCodecTiles, ClipAtAWidthAndHeightThatAreNotMultiplesOfEight)
{
    // Rows exactly 13 bytes apart: an unclipped tile would write past the buffer.
    Bitmap bmp(13, 10);
    EXPECT_EQ(bmp.Decode(NumberedTiles(4)), Status::Ok);
    EXPECT_EQ(bmp.At(7, 7), 1);
    EXPECT_EQ(bmp.At(0, 9), 2);
    EXPECT_EQ(bmp.At(12, 0), 3);
    EXPECT_EQ(bmp.At(12, 9), 4);
}

TEST(BlockCodecTiles, ExtraBlocksBeyondTheBitmapAreIgnored)
{
    Bitmap bmp(8, 8);
    EXPECT_EQ(bmp.Decode(NumberedTiles(3)), Status::Ok);
    EXPECT_EQ(std::count(bmp.pixels.begin(), bmp.pixels.end(), 1), 64);
}

TEST(BlockCodecTiles, BottomUpBitmapsStartAtTheLastRow)
{
    // Rows stored bottom-up: picture row 0 is memory row 9.
    std::vector<uint8_t> pixels(8 * 10, 0xEE);
    const std::vector<uint8_t> image = NumberedTiles(2);
    EXPECT_EQ(DecodeToBitmap(image.data(), image.size(), 8, -10, pixels.data(), 8), Status::Ok);
    EXPECT_EQ(pixels[9 * 8], 1); // picture row 0
    EXPECT_EQ(pixels[2 * 8], 1); // picture row 7
    EXPECT_EQ(pixels[1 * 8], 2); // picture row 8
    EXPECT_EQ(pixels[0], 2);     // picture row 9
}

TEST(BlockCodecTiles, RowsNarrowerThanTheWidthAreRefused)
{
    std::vector<uint8_t> pixels(64, 0xEE);
    const std::vector<uint8_t> image = NumberedTiles(1);
    EXPECT_EQ(DecodeToBitmap(image.data(), image.size(), 8, 8, pixels.data(), 7), Status::BadTarget);
    EXPECT_EQ(DecodeToBitmap(image.data(), image.size(), 8, 8, nullptr, 8), Status::BadTarget);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xEE), 64);
    // An empty bitmap takes nothing and is no error.
    EXPECT_EQ(DecodeToBitmap(image.data(), image.size(), 0, 8, nullptr, 0), Status::Ok);
}

TEST(BlockCodecTiles, MaskedDecodeSkipsZeroFillsAndBoundsWhatItWrote)
{
    // Tiles of a 24x16 bitmap in order: (0,0) (0,8) (8,0) (8,8) (16,0) (16,8).
    BitWriter w;
    w.Fill(0, 2).Fill(7).Fill(0).Fill(8);
    std::vector<uint8_t> image = qmtest::MakeImage(6 * 64, std::nullopt, w.Bytes());
    std::vector<uint8_t> pixels(24 * 16, 0xEE);
    CRect bounds;
    EXPECT_EQ(DecodeToBitmapMasked(image.data(), image.size(), 24, 16, pixels.data(), 24, bounds),
              Status::Ok);
    EXPECT_EQ(pixels[0], 0xEE);        // (0,0) skipped
    EXPECT_EQ(pixels[8 * 24 + 8], 7);  // (8,8)
    EXPECT_EQ(pixels[8 * 24 + 16], 8); // (16,8)
    EXPECT_EQ(pixels[16], 0xEE);       // (16,0) skipped
    EXPECT_EQ(bounds, CRect(8, 8, 16, 24));

    // Only zero fills: nothing is written and the bounds stay at their start values.
    BitWriter zeros;
    zeros.Fill(0, 5);
    image = qmtest::MakeImage(6 * 64, std::nullopt, zeros.Bytes());
    std::fill(pixels.begin(), pixels.end(), 0xEE);
    EXPECT_EQ(DecodeToBitmapMasked(image.data(), image.size(), 24, 16, pixels.data(), 24, bounds),
              Status::Ok);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xEE), 24 * 16);
    EXPECT_EQ(bounds, CRect(30000, 30000, 0, 0));
}

// ---------------------------------------------------------------------------------------------
// Whole images and bad data

std::vector<uint8_t> Picture(int w, int h, uint32_t seed)
{
    // Flat areas, a gradient, repeated tiles and noise, so every block kind occurs.
    std::mt19937 rng(seed);
    std::vector<uint8_t> p(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t v;
            if (x < w / 4)
                v = 10;
            else if (x < w / 2)
                v = static_cast<uint8_t>(((x % 8) + (y % 8)) * 3);
            else if (y < h / 2)
                v = static_cast<uint8_t>(x + y);
            else
                v = static_cast<uint8_t>(rng() % (x % 3 == 0 ? 256 : 5));
            p[static_cast<size_t>(y * w + x)] = v;
        }
    return p;
}

TEST(BlockCodecImages, EncodedPicturesDecodePixelForPixel)
{
    const std::pair<int, int> sizes[] = {{1, 1}, {8, 8}, {13, 21}, {64, 40}, {100, 75}};
    for (auto [w, h] : sizes) {
        const std::vector<uint8_t> picture = Picture(w, h, static_cast<uint32_t>(w * h));
        Bitmap bmp(w, h);
        EXPECT_EQ(bmp.Decode(qmtest::EncodeImage(picture.data(), w, h, w)), Status::Ok) << w << "x" << h;
        EXPECT_EQ(bmp.pixels, picture) << w << "x" << h;
    }
}

TEST(BlockCodecImages, BadHeadersAreRefused)
{
    BitWriter w;
    w.Fill(1);
    const std::vector<uint8_t> good = qmtest::MakeImage(64, std::vector<uint8_t>{1, 2, 3}, w.Bytes());
    struct Case {
        const char* name;
        size_t offset;
        uint8_t value;
        size_t keep;
    };
    const Case cases[] = {
        {"shorter than the header", 0, 12, 11},
        {"negative offset", 1, 0x80, good.size()},
        {"offset into the header", 0, 4, good.size()},
        {"offset past the end", 0, 200, good.size()},
        {"colour map past the end", 12, 250, good.size()},
        {"colour map without its count", 0, static_cast<uint8_t>(good.size()), good.size()},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        bad[c.offset] = c.value;
        bad.resize(c.keep);
        Bitmap bmp(8, 8);
        EXPECT_EQ(bmp.Decode(bad), Status::BadHeader) << c.name;
        EXPECT_EQ(std::count(bmp.pixels.begin(), bmp.pixels.end(), 0xEE), 64) << c.name;
    }
}

TEST(BlockCodecImages, TruncatedImagesKeepWhatWasDecodedAndReportTheEnd)
{
    const std::vector<uint8_t> picture = Picture(24, 24, 7);
    const std::vector<uint8_t> image = qmtest::EncodeImage(picture.data(), 24, 24, 24);
    for (size_t keep = 0; keep < image.size(); ++keep) {
        // An exact-size copy, so a read past its end is seen by the sanitizer.
        const std::vector<uint8_t> cut(image.begin(), image.begin() + static_cast<ptrdiff_t>(keep));
        Bitmap bmp(24, 24);
        const Status s = bmp.Decode(cut);
        ASSERT_TRUE(s == Status::BadHeader || s == Status::Truncated) << keep;
        size_t wrong = 0;
        for (size_t i = 0; i < picture.size(); ++i)
            wrong += bmp.pixels[i] != 0xEE && bmp.pixels[i] != picture[i];
        ASSERT_EQ(wrong, 0u) << keep;
    }
}

TEST(BlockCodecImages, HostileCountsEndWithTheBitmapOrTheData)
{
    // A value count of 2^32 - 1 with a fill repeated 65535 times ends when the bitmap is full.
    BitWriter w;
    w.Fill(4, 65535);
    std::vector<uint8_t> image = qmtest::MakeImage(0xFFFFFFFF, std::nullopt, w.Bytes());
    Bitmap bmp(64, 64);
    EXPECT_EQ(bmp.Decode(image), Status::Ok);
    EXPECT_EQ(std::count(bmp.pixels.begin(), bmp.pixels.end(), 4), 64 * 64);

    // The same count with one block of data ends at the data's end.
    BitWriter one;
    one.Fill(4);
    image = qmtest::MakeImage(0xFFFFFFFF, std::nullopt, one.Bytes());
    Bitmap big(64, 64);
    EXPECT_EQ(big.Decode(image), Status::Truncated);
    EXPECT_EQ(big.At(0, 0), 4);
}

TEST(BlockCodecImages, CorruptedImagesNeverReachOutsideTheirBuffers)
{
    const std::vector<uint8_t> picture = Picture(32, 24, 3);
    const std::vector<uint8_t> image = qmtest::EncodeImage(picture.data(), 32, 24, 32);
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bad = image;
        for (int flips = 0; flips < 1 + round % 4; ++flips)
            bad[rng() % bad.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        Bitmap bmp(32, 24);
        (void)bmp.Decode(bad);
        CRect bounds;
        (void)DecodeToBitmapMasked(bad.data(), bad.size(), 32, -24, bmp.pixels.data(), 32, bounds);
    }
}

} // namespace
