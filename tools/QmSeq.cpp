#include "tools/QmSeq.h"

#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "engine/resources/BigEndian.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcBlock.h"
#include "tools/EngineLibrary.h"
#include "tools/ToolArgs.h"
#include "tools/ToolFiles.h"
#include "tools/ToolMessages.h"

namespace {

constexpr uint32_t kAllLibraries = 0xFFFFFFFF;

[[noreturn]] void Usage()
{
    throw std::runtime_error("usage: qmseq seq TEXT OUT | cel TEXT OUT | show LIBRARY TYPE NUMBER");
}

// One kind of line: its keyword and the names of its values.
struct LineKind {
    const char* keyword;
    std::vector<const char*> fields;
};

const LineKind kAnim{"anim", {"first", "next", "ticks", "count"}};
const LineKind kFrame{"frame", {"cel", "dh", "dv", "sound", "ticks", "dz"}};
const LineKind kAnchor{"anchor", {"h", "v"}};

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : line) {
        if (c == '#')
            break;
        if (c == ' ' || c == '\t' || c == '\r') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

void PutShort(std::vector<uint8_t>& out, int32_t value)
{
    const auto u = static_cast<uint16_t>(value);
    out.push_back(static_cast<uint8_t>(u >> 8));
    out.push_back(static_cast<uint8_t>(u & 0xFF));
}

// A table's rows as the text gives them.
using Rows = std::vector<std::vector<int16_t>>;

void PutTable(std::vector<uint8_t>& out, const Rows& rows, const char* what)
{
    if (rows.size() > 32767)
        throw std::runtime_error(std::string("more than 32767 ") + what + " lines");
    PutShort(out, static_cast<int32_t>(rows.size()));
    for (const auto& row : rows)
        for (const int16_t v : row)
            PutShort(out, v);
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot read");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reads one table of the block; throws when the count is negative or the rows run past it.
Rows ReadTable(BigEndianReader& in, size_t width, const char* what)
{
    int16_t count = 0;
    if (!in.ReadI16(count))
        throw std::runtime_error(std::string("the block ends before the ") + what + " count");
    if (count < 0)
        throw std::runtime_error(std::string("negative ") + what + " count " + std::to_string(count));
    Rows rows(static_cast<size_t>(count), std::vector<int16_t>(width));
    for (auto& row : rows)
        for (auto& v : row)
            if (!in.ReadI16(v))
                throw std::runtime_error(std::string("the block is shorter than its ") + what + " count " +
                                         std::to_string(count));
    return rows;
}

void PrintRows(std::ostringstream& out, const LineKind& kind, const Rows& rows)
{
    for (const auto& row : rows) {
        out << kind.keyword;
        for (const int16_t v : row)
            out << ' ' << v;
        out << '\n';
    }
}

int Pack(const std::vector<std::string>& args, bool cel)
{
    if (args.size() != 3)
        Usage();
    const std::vector<uint8_t> bytes = PackSeqText(ReadText(args[1]), cel, args[1]);
    WriteWholeFile(args[2], bytes);
    return 0;
}

int Show(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.size() != 4)
        Usage();
    const std::string& type = args[2];
    if (type != "SEQ" && type != "CEL")
        throw std::runtime_error("type must be SEQ or CEL: " + type);
    const auto id = static_cast<int32_t>(ParseNumber(args[3], INT32_MIN, INT32_MAX, "number"));
    std::vector<uint8_t> bytes;
    EngineLibrary library(args[1]);
    library.Run([&] {
        std::unique_ptr<CRsrcBlock> block = GetLibMgr()->LoadResource(type.c_str(), id, kAllLibraries, false);
        if (!block)
            throw std::runtime_error(args[1] + ": no resource " + type + " " + std::to_string(id));
        bytes.resize(static_cast<size_t>(block->GetSize()));
        if (!bytes.empty())
            block->GetBytes(bytes.data(), block->GetSize(), 0);
    });
    try {
        out << ShowSeqBytes(bytes, type == "CEL");
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(type + " " + std::to_string(id) + ": " + e.what());
    }
    return 0;
}

} // namespace

std::vector<uint8_t> PackSeqText(const std::string& text, bool cel, const std::string& name)
{
    Rows anims, frames, anchors;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::vector<std::string> words = Words(line);
        if (words.empty())
            continue;
        const std::string where = name + ":" + std::to_string(number) + ": ";
        const LineKind* kind = nullptr;
        Rows* rows = nullptr;
        if (!cel && words[0] == kAnim.keyword)
            kind = &kAnim, rows = &anims;
        else if (!cel && words[0] == kFrame.keyword)
            kind = &kFrame, rows = &frames;
        else if (cel && words[0] == kAnchor.keyword)
            kind = &kAnchor, rows = &anchors;
        else
            throw std::runtime_error(where + "unknown line: " + words[0]);
        if (words.size() != kind->fields.size() + 1)
            throw std::runtime_error(where + kind->keyword + " wants " + std::to_string(kind->fields.size()) +
                                     " values");
        std::vector<int16_t> row;
        for (size_t i = 0; i < kind->fields.size(); ++i) {
            try {
                row.push_back(
                    static_cast<int16_t>(ParseNumber(words[i + 1], -32768, 32767, kind->fields[i])));
            } catch (const std::runtime_error& e) {
                throw std::runtime_error(where + e.what());
            }
        }
        if (kind == &kAnim && row[3] < 0)
            throw std::runtime_error(where + "negative count: " + words[4]);
        rows->push_back(std::move(row));
    }
    std::vector<uint8_t> out;
    if (cel) {
        PutTable(out, anchors, "anchor");
    } else {
        PutTable(out, anims, "anim");
        PutTable(out, frames, "frame");
    }
    return out;
}

std::string ShowSeqBytes(const std::vector<uint8_t>& bytes, bool cel)
{
    BigEndianReader in(bytes.data(), bytes.size());
    std::ostringstream out;
    if (cel) {
        PrintRows(out, kAnchor, ReadTable(in, kAnchor.fields.size(), "anchor"));
        return out.str();
    }
    const Rows anims = ReadTable(in, kAnim.fields.size(), "anim");
    for (const auto& row : anims)
        if (row[3] < 0)
            throw std::runtime_error("negative frame count " + std::to_string(row[3]) + " in an anim");
    const Rows frames = ReadTable(in, kFrame.fields.size(), "frame");
    PrintRows(out, kAnim, anims);
    PrintRows(out, kFrame, frames);
    return out.str();
}

int RunQmSeq(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "seq")
            return Pack(args, false);
        if (command == "cel")
            return Pack(args, true);
        if (command == "show")
            return Show(args, out);
        if (command.empty())
            Usage();
        throw std::runtime_error("unknown command: " + command);
    } catch (const std::exception& e) {
        WriteToolError(err, "qmseq", e.what());
    }
    return 1;
}
