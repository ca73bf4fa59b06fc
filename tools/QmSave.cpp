#include "tools/QmSave.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "platform/TextEscape.h"
#include "tools/SavedGameReader.h"
#include "tools/ToolMessages.h"

namespace {

using qmsave::Reader;
using qmsave::Refuse;

constexpr size_t kNameOffset = 16;
constexpr size_t kNameSize = 32;
constexpr size_t kRecordsOffset = 52;
constexpr uint16_t kVersion = 0x0101;
constexpr int32_t kMaxFlags = 100;

std::string Quoted(const uint8_t* text, size_t n)
{
    return plat::Quoted(std::string_view(reinterpret_cast<const char*>(text), n));
}

std::string FourChars(uint32_t v)
{
    const uint8_t chars[4] = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                              static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    return Quoted(chars, 4);
}

void ShowHeader(Reader& in, std::ostream& out)
{
    if (in.Left() < kRecordsOffset)
        Refuse("the file ends inside its header");
    const auto magic = static_cast<uint32_t>(in.Number(4, "the header"));
    const auto type = static_cast<uint32_t>(in.Number(4, "the header"));
    const auto version = static_cast<uint32_t>(in.Number(2, "the header"));
    if (magic != 0x564F5254)
        Refuse("not a saved game (magic " + FourChars(magic) + ")");
    if (type != 0x514D4B33)
        Refuse("not a saved game of this game (type " + FourChars(type) + ")");
    if (version != kVersion)
        Refuse("version " + std::to_string(version) + " is not " + std::to_string(kVersion));
    out << "header VORT QMK3 " << version << '\n';
    in.Take(kNameOffset - 10, "the header");
    const uint8_t* name = in.Take(kNameSize, "the name");
    size_t length = 0;
    while (length < kNameSize && name[length] != 0)
        ++length;
    out << "name " << Quoted(name, length) << '\n';
    out << "disc " << in.Long("the disc") << '\n';
}

void ShowFlags(Reader& in, std::ostream& out)
{
    const int16_t count = in.Short("record 4");
    if (count < 1 || count > kMaxFlags)
        Refuse("record 4 holds " + std::to_string(count) + " flags (1 to 100 are allowed)");
    out << "flags " << count << '\n';
    for (int16_t i = 0; i < count; ++i) {
        const int32_t id = in.Long("record 4");
        const int32_t value = in.Long("record 4");
        if (id == 0)
            Refuse("record 4 holds a flag with id 0");
        out << "flag " << id << ' ' << value << '\n';
    }
}

// Prints the records up to and with the end record and what follows it.
void ShowRecords(Reader& in, std::ostream& out)
{
    while (in.Left() > 0) {
        const size_t at = in.Pos();
        const int16_t tag = in.Short("a record tag");
        switch (tag) {
        case 1: {
            const auto length = static_cast<uint32_t>(in.Number(4, "record 1"));
            const uint8_t* text = in.Take(length, "record 1");
            out << "diary " << length << ' ' << Quoted(text, length) << '\n';
            break;
        }
        case 2:
            out << "travel\n";
            qmsave::ShowTravelRecord(in, out);
            break;
        case 4: ShowFlags(in, out); break;
        case 3:
            out << "end\n";
            if (in.Left() > 0)
                out << "trailing " << in.Left() << '\n';
            return;
        case 0: Refuse("record 0 at offset " + std::to_string(at) + " (the game never writes it)");
        default: Refuse("unknown record tag " + std::to_string(tag) + " at offset " + std::to_string(at));
        }
    }
    Refuse("no end record");
}

} // namespace

std::string ShowSavedGame(const std::vector<uint8_t>& bytes)
{
    std::ostringstream out;
    Reader in(bytes);
    ShowHeader(in, out);
    ShowRecords(in, out);
    return out.str();
}

int RunQmSave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1) {
        err << "usage: qmsave FILE\n";
        return 1;
    }
    const std::string& path = args[0];
    try {
        std::error_code ec;
        std::ifstream file(path, std::ios::binary);
        if (std::filesystem::is_directory(path, ec) || !file)
            Refuse("cannot read the file");
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                         std::istreambuf_iterator<char>()};
        if (file.bad())
            Refuse("cannot read the file");
        out << ShowSavedGame(bytes);
        return 0;
    } catch (const std::runtime_error& e) {
        WriteToolError(err, "qmsave", path + ": " + e.what());
        return 1;
    }
}
