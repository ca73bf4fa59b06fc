#include "tests/support/CodecFixtures.h"

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <stdexcept>

#include "tests/support/BitWriter.h"

namespace qmtest {

namespace {

using Tile = std::array<uint8_t, 64>;

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The tiles in the order the decoder places them: down the first 8-pixel column, then the
// next. Pixels outside the picture are coded as 0 (the decoder clips them away).
std::vector<Tile> CutTiles(const uint8_t* pixels, int width, int height, int pitch)
{
    std::vector<Tile> tiles;
    for (int tx = 0; tx < width; tx += 8)
        for (int ty = 0; ty < height; ty += 8) {
            Tile t{};
            for (int y = 0; y < 8 && ty + y < height; ++y)
                for (int x = 0; x < 8 && tx + x < width; ++x)
                    t[static_cast<size_t>(y * 8 + x)] = pixels[(ty + y) * pitch + tx + x];
            tiles.push_back(t);
        }
    return tiles;
}

bool IsFill(const Tile& t)
{
    return std::all_of(t.begin(), t.end(), [&](uint8_t v) { return v == t[0]; });
}

// A palette block over the tile's own colours, chosen from the identity map.
void PutPaletteTile(BitWriter& w, const Tile& t, Code code)
{
    std::vector<uint8_t> colours(t.begin(), t.end());
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    w.Kind(code == Code::Chain ? 0 : 1);
    const int n = static_cast<int>(colours.size());
    std::array<uint8_t, 64> indices{};
    int max = 255;
    if (n <= 63) {
        // Mode 1: steps of a running index, each one past the previous colour.
        std::vector<uint8_t> steps;
        int previous = -1;
        for (uint8_t c : colours) {
            steps.push_back(static_cast<uint8_t>(c - previous - 1));
            previous = c;
        }
        w.Select(1, 4, 4, 255, steps);
        for (size_t i = 0; i < 64; ++i)
            indices[i] = static_cast<uint8_t>(std::lower_bound(colours.begin(), colours.end(), t[i]) -
                                              colours.begin());
        max = n - 1;
    } else {
        w.Select(0);
        std::copy(t.begin(), t.end(), indices.begin());
    }
    // One bit narrower than the plain width, so that most tiles use the number code itself.
    // The prefix code needs b = 1 there to reach every value up to max.
    const int a = std::max(1, static_cast<int>(std::bit_width(static_cast<unsigned>(max))) - 1);
    const int b = code == Code::Chain ? 3 : 1;
    w.AB(a, b).Values(code, a, b, max, indices);
}

} // namespace

std::vector<uint8_t> MakeImage(uint32_t valueCount, const std::optional<std::vector<uint8_t>>& colourMap,
                               const std::vector<uint8_t>& bitstream)
{
    if (colourMap && (colourMap->empty() || colourMap->size() > 256))
        throw std::logic_error("MakeImage: a colour map holds 1 to 256 entries");
    std::vector<uint8_t> out;
    PutLe(out, 12, 2); // the colour map (or the bitstream) follows the header
    out.push_back(0);  // not read
    out.push_back(colourMap ? 1 : 0);
    PutLe(out, 0, 4); // not read
    PutLe(out, valueCount, 4);
    if (colourMap) {
        out.push_back(static_cast<uint8_t>(colourMap->size() - 1));
        out.insert(out.end(), colourMap->begin(), colourMap->end());
    }
    out.insert(out.end(), bitstream.begin(), bitstream.end());
    return out;
}

std::vector<uint8_t> EncodeImage(const uint8_t* pixels, int width, int height, int pitch)
{
    const std::vector<Tile> tiles = CutTiles(pixels, width, height, pitch);
    BitWriter w;
    std::map<Tile, uint32_t> seen;
    bool chain = false;
    for (size_t i = 0; i < tiles.size();) {
        const Tile& t = tiles[i];
        if (IsFill(t)) {
            size_t run = 1;
            while (i + run < tiles.size() && run < 65536 && IsFill(tiles[i + run]) &&
                   tiles[i + run][0] == t[0])
                ++run;
            w.Fill(t[0], run > 1 ? static_cast<int>(run - 1) : -1);
            i += run;
            continue;
        }
        if (auto it = seen.find(t); it != seen.end()) {
            w.Copy(it->second);
        } else {
            if (w.Position() < (1u << 24))
                seen.emplace(t, w.Position());
            PutPaletteTile(w, t, chain ? Code::Chain : Code::Prefix);
            chain = !chain;
        }
        ++i;
    }
    std::vector<uint8_t> map(256);
    for (int i = 0; i < 256; ++i)
        map[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    return MakeImage(static_cast<uint32_t>(tiles.size() * 64), map, w.Bytes());
}

std::vector<uint8_t> MakeSoundStream(uint32_t valueCount, uint32_t endBit,
                                     const std::optional<std::vector<SoundSeekPoint>>& seekTable,
                                     const std::vector<uint8_t>& bitstream)
{
    std::vector<uint8_t> out = {0, 0, 0, static_cast<uint8_t>(seekTable ? 2 : 0)};
    PutLe(out, endBit, 4);
    PutLe(out, valueCount, 4);
    if (seekTable) {
        PutLe(out, static_cast<uint32_t>(seekTable->size()), 2);
        for (const SoundSeekPoint& sp : *seekTable) {
            PutLe(out, sp.valuePosition, 4);
            PutLe(out, sp.bitPosition, 4);
        }
    }
    out.insert(out.end(), bitstream.begin(), bitstream.end());
    return out;
}

uint8_t SoundIndex(uint8_t sample)
{
    // Index 2k is 128 + k, index 2k + 1 is 127 - k.
    return static_cast<uint8_t>(sample >= 128 ? 2 * (sample - 128) : 2 * (127 - sample) + 1);
}

std::vector<uint8_t> EncodeSound(const std::vector<uint8_t>& samples, int seekEvery, bool longBlocks)
{
    const size_t blocks = (samples.size() + 63) / 64;
    auto block = [&](size_t b) {
        Tile t;
        for (size_t i = 0; i < 64; ++i)
            t[i] = samples[std::min(b * 64 + i, samples.size() - 1)];
        return t;
    };
    auto seekPoint = [&](size_t b) { return seekEvery > 0 && b % static_cast<size_t>(seekEvery) == 0; };
    BitWriter w;
    std::vector<SoundSeekPoint> seek;
    size_t palette = 0;
    for (size_t b = 0; b < blocks;) {
        if (seekPoint(b))
            seek.push_back({static_cast<uint32_t>(b * 64), w.Position()});
        const Tile t = block(b);
        if (IsFill(t)) {
            // A run of equal fills, not crossing a seek point.
            size_t run = 1;
            while (b + run < blocks && run < 65536 && !seekPoint(b + run) && block(b + run) == t)
                ++run;
            w.Fill(t[0], run > 1 ? static_cast<int>(run - 1) : -1);
            b += run;
            continue;
        }
        std::array<uint8_t, 64> indices;
        for (size_t i = 0; i < 64; ++i)
            indices[i] = SoundIndex(t[i]);
        if (longBlocks && palette % 5 == 3)
            w.PaletteBlock(Code::Chain, 1, 1, 255, indices);
        else
            w.PaletteBlock(palette % 2 ? Code::Chain : Code::Prefix, 4, 4, 255, indices);
        ++palette;
        ++b;
    }
    return MakeSoundStream(static_cast<uint32_t>(samples.size()), w.Position(),
                           seekEvery > 0 ? std::optional(seek) : std::nullopt, w.Bytes());
}

} // namespace qmtest
