#include "platform/Settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

#include "platform/FileReplace.h"

namespace plat {
namespace {

// The file starts with this line; a later format would change the number.
constexpr std::string_view kHeader = "QMSETTINGS 1";
// Settings files are small; anything bigger than this is not one.
constexpr uintmax_t kMaxFileSize = 4u << 20;

std::filesystem::path g_folder; // empty: the default folder
std::filesystem::path g_files[2];
std::string g_lastError;
std::string g_lastPrinted; // a damaged file is reported once, not at every read
bool g_durable = true;

std::filesystem::path& FileOverride(SettingsPart part)
{
    return g_files[part == SettingsPart::Machine ? 0 : 1];
}

void SetError(std::string text) { g_lastError = std::move(text); }

// ---- Names ---------------------------------------------------------------------------------

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

// True when `path` lies below `parent` ("A\B\C" below "a\b").
bool IsBelow(std::string_view path, std::string_view parent)
{
    return path.size() > parent.size() + 1 && path[parent.size()] == '\\' &&
           SameName(path.substr(0, parent.size()), parent);
}

// A key path is one or more non-empty components joined by backslashes.
bool IsValidPath(std::string_view path)
{
    if (path.empty() || path.front() == '\\' || path.back() == '\\')
        return false;
    return path.find("\\\\") == std::string_view::npos;
}

// ---- The stored tree -----------------------------------------------------------------------

// The first item whose name (the member given) is the wanted one, without regard to case.
template <class Item>
Item* FindNamed(std::vector<Item>& items, std::string Item::*name, std::string_view wanted)
{
    for (Item& item : items)
        if (SameName(item.*name, wanted))
            return &item;
    return nullptr;
}

struct StoredValue {
    std::string name;
    SettingsValue value;
};

struct StoredKey {
    std::string path;
    std::string className;
    std::vector<StoredValue> values;

    StoredValue* FindValue(std::string_view name) { return FindNamed(values, &StoredValue::name, name); }
};

struct PartData {
    std::vector<StoredKey> keys;

    StoredKey* FindKey(std::string_view path) { return FindNamed(keys, &StoredKey::path, path); }
};

// ---- Text form -----------------------------------------------------------------------------
// QMSETTINGS 1
// [Software\KVL\Quillmark III]
// class "Application Per-User Data"
// "Installed" number 1
// "Version Number:" string "3.0.0%00"
// "Window" binary 0a0b
// Texts in quotes and brackets escape '%', '"', '[', ']' and every byte outside 0x20-0x7e
// as %XX, so any name or string survives the round trip.

bool NeedsEscape(unsigned char c)
{
    return c < 0x20 || c > 0x7e || c == '%' || c == '"' || c == '[' || c == ']';
}

std::string Escape(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (NeedsEscape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int hi = HexDigit(text[i + 1]);
        const int lo = HexDigit(text[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::string ToHex(const std::vector<uint8_t>& bytes)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

std::string Serialize(const PartData& data)
{
    std::string out(kHeader);
    out += '\n';
    for (const auto& key : data.keys) {
        out += "\n[" + Escape(key.path) + "]\n";
        if (!key.className.empty())
            out += "class \"" + Escape(key.className) + "\"\n";
        for (const auto& v : key.values) {
            out += '"' + Escape(v.name) + "\" ";
            const auto& bytes = v.value.data;
            switch (v.value.type) {
            case SettingsType::String:
                out += "string \"" +
                       Escape(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())) +
                       '"';
                break;
            case SettingsType::Number: out += "number " + std::to_string(SettingsNumber(bytes)); break;
            case SettingsType::Binary: out += "binary " + ToHex(bytes); break;
            }
            out += '\n';
        }
    }
    return out;
}

// Reads the text of one line, reporting the first thing that is wrong with it.
class LineParser {
public:
    explicit LineParser(std::string_view line) : line_(line) {}

    bool AtEnd() const { return pos_ >= line_.size(); }
    std::string_view Rest() const { return line_.substr(std::min(pos_, line_.size())); }

    std::optional<std::string> Quoted()
    {
        if (AtEnd() || line_[pos_] != '"')
            return std::nullopt;
        const size_t close = line_.find('"', pos_ + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        auto text = Unescape(line_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        return text;
    }
    std::string_view Word()
    {
        SkipBlanks();
        const size_t start = pos_;
        while (pos_ < line_.size() && line_[pos_] != ' ')
            ++pos_;
        return line_.substr(start, pos_ - start);
    }
    void SkipBlanks()
    {
        while (pos_ < line_.size() && line_[pos_] == ' ')
            ++pos_;
    }

private:
    std::string_view line_;
    size_t pos_ = 0;
};

std::optional<uint32_t> ParseNumber(std::string_view text)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<std::vector<uint8_t>> ParseHex(std::string_view text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]);
        const int lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return bytes;
}

std::vector<uint8_t> NumberBytes(uint32_t n)
{
    return {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
            static_cast<uint8_t>(n >> 24)};
}

// Parses one value line ("name" type data) into `out`; returns the problem, or empty.
std::string ParseValueLine(std::string_view line, StoredValue& out)
{
    LineParser p(line);
    auto name = p.Quoted();
    if (!name)
        return "a value name must be a quoted text";
    out.name = *name;
    const std::string_view type = p.Word();
    p.SkipBlanks();
    if (type == "string") {
        auto text = p.Quoted();
        if (!text || !p.Rest().empty())
            return "a string value must be one quoted text";
        out.value = {SettingsType::String, std::vector<uint8_t>(text->begin(), text->end())};
    } else if (type == "number") {
        auto n = ParseNumber(p.Rest());
        if (!n)
            return "a number value must be a decimal number below 4294967296";
        out.value = {SettingsType::Number, NumberBytes(*n)};
    } else if (type == "binary") {
        auto bytes = ParseHex(p.Rest());
        if (!bytes)
            return "a binary value must be pairs of hexadecimal digits";
        out.value = {SettingsType::Binary, std::move(*bytes)};
    } else {
        return "unknown value type \"" + std::string(type) + "\"";
    }
    return {};
}

// Parses a whole file; on failure returns the problem with its line number.
std::string Parse(std::string_view text, PartData& data)
{
    size_t lineNo = 0;
    bool sawHeader = false;
    StoredKey* key = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        if (!sawHeader) {
            if (line != kHeader)
                return where + "the file does not start with \"" + std::string(kHeader) + "\"";
            sawHeader = true;
        } else if (line.front() == '[') {
            if (line.back() != ']')
                return where + "a key line must end with ']'";
            auto path = Unescape(line.substr(1, line.size() - 2));
            if (!path || !IsValidPath(*path))
                return where + "bad key path";
            if (data.FindKey(*path))
                return where + "the key is listed twice";
            data.keys.push_back({*path, {}, {}});
            key = &data.keys.back();
        } else if (line.starts_with("class ")) {
            LineParser p(line.substr(6));
            auto className = p.Quoted();
            if (!key || !className || !p.AtEnd())
                return where + "a class line must follow a key and hold one quoted text";
            key->className = *className;
        } else {
            StoredValue value;
            if (!key)
                return where + "a value must follow a key";
            if (auto problem = ParseValueLine(line, value); !problem.empty())
                return where + problem;
            if (key->FindValue(value.name))
                return where + "the value is listed twice";
            key->values.push_back(std::move(value));
        }
    }
    if (!sawHeader)
        return "the file is empty";
    return {};
}

// ---- Files ---------------------------------------------------------------------------------

// Loads a part. A missing file is an empty part.
SettingsStatus LoadPart(SettingsPart part, PartData& data)
{
    const auto file = GetSettingsFile(part);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return ec ? SettingsStatus::IoError : SettingsStatus::Ok;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        SetError("settings file " + file.string() + ": " + ec.message());
        return SettingsStatus::IoError;
    }
    std::string problem;
    std::string text;
    if (size > kMaxFileSize) {
        problem = "the file is larger than any settings file";
    } else {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream buffer;
        buffer << in.rdbuf();
        if (!in && !in.eof()) {
            SetError("settings file " + file.string() + ": could not be read");
            return SettingsStatus::IoError;
        }
        text = buffer.str();
        problem = Parse(text, data);
    }
    if (problem.empty())
        return SettingsStatus::Ok;
    SetError("settings file " + file.string() + " is damaged (" + problem +
             "); its settings are not used and it is left as it is");
    if (g_lastError != g_lastPrinted)
        std::fprintf(stderr, "%s\n", g_lastError.c_str());
    g_lastPrinted = g_lastError;
    data = {};
    return SettingsStatus::Corrupt;
}

// Loads a part and finds a key in it (NotFound when it is not there); the key lives in data.
SettingsStatus LoadKey(SettingsPart part, std::string_view path, PartData& data, StoredKey*& key)
{
    if (auto status = LoadPart(part, data); status != SettingsStatus::Ok)
        return status;
    key = data.FindKey(path);
    return key ? SettingsStatus::Ok : SettingsStatus::NotFound;
}

// Writes the file through a synced temporary file renamed over it, then syncs the folder so
// the rename itself survives a crash.
bool ReplaceFile(const std::filesystem::path& file, std::string_view text)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return ReplaceFileContents(file, std::span<const uint8_t>(bytes, text.size()), g_durable) == 0;
}

// An exclusive flock on "<file>.lock", held while a part is read, changed and written.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& file)
    {
        fd_ = ::open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock()
    {
        if (fd_ >= 0)
            ::close(fd_); // closing drops the flock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Runs a change on a part: lock, re-read, change, write. A change that answers anything but
// Ok writes nothing.
SettingsStatus ChangePart(SettingsPart part, const std::function<SettingsStatus(PartData&)>& change)
{
    const auto file = GetSettingsFile(part);
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    FileLock lock(file);
    if (!lock.Held()) {
        SetError("settings file " + file.string() + " cannot be written (no lock file)");
        return SettingsStatus::AccessDenied;
    }
    PartData data;
    if (auto status = LoadPart(part, data); status != SettingsStatus::Ok)
        return status;
    if (auto status = change(data); status != SettingsStatus::Ok)
        return status;
    if (!ReplaceFile(file, Serialize(data))) {
        SetError("settings file " + file.string() + " cannot be written: " + std::strerror(errno));
        return SettingsStatus::AccessDenied;
    }
    return SettingsStatus::Ok;
}

} // namespace

// ---- Keys ----------------------------------------------------------------------------------

SettingsStatus SettingsKey::Read(std::string_view name, SettingsValue& value) const
{
    PartData data;
    StoredKey* key = nullptr;
    if (auto status = LoadKey(part_, path_, data, key); status != SettingsStatus::Ok)
        return status;
    StoredValue* stored = key->FindValue(name);
    if (!stored)
        return SettingsStatus::NotFound;
    value = stored->value;
    return SettingsStatus::Ok;
}

SettingsStatus SettingsKey::ReadClass(std::string& className) const
{
    PartData data;
    StoredKey* key = nullptr;
    if (auto status = LoadKey(part_, path_, data, key); status != SettingsStatus::Ok)
        return status;
    className = key->className;
    return SettingsStatus::Ok;
}

SettingsStatus SettingsKey::Write(std::string_view name, SettingsType type, std::span<const uint8_t> bytes)
{
    if (access_ != SettingsAccess::ReadWrite)
        return SettingsStatus::AccessDenied;
    if (type == SettingsType::Number && bytes.size() != 4)
        return SettingsStatus::BadArgument;
    return ChangePart(part_, [&](PartData& data) {
        StoredKey* key = data.FindKey(path_);
        if (!key)
            return SettingsStatus::NotFound;
        SettingsValue value{type, std::vector<uint8_t>(bytes.begin(), bytes.end())};
        if (StoredValue* stored = key->FindValue(name))
            stored->value = std::move(value);
        else
            key->values.push_back({std::string(name), std::move(value)});
        return SettingsStatus::Ok;
    });
}

SettingsStatus SettingsKey::WriteNumber(std::string_view name, uint32_t number)
{
    const auto bytes = NumberBytes(number);
    return Write(name, SettingsType::Number, bytes);
}

SettingsStatus OpenSettingsKey(SettingsPart part, std::string_view path, SettingsAccess access,
                               std::unique_ptr<SettingsKey>& key)
{
    key.reset();
    if (!IsValidPath(path))
        return SettingsStatus::BadArgument;
    PartData data;
    if (auto status = LoadPart(part, data); status != SettingsStatus::Ok)
        return status;
    const StoredKey* stored = data.FindKey(path);
    if (!stored)
        return SettingsStatus::NotFound;
    key = std::make_unique<SettingsKey>(part, stored->path, access);
    return SettingsStatus::Ok;
}

SettingsStatus CreateSettingsKey(SettingsPart part, std::string_view path, std::string_view className,
                                 std::unique_ptr<SettingsKey>& key, bool* created)
{
    key.reset();
    if (!IsValidPath(path))
        return SettingsStatus::BadArgument;
    bool made = false;
    std::string storedPath;
    auto status = ChangePart(part, [&](PartData& data) {
        // Every key above the new one exists as a key of its own, the way a tree has it.
        for (size_t cut = path.find('\\'); cut != std::string_view::npos; cut = path.find('\\', cut + 1))
            if (!data.FindKey(path.substr(0, cut)))
                data.keys.push_back({std::string(path.substr(0, cut)), {}, {}});
        if (StoredKey* existing = data.FindKey(path)) {
            storedPath = existing->path;
            return SettingsStatus::Ok;
        }
        data.keys.push_back({std::string(path), std::string(className), {}});
        storedPath = path;
        made = true;
        return SettingsStatus::Ok;
    });
    if (status != SettingsStatus::Ok)
        return status;
    if (created)
        *created = made;
    key = std::make_unique<SettingsKey>(part, storedPath, SettingsAccess::ReadWrite);
    return SettingsStatus::Ok;
}

SettingsStatus DeleteSettingsKey(SettingsPart part, std::string_view path)
{
    if (!IsValidPath(path))
        return SettingsStatus::BadArgument;
    return ChangePart(part, [&](PartData& data) {
        if (!data.FindKey(path))
            return SettingsStatus::NotFound;
        std::erase_if(data.keys,
                      [&](const StoredKey& k) { return SameName(k.path, path) || IsBelow(k.path, path); });
        return SettingsStatus::Ok;
    });
}

uint32_t SettingsNumber(std::span<const uint8_t> data)
{
    uint32_t n = 0;
    for (size_t i = 0; i < 4 && i < data.size(); ++i)
        n |= static_cast<uint32_t>(data[i]) << (8 * i);
    return n;
}

// ---- Where the files are -------------------------------------------------------------------

std::filesystem::path DefaultSettingsFolder()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::filesystem::path(config) / "kvl";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config" / "kvl";
    return std::filesystem::current_path() / ".config" / "kvl";
}

std::filesystem::path GetSettingsFolder() { return g_folder.empty() ? DefaultSettingsFolder() : g_folder; }
void SetSettingsFolder(const std::filesystem::path& folder) { g_folder = folder; }

std::filesystem::path GetSettingsFile(SettingsPart part)
{
    if (const auto& file = FileOverride(part); !file.empty())
        return file;
    return GetSettingsFolder() / (part == SettingsPart::Machine ? "machine.settings" : "user.settings");
}

void SetSettingsFile(SettingsPart part, const std::filesystem::path& file) { FileOverride(part) = file; }

const std::string& LastSettingsError() { return g_lastError; }

void SetSettingsDurable(bool durable) { g_durable = durable; }

void ResetSettings()
{
    g_folder.clear();
    g_files[0].clear();
    g_files[1].clear();
    g_lastError.clear();
    g_lastPrinted.clear();
    g_durable = true;
}

} // namespace plat
