#include "engine/resources/DirScan.h"

#include <string>

#include "engine/framework/FileSpecs.h"
#include "platform/Files.h"

namespace {

constexpr const char* kAll = "*.*";

} // namespace

CDirScan::CDirScan(const CFileSpec& folder, int32_t, int32_t, const char* pattern)
{
    Scan(folder.GetPath(), pattern);
}

CDirScan::CDirScan(const char* path, int32_t, int32_t, const char* pattern) { Scan(path, pattern); }

CDirScan::CDirScan() : CDirScan(CFileSpec(), 0, 0, nullptr) {}

void CDirScan::Scan(const char* path, const char* pattern)
{
    pattern_ = CStr(pattern && *pattern ? pattern : kAll);
    // A backslash at the end of the path is kept: the platform names the same folder with or
    // without it, and a drive's root stays the root instead of becoming that drive's current
    // folder.
    const std::string folder = path ? path : "";
    if (folder.empty())
        return;

    const bool listsAll = std::string(pattern_.GetText()) == kAll;
    if (const auto entries = plat::ListFolderNames(folder, pattern_.GetText())) {
        for (const plat::FolderEntry& e : *entries) {
            if (!e.isFolder)
                files_.Add(std::make_unique<CStr>(e.name.c_str()));
            else if (listsAll)
                folders_.Add(std::make_unique<CStr>(e.name.c_str()));
        }
    }
    // Sub-folders are always listed in full, whatever the pattern.
    if (!listsAll) {
        if (const auto entries = plat::ListFolderNames(folder, kAll))
            for (const plat::FolderEntry& e : *entries)
                if (e.isFolder)
                    folders_.Add(std::make_unique<CStr>(e.name.c_str()));
    }
}
