#include "tools/QmLib.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>
#include <stdexcept>

#include "engine/framework/FileSpecs.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/MegaFormat.h"
#include "engine/resources/ResourceKey.h"
#include "platform/Files.h"
#include "tools/HostRootDrive.h"
#include "tools/QmLibText.h"
#include "tools/ToolArgs.h"
#include "tools/ToolFiles.h"
#include "tools/ToolMessages.h"

namespace fs = std::filesystem;

namespace {

// Any failure of a command: the text becomes the one line on the error stream.
struct ToolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Resource {
    std::string type;
    int32_t id = 0;
    int32_t size = 0;
};

// What the commands need of a library of either kind.
class LibraryReader {
public:
    virtual ~LibraryReader() = default;
    // Present resources (size 1 or more) in the library's own order.
    virtual std::vector<Resource> List() = 0;
    // The resource's bytes; the type is matched without regard to case. False when absent.
    virtual bool Read(const std::string& type, int32_t id, std::vector<uint8_t>& out) = 0;
};

class MegaFileReader : public LibraryReader {
public:
    explicit MegaFileReader(const fs::path& path) : path_(path), in_(path, std::ios::binary)
    {
        if (!in_)
            throw ToolError(path.string() + ": cannot open");
        std::error_code ec;
        const uint64_t length = fs::file_size(path, ec);
        if (ec)
            throw ToolError(path.string() + ": cannot open");
        const int16_t status =
            dir_.Read([this](uint64_t pos, void* buf, size_t n) { return ReadAt(pos, buf, n); }, length);
        // The engine refuses a library whose header counts no types or no resources, so the
        // tool says so rather than list nothing.
        if (status == 2)
            throw ToolError(path.string() + ": an empty library: its header counts no types or no resources");
        if (status != 0)
            throw ToolError(path.string() + ": not a valid single-file library");
    }

    std::vector<Resource> List() override
    {
        std::vector<Resource> out;
        for (const MegaEntry& e : dir_.entries)
            if (dir_.IsPresent(e))
                out.push_back({MegaTypeName(e.type), e.id, e.size});
        return out;
    }

    bool Read(const std::string& type, int32_t id, std::vector<uint8_t>& out) override
    {
        const int32_t i = dir_.FindEntry(type.c_str(), id);
        if (i < 0)
            return false;
        const MegaEntry& e = dir_.entries[static_cast<size_t>(i)];
        out.resize(static_cast<size_t>(e.size));
        if (!ReadAt(static_cast<uint64_t>(e.offset), out.data(), out.size()))
            throw ToolError(path_.string() + ": read error");
        return true;
    }

private:
    bool ReadAt(uint64_t pos, void* buf, size_t n)
    {
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(pos));
        in_.read(static_cast<char*>(buf), static_cast<std::streamsize>(n));
        return static_cast<size_t>(in_.gcount()) == n;
    }

    fs::path path_;
    std::ifstream in_;
    MegaDirectory dir_;
};

// Reads a folder library through CFoldLib, so that the tool sees what the engine loads. The
// engine names files by drive paths: while the reader lives, the host's root is drive Q:.
class FolderReader : public LibraryReader {
public:
    explicit FolderReader(const fs::path& path)
    {
        if (const auto enginePath = HostRootDrive::EnginePath(path))
            lib_ = std::make_unique<CFoldLib>(enginePath->c_str());
        if (!lib_ || !lib_->IsOpen())
            throw ToolError(path.string() + ": cannot open the folder library");
    }

    // Types in the order of a single-file library (A-Z folded), numbers ascending, and for
    // each number the file the library itself loads.
    std::vector<Resource> List() override
    {
        std::vector<Resource> out;
        for (const CFoldType* type : SortedTypes()) {
            const std::string name = type->GetName().GetText();
            for (int32_t id : CandidateIds(*type)) {
                const int32_t size = lib_->GetResourceSize(name.c_str(), id);
                if (size >= 1)
                    out.push_back({name, id, size});
            }
        }
        return out;
    }

    bool Read(const std::string& type, int32_t id, std::vector<uint8_t>& out) override
    {
        std::unique_ptr<CRsrcBlock> block = lib_->LoadResource(type.c_str(), id, false);
        if (!block)
            return false;
        const auto* data = static_cast<const uint8_t*>(block->Lock());
        out.assign(data, data + block->GetSize());
        block->Unlock();
        return true;
    }

private:
    // One type folder per name without regard to case (the first listed), in folded order.
    std::vector<const CFoldType*> SortedTypes() const
    {
        std::vector<const CFoldType*> types;
        for (const auto& t : lib_->GetTypes()) {
            const bool seen = std::any_of(types.begin(), types.end(), [&](const CFoldType* u) {
                return CStr::CompareText(u->GetName().GetText(), t->GetName().GetText(), false) == 0;
            });
            if (!seen)
                types.push_back(t.get());
        }
        std::stable_sort(types.begin(), types.end(), [](const CFoldType* a, const CFoldType* b) {
            return FoldedLess(a->GetName().GetText(), b->GetName().GetText());
        });
        return types;
    }

    static bool FoldedLess(std::string_view a, std::string_view b)
    {
        const auto fold = [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + 32) : u;
        };
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&](char x, char y) { return fold(x) < fold(y); });
    }

    // Every number whose search pattern matches a file of the type folder or of one of its
    // alternative folders, ascending.
    std::vector<int32_t> CandidateIds(const CFoldType& type) const
    {
        const std::string name = type.GetName().GetText();
        std::string folder = std::string(lib_->GetFolder()->GetPath()) + "\\" + name;
        std::vector<std::string> folders{folder};
        for (int32_t i = 0; i < type.GetFolders().GetEntryCount(); ++i)
            folders.push_back(folder + "\\" + type.GetFolders().GetEntry(i)->GetText());
        std::set<int32_t> ids;
        for (const std::string& f : folders)
            if (const auto entries = plat::ListFolder(f))
                for (const plat::FolderEntry& e : *entries)
                    if (!e.isFolder)
                        AddIdsOfFile(name, e.name, ids);
        return std::vector<int32_t>(ids.begin(), ids.end());
    }

    // A file name starts with the number as "%06ld" writes it: try each length of its leading
    // sign and digits from six characters on.
    static void AddIdsOfFile(const std::string& type, const std::string& file, std::set<int32_t>& ids)
    {
        size_t run = (!file.empty() && file[0] == '-') ? 1 : 0;
        while (run < file.size() && file[run] >= '0' && file[run] <= '9')
            ++run;
        for (size_t len = 6; len <= run && len <= 11; ++len) {
            const long long n = std::strtoll(file.substr(0, len).c_str(), nullptr, 10);
            if (n < INT32_MIN || n > INT32_MAX)
                continue;
            const auto id = static_cast<int32_t>(n);
            const std::string stem = ResourceFileName(type.c_str(), id, false);
            if (stem.compare(0, len, file, 0, len) == 0 && stem[len] == '.' &&
                plat::WildcardMatch(ResourceFileName(type.c_str(), id, true), file))
                ids.insert(id);
        }
    }

    HostRootDrive drive_; // before the library, which it outlives
    std::unique_ptr<CFoldLib> lib_;
};

std::unique_ptr<LibraryReader> OpenFolderLibrary(const fs::path& path)
{
    return std::make_unique<FolderReader>(path);
}

std::unique_ptr<LibraryReader> OpenLibrary(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return OpenFolderLibrary(path);
    if (!fs::is_regular_file(path, ec))
        throw ToolError(path.string() + ": no such library");
    return std::make_unique<MegaFileReader>(path);
}

int32_t ParseId(const std::string& text)
{
    return static_cast<int32_t>(ParseNumber(text, INT32_MIN, INT32_MAX, "number"));
}

[[noreturn]] void Usage()
{
    throw ToolError("usage: qmlib list LIBRARY | extract LIBRARY TYPE NUMBER | pack FOLDER OUT "
                    "[--version N] [--stamp SECONDS] | unpack LIBRARY FOLDER | strings LIBRARY NUMBER | "
                    "record LIBRARY TYPE NUMBER");
}

void Expect(const std::vector<std::string>& args, size_t count)
{
    if (args.size() != count)
        Usage();
}

int List(const std::vector<std::string>& args, std::ostream& out)
{
    Expect(args, 2);
    for (const Resource& r : OpenLibrary(args[1])->List())
        out << r.type << ' ' << r.id << ' ' << r.size << '\n';
    return 0;
}

int Extract(const std::vector<std::string>& args, std::ostream& out)
{
    Expect(args, 4);
    const int32_t id = ParseId(args[3]);
    std::vector<uint8_t> bytes;
    if (!OpenLibrary(args[1])->Read(args[2], id, bytes) || bytes.empty())
        throw ToolError(args[1] + ": no resource " + args[2] + " " + std::to_string(id));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return 0;
}

int Pack(const std::vector<std::string>& args)
{
    if (args.size() < 3 || args.size() % 2 == 0)
        Usage();
    uint16_t version = 20;
    uint32_t stamp = 0;
    for (size_t i = 3; i < args.size(); i += 2) {
        if (args[i] == "--version")
            version = static_cast<uint16_t>(ParseNumber(args[i + 1], 0, 0xFFFF, "version"));
        else if (args[i] == "--stamp")
            stamp = static_cast<uint32_t>(ParseNumber(args[i + 1], 0, 0xFFFFFFFFLL, "stamp"));
        else
            throw ToolError("unknown option: " + args[i]);
    }
    std::error_code ec;
    if (!fs::is_directory(args[1], ec))
        throw ToolError(args[1] + ": not a folder library");
    std::unique_ptr<LibraryReader> lib = OpenFolderLibrary(args[1]);
    std::vector<MegaResource> resources;
    for (const Resource& r : lib->List()) {
        if (r.type.size() >= kMegaTypeSize)
            throw ToolError(args[1] + ": type folder name longer than 7 characters: " + r.type);
        MegaResource m{r.type, r.id, {}};
        if (!lib->Read(r.type, r.id, m.data))
            throw ToolError(args[1] + ": cannot read " + r.type + " " + std::to_string(r.id));
        resources.push_back(std::move(m));
    }
    std::vector<uint8_t> bytes;
    try {
        bytes = BuildMegaLibrary(resources, version, stamp);
    } catch (const std::invalid_argument& e) {
        throw ToolError(args[1] + ": " + e.what());
    }
    WriteWholeFile(args[2], bytes);
    return 0;
}

int Unpack(const std::vector<std::string>& args)
{
    Expect(args, 3);
    std::unique_ptr<LibraryReader> lib = OpenLibrary(args[1]);
    const fs::path folder = args[2];
    std::error_code ec;
    if (fs::exists(folder, ec) && (!fs::is_directory(folder, ec) || !fs::is_empty(folder, ec)))
        throw ToolError(folder.string() + ": not a new or empty folder");
    std::set<fs::path> written;
    for (const Resource& r : lib->List()) {
        if (!IsSafeFolderType(r.type.c_str()))
            throw ToolError(args[1] + ": type cannot name a folder: " + r.type);
        const fs::path path = folder / r.type / ResourceFileName(r.type.c_str(), r.id, false);
        if (!written.insert(path).second)
            throw ToolError(args[1] + ": resource " + r.type + " " + std::to_string(r.id) + " stored twice");
        std::vector<uint8_t> bytes;
        if (!lib->Read(r.type, r.id, bytes))
            throw ToolError(args[1] + ": cannot read " + r.type + " " + std::to_string(r.id));
        fs::create_directories(path.parent_path(), ec);
        WriteWholeFile(path, bytes);
    }
    fs::create_directories(folder, ec);
    return 0;
}

} // namespace

int RunQmLib(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "list")
            return List(args, out);
        if (command == "extract")
            return Extract(args, out);
        if (command == "pack")
            return Pack(args);
        if (command == "unpack")
            return Unpack(args);
        if (command == "strings")
            return QmLibStrings(args, out);
        if (command == "record")
            return QmLibRecord(args, out);
        if (command.empty())
            Usage();
        throw ToolError("unknown command: " + command);
    } catch (const std::exception& e) {
        WriteToolError(err, "qmlib", e.what());
    }
    return 1;
}
