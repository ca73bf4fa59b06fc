#pragma once
// Engine paths and the host file system. The engine keeps Windows-style paths
// ("C:\DATA\FILE.QMD", "\DATA", "DATA\FILE") because its data uses them; they are mapped to
// host paths here. "Drives" are a configured list of host folders. Every path component is
// found without regard to letter case, wildcards match the Windows way, and folder listings
// come back in one deterministic order.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class DriveKind { Fixed, Removable, CdRom };

struct Drive {
    char letter = 'C';          // upper case
    std::filesystem::path root; // host folder the drive stands for
    DriveKind kind = DriveKind::Fixed;
};

// The configured drives; by default C: is the program folder and D: the data folder.
const std::vector<Drive>& GetDrives();
void SetDrives(std::vector<Drive> drives);
const Drive* FindDrive(char letter);
// The letter of a drive whose root is the folder, adding one of that kind on the last free
// letter (from Z: down to D:) when no drive has it; the current folder stays. 0 when every
// letter is taken.
char DriveForFolder(const std::filesystem::path& root, DriveKind kind = DriveKind::Fixed);

// The current folder in engine terms, such as "C:\DATA". Relative engine paths start here.
std::string GetCurrentFolder();
// Returns false (and changes nothing) when the folder does not exist.
bool SetCurrentFolder(std::string_view enginePath);

// The host path for an engine path. Components that exist are matched without regard to
// case; the rest are kept as written, so the result can name a file about to be created.
// Returns nullopt when the path names an unknown drive.
std::optional<std::filesystem::path> ToHostPath(std::string_view enginePath);
// The engine path for a host path under one of the drives, or nullopt.
std::optional<std::string> ToEnginePath(const std::filesystem::path& hostPath);

// Windows wildcard matching without regard to case: '*' any run, '?' one character, and a
// trailing ".*" also matches names without a dot ("*.*" matches "README").
bool WildcardMatch(std::string_view pattern, std::string_view name);
// Compares two names the way listings are ordered: case-insensitively, then by bytes.
bool NameLess(std::string_view a, std::string_view b);
bool NamesEqualNoCase(std::string_view a, std::string_view b);

struct FolderEntry {
    std::string name;
    bool isFolder = false;
    uint64_t size = 0;
    int64_t modifiedUnix = 0; // seconds since 1970, UTC
};

// Lists the entries of an engine folder whose names match the pattern (".", ".." left out),
// in NameLess order. Returns nullopt when the folder does not exist.
std::optional<std::vector<FolderEntry>> ListFolder(std::string_view engineFolder,
                                                   std::string_view pattern = "*.*");
// The same with the names and whether each is a folder only (sizes and times 0), much cheaper
// for a large folder: what library and folder scans need.
std::optional<std::vector<FolderEntry>> ListFolderNames(std::string_view engineFolder,
                                                        std::string_view pattern = "*.*");

// Modification time in seconds since 1970 (UTC).
std::optional<int64_t> GetFileTime(std::string_view enginePath);
bool SetFileTime(std::string_view enginePath, int64_t modifiedUnix);

// Resets the drives and the current folder to their defaults.
void ResetFiles();

} // namespace plat
