#include "platform/widgets/TextCodes.h"

#include <array>

namespace plat {
namespace {

// The characters of 0x80-0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePointOf(uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0)
        return kHigh[byte - 0x80];
    return byte;
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

uint8_t Cp1252FromCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<uint8_t>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] != 0 && kHigh[i] == cp)
            return static_cast<uint8_t>(0x80 + i);
    }
    return 0;
}

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string out;
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp = static_cast<uint8_t>(text[i++]);
        int extra = 0;
        if (cp >= 0xF0)
            cp &= 0x07, extra = 3;
        else if (cp >= 0xE0)
            cp &= 0x0F, extra = 2;
        else if (cp >= 0xC0)
            cp &= 0x1F, extra = 1;
        else if (cp >= 0x80)
            continue;
        bool ok = true;
        for (int k = 0; k < extra && ok; ++k) {
            const uint8_t next = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
            ok = (next & 0xC0) == 0x80;
            if (ok) {
                cp = (cp << 6) | (next & 0x3F);
                ++i;
            }
        }
        if (ok)
            out += cp;
    }
    return out;
}

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
    for (char32_t cp : DecodeUtf8(text)) {
        const uint8_t byte = Cp1252FromCodePoint(cp);
        out += byte != 0 || cp == 0 ? static_cast<char>(byte) : '?';
    }
    return out;
}

} // namespace plat
