#pragma once
// The bits of a block-coded stream as the encoders write them, most significant bit first,
// and the block code both the picture and the sound encoders write alike.
#include <algorithm>
#include <cstdint>
#include <vector>

class BitStream {
public:
    // Appends the low `count` bits of value.
    void Put(uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            if (bits_ % 8 == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1)
                bytes_.back() |= static_cast<uint8_t>(0x80 >> (bits_ % 8));
            ++bits_;
        }
    }
    // Bits written so far: the position of whatever is written next.
    uint32_t Position() const { return bits_; }
    // The stream, its last byte padded with zero bits.
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    uint32_t bits_ = 0;
};

// Fill blocks of one value standing for `count` blocks in a row: a fill carries up to 65535
// repeats, so a longer run takes several.
inline void PutFillBlocks(BitStream& bits, uint8_t value, uint32_t count)
{
    constexpr uint32_t kMaxBlocks = 65536;
    while (count > 0) {
        const uint32_t n = std::min(count, kMaxBlocks);
        bits.Put(3, 2);
        bits.Put(value, 8);
        if (n == 1) {
            bits.Put(0, 1);
        } else {
            bits.Put(1, 1);
            bits.Put(n - 1, 16);
        }
        count -= n;
    }
}
