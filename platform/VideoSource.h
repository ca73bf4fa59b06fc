#pragma once
// The bytes a video clip is read from: a whole file, a byte range of a file (a clip stored in
// a library file), or memory.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace plat {

class ClipBytes {
public:
    virtual ~ClipBytes() = default;
    virtual int64_t Size() const = 0;
    // Up to n bytes from pos; answers how many were read (0 at or past the end).
    virtual int Read(int64_t pos, uint8_t* buffer, int n) = 0;
};

class MemorySource : public ClipBytes {
public:
    explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
    int Read(int64_t pos, uint8_t* buffer, int n) override;

private:
    std::vector<uint8_t> bytes_;
};

// `size` bytes of the file from `offset` (size -1: to the file's end). Null when the file
// cannot be opened or the range does not lie inside it.
std::unique_ptr<ClipBytes> OpenFileSource(const std::filesystem::path& path, int64_t offset, int64_t size);

} // namespace plat
