#pragma once
// Library fixtures: the test's temporary folder as drive C:, engine paths of files in it, and
// single-file libraries written from a list of resources.
#include <filesystem>
#include <string>
#include <vector>

#include "engine/resources/MegaFormat.h"

namespace qmtest {

// Makes the running test's temporary folder drive C: (and the current folder its root).
void UseTempDirAsDriveC();
// The engine path ("C:\...") of a host path inside the temporary folder.
std::string EnginePath(const std::filesystem::path& hostPath);
// Writes a single-file library holding the resources in the given order.
void WriteMegaLibrary(const std::filesystem::path& path, const std::vector<MegaResource>& resources,
                      uint16_t version = 20, uint32_t stamp = 0);
std::vector<uint8_t> Bytes(std::string_view text);
std::string ReadWholeFile(const std::filesystem::path& path);

} // namespace qmtest
