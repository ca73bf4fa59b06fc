#include "platform/TextEscape.h"

#include <cstdio>

namespace plat {

namespace {

void AppendHexByte(std::string& out, unsigned char b)
{
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", b);
    out += hex;
}

bool IsControlOrHigh(unsigned char b) { return b < 0x20 || b > 0x7E; }

} // namespace

void AppendEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        switch (b) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (IsControlOrHigh(b))
                AppendHexByte(out, b);
            else
                out += c;
        }
    }
}

std::string ControlBytesEscaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (IsControlOrHigh(b))
            AppendHexByte(out, b);
        else
            out += c;
    }
    return out;
}

void WriteErrorLine(std::ostream& err, std::string_view program, std::string_view text)
{
    err << program << ": " << ControlBytesEscaped(text) << '\n';
}

std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    AppendEscaped(out, text);
    return out + "\"";
}

} // namespace plat
