#include "tools/PrefixCode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

std::optional<CodeWord> PrefixCodeWord(int v, int a, int b, int max)
{
    if (v < 0 || v > max || a < 1 || a > 8 || b < 1 || b > 8)
        return std::nullopt;
    if (max < (1 << a))
        return CodeWord{0, static_cast<uint32_t>(v), a};
    const int h = 1 << (a - 1);
    const int s = a + b - 2;
    // K: the longest run of zeros the decoder counts (max reaches 2^a here, so K >= 0).
    const int k = std::min(((max - h - (h << b)) >> s) + 2, 32);
    if (k > 0 && v < h)
        return CodeWord{0, static_cast<uint32_t>(h | v), a}; // a 1 bit, then a - 1 bits
    const int zeros = k > 0 ? ((v - h) >> s) + 1 : 0;
    if (zeros < k) // zeros, a 1 bit, s bits
        return CodeWord{zeros, (1u << s) | (static_cast<uint32_t>(v - h) & ((1u << s) - 1)), s + 1};
    // K zeros and s + 1 bits: with K = 0 the only form, worth h - 2^s + r.
    const int r = v - h - (k - 1) * (1 << s);
    if (r < 0 || r >= (1 << (s + 1)))
        return std::nullopt;
    return CodeWord{k, static_cast<uint32_t>(r), s + 1};
}

PrefixCodeChoice CheapestPrefixCode(std::span<const uint8_t> values, int max)
{
    // Each distinct value once, with how often it occurs.
    std::array<int64_t, 256> counts{};
    for (uint8_t v : values)
        ++counts[v];
    std::vector<int> distinct;
    for (int v = 0; v < 256; ++v)
        if (counts[static_cast<size_t>(v)] > 0)
            distinct.push_back(v);
    // The plain width first: every value up to max fits it.
    const int plain = std::max(1, static_cast<int>(std::bit_width(static_cast<unsigned>(max))));
    PrefixCodeChoice best{plain, 1, static_cast<int64_t>(values.size()) * plain};
    for (int a = 1; a < plain && a <= 8; ++a)
        for (int b = 1; b <= 8; ++b) {
            int64_t bits = 0;
            for (int v : distinct) {
                const auto word = PrefixCodeWord(v, a, b, max);
                if (!word || (bits += counts[static_cast<size_t>(v)] * word->Bits()) >= best.bits) {
                    bits = -1;
                    break;
                }
            }
            if (bits >= 0)
                best = {a, b, bits};
        }
    return best;
}
