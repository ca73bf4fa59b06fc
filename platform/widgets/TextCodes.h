#pragma once
// Conversion between the Windows-1252 text of the engine and UTF-8 (the desktop clipboard's
// and SDL's typed text).
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// The Windows-1252 byte of a character, or 0 when it has none. Most of 0x80-0x9F hold
// typographic characters in place of control codes.
uint8_t Cp1252FromCodePoint(char32_t cp);
// The characters of UTF-8 text; bytes that do not form a character are skipped.
std::u32string DecodeUtf8(std::string_view text);
std::string Cp1252ToUtf8(std::string_view text);
// A character Windows-1252 cannot hold becomes '?'.
std::string Utf8ToCp1252(std::string_view text);

} // namespace plat
