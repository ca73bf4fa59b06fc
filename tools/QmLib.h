#pragma once
// qmlib, the library tool: lists, extracts, packs and unpacks resource libraries.
//
//   qmlib list LIBRARY                      one line "TYPE NUMBER SIZE" per present resource
//   qmlib extract LIBRARY TYPE NUMBER       the resource's bytes on standard output
//   qmlib pack FOLDER OUT [--version N] [--stamp SECONDS]
//                                           a single-file library from a folder library
//   qmlib unpack LIBRARY FOLDER             a folder library with canonical file names
//   qmlib strings LIBRARY NUMBER            the "STR" list, one entry per line
//   qmlib record LIBRARY TYPE NUMBER        the typed record, one "OFFSET SIZE VALUE" line per
//                                           item, then "size N" (tools/QmLibText.h)
//
// LIBRARY is a single-file library or a folder library. Errors are one line on the error
// stream and exit status 1.
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmLib(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
