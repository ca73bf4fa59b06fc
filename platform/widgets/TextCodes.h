#pragma once
// Conversion between the Windows-1252 text of the engine and UTF-8 (the desktop clipboard's
// and SDL's typed text). A UTF-8 character Windows-1252 cannot hold becomes '?', and so does
// a malformed sequence.
#include <string>
#include <string_view>

namespace plat {

std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);

} // namespace plat
