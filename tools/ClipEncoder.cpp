#include "tools/ClipEncoder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <stdexcept>
#include <string>

namespace {

constexpr int kMaxSide = 4096;
constexpr uint32_t kPaletteFlag = 0x01;
constexpr uint32_t kTrack1Flag = 0x02;
constexpr uint32_t kSoundPresent = 0x40;
constexpr uint32_t kSoundPacked = 0x80;
constexpr uint32_t kSound16Bit = 0x20;
constexpr uint32_t kSoundStereo = 0x10;
// Code lengths the decoder's tables take: byte trees are read through three 9-bit table
// levels, the 16-bit trees node by node.
constexpr int kMaxByteCode = 24;
constexpr int kMaxWordCode = 28;

// Block types of the type tree's values (low two bits).
enum BlockKind : uint32_t { kMono = 0, kFull = 1, kSkip = 2, kFill = 3 };
// The run lengths a type value's bits 2-7 select.
constexpr std::array<uint32_t, 64> kBlockRuns = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,  17,  18,  19,   20,  21, 22,
    23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38,  39,  40,  41,   42,  43, 44,
    45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 128, 256, 512, 1024, 2048};

// Bits written least significant first, as the clip's readers take them.
class LsbBits {
public:
    void Put(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            PutBit((value >> i) & 1);
    }
    void PutBit(uint32_t bit)
    {
        if (bits_ % 8 == 0)
            bytes_.push_back(0);
        if (bit)
            bytes_.back() |= static_cast<uint8_t>(1u << (bits_ % 8));
        ++bits_;
    }
    std::vector<uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    uint64_t bits_ = 0;
};

void PutLe32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Prefix code lengths for the symbols that occur (0 for the rest), none longer than maxLength.
// One symbol alone (or none) is a tree of a single leaf, coded in no bits.
std::vector<int> CodeLengths(std::vector<uint64_t> counts, int maxLength)
{
    std::vector<int> lengths(counts.size(), 0);
    for (;;) {
        using Node = std::pair<uint64_t, int>; // weight, node index
        std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
        std::vector<int> parent;
        for (size_t s = 0; s < counts.size(); ++s)
            if (counts[s] > 0) {
                queue.push({counts[s], static_cast<int>(parent.size())});
                parent.push_back(-1);
            }
        const size_t leaves = parent.size();
        if (leaves < 2)
            return lengths;
        while (queue.size() > 1) {
            const Node a = queue.top();
            queue.pop();
            const Node b = queue.top();
            queue.pop();
            const int joined = static_cast<int>(parent.size());
            parent.push_back(-1);
            parent[a.second] = joined;
            parent[b.second] = joined;
            queue.push({a.first + b.first, joined});
        }
        std::vector<int> depth(parent.size(), 0);
        for (int n = static_cast<int>(parent.size()) - 2; n >= 0; --n)
            depth[n] = depth[parent[n]] + 1;
        int longest = 0;
        size_t leaf = 0;
        for (size_t s = 0; s < counts.size(); ++s)
            if (counts[s] > 0) {
                lengths[s] = depth[leaf++];
                longest = std::max(longest, lengths[s]);
            }
        if (longest <= maxLength)
            return lengths;
        // Too deep: flatten the weights and build again.
        for (auto& c : counts)
            if (c > 0)
                c = c / 2 + 1;
    }
}

// A prefix code over symbols 0..n-1: canonical codes, the first bit of a code being its
// first branch in the tree.
struct PrefixCode {
    std::vector<int> length;
    std::vector<uint32_t> code;
    std::vector<uint32_t> order; // the symbols that occur, by code
    uint32_t single = 0;         // the symbol of a one-leaf tree

    void Put(LsbBits& bits, uint32_t symbol) const
    {
        for (int i = length[symbol] - 1; i >= 0; --i)
            bits.PutBit((code[symbol] >> i) & 1);
    }
};

PrefixCode BuildCode(const std::vector<uint64_t>& counts, int maxLength)
{
    PrefixCode pc;
    pc.length = CodeLengths(counts, maxLength);
    pc.code.assign(counts.size(), 0);
    for (uint32_t s = 0; s < counts.size(); ++s)
        if (counts[s] > 0)
            pc.order.push_back(s);
    std::stable_sort(pc.order.begin(), pc.order.end(),
                     [&](uint32_t a, uint32_t b) { return pc.length[a] < pc.length[b]; });
    uint32_t next = 0;
    int previous = 0;
    for (uint32_t s : pc.order) {
        next <<= (pc.length[s] - previous);
        previous = pc.length[s];
        pc.code[s] = next++;
    }
    if (pc.order.size() == 1)
        pc.single = pc.order[0];
    if (pc.order.empty())
        pc.order.push_back(0); // an empty tree is written as one leaf of value 0
    return pc;
}

// Writes the tree of the codes order[first, last) below a branch at `depth`: 1 for a branch
// (its 0 side, then its 1 side), 0 and the leaf's value for a leaf. Counts every entry.
void PutTree(LsbBits& bits, const PrefixCode& pc, size_t first, size_t last, int depth,
             const std::function<void(uint32_t)>& putLeaf, uint32_t& entries)
{
    ++entries;
    const uint32_t s = pc.order[first];
    if (last - first == 1 && pc.length[s] == depth) {
        bits.PutBit(0);
        putLeaf(s);
        return;
    }
    size_t split = first;
    while (split < last && ((pc.code[pc.order[split]] >> (pc.length[pc.order[split]] - 1 - depth)) & 1) == 0)
        ++split;
    bits.PutBit(1);
    PutTree(bits, pc, first, split, depth + 1, putLeaf, entries);
    PutTree(bits, pc, split, last, depth + 1, putLeaf, entries);
}

uint32_t PutWholeTree(LsbBits& bits, const PrefixCode& pc, const std::function<void(uint32_t)>& putLeaf)
{
    uint32_t entries = 0;
    PutTree(bits, pc, 0, pc.order.size(), 0, putLeaf, entries);
    return entries;
}

PrefixCode ByteCode(const std::vector<uint64_t>& counts) { return BuildCode(counts, kMaxByteCode); }

// A byte tree preceded by its presence bit and followed by its end bit.
void PutByteTree(LsbBits& bits, const PrefixCode& pc)
{
    bits.PutBit(1);
    PutWholeTree(bits, pc, [&](uint32_t v) { bits.Put(v, 8); });
    bits.PutBit(0);
}

// One of the four 16-bit trees of the video.
class WordTree {
public:
    WordTree() : counts_(65536, 0) {}
    void Count(uint32_t value) { ++counts_[value]; }
    void Build()
    {
        code_ = BuildCode(counts_, kMaxWordCode);
        std::vector<uint64_t> low(256, 0);
        std::vector<uint64_t> high(256, 0);
        for (uint32_t v : code_.order) {
            ++low[v & 0xFF];
            ++high[v >> 8];
        }
        low_ = ByteCode(low);
        high_ = ByteCode(high);
    }
    // Writes the tree; answers its size field: 4 bytes for each entry and three more.
    uint32_t Put(LsbBits& bits) const
    {
        bits.PutBit(1);
        PutByteTree(bits, low_);
        PutByteTree(bits, high_);
        for (uint32_t e : Escapes())
            bits.Put(e, 16);
        const uint32_t entries = PutWholeTree(bits, code_, [&](uint32_t v) {
            low_.Put(bits, v & 0xFF);
            high_.Put(bits, v >> 8);
        });
        bits.PutBit(0);
        return 12 + 4 * entries;
    }
    void PutValue(LsbBits& bits, uint32_t value) const { code_.Put(bits, value); }

private:
    // Three values that are not leaves: they mark the decoder's recent-value slots, which
    // this encoder never uses.
    std::array<uint32_t, 3> Escapes() const
    {
        std::array<uint32_t, 3> out{};
        size_t n = 0;
        for (uint32_t v = 0; v < 65536 && n < 3; ++v)
            if (counts_[v] == 0 && !(code_.order.size() == 1 && code_.order[0] == v))
                out[n++] = v;
        if (n < 3)
            throw std::runtime_error("the picture holds too many different pixel pairs for one clip");
        return out;
    }

    std::vector<uint64_t> counts_;
    PrefixCode code_;
    PrefixCode low_;
    PrefixCode high_;
};

enum TreeId { kMapTree = 0, kColorTree = 1, kFullTree = 2, kTypeTree = 3 };
using ValueSink = std::function<void(TreeId, uint32_t)>;

struct BlockCode {
    uint32_t kind = kFull;
    uint8_t fill = 0;
    uint32_t colors = 0; // two-colour blocks: high << 8 | low
    uint32_t map = 0;
    std::array<uint32_t, 8> pairs{};
};

BlockCode CodeBlock(const ClipSource& src, const ClipFrame& frame, const ClipFrame* previous, int bx, int by)
{
    std::array<uint8_t, 16> px{};
    bool same = previous != nullptr;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const size_t at = static_cast<size_t>(by * 4 + y) * src.width + bx * 4 + x;
            px[y * 4 + x] = frame.pixels[at];
            same = same && previous->pixels[at] == frame.pixels[at];
        }
    BlockCode b;
    if (same) {
        b.kind = kSkip;
        return b;
    }
    const uint8_t lo = *std::min_element(px.begin(), px.end());
    const uint8_t hi = *std::max_element(px.begin(), px.end());
    const bool two = std::all_of(px.begin(), px.end(), [&](uint8_t p) { return p == lo || p == hi; });
    if (lo == hi) {
        b.kind = kFill;
        b.fill = lo;
    } else if (two) {
        b.kind = kMono;
        b.colors = uint32_t{hi} << 8 | lo;
        for (int i = 0; i < 16; ++i)
            if (px[i] == hi)
                b.map |= 1u << i;
    } else {
        b.kind = kFull;
        for (int y = 0; y < 4; ++y) {
            b.pairs[y * 2] = px[y * 4 + 2] | px[y * 4 + 3] << 8;
            b.pairs[y * 2 + 1] = px[y * 4] | px[y * 4 + 1] << 8;
        }
    }
    return b;
}

// The values of one frame's blocks, in the order the decoder reads them.
void CodeFrameBlocks(const ClipSource& src, const ClipFrame& frame, const ClipFrame* previous,
                     const ValueSink& sink)
{
    const int bw = src.width / 4;
    const int blocks = bw * (src.height / 4);
    std::vector<BlockCode> codes;
    codes.reserve(blocks);
    for (int i = 0; i < blocks; ++i)
        codes.push_back(CodeBlock(src, frame, previous, i % bw, i / bw));
    int i = 0;
    while (i < blocks) {
        const BlockCode& head = codes[i];
        int run = 1;
        while (i + run < blocks && codes[i + run].kind == head.kind &&
               (head.kind != kFill || codes[i + run].fill == head.fill))
            ++run;
        while (run > 0) {
            size_t r = kBlockRuns.size() - 1;
            while (kBlockRuns[r] > static_cast<uint32_t>(run))
                --r;
            sink(kTypeTree, head.kind | static_cast<uint32_t>(r) << 2 | uint32_t{head.fill} << 8);
            for (uint32_t k = 0; k < kBlockRuns[r]; ++k, ++i) {
                const BlockCode& b = codes[i];
                if (b.kind == kMono) {
                    sink(kColorTree, b.colors);
                    sink(kMapTree, b.map);
                } else if (b.kind == kFull) {
                    for (uint32_t p : b.pairs)
                        sink(kFullTree, p);
                }
            }
            run -= static_cast<int>(kBlockRuns[r]);
        }
    }
}

// The sound of one frame, difference-coded: the first frame's samples as they are, then each
// sample's difference from the one before in its channel, one code per byte.
std::vector<uint8_t> PackSound(const uint8_t* pcm, size_t bytes, int channels, int bits)
{
    const bool wide = bits == 16;
    const size_t lanes = static_cast<size_t>(channels) * (wide ? 2 : 1);
    const size_t samples = wide ? bytes / 2 : bytes;
    auto sample = [&](size_t i) -> uint32_t { return wide ? pcm[2 * i] | pcm[2 * i + 1] << 8 : pcm[i]; };
    std::vector<std::vector<uint64_t>> counts(lanes, std::vector<uint64_t>(256, 0));
    std::vector<uint32_t> deltas;
    for (size_t i = static_cast<size_t>(channels); i < samples; ++i) {
        const uint32_t d = (sample(i) - sample(i - channels)) & (wide ? 0xFFFF : 0xFF);
        deltas.push_back(d);
        const size_t lane = (i % channels) * (wide ? 2 : 1);
        ++counts[lane][d & 0xFF];
        if (wide)
            ++counts[lane + 1][d >> 8];
    }
    std::vector<PrefixCode> codes;
    for (const auto& c : counts)
        codes.push_back(ByteCode(c));
    LsbBits out;
    out.PutBit(1);
    out.PutBit(channels == 2);
    out.PutBit(wide);
    for (const auto& code : codes) {
        out.PutBit(1);
        PutWholeTree(out, code, [&](uint32_t v) { out.Put(v, 8); });
        out.PutBit(0);
    }
    for (int c = channels - 1; c >= 0; --c) {
        const uint32_t first = sample(static_cast<size_t>(c));
        out.Put(wide ? ((first & 0xFF) << 8 | first >> 8) : first, wide ? 16 : 8);
    }
    for (size_t k = 0; k < deltas.size(); ++k) {
        const size_t lane = ((k + channels) % channels) * (wide ? 2 : 1);
        codes[lane].Put(out, deltas[k] & 0xFF);
        if (wide)
            codes[lane + 1].Put(out, deltas[k] >> 8);
    }
    // The decoded size, then the bits: sized once rather than grown from empty.
    std::vector<uint8_t> chunk(4 + out.Bytes().size());
    for (int i = 0; i < 4; ++i)
        chunk[static_cast<size_t>(i)] = static_cast<uint8_t>(bytes >> (8 * i));
    std::copy(out.Bytes().begin(), out.Bytes().end(), chunk.begin() + 4);
    return chunk;
}

void CheckSource(const ClipSource& src)
{
    if (src.width < 4 || src.height < 4 || src.width > kMaxSide || src.height > kMaxSide ||
        src.width % 4 != 0 || src.height % 4 != 0)
        throw std::runtime_error("frames must be 4 to 4096 pixels wide and high, multiples of 4 (got " +
                                 std::to_string(src.width) + " x " + std::to_string(src.height) + ")");
    if (src.fps < 1 || src.fps > 100)
        throw std::runtime_error("fps out of range: " + std::to_string(src.fps));
    if (src.frames.empty())
        throw std::runtime_error("a clip needs at least one frame");
    const size_t pixels = static_cast<size_t>(src.width) * src.height;
    for (const auto& f : src.frames)
        if (f.pixels.size() != pixels)
            throw std::runtime_error("every frame must have the first frame's size");
    if (src.sound) {
        const PcmSound& s = *src.sound;
        if ((s.bits != 8 && s.bits != 16) || (s.channels != 1 && s.channels != 2))
            throw std::runtime_error("the sound must be 8 or 16 bits, mono or stereo");
        if (s.rate == 0 || s.rate > 0xFFFFFF)
            throw std::runtime_error("sound rate out of range: " + std::to_string(s.rate));
    }
}

std::array<uint8_t, 768> SixBitPalette(const ClipFrame& f)
{
    std::array<uint8_t, 768> p{};
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = f.palette[i] >> 2;
    return p;
}

} // namespace

int32_t ClipFrameTimeField(int fps) { return -static_cast<int32_t>(std::lround(100000.0 / fps)); }

SampleSpan ClipSamplesOfFrame(uint32_t k, uint32_t frameCount, uint64_t totalFrames, uint32_t rate,
                              int32_t frameTimeField)
{
    const uint64_t unit = static_cast<uint64_t>(-static_cast<int64_t>(frameTimeField));
    auto at = [&](uint64_t frame) { return std::min(totalFrames, frame * rate * unit / 100000); };
    SampleSpan s{at(k), at(k + 1)};
    if (k + 1 == frameCount)
        s.end = totalFrames;
    return s;
}

std::vector<uint8_t> EncodeClip(const ClipSource& src)
{
    CheckSource(src);
    const auto frameCount = static_cast<uint32_t>(src.frames.size());
    const int32_t frameTime = ClipFrameTimeField(src.fps);

    // The four trees from every value of every frame.
    std::array<WordTree, 4> trees;
    for (uint32_t k = 0; k < frameCount; ++k)
        CodeFrameBlocks(src, src.frames[k], k ? &src.frames[k - 1] : nullptr,
                        [&](TreeId t, uint32_t v) { trees[t].Count(v); });
    LsbBits treeBits;
    std::array<uint32_t, 4> treeSizes{};
    for (int t = 0; t < 4; ++t) {
        trees[t].Build();
        treeSizes[t] = trees[t].Put(treeBits);
    }

    std::vector<std::vector<uint8_t>> frames;
    std::vector<uint8_t> frameFlags;
    uint32_t largestSound = 0;
    for (uint32_t k = 0; k < frameCount; ++k) {
        std::vector<uint8_t> data;
        uint8_t flags = 0;
        const auto palette = SixBitPalette(src.frames[k]);
        if (k == 0 || palette != SixBitPalette(src.frames[k - 1])) {
            flags |= kPaletteFlag;
            data.push_back(193); // (1 + 768 + 3) / 4: the chunk's size in 4-byte units
            data.insert(data.end(), palette.begin(), palette.end());
            data.resize(193 * 4, 0);
        }
        if (src.sound) {
            const PcmSound& s = *src.sound;
            const uint32_t fb = s.FrameBytes();
            const SampleSpan span = ClipSamplesOfFrame(k, frameCount, s.data.size() / fb, s.rate, frameTime);
            if (span.end > span.first) {
                flags |= kTrack1Flag;
                const uint8_t* pcm = s.data.data() + span.first * fb;
                const size_t bytes = (span.end - span.first) * fb;
                largestSound = std::max(largestSound, static_cast<uint32_t>(bytes));
                std::vector<uint8_t> chunk = src.rawSound ? std::vector<uint8_t>(pcm, pcm + bytes)
                                                          : PackSound(pcm, bytes, s.channels, s.bits);
                PutLe32(data, static_cast<uint32_t>(chunk.size() + 4));
                data.insert(data.end(), chunk.begin(), chunk.end());
            }
        }
        LsbBits video;
        CodeFrameBlocks(src, src.frames[k], k ? &src.frames[k - 1] : nullptr,
                        [&](TreeId t, uint32_t v) { trees[t].PutValue(video, v); });
        video.Bytes().push_back(0); // the picture never ends the frame empty
        data.insert(data.end(), video.Bytes().begin(), video.Bytes().end());
        data.resize((data.size() + 3) & ~size_t{3}, 0);
        frames.push_back(std::move(data));
        frameFlags.push_back(flags);
    }

    std::vector<uint8_t> out = {'S', 'M', 'K', '2'};
    PutLe32(out, static_cast<uint32_t>(src.width));
    PutLe32(out, static_cast<uint32_t>(src.height));
    PutLe32(out, frameCount);
    PutLe32(out, static_cast<uint32_t>(frameTime));
    PutLe32(out, 0); // no header flags
    for (int t = 0; t < 7; ++t)
        PutLe32(out, t == 0 ? largestSound : 0);
    PutLe32(out, static_cast<uint32_t>(treeBits.Bytes().size()));
    for (int t = 0; t < 4; ++t)
        PutLe32(out, treeSizes[t]);
    for (int t = 0; t < 7; ++t) {
        uint32_t field = 0;
        if (t == 0 && src.sound) {
            const PcmSound& s = *src.sound;
            field = s.rate | (kSoundPresent | (src.rawSound ? 0 : kSoundPacked) |
                              (s.bits == 16 ? kSound16Bit : 0) | (s.channels == 2 ? kSoundStereo : 0))
                                 << 24;
        }
        PutLe32(out, field);
    }
    PutLe32(out, 0);
    for (const auto& f : frames)
        PutLe32(out, static_cast<uint32_t>(f.size()));
    out.insert(out.end(), frameFlags.begin(), frameFlags.end());
    out.insert(out.end(), treeBits.Bytes().begin(), treeBits.Bytes().end());
    for (const auto& f : frames)
        out.insert(out.end(), f.begin(), f.end());
    return out;
}
