#pragma once
// Writing the block codec's number codes: the encoder side of what BlockCodec reads with
// ReadPrefixValues. Shared by the image encoder and the tests' hand-made bitstreams.
#include <cstdint>
#include <optional>
#include <span>

// One coded value: `zeros` zero bits, then the low `width` bits of `tail`.
struct CodeWord {
    int zeros = 0;
    uint32_t tail = 0;
    int width = 0;

    int Bits() const { return zeros + width; }
};

// The word that the decoder reads as v with (a, b, max): a plain a-bit number when max is below
// 2^a, the prefix code otherwise. Nothing when the code cannot carry v.
std::optional<CodeWord> PrefixCodeWord(int v, int a, int b, int max);

// The (a, b) that codes the values in the fewest bits, and that many bits.
struct PrefixCodeChoice {
    int a = 1;
    int b = 1;
    int64_t bits = 0;
};
PrefixCodeChoice CheapestPrefixCode(std::span<const uint8_t> values, int max);
