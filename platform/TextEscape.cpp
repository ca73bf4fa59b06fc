#include "platform/TextEscape.h"

#include <cstdio>

namespace plat {

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
            if (b < 0x20 || b > 0x7E) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", b);
                out += hex;
            } else {
                out += c;
            }
        }
    }
}

std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    AppendEscaped(out, text);
    return out + "\"";
}

} // namespace plat
