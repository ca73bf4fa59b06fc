#include "engine/framework/Str.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/TplRec.h"

namespace {

// The engine message reported for an index outside the text.
constexpr int32_t kIndexOutOfRangeString = 11;

// The one text every empty string points at. It is never freed and never written.
char g_emptyText[1] = {'\0'};

std::string_view View(const CStr& s)
{
    return std::string_view(s.GetText(), static_cast<size_t>(s.GetLength()));
}

bool InSet(const CStr& set, char c) { return c != '\0' && std::strchr(set.GetText(), c) != nullptr; }

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

// ---- Storage ---------------------------------------------------------------------------

char* CStr::Allocate(size_t length)
{
    if (length == 0)
        return g_emptyText;
    char* buffer = new char[length + 1];
    buffer[length] = '\0';
    return buffer;
}

void CStr::Adopt(char* buffer)
{
    if (buffer != g_emptyText && buffer[0] == '\0') {
        delete[] buffer;
        buffer = g_emptyText;
    }
    if (text_ != g_emptyText && text_ != buffer)
        delete[] text_;
    text_ = buffer;
}

size_t CStr::Size() const { return std::strlen(text_); }

int32_t CStr::GetLength() const { return static_cast<int32_t>(std::min<size_t>(Size(), INT32_MAX)); }

// ---- Construction ----------------------------------------------------------------------

CStr::CStr() : text_(g_emptyText) {}

CStr::CStr(const CStr& other) : CStr(other.text_) {}

CStr::CStr(CStr&& other) noexcept : text_(other.text_) { other.text_ = g_emptyText; }

CStr::CStr(const CStr* source, int32_t n) : text_(g_emptyText)
{
    if (source && n > 0)
        *this = CStr(source->text_, n);
}

CStr::CStr(const char* text, int32_t n) : text_(g_emptyText)
{
    if (!text || text == g_emptyText || text[0] == '\0')
        return;
    // n characters are taken; a shorter text ends early and the rest of the buffer is NUL.
    const size_t available = n > 0 ? strnlen(text, static_cast<size_t>(n)) : std::strlen(text);
    const size_t length = n > 0 ? static_cast<size_t>(n) : available;
    char* buffer = Allocate(length);
    std::memset(buffer, 0, length);
    std::memcpy(buffer, text, available);
    Adopt(buffer);
}

CStr::CStr(int32_t value, bool grouping) : text_(g_emptyText)
{
    // The magnitude is taken in 64 bits so the most negative value prints as well.
    uint64_t magnitude = value < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(value)) : value;
    char digits[32];
    size_t n = 0;
    int inGroup = 0;
    do {
        if (grouping && inGroup == 3) {
            digits[n++] = ',';
            inGroup = 0;
        }
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++inGroup;
    } while (magnitude != 0);
    if (value < 0)
        digits[n++] = '-';
    std::reverse(digits, digits + n);
    digits[n] = '\0';
    *this = CStr(digits);
}

CStr::~CStr()
{
    if (text_ != g_emptyText)
        delete[] text_;
}

CStr& CStr::operator=(const CStr& other)
{
    if (this != &other)
        Adopt(CStr(other).Release());
    return *this;
}

CStr& CStr::operator=(CStr&& other) noexcept
{
    if (this != &other) {
        Adopt(other.text_);
        other.text_ = g_emptyText;
    }
    return *this;
}

char* CStr::Release()
{
    char* text = text_;
    text_ = g_emptyText;
    return text;
}

void CStr::Assign(std::unique_ptr<CStr> source)
{
    if (!source) {
        Empty();
        return;
    }
    *this = std::move(*source);
}

// ---- Concatenation ---------------------------------------------------------------------

namespace {

// Joins three pieces into a buffer of exactly their summed length.
void Join3(std::string_view a, std::string_view b, std::string_view c, char* out)
{
    for (std::string_view piece : {a, b, c})
        out = std::copy(piece.begin(), piece.end(), out);
}

} // namespace

void CStr::Append(const CStr& other)
{
    if (!other.IsEmpty())
        Insert(other, -1);
}

void CStr::Append(const CStr* other)
{
    if (other)
        Append(*other);
}

CStr& CStr::operator+=(const CStr& other)
{
    Append(other);
    return *this;
}

CStr operator+(const CStr& a, const CStr& b)
{
    CStr result(a);
    result.Append(b);
    return result;
}

void CStr::Prepend(const CStr& other) { Insert(other, 0); }

bool CStr::Insert(const CStr& other, int32_t index)
{
    const std::string_view self = View(*this);
    if (index < -1 || index > static_cast<int64_t>(self.size()))
        return false;
    if (other.IsEmpty())
        return true;
    const size_t at = index == -1 ? self.size() : static_cast<size_t>(index);
    const std::string_view add = View(other);
    char* buffer = Allocate(self.size() + add.size());
    Join3(self.substr(0, at), add, self.substr(at), buffer);
    Adopt(buffer);
    return true;
}

void CStr::Empty() { Adopt(g_emptyText); }

// ---- Access and search -----------------------------------------------------------------

char CStr::GetAt(int16_t index) const
{
    const int32_t length = GetLength();
    if (index == -1)
        return length > 0 ? text_[length - 1] : '\0';
    if (index < 0 || index >= length)
        return '\0';
    return text_[index];
}

void CStr::SetAt(int32_t index, char c)
{
    if (IsEmpty())
        return;
    if (index < 0 || index >= GetLength())
        ReportError(kReportFatal, GetEngineText(kIndexOutOfRangeString).c_str(), "Str", 1010);
    text_[index] = c;
}

int32_t CStr::Find(char c, int32_t start) const
{
    const std::string_view self = View(*this);
    start = std::max(start, 0);
    if (static_cast<size_t>(start) >= self.size())
        return -1;
    const size_t found = self.find(c, static_cast<size_t>(start));
    return found == std::string_view::npos ? -1 : static_cast<int32_t>(found);
}

int32_t CStr::FindAnyOf(const CStr& set, int32_t start) const
{
    const std::string_view self = View(*this);
    start = std::max(start, 0);
    if (static_cast<size_t>(start) >= self.size() || set.IsEmpty())
        return -1;
    const size_t found = self.find_first_of(View(set), static_cast<size_t>(start));
    return found == std::string_view::npos ? -1 : static_cast<int32_t>(found);
}

int32_t CStr::FindNext(const CStr& what, int32_t& pos) const
{
    const std::string_view self = View(*this);
    if (what.IsEmpty() || pos < 0 || static_cast<size_t>(pos) >= self.size())
        return -1;
    const size_t found = self.find(View(what), static_cast<size_t>(pos));
    if (found == std::string_view::npos) {
        pos = static_cast<int32_t>(self.size());
        return -1;
    }
    pos = static_cast<int32_t>(found + static_cast<size_t>(what.GetLength()));
    return static_cast<int32_t>(found);
}

int32_t CStr::CompareText(const char* a, const char* b, bool caseSensitive)
{
    if (!a)
        return -1;
    if (!b)
        return 1;
    for (;; ++a, ++b) {
        const char ca = caseSensitive ? *a : FoldCase(*a);
        const char cb = caseSensitive ? *b : FoldCase(*b);
        if (ca != cb || ca == '\0')
            return static_cast<unsigned char>(ca) - static_cast<unsigned char>(cb);
    }
}

int32_t CStr::Compare(const CStr& other) const { return CompareText(text_, other.text_, false); }

bool CStr::operator==(const CStr& other) const { return std::strcmp(text_, other.text_) == 0; }

// ---- Cutting and editing ---------------------------------------------------------------

bool CStr::ExtractTo(int32_t pos, int32_t count, CStr* dest) const
{
    const int32_t length = GetLength();
    if (!dest || length == 0 || pos > length || (pos < 1 && pos != 0 && pos != -1))
        return false;
    const int32_t available = pos < 1 ? length : length - (pos - 1);
    if (count == kAllAvailable)
        count = available;
    if (count < 0 || count > available)
        return false;
    int32_t first = pos - 1;
    if (pos == 0)
        first = 0;
    else if (pos == -1)
        first = length - count;
    *dest = Slice(text_ + first, count);
    return true;
}

bool CStr::Extract(int32_t pos, int32_t count)
{
    CStr result;
    if (!ExtractTo(pos, count, &result))
        return false;
    *this = std::move(result);
    return true;
}

bool CStr::Delete(int32_t index, int32_t count)
{
    const int32_t length = GetLength();
    if (index >= length)
        return false;
    if (index < 0) {
        count = count - 1 + index;
        index = 0;
    }
    if (count <= 0 || length == 0)
        return true;
    count = std::min(count, length - index);
    const std::string_view self = View(*this);
    char* buffer = Allocate(self.size() - static_cast<size_t>(count));
    Join3(self.substr(0, static_cast<size_t>(index)), {}, self.substr(static_cast<size_t>(index + count)),
          buffer);
    Adopt(buffer);
    return true;
}

void CStr::DeleteLeft(int32_t n) { Delete(0, n); }

void CStr::DeleteRight(int32_t n)
{
    const int32_t length = GetLength();
    n = std::min(n, length);
    if (n > 0)
        Delete(length - n, n);
}

bool CStr::Replace(const CStr& from, const CStr& to)
{
    const std::string_view self = View(*this);
    const std::string_view what = View(from);
    const std::string_view with = View(to);
    if (what.empty() || self.empty() || what.size() > self.size())
        return false;
    size_t occurrences = 0;
    for (size_t at = self.find(what); at != std::string_view::npos; at = self.find(what, at + what.size()))
        ++occurrences;
    if (occurrences == 0)
        return false;
    char* buffer = Allocate(self.size() - occurrences * what.size() + occurrences * with.size());
    char* out = buffer;
    size_t from_ = 0;
    for (size_t at = self.find(what); at != std::string_view::npos; at = self.find(what, from_)) {
        out = std::copy(self.begin() + static_cast<ptrdiff_t>(from_),
                        self.begin() + static_cast<ptrdiff_t>(at), out);
        out = std::copy(with.begin(), with.end(), out);
        from_ = at + what.size();
    }
    std::copy(self.begin() + static_cast<ptrdiff_t>(from_), self.end(), out);
    Adopt(buffer);
    return true;
}

bool CStr::RemoveChars(const CStr& set)
{
    if (IsEmpty())
        return false;
    const std::string_view self = View(*this);
    const size_t kept =
        static_cast<size_t>(std::count_if(self.begin(), self.end(), [&](char c) { return !InSet(set, c); }));
    char* buffer = Allocate(kept);
    std::copy_if(self.begin(), self.end(), buffer, [&](char c) { return !InSet(set, c); });
    Adopt(buffer);
    return true;
}

std::unique_ptr<CStr> CStr::SpanOf(const CStr& set, int32_t& pos) const
{
    const int32_t length = GetLength();
    if (pos < 0 || pos >= length)
        return std::make_unique<CStr>();
    int32_t end = pos;
    while (end < length && InSet(set, text_[end]))
        ++end;
    auto span = std::make_unique<CStr>(Slice(text_ + pos, end - pos));
    pos = end;
    return span;
}

std::unique_ptr<CStr> CStr::NextSpanOf(const CStr& set, int32_t& pos) const
{
    int32_t start = FindAnyOf(set, pos);
    if (start < 0)
        return std::make_unique<CStr>();
    return SpanOf(set, pos = start);
}

std::unique_ptr<CStr> CStr::NextToken(const CStr& set, int32_t& pos) const
{
    const int32_t length = GetLength();
    if (pos < 0 || pos >= length)
        return std::make_unique<CStr>();
    if (InSet(set, text_[pos])) {
        ++pos;
        return std::make_unique<CStr>();
    }
    int32_t end = FindAnyOf(set, pos);
    if (end < 0)
        end = length;
    auto token = std::make_unique<CStr>(Slice(text_ + pos, end - pos));
    pos = end;
    return token;
}

std::unique_ptr<CTplRec> CStr::Tokenize(const CStr& set) const
{
    std::unique_ptr<CTplRec> list;
    const std::string_view self = View(*this);
    size_t at = 0;
    while (at < self.size()) {
        while (at < self.size() && InSet(set, self[at]))
            ++at;
        size_t end = at;
        while (end < self.size() && !InSet(set, self[end]))
            ++end;
        if (end == at)
            break;
        if (!list)
            list = std::make_unique<CTplRec>();
        list->Add(std::make_unique<CStr>(Slice(text_ + at, static_cast<int32_t>(end - at))));
        at = end;
    }
    return list;
}

std::unique_ptr<CTplRec> CStr::SplitWords() const { return Tokenize(CStr(" \r\n\t\f\v,.!?;:")); }

void CStr::SetLength(int32_t n)
{
    const int32_t length = GetLength();
    if (n < 0 || n == length)
        return;
    *this = Resized(n, ' ');
}

void CStr::SetSize(int32_t n)
{
    const int32_t length = GetLength();
    if (n <= 0 || n == length + 1)
        return;
    if (n == 1) {
        Empty();
        return;
    }
    *this = Resized(n, '\x01');
}

void CStr::MakeUpper()
{
    for (char* p = text_; *p; ++p)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
}

void CStr::MakeLower()
{
    for (char* p = text_; *p; ++p)
        *p = FoldCase(*p);
}

void CStr::Reverse() { std::reverse(text_, text_ + Size()); }

// ---- Numbers ---------------------------------------------------------------------------

bool CStr::ParseNumber(int32_t* out, int32_t base) const
{
    if (!out)
        return false;
    *out = 0;
    if (IsEmpty())
        return false;
    std::string_view digits = View(*this);
    const bool negative = digits.front() == '-';
    if (negative)
        digits.remove_prefix(1);
    if (base == 0) {
        base = 10;
        if (digits.size() >= 3 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            base = 16;
            digits.remove_prefix(2);
        }
    }
    uint32_t value = 0; // wraps the way the 32-bit accumulator does
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'z')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'Z')
            digit = c - 'A' + 10;
        if (base == 10 && c == ',')
            continue;
        if (digit < 0 || digit >= base) {
            *out = static_cast<int32_t>(value);
            return false;
        }
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
    }
    *out = static_cast<int32_t>(value);
    if (negative && *out > 0)
        *out = -*out;
    return true;
}

// ---- Helpers used above ----------------------------------------------------------------

CStr CStr::Slice(const char* text, int32_t n) { return n > 0 ? CStr(text, n) : CStr(); }

CStr CStr::Resized(int32_t n, char pad) const
{
    const std::string_view self = View(*this);
    const size_t size = static_cast<size_t>(std::max(n, 0)); // a negative length is empty
    char* buffer = Allocate(size);
    const size_t kept = std::min(size, self.size());
    std::copy_n(self.data(), kept, buffer);
    std::memset(buffer + kept, pad, size - kept);
    CStr result;
    result.Adopt(buffer);
    return result;
}
