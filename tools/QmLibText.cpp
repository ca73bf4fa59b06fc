#include "tools/QmLibText.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "engine/framework/EngineStrings.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/MegaLib.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/TextRsrc.h"
#include "engine/resources/TplRecLoader.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "platform/SystemInfo.h"
#include "tools/EngineLibrary.h"

namespace fs = std::filesystem;

namespace {

int32_t ParseNumberArg(const std::string& text)
{
    size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || value < INT32_MIN || value > INT32_MAX)
        throw std::runtime_error("bad number: " + text);
    return static_cast<int32_t>(value);
}

void WriteEscapedEntry(std::ostream& out, const char* text)
{
    for (; *text; ++text) {
        if (*text == '\n')
            out << "\\n";
        else if (*text == '\r')
            out << "\\r";
        else if (*text == '\\')
            out << "\\\\";
        else
            out << *text;
    }
    out << '\n';
}

void WriteQuoted(std::ostream& out, const char* text)
{
    static const char kHex[] = "0123456789ABCDEF";
    out << '"';
    for (; *text; ++text) {
        const auto c = static_cast<unsigned char>(*text);
        switch (c) {
        case '"': out << "\\\""; break;
        case '\\': out << "\\\\"; break;
        case '\n': out << "\\n"; break;
        case '\r': out << "\\r"; break;
        case '\t': out << "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F)
                out << "\\x" << kHex[c >> 4] << kHex[c & 15];
            else
                out << static_cast<char>(c);
        }
    }
    out << '"';
}

bool IsUnsignedItem(uint8_t code)
{
    switch (code) {
    case kFmtUByte:
    case kFmtTUByte:
    case kFmtUShort:
    case kFmtTUShort:
    case kFmtULong:
    case kFmtTULong:
    case kFmtList:
    case kFmtFNUByte:
    case kFmtFNUShort:
    case kFmtFNULong: return true;
    default: return false;
    }
}

// The value of a numeric item, read at its size and with its sign.
int64_t ItemValue(CTextRsrc& record, const CTextRsrc::Item& item)
{
    const int32_t size = CTextRsrc::GetItemSize(item);
    uint8_t bytes[4] = {};
    record.GetBytes(bytes, size, item.offset);
    const bool isUnsigned = IsUnsignedItem(item.code);
    if (size == 1)
        return isUnsigned ? int64_t{bytes[0]} : int64_t{static_cast<int8_t>(bytes[0])};
    if (size == 2) {
        uint16_t v;
        std::memcpy(&v, bytes, 2);
        return isUnsigned ? int64_t{v} : int64_t{static_cast<int16_t>(v)};
    }
    uint32_t v;
    std::memcpy(&v, bytes, 4);
    return isUnsigned ? int64_t{v} : int64_t{static_cast<int32_t>(v)};
}

} // namespace

int QmLibStrings(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.size() != 3)
        throw std::runtime_error("usage: qmlib strings LIBRARY NUMBER");
    const int32_t id = ParseNumberArg(args[2]);
    EngineLibrary library(args[1]);
    std::unique_ptr<CTplRec> list;
    library.Run([&] { list = CreateTplRec(id, 0xFFFFFFFF, false); });
    if (!list)
        throw std::runtime_error(args[1] + ": no resource STR " + std::to_string(id));
    for (int32_t i = 0; i < list->GetEntryCount(); ++i)
        WriteEscapedEntry(out, list->GetEntry(i)->GetText());
    return 0;
}

int QmLibRecord(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.size() != 4)
        throw std::runtime_error("usage: qmlib record LIBRARY TYPE NUMBER");
    const std::string& type = args[2];
    const int32_t id = ParseNumberArg(args[3]);
    EngineLibrary library(args[1]);
    std::unique_ptr<CTextRsrc> record;
    library.Run([&] { record = CTextRsrc::Create(type.c_str(), id, 0xFFFFFFFF, false); });
    if (!record)
        throw std::runtime_error(args[1] + ": no resource " + type + " " + std::to_string(id));
    for (const CTextRsrc::Item& item : record->GetItems()) {
        out << item.offset << ' ' << CTextRsrc::GetItemSize(item) << ' ';
        if (item.code == kFmtString || item.code == kFmtFString) {
            const CStr* text = record->GetString(item.offset);
            if (text)
                WriteQuoted(out, text->GetText());
            else
                out << "null";
        } else {
            out << ItemValue(*record, item);
        }
        out << '\n';
    }
    out << "size " << record->GetSize() << '\n';
    return 0;
}
