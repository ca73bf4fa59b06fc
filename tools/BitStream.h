#pragma once
// The bits of a block-coded stream as the encoders write them, most significant bit first.
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
