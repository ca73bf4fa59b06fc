#include "tools/ToolFiles.h"

#include <fstream>
#include <stdexcept>

void WriteWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // Closing flushes, so a full disk shows in the stream's state.
    out.close();
    if (!out) {
        // Nothing half written is left behind.
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw std::runtime_error(path.string() + ": cannot write");
    }
}
