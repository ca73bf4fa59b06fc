#include "engine/resources/FormatList.h"

#include <cstring>

#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"

namespace {

constexpr FormatKeyword kKeywords[kFmtCodeCount] = {
    {" ", kFmtKindPlain, 0},       {"byte", kFmtKindPlain, 1},     {"ubyte", kFmtKindPlain, 1},
    {"tbyte", kFmtKindEnum, 1},    {"tubyte", kFmtKindEnum, 1},    {"short", kFmtKindPlain, 2},
    {"ushort", kFmtKindPlain, 2},  {"tshort", kFmtKindEnum, 2},    {"tushort", kFmtKindEnum, 2},
    {"long", kFmtKindPlain, 4},    {"ulong", kFmtKindPlain, 4},    {"tlong", kFmtKindEnum, 4},
    {"tulong", kFmtKindEnum, 4},   {"string", kFmtKindPlain, 4},   {"list", kFmtKindPlain, 0},
    {"endlist", kFmtKindPlain, 0}, {"sizelist", kFmtKindCount, 0}, {"var", kFmtKindBreak, 0},
    {"fbyte", kFmtKindPlain, 1},   {"fnbyte", kFmtKindFixed, 1},   {"fnubyte", kFmtKindFixed, 1},
    {"fshort", kFmtKindPlain, 2},  {"fnshort", kFmtKindFixed, 2},  {"fnushort", kFmtKindFixed, 2},
    {"flong", kFmtKindPlain, 4},   {"fnlong", kFmtKindFixed, 4},   {"fnulong", kFmtKindFixed, 4},
    {"fstring", kFmtKindPlain, 4},
};

// The longest identifier a format text may hold.
constexpr size_t kMaxFormatWord = 2047;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

// A record type as the table keeps it: at most 4 characters.
std::string_view TypeKey(const char* type) { return std::string_view(type, strnlen(type, 4)); }

void FailFormat(int32_t message, uint32_t line)
{
    ReportError(kReportFatal, GetEngineText(message).c_str(), "TextRsrc", line);
}

void AppendValue(FormatBlock& format, int32_t value)
{
    uint8_t bytes[4];
    std::memcpy(bytes, &value, 4);
    format.insert(format.end(), bytes, bytes + 4);
}

} // namespace

const FormatKeyword& GetFormatKeyword(uint8_t code) { return kKeywords[code < kFmtCodeCount ? code : 0]; }

int FindFormatKeyword(std::string_view word)
{
    for (int code = 0; code < kFmtCodeCount; ++code)
        if (EqualFolded(word, kKeywords[code].keyword))
            return code;
    return -1;
}

uint8_t FormatCursor::ReadCode() { return AtEnd() ? uint8_t{kFmtNone} : format_[pos_++]; }

std::string FormatCursor::ReadName()
{
    std::string name;
    while (!AtEnd() && format_[pos_] != 0)
        name += static_cast<char>(format_[pos_++]);
    if (!AtEnd())
        ++pos_;
    return name;
}

int32_t FormatCursor::ReadValue()
{
    uint8_t bytes[4] = {};
    for (uint8_t& b : bytes)
        b = AtEnd() ? 0 : format_[pos_++];
    int32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}

CFormatList& CFormatList::Get()
{
    static CFormatList list;
    return list;
}

void CFormatList::AddItem(const char* type, std::unique_ptr<FormatBlock> format)
{
    Entry entry{};
    if (type)
        std::strncpy(entry.type, type, 4);
    entry.format = std::move(format);
    entries_.push_back(std::move(entry));
}

void CFormatList::AddInline(const char* type, int32_t n, const uint8_t* codes)
{
    if (!type || !codes || n < 1)
        return;
    AddItem(type, std::make_unique<FormatBlock>(codes, codes + n));
}

void CFormatList::Add(const char* type)
{
    std::unique_ptr<CRsrcBlock> text = GetLibMgr()->LoadResource(type, 0, 0xFFFFFFFF, false);
    if (!text || text->GetSize() < 1) {
        FailFormat(text ? 14 : 12, text ? 1299 : 1296);
        return;
    }
    AddItem(type, CompileFormat(text.get()));
}

const FormatBlock* CFormatList::Lookup(const char* type) const
{
    if (!type)
        return nullptr;
    const std::string_view key = TypeKey(type);
    for (const Entry& entry : entries_)
        if (EqualFolded(TypeKey(entry.type), key))
            return entry.format.get();
    return nullptr;
}

const FormatBlock* CFormatList::Find(const char* type)
{
    if (!type)
        return nullptr;
    if (const FormatBlock* format = Lookup(type))
        return format;
    Add(type);
    return Lookup(type);
}

std::unique_ptr<FormatBlock> CFormatList::CompileFormat(CRsrcBlock* text)
{
    auto format = std::make_unique<FormatBlock>();
    CRawParser parser(text, 0xFFFFFFFF);
    parser.Preprocess();
    parser.LockSource();
    parser.SkipBlanks();
    while (parser.GetPos() < parser.GetEnd()) {
        const std::string word = parser.ReadIdent(kMaxFormatWord, true);
        const int code = FindFormatKeyword(word);
        if (code < 0) {
            FailFormat(15, 1480);
            break;
        }
        format->push_back(static_cast<uint8_t>(code));
        switch (kKeywords[code].kind) {
        case kFmtKindEnum: {
            const std::string name = parser.ReadIdent(kMaxFormatWord, true);
            format->insert(format->end(), name.begin(), name.end());
            format->push_back(0);
            break;
        }
        case kFmtKindCount:
        case kFmtKindFixed: AppendValue(*format, parser.ReadLong("CFormatList::Add")); break;
        default: break;
        }
        parser.SkipBlanks();
    }
    parser.UnlockSource();
    return format;
}

void AddRecordFormat(const char* type, int32_t n, const uint8_t* codes)
{
    if (n >= 1)
        CFormatList::Get().AddInline(type, n, codes);
    else
        CFormatList::Get().Add(type);
}

void AddLibIdFormat()
{
    static const uint8_t codes[] = {kFmtULong, kFmtULong, kFmtLong, kFmtString, kFmtString};
    AddRecordFormat("LID", static_cast<int32_t>(sizeof codes), codes);
}
