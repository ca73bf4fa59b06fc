#pragma once
// The commands of qmlib that read definition text, through the engine's own parser:
//
//   qmlib strings LIBRARY NUMBER        the "STR" list, one entry per line
//   qmlib record LIBRARY TYPE NUMBER    the typed record compiled against its format, one
//                                       line "OFFSET SIZE VALUE" per stored item, then
//                                       "size N"
//
// Both throw std::runtime_error with the one line of an error.
#include <iosfwd>
#include <string>
#include <vector>

int QmLibStrings(const std::vector<std::string>& args, std::ostream& out);
int QmLibRecord(const std::vector<std::string>& args, std::ostream& out);
