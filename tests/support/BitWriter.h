#pragma once
// Hand-assembles block-codec bitstreams, most significant bit first, so that a test states a
// coded image or sound block field by field:
//
//   qmtest::BitWriter w;
//   w.Fill(7, 3);                                  // kind 3: value 7, repeated 3 more times
//   w.Copy(0);                                     // kind 2: the block at bit 0
//   w.Kind(1).Select(0).AB(2, 1).Values(qmtest::Code::Prefix, 2, 1, 3, indices);
//
// Every encoder throws std::logic_error when asked for a value its code cannot carry, so a
// broken fixture fails loudly instead of decoding to something else.
#include <cstdint>
#include <span>
#include <vector>

namespace qmtest {

enum class Code { Chain, Prefix };

class BitWriter {
public:
    // Appends the low `bits` bits of value (0 to 32 bits).
    BitWriter& Put(uint32_t value, int bits);
    // Bits written so far: the position of whatever is written next.
    uint32_t Position() const { return bits_; }
    // The stream, its last byte padded with zero bits.
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

    // One value in a number code, as the decoder reads it with (a, b, max).
    BitWriter& Value(Code code, uint8_t v, int a, int b, int max);
    BitWriter& Values(Code code, int a, int b, int max, std::span<const uint8_t> values);

    // Block fields.
    BitWriter& Kind(int kind) { return Put(static_cast<uint32_t>(kind), 2); }
    // The 6-bit pair: a - 1 in the high three bits, b - 1 in the low three.
    BitWriter& AB(int a, int b);
    // A palette selection field of an image with a colour map (2 bits). Mode 0 takes the whole
    // map; modes 1 to 3 carry their values in the prefix code with the map's largest index.
    BitWriter& Select(int mode);
    BitWriter& Select(int mode, int a, int b, int mapMax, std::span<const uint8_t> values);

    // Whole blocks. A negative repeat writes a fill without the repeat flag.
    BitWriter& Fill(uint8_t value, int repeat = -1);
    BitWriter& Copy(uint32_t bitPosition);
    // A palette block of a stream without selection field (sound): kind, pair, 64 values.
    BitWriter& PaletteBlock(Code code, int a, int b, int max, std::span<const uint8_t> indices);

private:
    std::vector<uint8_t> bytes_;
    uint32_t bits_ = 0;
};

} // namespace qmtest
