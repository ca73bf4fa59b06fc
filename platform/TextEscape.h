#pragma once
// The one-line quoted form in which programs print texts for people and scripts to read (the
// headless message-box lines, qmsave): '"', '\\', CR, LF and tab as \" \\ \r \n \t, every
// other byte below 0x20 or above 0x7E as \xHH (upper-case hex), the rest as it is.
#include <ostream>
#include <string>
#include <string_view>

namespace plat {

// Appends the escaped text (without quotes).
void AppendEscaped(std::string& out, std::string_view text);
// The text with only the bytes below 0x20 or above 0x7E as \xHH, quotes and backslashes as they
// are: the form for one-line error messages, where a line feed in a name must not split the line.
std::string ControlBytesEscaped(std::string_view text);
// The text escaped and in double quotes.
std::string Quoted(std::string_view text);
// Writes "PROGRAM: TEXT" and a line feed, TEXT with ControlBytesEscaped: the one-line error of
// the programs and tools, which a name taken from bad input cannot split.
void WriteErrorLine(std::ostream& err, std::string_view program, std::string_view text);

} // namespace plat
