#include "platform/widgets/TextCodes.h"

#include <array>
#include <cstdint>

namespace plat {
namespace {

// The code points of 0x80-0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePointOf(uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHigh[byte - 0x80] ? kHigh[byte - 0x80] : byte;
    return byte;
}

char ByteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100))
        return static_cast<char>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    for (char c : text)
        AppendUtf8(out, CodePointOf(static_cast<uint8_t>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        const int extra = lead < 0x80         ? 0
                          : (lead >> 5) == 6  ? 1
                          : (lead >> 4) == 14 ? 2
                          : (lead >> 3) == 30 ? 3
                                              : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        bool good = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(text[i + static_cast<size_t>(k)]);
            good = good && (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!good) {
            out += '?';
            ++i;
            continue;
        }
        out += ByteOf(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

} // namespace plat
