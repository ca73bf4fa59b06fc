// qmsave's lines for record 2, the trip: its fields, the party with its members, their
// conditions and the supplies, the weather with its 30 days, the travellers, the scene flags and
// the route map's progress, in file order.
#include <charconv>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/TextEscape.h"
#include "tools/SavedGameReader.h"

namespace qmsave {
namespace {

constexpr const char* kRecord = "record 2";
constexpr int kTripShorts = 19;    // wait days to start month, after the landmark id and flag
constexpr int kTripTailShorts = 4; // pace, mode, mode before, reserved word 3
constexpr int16_t kMaxMembers = 5;
constexpr size_t kPartyFlagBytes = 15;
constexpr size_t kOnceFlagBytes = 6;
constexpr int kSkills = 4;
constexpr int kConditionShorts = 6; // state to days in state, before the two flag bytes
constexpr int kConditionTail = 6;   // announced to kind, after them
constexpr int kWeatherDays = 30;
constexpr int kPersons = 8;
constexpr size_t kSceneFlags = 27;
constexpr int kVisited = 32;
constexpr int16_t kTagFlags = 4;
constexpr int16_t kTagEnd = 3;

// The shortest text that reads back to the same double.
std::string DoubleText(double v)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, v);
    return std::string(text, result.ptr);
}

double BigEndianDouble(uint64_t raw)
{
    double v;
    std::memcpy(&v, &raw, sizeof v);
    return v;
}

// Two lower-case hex digits a byte.
std::string Hex(const uint8_t* bytes, size_t n)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < n; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

void Shorts(Reader& in, std::ostream& out, int n)
{
    for (int i = 0; i < n; ++i)
        out << ' ' << in.Short(kRecord);
}

void ShowTrip(Reader& in, std::ostream& out)
{
    out << "trip " << in.Long(kRecord) << ' ' << int{in.Byte(kRecord)};
    Shorts(in, out, kTripShorts);
    // The current and departure dates as day numbers.
    out << ' ' << in.Long(kRecord) << ' ' << in.Long(kRecord);
    Shorts(in, out, kTripTailShorts);
    out << '\n';
}

void ShowCondition(Reader& in, std::ostream& out)
{
    out << "condition";
    Shorts(in, out, kConditionShorts);
    out << ' ' << int{in.Byte(kRecord)} << ' ' << int{in.Byte(kRecord)};
    Shorts(in, out, kConditionTail);
    out << '\n';
}

void ShowMember(Reader& in, std::ostream& out)
{
    const auto length = static_cast<uint32_t>(in.Number(4, kRecord));
    const uint8_t* name = in.Take(length, kRecord);
    out << "member " << plat::Quoted(std::string_view(reinterpret_cast<const char*>(name), length));
    // Person id, age, values B and C; values P and Q; health, hours, person index, cap and
    // recovery.
    Shorts(in, out, 4);
    out << ' ' << in.Long(kRecord) << ' ' << in.Long(kRecord);
    Shorts(in, out, 5);
    out << ' ' << Hex(in.Take(kOnceFlagBytes, kRecord), kOnceFlagBytes);
    // Onset mark, occupation, the skills, status, health level, pending kind and parameter.
    Shorts(in, out, 2 + kSkills + 4);
    const int16_t conditions = in.Short(kRecord);
    if (conditions < 0)
        Refuse("record 2 holds a member with " + std::to_string(conditions) + " conditions");
    out << ' ' << conditions << '\n';
    for (int16_t i = 0; i < conditions; ++i)
        ShowCondition(in, out);
}

void ShowSupplies(Reader& in, std::ostream& out)
{
    const int16_t count = in.Short(kRecord);
    if (count < 0)
        Refuse("record 2 holds " + std::to_string(count) + " supplies");
    out << "supplies " << count << '\n';
    for (int16_t i = 0; i < count; ++i) {
        const int16_t type = in.Short(kRecord);
        const int16_t packages = in.Short(kRecord);
        const int16_t partial = in.Short(kRecord);
        const int16_t shelfLife = in.Short(kRecord);
        if (packages < 0 || partial < 0)
            Refuse("record 2 holds an item of type " + std::to_string(type) + " with a negative count");
        out << "item " << type << ' ' << packages << ' ' << partial << ' ' << shelfLife << ' '
            << DoubleText(BigEndianDouble(in.Number(8, kRecord))) << '\n';
    }
}

void ShowParty(Reader& in, std::ostream& out)
{
    const int16_t members = in.Short(kRecord);
    if (members < 0 || members > kMaxMembers)
        Refuse("record 2 holds " + std::to_string(members) + " members (0 to 5 are allowed)");
    out << "party " << members << ' ' << DoubleText(BigEndianDouble(in.Number(8, kRecord)));
    // The spare value is kept as a double with its bytes in little-endian order.
    out << ' ' << DoubleText(BigEndianDouble(__builtin_bswap64(in.Number(8, kRecord))));
    // Spare word, morale, hungry days, the two diet counters.
    Shorts(in, out, 5);
    out << ' ' << int{in.Byte(kRecord)};
    // Day strain, ration, load state.
    Shorts(in, out, 3);
    out << ' ' << Hex(in.Take(kPartyFlagBytes, kRecord), kPartyFlagBytes) << '\n';
    for (int16_t i = 0; i < members; ++i)
        ShowMember(in, out);
    ShowSupplies(in, out);
}

void ShowWeather(Reader& in, std::ostream& out)
{
    // Region, snow depth, snowfall, day counter; then each day's high, low and precipitation.
    out << "weather";
    Shorts(in, out, 4);
    out << '\n';
    for (int i = 0; i < kWeatherDays; ++i) {
        out << "day " << i;
        Shorts(in, out, 3);
        out << '\n';
    }
}

void ShowRoute(Reader& in, std::ostream& out)
{
    out << "route " << in.Short(kRecord) << ' ' << int{in.Byte(kRecord)};
    Shorts(in, out, 3 + kVisited);
    out << '\n';
}

} // namespace

void ShowTravelRecord(Reader& in, std::ostream& out)
{
    ShowTrip(in, out);
    ShowParty(in, out);
    ShowWeather(in, out);
    for (int i = 0; i < kPersons; ++i) {
        out << "person";
        Shorts(in, out, 3);
        out << '\n';
    }
    out << "scene " << Hex(in.Take(kSceneFlags, kRecord), kSceneFlags) << '\n';
    ShowRoute(in, out);
    // The game reads on after the record: its fields must lead exactly to the next record.
    const int32_t next = in.PeekShort();
    if (next != kTagFlags && next != kTagEnd)
        Refuse("record 2 ends at offset " + std::to_string(in.Pos()) + ", not at record 4 or 3");
}

} // namespace qmsave
