#include "platform/VideoSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace plat {

int MemorySource::Read(int64_t pos, uint8_t* buffer, int n)
{
    if (pos < 0 || pos >= Size() || n <= 0)
        return 0;
    const auto count = static_cast<int>(std::min<int64_t>(n, Size() - pos));
    std::memcpy(buffer, bytes_.data() + pos, static_cast<size_t>(count));
    return count;
}

namespace {

class FileRange : public ClipBytes {
public:
    FileRange(std::FILE* file, int64_t offset, int64_t size) : file_(file), offset_(offset), size_(size) {}
    ~FileRange() override { std::fclose(file_); }
    FileRange(const FileRange&) = delete;
    FileRange& operator=(const FileRange&) = delete;
    int64_t Size() const override { return size_; }
    int Read(int64_t pos, uint8_t* buffer, int n) override
    {
        if (pos < 0 || pos >= size_ || n <= 0)
            return 0;
        const auto count = static_cast<size_t>(std::min<int64_t>(n, size_ - pos));
        if (fseeko(file_, static_cast<off_t>(offset_ + pos), SEEK_SET) != 0)
            return 0;
        return static_cast<int>(std::fread(buffer, 1, count, file_));
    }

private:
    std::FILE* file_;
    int64_t offset_;
    int64_t size_;
};

} // namespace

std::unique_ptr<ClipBytes> OpenFileSource(const std::filesystem::path& path, int64_t offset, int64_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    int64_t length = -1;
    if (fseeko(file, 0, SEEK_END) == 0)
        length = ftello(file);
    if (length < 0 || offset < 0 || offset > length || (size >= 0 && size > length - offset)) {
        std::fclose(file);
        return nullptr;
    }
    return std::make_unique<FileRange>(file, offset, size < 0 ? length - offset : size);
}

} // namespace plat
