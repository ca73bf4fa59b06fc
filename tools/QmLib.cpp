#include "tools/QmLib.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>
#include <stdexcept>

#include "engine/resources/MegaFormat.h"
#include "engine/resources/ResourceKey.h"

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
        // A file whose counts are 0 is an empty library; anything else unreadable is not one.
        if (status != 0 && status != 2)
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

std::unique_ptr<LibraryReader> OpenFolderLibrary(const fs::path& path);

std::unique_ptr<LibraryReader> OpenLibrary(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return OpenFolderLibrary(path);
    if (!fs::is_regular_file(path, ec))
        throw ToolError(path.string() + ": no such library");
    return std::make_unique<MegaFileReader>(path);
}

// A whole number in plain decimal with an optional '-', within the given range.
int64_t ParseNumber(const std::string& text, int64_t lo, int64_t hi, const std::string& what)
{
    const bool digits = !text.empty() && std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || text == "-")
        throw ToolError("bad " + what + ": " + text);
    errno = 0;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < lo || v > hi)
        throw ToolError(what + " out of range: " + text);
    return v;
}

int32_t ParseId(const std::string& text)
{
    return static_cast<int32_t>(ParseNumber(text, INT32_MIN, INT32_MAX, "number"));
}

[[noreturn]] void Usage()
{
    throw ToolError("usage: qmlib list LIBRARY | extract LIBRARY TYPE NUMBER | pack FOLDER OUT "
                    "[--version N] [--stamp SECONDS] | unpack LIBRARY FOLDER");
}

void Expect(const std::vector<std::string>& args, size_t count)
{
    if (args.size() != count)
        Usage();
}

void WriteWholeFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw ToolError(path.string() + ": cannot write");
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
        if (command.empty())
            Usage();
        throw ToolError("unknown command: " + command);
    } catch (const ToolError& e) {
        err << "qmlib: " << e.what() << '\n';
    } catch (const std::exception& e) {
        err << "qmlib: " << e.what() << '\n';
    }
    return 1;
}

namespace {

std::unique_ptr<LibraryReader> OpenFolderLibrary(const fs::path& path)
{
    throw ToolError(path.string() + ": folder libraries are not supported yet");
}

} // namespace
