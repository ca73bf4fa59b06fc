#pragma once
// Resource keys as file names: the names folder libraries give their resource files, the
// number read back from such a name, and the check that a type can safely name a folder.
#include <cstdint>
#include <string>
#include <string_view>

// "%0*ld.%.3s" of (6, id, type): the number padded with zeros to six characters (a negative
// number keeps its sign in front, -5 gives -00005), a dot and at most the type's first three
// characters. With pattern, "%0*ld*.%.3s": any characters may follow the digits.
std::string ResourceFileName(const char* type, int32_t id, bool pattern);

// The number formed by the first six characters of a file name: an optional '-' and the
// digits that follow it, stopping at the first other character; 0 when there are none.
int32_t ResourceIdFromFileName(std::string_view name);

// A type that may name a folder of a folder library: not empty, and holding none of '\',
// '/', ':' or "..", so a type taken from data never reaches outside the library's folder.
bool IsSafeFolderType(const char* type);
