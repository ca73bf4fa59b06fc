// The hand-written text scanner of CUtil: blanks and comments, numbers in three bases, words
// and quoted strings, lines and symbolic names.
#include <cstdio>
#include <cstring>

#include "engine/framework/Diag.h"
#include "engine/framework/TextChars.h"
#include "engine/framework/Util.h"

namespace {

void ReportBadDigit(const char* label, char c, int base)
{
    // The label comes from the caller's text and may be of any length: format with bounds.
    char message[100];
    std::snprintf(message, sizeof message, "CUtil:ReadANum:  %s: (%c) is NOT a base %d digit.",
                  label ? label : "", c, base);
    // A warning only: the caller gets the error code and decides what the bad number means.
    ReportError(kReportWarning, message, "Util", __LINE__);
}

// Reads a number and hands back its magnitude with the sign applied or dropped.
template <typename T>
const char* ReadTyped(const char* p, T* out, const char* label, int16_t* error, bool keepSign)
{
    int32_t value = 0;
    bool negative = false;
    int16_t status = 0;
    p = CUtil::ReadANum(p, &value, &negative, label, &status, error == nullptr);
    uint32_t bits = static_cast<uint32_t>(value);
    if (keepSign && negative)
        bits = 0u - bits;
    if (out)
        *out = static_cast<T>(bits);
    if (error)
        *error = status;
    return p;
}

} // namespace

const char* CUtil::SkipBlanksAndComments(const char* p)
{
    for (;;) {
        while (IsBlankChar(*p))
            ++p;
        if (*p == '#' || (p[0] == '/' && p[1] == '/')) {
            while (*p && !IsLineEnd(*p))
                ++p;
            while (IsLineEnd(*p))
                ++p;
        } else if (p[0] == '/' && p[1] == '*') {
            const char* end = std::strstr(p + 2, "*/");
            if (!end)
                return p + std::strlen(p);
            p = end + 2;
        } else {
            return p;
        }
    }
}

const char* CUtil::ReadANum(const char* p, int32_t* value, bool* negative, const char* label, int16_t* error,
                            bool report)
{
    const char* start = p;
    uint32_t magnitude = 0; // wraps the way the 32-bit accumulator does
    bool minus = false;
    int16_t status = 0;
    p = SkipBlanksAndComments(p);
    if (*p == '-' || *p == '+')
        minus = *p++ == '-';
    int base = 10;
    if (*p == 'h' || *p == 'H') {
        base = 16;
        ++p;
    } else if (*p == 'b' || *p == 'B') {
        base = 2;
        ++p;
    }
    if (*p == '-') {
        minus = !minus;
        ++p;
    } else if (*p == '+') {
        ++p;
    }
    bool sawDigit = false;
    for (; *p && !IsBlankChar(*p); ++p) {
        if (base == 10 && *p == '%' && sawDigit) {
            ++p;
            break;
        }
        const int digit = DigitValue(*p, base);
        if (digit < 0) {
            if (!sawDigit) {
                status = 1;
                if (report)
                    ReportBadDigit(label, *p, base);
                p = start;
            }
            break;
        }
        magnitude = magnitude * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
        sawDigit = true;
    }
    p = SkipBlanksAndComments(p);
    if (value)
        *value = static_cast<int32_t>(magnitude);
    if (negative)
        *negative = minus;
    if (error)
        *error = status;
    return p;
}

const char* CUtil::ReadUByte(const char* p, uint8_t* out, const char* label, int16_t* error)
{
    return ReadTyped(p, out, label, error, false);
}
const char* CUtil::ReadUShort(const char* p, uint16_t* out, const char* label, int16_t* error)
{
    return ReadTyped(p, out, label, error, false);
}
const char* CUtil::ReadULong(const char* p, uint32_t* out, const char* label, int16_t* error)
{
    return ReadTyped(p, out, label, error, false);
}
const char* CUtil::ReadByte(const char* p, int8_t* out, const char* label, int16_t* error)
{
    return ReadTyped(p, out, label, error, true);
}
const char* CUtil::ReadShort(const char* p, int16_t* out, const char* label, int16_t* error)
{
    return ReadTyped(p, out, label, error, true);
}
const char* CUtil::ReadLong(const char* p, int32_t* out, const char* label, int16_t* error)
{
    return ReadTyped(p, out, label, error, true);
}

const char* CUtil::ReadToken(const char* p, char* out, int16_t max, int16_t* length)
{
    p = SkipBlanksAndComments(p);
    int16_t stored = 0;
    char quote = '\0';
    if (*p == '"' || *p == '\'')
        quote = *p++;
    while (stored < max && *p) {
        if (quote ? *p == quote : IsBlankChar(*p)) {
            if (quote)
                ++p;
            break;
        }
        if (*p == '\\') {
            ++p;
            if (!*p)
                break;
            if (IsLineEnd(*p)) {
                ++p;
                continue;
            }
        }
        out[stored++] = *p++;
    }
    p = SkipBlanksAndComments(p);
    if (length)
        *length = stored;
    return p;
}

const char* CUtil::ReadCString(const char* p, char* out, int16_t size)
{
    if (size < 1)
        return p;
    int16_t length = 0;
    p = ReadToken(p, out, static_cast<int16_t>(size - 1), &length);
    out[length] = '\0';
    return p;
}

const char* CUtil::ReadPString(const char* p, unsigned char* out, int16_t size)
{
    if (size > 256)
        size = 256;
    if (size < 1)
        return p;
    int16_t length = 0;
    p = ReadToken(p, reinterpret_cast<char*>(out + 1), static_cast<int16_t>(size - 1), &length);
    out[0] = static_cast<unsigned char>(length);
    return p;
}

const char* CUtil::CopyLine(const char* p, char* out, int16_t max, int16_t* length)
{
    int16_t stored = 0;
    while (stored < max && *p && !IsLineEnd(*p))
        out[stored++] = *p++;
    if (IsLineEnd(*p))
        ++p;
    if (length)
        *length = stored;
    return p;
}

const char* CUtil::ReadLine(const char* p, char* out, int16_t size)
{
    if (size < 1)
        return p;
    int16_t length = 0;
    p = CopyLine(p, out, static_cast<int16_t>(size - 1), &length);
    out[length] = '\0';
    return p;
}

const char* CUtil::ReadEnum(const char* p, const EnumEntry* table, int16_t* out, const char* label,
                            int16_t* error)
{
    char word[32];
    const char* after = ReadCString(p, word, sizeof word);
    if (word[0] == '\0') {
        if (error)
            *error = 1;
        return after;
    }
    for (const EnumEntry* e = table; e && e->name && e->name[0]; ++e) {
        if (std::strcmp(e->name, word) == 0) {
            if (out)
                *out = e->value;
            if (error)
                *error = 0;
            return after;
        }
    }
    int16_t status = 0;
    p = ReadShort(p, out, label, &status);
    if (error)
        *error = status;
    return p;
}
