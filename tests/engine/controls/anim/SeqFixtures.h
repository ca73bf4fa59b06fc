#pragma once
// Sequence and cel table bytes for the animation tests: big-endian 16-bit values, written as
// the library holds them.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace animtest {

inline std::vector<uint8_t> Be16(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (const int v : values) {
        const auto u = static_cast<uint16_t>(v);
        out.push_back(static_cast<uint8_t>(u >> 8));
        out.push_back(static_cast<uint8_t>(u & 0xFF));
    }
    return out;
}

struct Anim {
    int first, next, ticks, count;
};
struct Frame {
    int cel, dh, dv, sound, ticks, dz;
};

// A "SEQ" of the animations and frames.
inline std::vector<uint8_t> SeqBytes(const std::vector<Anim>& anims, const std::vector<Frame>& frames)
{
    std::vector<uint8_t> out = Be16({static_cast<int>(anims.size())});
    for (const Anim& a : anims)
        for (const uint8_t b : Be16({a.first, a.next, a.ticks, a.count}))
            out.push_back(b);
    for (const uint8_t b : Be16({static_cast<int>(frames.size())}))
        out.push_back(b);
    for (const Frame& f : frames)
        for (const uint8_t b : Be16({f.cel, f.dh, f.dv, f.sound, f.ticks, f.dz}))
            out.push_back(b);
    return out;
}

// A "CEL" of the anchors (h, v).
inline std::vector<uint8_t> CelBytes(const std::vector<std::pair<int, int>>& anchors)
{
    std::vector<uint8_t> out = Be16({static_cast<int>(anchors.size())});
    for (const auto& [h, v] : anchors)
        for (const uint8_t b : Be16({h, v}))
            out.push_back(b);
    return out;
}

inline std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

} // namespace animtest
