#pragma once
// Files the tools write.
#include <cstdint>
#include <filesystem>
#include <vector>

// Writes the bytes as the whole file, replacing what was there. Throws std::runtime_error
// ("PATH: cannot write") when the file cannot be written completely, removing what was written.
void WriteWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
