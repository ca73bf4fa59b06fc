#include "tools/ImageEncoder.h"

#include <algorithm>
#include <array>
#include <map>
#include <span>
#include <stdexcept>

#include "tools/BitStream.h"
#include "tools/PrefixCode.h"

namespace {

using Tile = std::array<uint8_t, 64>;

constexpr uint32_t kMaxCopyPosition = 1u << 24; // copies carry a 24-bit bit position

// The tile at (tx, ty); pixels outside the picture repeat the tile's first pixel, so that an
// area of one colour at the picture's edge stays a one-colour tile (the decoder clips them).
Tile CutTile(const PictureView& p, int tx, int ty)
{
    const uint8_t first =
        p.pixels[static_cast<size_t>(ty) * static_cast<size_t>(p.pitch) + static_cast<size_t>(tx)];
    Tile t;
    t.fill(first);
    for (int y = 0; y < 8 && ty + y < p.height; ++y)
        for (int x = 0; x < 8 && tx + x < p.width; ++x)
            t[static_cast<size_t>(y * 8 + x)] =
                p.pixels[static_cast<size_t>(ty + y) * static_cast<size_t>(p.pitch) +
                         static_cast<size_t>(tx + x)];
    return t;
}

bool IsOneColour(const Tile& t)
{
    return std::all_of(t.begin(), t.end(), [&](uint8_t v) { return v == t[0]; });
}

class ImageWriter {
public:
    explicit ImageWriter(const PictureView& picture)
    {
        bool seen[256] = {};
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                seen[picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.pitch) +
                                    static_cast<size_t>(x)]] = true;
        for (int v = 0; v < 256; ++v)
            if (seen[v]) {
                mapIndex_[v] = static_cast<uint8_t>(map_.size());
                map_.push_back(static_cast<uint8_t>(v));
            }
    }

    // A fill of the value, standing for `count` tiles in a row.
    void Fill(uint8_t value, uint32_t count) { PutFillBlocks(bits_, value, count); }

    // A tile coded by its colours, or a copy of the same tile coded before.
    void Colours(const Tile& t)
    {
        if (const auto it = coded_.find(t); it != coded_.end()) {
            bits_.Put(2, 2);
            bits_.Put(it->second, 24);
            return;
        }
        if (bits_.Position() < kMaxCopyPosition)
            coded_.emplace(t, bits_.Position());
        PaletteBlock(t);
    }

    std::vector<uint8_t> Image(uint32_t tiles) const
    {
        std::vector<uint8_t> out;
        const auto put = [&out](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i)
                out.push_back(static_cast<uint8_t>(v >> (8 * i)));
        };
        put(12, 2); // the colour map (or the bitstream) follows the header
        out.push_back(0);
        out.push_back(usedMap_ ? 1 : 0);
        put(0, 4);
        put(tiles * 64, 4);
        if (usedMap_) {
            out.push_back(static_cast<uint8_t>(map_.size() - 1));
            out.insert(out.end(), map_.begin(), map_.end());
        }
        out.insert(out.end(), bits_.Bytes().begin(), bits_.Bytes().end());
        return out;
    }

private:
    // Kind 1 over the whole map (selection 0) or over the tile's own colours (selection 1,
    // steps of a running map index), whichever takes fewer bits, each list of values in its
    // cheapest number code.
    void PaletteBlock(const Tile& t)
    {
        usedMap_ = true;
        std::vector<uint8_t> colours(t.begin(), t.end());
        std::sort(colours.begin(), colours.end());
        colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
        const int mapMax = static_cast<int>(map_.size()) - 1;
        const int n = static_cast<int>(colours.size());
        Tile whole;
        for (size_t i = 0; i < t.size(); ++i)
            whole[i] = mapIndex_[t[i]];
        const PrefixCodeChoice wholeCode = CheapestPrefixCode(whole, mapMax);
        bits_.Put(1, 2);
        if (n <= 63) {
            std::vector<uint8_t> steps;
            int previous = -1;
            for (uint8_t c : colours) {
                steps.push_back(static_cast<uint8_t>(mapIndex_[c] - previous - 1));
                previous = mapIndex_[c];
            }
            Tile local;
            for (size_t i = 0; i < t.size(); ++i)
                local[i] = static_cast<uint8_t>(std::lower_bound(colours.begin(), colours.end(), t[i]) -
                                                colours.begin());
            const PrefixCodeChoice stepCode = CheapestPrefixCode(steps, mapMax);
            const PrefixCodeChoice localCode = CheapestPrefixCode(local, n - 1);
            // The selection adds its count and a second (a, b) pair: 12 bits.
            if (12 + stepCode.bits + localCode.bits < wholeCode.bits) {
                bits_.Put(1, 2);
                bits_.Put(static_cast<uint32_t>(n), 6);
                PutValues(steps, stepCode, mapMax);
                PutValues(local, localCode, n - 1);
                return;
            }
        }
        bits_.Put(0, 2);
        PutValues(whole, wholeCode, mapMax);
    }

    // The (a, b) field, then each value in that code.
    void PutValues(std::span<const uint8_t> values, const PrefixCodeChoice& code, int max)
    {
        bits_.Put(static_cast<uint32_t>(((code.a - 1) << 3) | (code.b - 1)), 6);
        for (uint8_t v : values) {
            const CodeWord word = *PrefixCodeWord(v, code.a, code.b, max);
            bits_.Put(0, word.zeros);
            bits_.Put(word.tail, word.width);
        }
    }

    std::vector<uint8_t> map_;
    uint8_t mapIndex_[256] = {};
    bool usedMap_ = false;
    BitStream bits_;
    std::map<Tile, uint32_t> coded_;
};

} // namespace

std::vector<uint8_t> EncodeBlockImage(const PictureView& picture, const PictureView* previous)
{
    ImageWriter writer(picture);
    uint32_t tiles = 0;
    // Equal fills in a row are written as one repeated fill.
    int pendingValue = -1;
    uint32_t pendingCount = 0;
    const auto flush = [&] {
        if (pendingCount > 0)
            writer.Fill(static_cast<uint8_t>(pendingValue), pendingCount);
        pendingCount = 0;
    };
    for (int tx = 0; tx < picture.width; tx += 8)
        for (int ty = 0; ty < picture.height; ty += 8, ++tiles) {
            const Tile t = CutTile(picture, tx, ty);
            int fill = -1;
            if (previous && t == CutTile(*previous, tx, ty))
                fill = 0; // unchanged: the masked decode skips a fill of 0
            else if (IsOneColour(t) && !(previous && t[0] == 0))
                fill = t[0];
            if (fill >= 0) {
                if (fill != pendingValue)
                    flush();
                pendingValue = fill;
                ++pendingCount;
                continue;
            }
            flush();
            writer.Colours(t);
        }
    flush();
    return writer.Image(tiles);
}

std::vector<uint8_t> BuildFrameStrip(const std::vector<StripFrame>& frames)
{
    if (frames.size() > 0x7FFF)
        throw std::length_error("more than 32767 frames");
    std::vector<uint8_t> out(2 + 12 * frames.size(), 0);
    const auto put = [&out](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    put(0, static_cast<uint32_t>(frames.size()), 2);
    for (size_t i = 0; i < frames.size(); ++i) {
        if (out.size() > 0xFFFFFFFFu)
            throw std::length_error("the frames pass 4 GB");
        const size_t record = 2 + 12 * i;
        put(record, static_cast<uint16_t>(frames[i].width), 2);
        put(record + 2, static_cast<uint16_t>(frames[i].height), 2);
        put(record + 4, static_cast<uint32_t>(out.size()), 4);
        out.insert(out.end(), frames[i].image.begin(), frames[i].image.end());
    }
    return out;
}
