#pragma once
// Writes a folder library (a sub-folder per type, a file per resource named like
// "000123.STR") so that a test can state its fixture in a few lines:
//
//   qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "game.qmd");
//   lib.Add("STR", 8, "Out of memory\n");
//   lib.Add("CBM", 123, bytes, "house");   // 000123 house.CBM
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qmtest {

class FolderLibraryWriter {
public:
    explicit FolderLibraryWriter(std::filesystem::path folder);
    const std::filesystem::path& Folder() const { return folder_; }

    // Writes one resource and returns the file's path. A non-empty suffix follows the digits
    // after a blank, the way hand-named resource files look.
    std::filesystem::path Add(std::string_view type, int32_t id, std::string_view content,
                              std::string_view suffix = {});
    std::filesystem::path Add(std::string_view type, int32_t id, const std::vector<uint8_t>& content,
                              std::string_view suffix = {});
    // The file name the library uses for a resource: six digits, a dot, the type's first three
    // characters.
    static std::string FileName(std::string_view type, int32_t id);

private:
    std::filesystem::path folder_;
};

// Writes a whole file, making its folders.
void WriteFile(const std::filesystem::path& path, std::string_view content);
void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& content);
// The same as a new file in place of any old one, never written into: a file hard-linked from
// shared test data stays as it was.
void ReplaceFile(const std::filesystem::path& path, std::string_view content);

} // namespace qmtest
