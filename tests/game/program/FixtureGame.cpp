#include "tests/game/program/FixtureGame.h"

#include <cstdint>
#include <initializer_list>

namespace qm3test {
namespace {

// Big-endian 16-bit values appended to a saved game's bytes.
void Shorts(std::string& bytes, std::initializer_list<int> values)
{
    for (int v : values) {
        bytes += static_cast<char>((v >> 8) & 0xFF);
        bytes += static_cast<char>(v & 0xFF);
    }
}

void Long(std::string& bytes, uint32_t v)
{
    Shorts(bytes, {static_cast<int>(v >> 16), static_cast<int>(v & 0xFFFF)});
}

void Double(std::string& bytes, uint64_t raw)
{
    Long(bytes, static_cast<uint32_t>(raw >> 32));
    Long(bytes, static_cast<uint32_t>(raw));
}

// The scene flags that the party's food check sets for the fixture's trip (a load runs it): no
// meat, no fruit (flags 12, 13 and 14) and morale above 80 (flag 25).
std::string FixtureSceneFlags()
{
    std::string flags(27, '\0');
    for (int flag : {12, 13, 14, 25})
        flags[static_cast<size_t>(flag)] = 1;
    return flags;
}

} // namespace

// Record 2 of a trip four days out, moving along node 2 with six oxen and flour, as the travel
// module writes it: its fields, a party of one, the weather of region 10, the travellers, the
// scene flags the food check sets and the route map's progress.
std::string FixtureTrip()
{
    std::string b;
    Long(b, 0xFFFFFFFF);
    b += '\0';
    Shorts(b, {0, -1, 2, 0, 3, 3, 9, 40, 22, 100, 100, 0, 2, 4, 0, 6, 10, 57, 4});
    Long(b, 2396122);
    Long(b, 2396119);
    Shorts(b, {0, 0, 0, 0});
    Shorts(b, {1});
    Double(b, 0x4059000000000000); // 100 dollars
    Double(b, 0);
    Shorts(b, {0, 96, 0, 3, 3});
    b += '\0';
    Shorts(b, {0, 2, 0});
    b += std::string(15, '\0');
    const std::string name = "Hollis Brandt";
    Long(b, static_cast<uint32_t>(name.size()));
    b += name;
    Shorts(b, {0, 16, 4, 6, 0, 0, 0, 0, 900, 0, 0, 900, 100});
    b += std::string("\0\x01\0\0\0\0", 6);
    Shorts(b, {0, 23, 2, 9, 16, 6, 2, 4, 0, 0, 0});
    Shorts(b, {2, 132, 6, 0, -1, 0, 0, 0, 0, 5, 38, 4, -1, 0, 0, 0, 0});
    Shorts(b, {10, 0, 0, 3});
    for (int day = 0; day < 30; ++day)
        Shorts(b, {40 + day % 7, 25 + day % 5, day % 4 == 0 ? 6 : 0});
    for (int id : {2, 3, 4, 7, 10, 13, 17, 19})
        Shorts(b, {id, 0, 0});
    b += FixtureSceneFlags();
    // The route map on its first sequence, 40 miles long, none of them made, sequence 0 seen.
    Shorts(b, {0});
    b += '\0';
    Shorts(b, {40, 0, 0, 0});
    for (int i = 1; i < 32; ++i)
        Shorts(b, {-1});
    return b;
}

// A game on disc 2 as the game saves it: the header, the name, the disc, a diary whose last
// line ends without CR LF, the trip and the end.
std::string FixtureGame()
{
    const std::string name = "Fixture trail";
    const std::string diary = "Saturday, April 1, 1848\r\nWe left the river.\r\n\r\nRain, \"cold\" rain";
    std::string bytes = "VORTQMK3" + std::string("\x01\x01", 2) + std::string(6, '\0');
    bytes += name + std::string(32 - name.size(), '\0');
    bytes += std::string("\0\0\0\x02", 4);
    const auto length = static_cast<uint32_t>(diary.size());
    bytes += std::string("\0\x01", 2);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((length >> shift) & 0xFF);
    bytes += diary;
    bytes += std::string("\0\x02", 2) + FixtureTrip() + std::string("\0\x03", 2);
    return bytes;
}

} // namespace qm3test
