#include "tools/SoundEncoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

#include "engine/resources/BlockCodec.h"
#include "engine/resources/DecodeStrm.h"
#include "tools/BitStream.h"

namespace {

constexpr int32_t kBlock = BlockCodec::kBlockValues;
constexpr int kLaneBytes = 16;

using LaneStates = std::array<uint8_t, kLaneBytes>;

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The position of each value in the fixed table the decoder maps block values through.
std::array<uint8_t, 256> TableIndices()
{
    const BlockCodec::DecoderState table = CDecodeStrm::SoundTable();
    std::array<uint8_t, 256> index{};
    for (int i = 0; i < 256; ++i)
        index[table.map[i]] = static_cast<uint8_t>(i);
    return index;
}

// Bits the chain code with widths (a, b) takes for a value up to 255.
int ChainBits(int a, int b, int v)
{
    const int allA = (1 << a) - 1;
    if (a == 8 || v < allA)
        return a; // 8 bits are read as plain numbers
    const int allB = (1 << b) - 1;
    int rem = v - allA;
    int rest = 255 - allA;
    int bits = a + b;
    while (rem >= allB && rest - allB > 0) {
        rem -= allB;
        rest -= allB;
        bits += b;
    }
    return bits;
}

// ChainBits for every width pair and value.
struct ChainCosts {
    uint16_t bits[9][9][256];
    ChainCosts()
    {
        for (int a = 1; a <= 8; ++a)
            for (int b = 1; b <= 8; ++b)
                for (int v = 0; v < 256; ++v)
                    bits[a][b][v] = static_cast<uint16_t>(ChainBits(a, b, v));
    }
};

void PutChain(BitStream& bits, int a, int b, int v)
{
    const int allA = (1 << a) - 1;
    if (a == 8 || v < allA) {
        bits.Put(static_cast<uint32_t>(v), a);
        return;
    }
    const int allB = (1 << b) - 1;
    bits.Put(static_cast<uint32_t>(allA), a);
    int rem = v - allA;
    int rest = 255 - allA;
    while (rem >= allB && rest - allB > 0) {
        bits.Put(static_cast<uint32_t>(allB), b);
        rem -= allB;
        rest -= allB;
    }
    bits.Put(static_cast<uint32_t>(rem), b);
}

class BlockWriter {
public:
    void Fill(uint8_t value, uint32_t count) { PutFillBlocks(bits_, value, count); }

    // Kind 0 over the whole fixed table, with the widths that take the fewest bits.
    void Values(const uint8_t* values)
    {
        uint8_t indices[kBlock];
        uint8_t counts[256] = {};
        uint8_t distinct[kBlock];
        int n = 0;
        for (int i = 0; i < kBlock; ++i) {
            indices[i] = indices_[values[i]];
            if (counts[indices[i]]++ == 0)
                distinct[n++] = indices[i];
        }
        static const ChainCosts costs;
        int bestA = 8, bestB = 1, best = 8 * kBlock;
        for (int a = 1; a < 8; ++a)
            for (int b = 1; b <= 8; ++b) {
                int total = 0;
                for (int k = 0; k < n && total < best; ++k)
                    total += counts[distinct[k]] * costs.bits[a][b][distinct[k]];
                if (total < best) {
                    best = total;
                    bestA = a;
                    bestB = b;
                }
            }
        bits_.Put(0, 2);
        bits_.Put(static_cast<uint32_t>(((bestA - 1) << 3) | (bestB - 1)), 6);
        for (uint8_t v : indices)
            PutChain(bits_, bestA, bestB, v);
    }

    uint32_t Position() const { return bits_.Position(); }
    const std::vector<uint8_t>& Bytes() const { return bits_.Bytes(); }

private:
    BitStream bits_;
    std::array<uint8_t, 256> indices_ = TableIndices();
};

// The coded values, and the lane states the decoder holds at each seek point.
struct Coded {
    std::vector<uint8_t> values;
    std::vector<LaneStates> states;
};

Coded CodeSamples(const PcmSound& sound, int mode, const std::vector<uint32_t>& points)
{
    Coded c;
    c.values = sound.data;
    const size_t n = c.values.size();
    if (sound.bits == 16)
        for (size_t i = 0; i + 1 < n; i += 2)
            std::swap(c.values[i], c.values[i + 1]);
    const uint32_t lanes = sound.FrameBytes();
    LaneStates state;
    state.fill(0x80);
    size_t next = 0;
    for (size_t i = 0; i < n; ++i) {
        if (next < points.size() && points[next] == i) {
            c.states.push_back(state);
            ++next;
        }
        if (mode == 0)
            continue;
        uint8_t* s = state.data() + 4 * (i % lanes);
        // The byte that makes the decoder's running sums land on the wanted sample: the sums
        // with a byte of 128 (no change) fall short of it by exactly what the byte must add.
        uint8_t trial[4];
        std::memcpy(trial, s, 4);
        for (int k = mode - 2; k >= 0; --k)
            trial[k] = static_cast<uint8_t>(trial[k] + trial[k + 1] - 128);
        const uint8_t b = static_cast<uint8_t>(128 + c.values[i] - trial[0]);
        s[mode - 1] = static_cast<uint8_t>(s[mode - 1] + b - 128);
        for (int k = mode - 2; k >= 0; --k)
            s[k] = static_cast<uint8_t>(s[k] + s[k + 1] - 128);
        c.values[i] = b;
    }
    return c;
}

void Check(bool ok, const std::string& what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void PutChunkHead(std::vector<uint8_t>& out, uint8_t tag, uint32_t length)
{
    out.push_back(tag);
    out.push_back(0);
    PutLe(out, length, 4);
}

uint8_t RateCode(uint32_t rate)
{
    switch (rate) {
    case 11025: return 11;
    case 22050: return 22;
    case 44100: return 44;
    default: throw std::runtime_error(std::to_string(rate) + " Hz cannot be stored (11025, 22050 or 44100)");
    }
}

} // namespace

std::vector<uint8_t> EncodeCsn(const PcmSound& sound, const CsnOptions& options)
{
    Check(sound.channels == 1 || sound.channels == 2, "1 or 2 channels");
    Check(sound.bits == 8 || sound.bits == 16, "8 or 16 bits per sample");
    Check(options.mode >= 0 && options.mode <= 4, "mode " + std::to_string(options.mode) + " (0-4)");
    Check(!options.level || (*options.level >= 0 && *options.level <= 255), "level out of range (0-255)");
    Check(options.seekEvery >= 0 && options.seekEvery % kBlock == 0,
          "seek-every " + std::to_string(options.seekEvery) + " (a positive multiple of 64)");
    const bool oneLane = sound.channels == 1 && sound.bits == 8;
    Check(options.stateWidth == 4 || (options.stateWidth == 1 && oneLane),
          "state-width " + std::to_string(options.stateWidth) + " (4, or 1 for mono 8-bit sound)");
    Check(!sound.data.empty(), "no samples");
    Check(sound.data.size() % sound.FrameBytes() == 0, "the samples end inside a frame");
    Check(sound.data.size() <= 0x7FFFFFC0u, "the sound is too long");
    const auto length = static_cast<uint32_t>(sound.data.size());

    std::vector<uint32_t> points;
    for (uint32_t p = static_cast<uint32_t>(options.seekEvery); options.seekEvery > 0 && p < length;
         p += static_cast<uint32_t>(options.seekEvery))
        points.push_back(p);
    Check(points.size() <= 0x7FFF, "more than 32767 seek points");
    const Coded coded = CodeSamples(sound, options.mode, points);

    // The blocks, the last one padded with its final value.
    const uint32_t blocks = (length + kBlock - 1) / kBlock;
    std::vector<uint8_t> padded = coded.values;
    padded.resize(size_t{blocks} * kBlock, padded.back());
    const auto isPoint = [&](uint32_t block) {
        return options.seekEvery > 0 && block > 0 &&
               (block * kBlock) % static_cast<uint32_t>(options.seekEvery) == 0;
    };
    const auto oneValue = [&](uint32_t block) {
        const uint8_t* v = padded.data() + size_t{block} * kBlock;
        return std::all_of(v, v + kBlock, [&](uint8_t x) { return x == v[0]; });
    };
    BlockWriter w;
    std::vector<uint32_t> bitPositions;
    for (uint32_t b = 0; b < blocks;) {
        if (isPoint(b))
            bitPositions.push_back(w.Position());
        const uint8_t* v = padded.data() + size_t{b} * kBlock;
        if (!oneValue(b)) {
            w.Values(v);
            ++b;
            continue;
        }
        uint32_t run = 1;
        while (b + run < blocks && !isPoint(b + run) && oneValue(b + run) &&
               padded[size_t{b + run} * kBlock] == v[0])
            ++run;
        w.Fill(v[0], run);
        b += run;
    }

    std::vector<uint8_t> out;
    PutChunkHead(out, 1, 11);
    out.insert(out.end(),
               {static_cast<uint8_t>(sound.channels), static_cast<uint8_t>(sound.bits), RateCode(sound.rate),
                static_cast<uint8_t>(options.stateWidth), static_cast<uint8_t>(options.mode)});
    const size_t words = static_cast<size_t>(options.stateWidth);
    if (options.seekEvery > 0) {
        PutChunkHead(out, 2, static_cast<uint32_t>(6 + 4 + points.size() * (4 + 4 * words)));
        PutLe(out, 0, 2);
        PutLe(out, static_cast<uint32_t>(points.size()), 2);
        for (size_t i = 0; i < points.size(); ++i) {
            PutLe(out, points[i], 4);
            out.insert(out.end(), coded.states[i].begin(), coded.states[i].begin() + 4 * words);
        }
    }
    if (options.level) {
        PutChunkHead(out, 3, 6 + 16);
        PutLe(out, static_cast<uint32_t>(*options.level), 4);
        out.insert(out.end(), 12, 0);
    }
    PutChunkHead(out, 0, 6);

    // The coded stream: 3 bytes not read, the flags, the end bit, the value count, the seek
    // points with their bit positions, the bits, and 4 zero bytes.
    out.insert(out.end(), {0, 0, 0, static_cast<uint8_t>(options.seekEvery > 0 ? 2 : 0)});
    PutLe(out, w.Position(), 4);
    PutLe(out, length, 4);
    if (options.seekEvery > 0) {
        PutLe(out, static_cast<uint32_t>(points.size()), 2);
        for (size_t i = 0; i < points.size(); ++i) {
            PutLe(out, points[i], 4);
            PutLe(out, bitPositions[i], 4);
        }
    }
    out.insert(out.end(), w.Bytes().begin(), w.Bytes().end());
    out.insert(out.end(), 4, 0);
    return out;
}
