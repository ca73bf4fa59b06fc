// The definition-text parser: the text it works on, blanks and comments, identifiers, numbers,
// value expressions, string values and the typed field readers. The directives are in
// RawParserDirectives.cpp.
#include "engine/resources/RawParser.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/framework/TextChars.h"

namespace {

bool IsOperator(char c)
{
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '%' || c == '&' || c == '|';
}

// 32-bit two's complement arithmetic, applied strictly left to right. Division and remainder
// by 0 give 0; the one quotient that does not fit (the smallest value by -1) wraps.
int32_t ApplyOperator(char op, int32_t a, int32_t b)
{
    const uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
    switch (op) {
    case '+': return static_cast<int32_t>(ua + ub);
    case '-': return static_cast<int32_t>(ua - ub);
    case '*': return static_cast<int32_t>(ua * ub);
    case '/':
        if (b == 0)
            return 0;
        return (a == INT32_MIN && b == -1) ? INT32_MIN : a / b;
    case '%':
        if (b == 0 || b == -1)
            return 0;
        return a % b;
    case '&': return static_cast<int32_t>(ua & ub);
    case '|': return static_cast<int32_t>(ua | ub);
    default: return a;
    }
}

} // namespace

CRawParser::CRawParser(std::string_view text, const char* type, int32_t id, uint32_t includeMask)
    : symbols_(std::make_unique<CRawDefList>()), includeMask_(includeMask), text_(text), id_(id)
{
    if (type)
        std::strncpy(type_, type, sizeof type_ - 1);
    symbols_->AddSymbol("_WIN_", 1, kSymPredefined, {}, {});
    symbols_->AddSymbol("_WIN32_", 1, kSymPredefined, {}, {});
    if (const char* version = ApplicationVersionText())
        symbols_->AddSymbol("APPVERSTR", 0, kSymPredefined, {}, version);
}

CRawParser::~CRawParser() = default;

const char* CRawParser::GetPos() const { return lockCount_ > 0 ? text_.data() + pos_ : nullptr; }

const char* CRawParser::GetEnd() const
{
    if (lockCount_ == 0)
        return nullptr;
    return text_.data() + (text_.empty() ? 0 : text_.size() - 1);
}

void CRawParser::LockSource()
{
    ++lockCount_;
    pos_ = 0;
}

void CRawParser::UnlockSource() { lockCount_ = 0; }

void CRawParser::CutText(int32_t offset, int32_t n)
{
    if (offset < 0 || n <= 0 || static_cast<size_t>(offset) >= text_.size())
        return;
    ReplaceText(static_cast<size_t>(offset), static_cast<size_t>(n), {});
    WriteBack();
    if (lockCount_ > 0)
        pos_ = static_cast<size_t>(offset);
}

void CRawParser::DefineSymbol(std::string_view name, int32_t value, int32_t kind, std::string_view enumName,
                              std::string_view text)
{
    if (!skipping_ && !name.empty())
        symbols_->AddSymbol(name, value, kind, enumName, text);
}

bool CRawParser::LookupValue(std::string_view name, int32_t* value, std::string_view enumName) const
{
    const RawSymbol* symbol = FindSymbol(name);
    if (!symbol || !symbol->numeric)
        return false;
    if (!enumName.empty() && symbol->enumName != enumName)
        return false;
    if (value)
        *value = symbol->value;
    return true;
}

bool CRawParser::LookupText(std::string_view name, std::string* text, size_t n) const
{
    const RawSymbol* symbol = FindSymbol(name);
    if (!symbol || symbol->kind == kSymEnumMember)
        return false;
    if (text)
        *text = symbol->text.substr(0, n > 0 ? n - 1 : 0);
    return true;
}

// ---- Blanks, comments and identifiers ----

void CRawParser::SkipBlanks()
{
    for (;;) {
        const size_t before = pos_;
        while (IsBlankChar(Cur()))
            ++pos_;
        if (Cur() == '/' && At(pos_ + 1) == '/') {
            pos_ += 2;
            while (!AtTextEnd() && !IsLineEnd(Cur()))
                ++pos_;
            while (IsLineEnd(Cur()))
                ++pos_;
        } else if (Cur() == '/' && At(pos_ + 1) == '*') {
            pos_ += 2;
            while (!AtTextEnd() && !(Cur() == '*' && At(pos_ + 1) == '/'))
                ++pos_;
            if (!AtTextEnd())
                pos_ += 2;
        }
        if (pos_ == before)
            return;
    }
}

void CRawParser::SkipSpaces()
{
    while (Cur() == ' ' || Cur() == '\t')
        ++pos_;
    // A backslash directly before a line end continues the line.
    while (Cur() == '\\' && IsLineEnd(At(pos_ + 1))) {
        ++pos_;
        while (IsLineEnd(Cur()))
            ++pos_;
        while (Cur() == ' ' || Cur() == '\t')
            ++pos_;
    }
}

void CRawParser::SkipBlanksIf(bool multiLine)
{
    if (multiLine)
        SkipBlanks();
    else
        SkipSpaces();
}

bool CRawParser::SkipComma(bool multiLine)
{
    SkipBlanksIf(multiLine);
    if (Cur() != ',')
        return false;
    ++pos_;
    SkipBlanksIf(multiLine);
    return true;
}

std::string CRawParser::ScanIdent(size_t maxLength)
{
    std::string name;
    // A longer name is cut, but read whole so that its tail does not become the next value.
    for (; IsIdentChar(Cur()); ++pos_)
        if (name.size() < maxLength)
            name += Cur();
    return name;
}

std::string CRawParser::ReadIdent(size_t maxLength, bool multiLine)
{
    SkipBlanksIf(multiLine);
    std::string name = ScanIdent(maxLength);
    SkipBlanksIf(multiLine);
    return name;
}

bool CRawParser::AtLineStart() const
{
    size_t i = pos_;
    while (i > 0) {
        const char c = text_[i - 1];
        if (IsLineEnd(c))
            return true;
        if (c != ' ' && c != '\t')
            return false;
        --i;
    }
    return true;
}

bool CRawParser::MatchKeyword(const char* keyword, bool multiLine)
{
    const size_t start = pos_;
    if (ReadIdent(kMaxName, multiLine) == keyword)
        return true;
    pos_ = start;
    return false;
}

// ---- Numbers and value expressions ----

int32_t CRawParser::ParseNumber(const char* label, int16_t* status, bool report)
{
    const size_t start = pos_;
    uint32_t value = 0;
    int base = 10;
    bool haveDigit = false;
    if (Cur() == '0' && (At(pos_ + 1) == 'x' || At(pos_ + 1) == 'X')) {
        base = 16;
        pos_ += 2;
    } else if (Cur() == '\'') {
        // A character constant: up to four characters, each a signed byte.
        ++pos_;
        int count = 0;
        for (; !AtTextEnd() && Cur() != '\''; ++pos_) {
            if (++count > 4) {
                if (count == 5)
                    Fail(kErrCharConstant, text_.data() + start, pos_, 30);
                continue;
            }
            value =
                value * 256u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(Cur())));
        }
        if (Cur() == '\'')
            ++pos_;
        haveDigit = true;
    } else {
        size_t i = pos_;
        while (At(i) == '0' || At(i) == '1')
            ++i;
        if (i > pos_ && (At(i) == 'b' || At(i) == 'B'))
            base = 2;
    }
    for (;;) {
        const char c = Cur();
        if (c == '\0' || c == ' ' || c == '\t' || IsLineEnd(c))
            break;
        if (base == 2 && (c == 'b' || c == 'B')) {
            ++pos_;
            continue;
        }
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            if (haveDigit)
                break;
            const size_t bad = pos_;
            if (status)
                *status = 1;
            pos_ = start;
            if (report)
                Fail(kErrNotAValue, label, bad, base);
            return 0;
        }
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
        haveDigit = true;
        ++pos_;
    }
    if (!haveDigit) {
        // "0x" at the end of the text.
        if (status)
            *status = 1;
        pos_ = start;
        if (report)
            Fail(kErrNotAValue, label, pos_, base);
        return 0;
    }
    if (status)
        *status = 0;
    return static_cast<int32_t>(value);
}

int32_t CRawParser::ReadExpression(const char* label, const char* enumName, int16_t* status, bool report,
                                   bool enumOnly, bool multiLine, bool skipComma)
{
    const std::string_view enumView = enumName ? enumName : "";
    int32_t result = 0;
    char pending = '+';
    int16_t exprStatus = 0;
    auto commentFollows = [this] { return Cur() == '/' && (At(pos_ + 1) == '/' || At(pos_ + 1) == '*'); };
    while (!AtTextEnd()) {
        if (IsOperator(Cur())) {
            pending = Cur();
            ++pos_;
            if (!multiLine && pending == '/' && (Cur() == '/' || Cur() == '*')) {
                // The '/' began a comment, not a division.
                --pos_;
                break;
            }
            SkipBlanksIf(multiLine);
        }
        if (pending == 0)
            break; // two operands without an operator between them
        int16_t numberStatus = 0;
        int32_t operand = ParseNumber(label, &numberStatus, false);
        if (numberStatus == 0) {
            SkipBlanksIf(multiLine);
            if (!multiLine && commentFollows()) {
                result = ApplyOperator(pending, result, operand);
                break;
            }
        } else {
            const size_t nameAt = pos_;
            const std::string name = ReadIdent(kMaxName, multiLine);
            if (name.empty()) {
                exprStatus = 1;
                if (report)
                    Fail(kErrNotAValue, label, nameAt, 10);
                break;
            }
            bool found = LookupValue(name, &operand, enumView);
            if (!found && !enumView.empty() && !enumOnly)
                found = LookupValue(name, &operand, {});
            if (!found) {
                exprStatus = 1;
                if (!unknownName_)
                    unknownName_ = UnknownName{nameAt, name};
                if (report && enumView.empty())
                    Fail(kErrUnknownName, name.c_str(), nameAt, 0);
                else if (report)
                    Fail(kErrUnknownMember, enumName, nameAt, 0);
                break;
            }
        }
        result = ApplyOperator(pending, result, operand);
        pending = 0;
    }
    if (status)
        *status = exprStatus;
    if (skipComma)
        SkipComma(multiLine);
    return result;
}

// ---- String values ----

std::string CRawParser::ReadQuoted(size_t max)
{
    const char quote = Cur();
    ++pos_;
    std::string out;
    while (out.size() < max && !AtTextEnd() && Cur() != quote) {
        if (Cur() != '\\') {
            out += Cur();
            ++pos_;
            continue;
        }
        const char next = At(pos_ + 1);
        if (next == '\0') {
            ++pos_; // a backslash at the very end adds nothing
            break;
        }
        pos_ += 2;
        if (IsLineEnd(next))
            continue; // a line continuation: the backslash and one line end add nothing
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
    }
    if (Cur() == quote)
        ++pos_;
    return out;
}

std::string CRawParser::ReadBareWord(size_t max)
{
    std::string out;
    while (out.size() < max && !AtTextEnd() && !IsBlankChar(Cur())) {
        if (Cur() != '\\') {
            out += Cur();
            ++pos_;
            continue;
        }
        const char next = At(pos_ + 1);
        if (next == '\0') {
            ++pos_;
            break;
        }
        pos_ += 2;
        if (!IsLineEnd(next))
            out += next;
    }
    return out;
}

std::string CRawParser::ReadToken(size_t max)
{
    SkipBlanks();
    std::string out;
    if (Cur() == '"' || Cur() == '\'') {
        out = ReadQuoted(max);
    } else {
        const size_t wordStart = pos_;
        const std::string name = ReadIdent(kMaxName, true);
        if (name.empty() || !LookupText(name, &out, max)) {
            pos_ = wordStart;
            out = ReadBareWord(max);
        }
    }
    SkipComma(true);
    SkipBlanks();
    return out;
}

void CRawParser::SkipToken()
{
    SkipBlanks();
    const char quote = Cur();
    if (quote == '"' || quote == '\'') {
        ++pos_;
        while (!AtTextEnd() && Cur() != quote) {
            if (Cur() == '\\' && At(pos_ + 1) != '\0')
                ++pos_;
            ++pos_;
        }
        if (Cur() == quote)
            ++pos_;
    } else {
        while (!AtTextEnd() && !IsBlankChar(Cur()))
            ++pos_;
    }
    SkipBlanks();
}

// ---- Field readers ----

int32_t CRawParser::ReadValue(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                              bool multiLine)
{
    SkipBlanksIf(multiLine);
    int16_t exprStatus = 0;
    const int32_t value =
        ReadExpression(label, enumName, &exprStatus, status == nullptr, enumOnly, multiLine, true);
    if (status)
        *status = exprStatus;
    return value;
}

void CRawParser::CheckRange(int32_t value, int32_t low, int32_t high, int16_t lowCode, int16_t highCode,
                            const char* label, const int16_t* status)
{
    if (status)
        return;
    if (value < low)
        Fail(lowCode, label, pos_, value);
    else if (value > high)
        Fail(highCode, label, pos_, value);
}

int32_t CRawParser::ReadLong(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                             bool multiLine)
{
    return ReadValue(label, enumName, enumOnly, status, multiLine);
}

uint32_t CRawParser::ReadULong(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                               bool multiLine)
{
    return static_cast<uint32_t>(ReadValue(label, enumName, enumOnly, status, multiLine));
}

int16_t CRawParser::ReadShort(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                              bool multiLine)
{
    const int32_t value = ReadValue(label, enumName, enumOnly, status, multiLine);
    CheckRange(value, INT16_MIN, INT16_MAX, kErrShortLow, kErrShortHigh, label, status);
    return static_cast<int16_t>(value);
}

uint16_t CRawParser::ReadUShort(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                                bool multiLine)
{
    const int32_t value = ReadValue(label, enumName, enumOnly, status, multiLine);
    CheckRange(value, 0, UINT16_MAX, kErrUShortLow, kErrUShortHigh, label, status);
    return static_cast<uint16_t>(value);
}

int8_t CRawParser::ReadByte(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                            bool multiLine)
{
    const int32_t value = ReadValue(label, enumName, enumOnly, status, multiLine);
    CheckRange(value, INT8_MIN, INT8_MAX, kErrByteLow, kErrByteHigh, label, status);
    return static_cast<int8_t>(value);
}

uint8_t CRawParser::ReadUByte(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                              bool multiLine)
{
    const int32_t value = ReadValue(label, enumName, enumOnly, status, multiLine);
    CheckRange(value, 0, UINT8_MAX, kErrUByteLow, kErrUByteHigh, label, status);
    return static_cast<uint8_t>(value);
}

void CRawParser::ReadString(char* buffer, int16_t n)
{
    if (!buffer || n < 1) {
        ReadToken(0);
        return;
    }
    const std::string value = ReadToken(static_cast<size_t>(n - 1));
    std::memcpy(buffer, value.data(), value.size());
    buffer[value.size()] = '\0';
}

void CRawParser::Fail(int16_t code, const char* text, size_t position, int32_t number)
{
    ReportParseError(code, text, text_.data() + std::min(position, text_.size()), number);
}
