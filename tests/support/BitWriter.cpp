#include "tests/support/BitWriter.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tools/PrefixCode.h"

namespace qmtest {

namespace {

[[noreturn]] void Refuse(const std::string& what) { throw std::logic_error("BitWriter: " + what); }

} // namespace

BitWriter& BitWriter::Put(uint32_t value, int bits)
{
    if (bits < 0 || bits > 32)
        Refuse("field width " + std::to_string(bits));
    for (int i = bits - 1; i >= 0; --i) {
        if (bits_ % 8 == 0)
            bytes_.push_back(0);
        if ((value >> i) & 1)
            bytes_.back() |= static_cast<uint8_t>(0x80 >> (bits_ % 8));
        ++bits_;
    }
    return *this;
}

BitWriter& BitWriter::AB(int a, int b)
{
    if (a < 1 || a > 8 || b < 1 || b > 8)
        Refuse("a and b run from 1 to 8");
    return Put(static_cast<uint32_t>(((a - 1) << 3) | (b - 1)), 6);
}

BitWriter& BitWriter::Value(Code code, uint8_t v, int a, int b, int max)
{
    if (max < (1 << a))
        return Put(v, a);
    if (code == Code::Chain) {
        const int allA = (1 << a) - 1;
        const int allB = (1 << b) - 1;
        if (v < allA)
            return Put(v, a);
        Put(static_cast<uint32_t>(allA), a);
        int left = v - allA;
        int rest = max - allA;
        for (;;) {
            const int step = std::min(left, allB);
            Put(static_cast<uint32_t>(step), b);
            left -= step;
            rest -= allB;
            if (step != allB || rest <= 0)
                break;
        }
        if (left != 0)
            Refuse("chain code cannot carry " + std::to_string(v));
        return *this;
    }
    const auto word = PrefixCodeWord(v, a, b, max);
    if (!word)
        Refuse("prefix code cannot carry " + std::to_string(v));
    return Put(0, word->zeros).Put(word->tail, word->width);
}

BitWriter& BitWriter::Values(Code code, int a, int b, int max, std::span<const uint8_t> values)
{
    for (uint8_t v : values)
        Value(code, v, a, b, max);
    return *this;
}

BitWriter& BitWriter::Select(int mode)
{
    if (mode != 0)
        Refuse("selection modes 1 to 3 carry values");
    return Put(0, 2);
}

BitWriter& BitWriter::Select(int mode, int a, int b, int mapMax, std::span<const uint8_t> values)
{
    if (mode < 1 || mode > 3 || values.empty() || values.size() > 63)
        Refuse("a selection carries 1 to 63 values in mode 1 to 3");
    Put(static_cast<uint32_t>(mode), 2).Put(static_cast<uint32_t>(values.size()), 6).AB(a, b);
    return Values(Code::Prefix, a, b, mapMax, values);
}

BitWriter& BitWriter::Fill(uint8_t value, int repeat)
{
    Kind(3).Put(value, 8);
    if (repeat < 0)
        return Put(0, 1);
    return Put(1, 1).Put(static_cast<uint32_t>(repeat), 16);
}

BitWriter& BitWriter::Copy(uint32_t bitPosition) { return Kind(2).Put(bitPosition, 24); }

BitWriter& BitWriter::PaletteBlock(Code code, int a, int b, int max, std::span<const uint8_t> indices)
{
    if (indices.size() != 64)
        Refuse("a block holds 64 values");
    return Kind(code == Code::Chain ? 0 : 1).AB(a, b).Values(code, a, b, max, indices);
}

} // namespace qmtest
