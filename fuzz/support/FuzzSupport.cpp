#include "fuzz/support/FuzzSupport.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "platform/MessageBox.h"

namespace fuzz {

namespace {

// Removes the folders it holds when static objects are destroyed at exit (libFuzzer and the
// replay main both leave through exit).
struct TempFolders {
    std::vector<std::filesystem::path> paths;
    ~TempFolders()
    {
        for (const auto& path : paths) {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
};

TempFolders& Folders()
{
    static TempFolders folders;
    return folders;
}

// TMPDIR when it names a folder, else the system's temporary folder: a TMPDIR that names
// nothing (left over from another shell) must not stop the run.
std::filesystem::path TempRoot()
{
    std::error_code ec;
    std::filesystem::path root = std::filesystem::temp_directory_path(ec);
    if (ec || !std::filesystem::is_directory(root, ec))
        root = "/tmp";
    return root;
}

} // namespace

void CatchFatalReports()
{
    static const bool installed = [] {
        plat::SetFatalHook(plat::ThrowingFatalHook());
        return true;
    }();
    (void)installed;
}

void ForgetShownBoxes() { plat::GetScriptedMessageBoxes().Clear(); }

std::filesystem::path MakeTempFolder(const char* prefix)
{
    std::string pattern = (TempRoot() / prefix).string() + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    Folders().paths.emplace_back(pattern);
    return pattern;
}

InputFile::InputFile(std::filesystem::path path, const uint8_t* data, size_t size) : path_(std::move(path))
{
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

InputFile::~InputFile()
{
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

} // namespace fuzz
