#include "tools/SpriteEncoder.h"

#include <algorithm>
#include <stdexcept>

#include "engine/resources/BigEndian.h"

namespace {

constexpr int kMaxRun = 128;

void EncodeRow(const uint8_t* row, int width, std::vector<uint8_t>& out)
{
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < kMaxRun && row[x + run] == row[x])
            ++run;
        if (run >= 2 || row[x] == 0) {
            out.push_back(static_cast<uint8_t>(run - 1));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        // A literal run: up to the next 0 or the next pair of equal pixels.
        int length = 1;
        while (x + length < width && length < kMaxRun && row[x + length] != 0 &&
               !(x + length + 1 < width && row[x + length + 1] == row[x + length]))
            ++length;
        out.push_back(static_cast<uint8_t>(127 + length));
        out.insert(out.end(), row + x, row + x + length);
        x += length;
    }
}

} // namespace

std::vector<uint8_t> EncodeRleCel(const PictureView& picture)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < picture.height; ++y)
        EncodeRow(picture.pixels + static_cast<size_t>(y) * static_cast<size_t>(picture.pitch), picture.width,
                  out);
    return out;
}

std::vector<uint8_t> BuildRls(const std::vector<SpriteCel>& cels)
{
    if (cels.size() > 0x7FFF)
        throw std::length_error("more than 32767 cels");
    std::vector<uint8_t> out;
    AppendBigEndian16(out, static_cast<uint16_t>(cels.size()));
    out.resize(2 + 12 * cels.size());
    for (size_t i = 0; i < cels.size(); ++i) {
        if (out.size() > 0xFFFFFFFFu || cels[i].runs.size() > 0xFFFFFFFFu - out.size())
            throw std::length_error("the cels pass 4 GB");
        uint8_t* entry = out.data() + 2 + 12 * i;
        PutBigEndian16(entry, static_cast<uint16_t>(cels[i].height));
        PutBigEndian16(entry + 2, static_cast<uint16_t>(cels[i].width));
        PutBigEndian32(entry + 4, static_cast<uint32_t>(out.size()));
        PutBigEndian32(entry + 8, static_cast<uint32_t>(cels[i].runs.size()));
        out.insert(out.end(), cels[i].runs.begin(), cels[i].runs.end());
    }
    return out;
}
