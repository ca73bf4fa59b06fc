#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <system_error>

#include "platform/SystemInfo.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

std::vector<Drive> g_drives;
bool g_drivesSet = false;
std::string g_currentFolder = "C:\\";

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::vector<Drive> DefaultDrives()
{
    std::vector<Drive> drives;
    drives.push_back({'C', GetProgramFolder(), DriveKind::Fixed});
    drives.push_back({'D', GetDataFolder(), DriveKind::Fixed});
    return drives;
}

// Splits an engine path into its drive letter (0 when none), whether it starts at the
// root, and its components.
struct ParsedPath {
    char drive = 0;
    bool rooted = false;
    std::vector<std::string> parts;
};

ParsedPath Parse(std::string_view path)
{
    ParsedPath p;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        p.drive = Upper(path[0]);
        path.remove_prefix(2);
    }
    if (!path.empty() && (path[0] == '\\' || path[0] == '/'))
        p.rooted = true;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                p.parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        p.parts.push_back(part);
    return p;
}

// Makes a path absolute against the current folder and folds "." and "..".
ParsedPath Absolute(std::string_view path)
{
    ParsedPath p = Parse(path);
    const ParsedPath cur = Parse(g_currentFolder);
    ParsedPath out;
    out.drive = p.drive ? p.drive : cur.drive;
    out.rooted = true;
    std::vector<std::string> parts;
    if (!p.rooted && (p.drive == 0 || p.drive == cur.drive))
        parts = cur.parts;
    for (const std::string& part : p.parts) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    out.parts = std::move(parts);
    return out;
}

// A host path with one more component: the text of the folder, a separator where it has none
// at its end, and the name (what fs::path's append gives, without its parse of the whole path).
std::string HostChild(const std::string& folder, std::string_view name)
{
    std::string child = folder;
    if (!child.empty() && child.back() != '/')
        child += '/';
    child += name;
    return child;
}

// Finds the entry of a host folder whose name equals the given one without regard to case;
// the exact name wins, then the first in listing order.
std::optional<std::string> MatchComponent(const std::string& folder, const std::string& name)
{
    struct stat st {};
    if (stat(HostChild(folder, name).c_str(), &st) == 0)
        return name;
    std::optional<std::string> best;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.c_str()), closedir);
    if (!listing)
        return best;
    while (const dirent* item = readdir(listing.get())) {
        const std::string_view candidate = item->d_name;
        if (candidate != "." && candidate != ".." && NamesEqualNoCase(candidate, name) &&
            (!best || NameLess(candidate, *best)))
            best = std::string(candidate);
    }
    return best;
}

bool WildcardMatchPlain(std::string_view pattern, std::string_view name)
{
    // Iterative matcher with one back-tracking point for the last '*'.
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::optional<int64_t> ModifiedUnix(const fs::path& host)
{
    struct stat st {};
    if (stat(host.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<int64_t>(st.st_mtim.tv_sec);
}

} // namespace

const std::vector<Drive>& GetDrives()
{
    if (!g_drivesSet) {
        g_drives = DefaultDrives();
        g_drivesSet = true;
    }
    return g_drives;
}

void SetDrives(std::vector<Drive> drives)
{
    for (Drive& d : drives)
        d.letter = Upper(d.letter);
    g_drives = std::move(drives);
    g_drivesSet = true;
    const char first = g_drives.empty() ? 'C' : g_drives.front().letter;
    g_currentFolder = std::string(1, first) + ":\\";
}

const Drive* FindDrive(char letter)
{
    for (const Drive& d : GetDrives())
        if (d.letter == Upper(letter))
            return &d;
    return nullptr;
}

char DriveForFolder(const fs::path& root, DriveKind kind)
{
    std::error_code ec;
    for (const Drive& d : GetDrives())
        if (fs::equivalent(d.root, root, ec))
            return d.letter;
    for (char letter = 'Z'; letter >= 'D'; --letter)
        if (!FindDrive(letter)) {
            g_drives.push_back({letter, root, kind});
            return letter;
        }
    return 0;
}

std::string GetCurrentFolder() { return g_currentFolder; }

bool SetCurrentFolder(std::string_view enginePath)
{
    const std::optional<fs::path> host = ToHostPath(enginePath);
    std::error_code ec;
    if (!host || !fs::is_directory(*host, ec))
        return false;
    const ParsedPath p = Absolute(enginePath);
    std::string folder(1, p.drive);
    folder += ":";
    for (const std::string& part : p.parts)
        folder += "\\" + part;
    if (p.parts.empty())
        folder += "\\";
    g_currentFolder = folder;
    return true;
}

std::optional<fs::path> ToHostPath(std::string_view enginePath)
{
    const ParsedPath p = Absolute(enginePath);
    const Drive* drive = FindDrive(p.drive);
    if (!drive)
        return std::nullopt;
    // Built as text: every file the engine opens comes through here.
    std::string host = drive->root.string();
    bool exists = true;
    for (const std::string& part : p.parts) {
        std::optional<std::string> match;
        if (exists)
            match = MatchComponent(host, part);
        if (!match)
            exists = false;
        host = HostChild(host, match ? *match : part);
    }
    return fs::path(std::move(host));
}

std::optional<std::string> ToEnginePath(const fs::path& hostPath)
{
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(hostPath, ec);
    for (const Drive& d : GetDrives()) {
        const fs::path root = fs::weakly_canonical(d.root, ec);
        const fs::path rel = target.lexically_relative(root);
        if (rel.empty() || *rel.begin() == "..")
            continue;
        std::string out(1, d.letter);
        out += ":";
        for (const fs::path& part : rel)
            if (part != ".") {
                out += '\\';
                out += part.string();
            }
        if (out.size() == 2)
            out += "\\";
        return out;
    }
    return std::nullopt;
}

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    if (WildcardMatchPlain(pattern, name))
        return true;
    // "name.*" also stands for "name" with no extension at all.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return WildcardMatchPlain(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

bool NameLess(std::string_view a, std::string_view b)
{
    const auto la = [](char x, char y) { return Lower(x) < Lower(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), la))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), la))
        return false;
    return a < b;
}

bool NamesEqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

namespace {

// The entries of ListFolder; without `details` their sizes and times are left 0 and a name is
// looked at only when the folder listing does not say whether it is a folder. The names are read
// as the system gives them and only those that match are looked at: libraries look a resource up
// by listing its type's folder, which can hold hundreds of files.
std::optional<std::vector<FolderEntry>> ListEntries(std::string_view engineFolder, std::string_view pattern,
                                                    bool details)
{
    const std::optional<fs::path> host = ToHostPath(engineFolder);
    std::error_code ec;
    if (!host || !fs::is_directory(*host, ec))
        return std::nullopt;
    std::vector<FolderEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(host->c_str()), closedir);
    if (!folder)
        return entries;
    const std::string prefix = host->string() + "/";
    while (const dirent* item = readdir(folder.get())) {
        const std::string_view name = item->d_name;
        if (name == "." || name == ".." || !WildcardMatch(pattern, name))
            continue;
        FolderEntry e;
        e.name = name;
        if (details || (item->d_type != DT_DIR && item->d_type != DT_REG)) {
            struct stat st {};
            const bool found = stat((prefix + e.name).c_str(), &st) == 0;
            e.isFolder = found && S_ISDIR(st.st_mode);
            if (details) {
                e.size = found && !e.isFolder ? static_cast<uint64_t>(st.st_size) : 0;
                e.modifiedUnix = found ? static_cast<int64_t>(st.st_mtim.tv_sec) : 0;
            }
        } else {
            e.isFolder = item->d_type == DT_DIR;
        }
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return NameLess(a.name, b.name); });
    return entries;
}

} // namespace

std::optional<std::vector<FolderEntry>> ListFolder(std::string_view engineFolder, std::string_view pattern)
{
    return ListEntries(engineFolder, pattern, true);
}

std::optional<std::vector<FolderEntry>> ListFolderNames(std::string_view engineFolder,
                                                        std::string_view pattern)
{
    return ListEntries(engineFolder, pattern, false);
}

std::optional<int64_t> GetFileTime(std::string_view enginePath)
{
    const std::optional<fs::path> host = ToHostPath(enginePath);
    if (!host)
        return std::nullopt;
    return ModifiedUnix(*host);
}

bool SetFileTime(std::string_view enginePath, int64_t modifiedUnix)
{
    const std::optional<fs::path> host = ToHostPath(enginePath);
    if (!host)
        return false;
    const struct timespec times[2] = {{static_cast<time_t>(modifiedUnix), 0},
                                      {static_cast<time_t>(modifiedUnix), 0}};
    return utimensat(AT_FDCWD, host->c_str(), times, 0) == 0;
}

void ResetFiles()
{
    g_drives.clear();
    g_drivesSet = false;
    g_currentFolder = "C:\\";
}

} // namespace plat
