#pragma once
// Where an "SMK" clip resource lies: its file spec (the name shown in messages) and the byte
// range the clip takes in that file. A folder library keeps each clip as a file of its own;
// a single-file library keeps it inside the library file, so the clip is read from its
// range there rather than from the start of the library file.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "engine/framework/FileSpecs.h"

struct CSmkLocation {
    std::unique_ptr<CFileSpec> spec;
    std::filesystem::path hostPath;
    int64_t offset = 0;
    int64_t size = 0;
};

// The resource "SMK" id in the libraries of the mask; nothing when it does not exist or its
// file cannot be reached.
std::optional<CSmkLocation> FindSmkResource(int32_t id, uint32_t mask);
