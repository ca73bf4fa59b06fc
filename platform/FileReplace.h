#pragma once
// Replacing a file's contents so that a reader never sees it half-written: the new contents go
// to a temporary file beside it, which is renamed over the old file only when every byte is
// written. On any failure the temporary file is removed and the old file stays as it was.
#include <cstdint>
#include <filesystem>
#include <span>

namespace plat {

// 0 on success, else the error number of the step that failed. With durable set, the file and
// its folder are synced to the disk before the answer.
int ReplaceFileContents(const std::filesystem::path& file, std::span<const uint8_t> bytes, bool durable);

} // namespace plat
