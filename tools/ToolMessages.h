#pragma once
// The one-line error every tool prints on standard error.
#include <ostream>
#include <string_view>

// Writes "TOOL: TEXT" and a line feed, every byte of TEXT below 0x20 or from 0x7F written as \xHH,
// so that a name taken from bad input can neither split the line nor send control codes to a terminal.
void WriteToolError(std::ostream& err, std::string_view tool, std::string_view text);
