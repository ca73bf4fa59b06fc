#include "tests/support/FolderLibraryWriter.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace qmtest {
namespace {

std::string_view AsText(const std::vector<uint8_t>& bytes)
{
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

} // namespace

FolderLibraryWriter::FolderLibraryWriter(std::filesystem::path folder) : folder_(std::move(folder))
{
    std::filesystem::create_directories(folder_);
}

std::string FolderLibraryWriter::FileName(std::string_view type, int32_t id)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%0*" PRId32 ".%.3s", 6, id, std::string(type).c_str());
    return buf;
}

std::filesystem::path FolderLibraryWriter::Add(std::string_view type, int32_t id, std::string_view content,
                                               std::string_view suffix)
{
    std::string name = FileName(type, id);
    if (!suffix.empty())
        name.insert(name.find('.'), std::string(" ").append(suffix));
    const std::filesystem::path path = folder_ / std::string(type) / name;
    WriteFile(path, content);
    return path;
}

std::filesystem::path FolderLibraryWriter::Add(std::string_view type, int32_t id,
                                               const std::vector<uint8_t>& content, std::string_view suffix)
{
    return Add(type, id, AsText(content), suffix);
}

void WriteFile(const std::filesystem::path& path, std::string_view content)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& content)
{
    WriteFile(path, AsText(content));
}

void ReplaceFile(const std::filesystem::path& path, std::string_view content)
{
    std::filesystem::remove(path);
    WriteFile(path, content);
}

} // namespace qmtest
