#pragma once
// CStr: the engine's string. One NUL-terminated 8-bit text per object, copied by value.
// Every empty string points at one shared static text, so an empty string never
// allocates; every change of length allocates a buffer of exactly the new size.
//
// Positions, lengths and counts are 32-bit and 0-based unless a member says otherwise.
// Members that hand out a new string or list return it in a unique_ptr; members that take
// ownership of a string take a unique_ptr.
#include <cstdint>
#include <memory>

class CTplRec;

class CStr {
public:
    CStr();
    CStr(const CStr& other);
    CStr(CStr&& other) noexcept;
    // The first n characters of the source (NUL bytes where the source is shorter); empty
    // for a null or empty source or n <= 0.
    CStr(const CStr* source, int32_t n);
    // n 0 (or below) copies the whole text; otherwise exactly n characters are taken, the
    // text ending early when it is shorter.
    CStr(const char* text, int32_t n = 0);
    // The decimal form of value; with grouping, a ',' between every three digits.
    CStr(int32_t value, bool grouping);
    virtual ~CStr();

    CStr& operator=(const CStr& other);
    CStr& operator=(CStr&& other) noexcept;
    // Becomes a copy of the source's text and destroys the source.
    void Assign(std::unique_ptr<CStr> source);

    void Append(const CStr& other);
    void Append(const CStr* other);
    CStr& operator+=(const CStr& other);
    void Prepend(const CStr& other);
    // index -1 appends, 0 prepends, otherwise inserts in front of the character at index;
    // false (no change) for an index above the length or below -1.
    bool Insert(const CStr& other, int32_t index);

    void Empty();
    bool IsEmpty() const { return text_[0] == '\0'; }
    int32_t GetLength() const;
    const char* GetText() const { return text_; }
    char FirstChar() const { return text_[0]; }

    // index -1 gives the last character; any index outside the text gives 0.
    char GetAt(int16_t index) const;
    // Replaces one character; an index outside the text is a fatal report.
    void SetAt(int32_t index, char c);

    int32_t Find(char c, int32_t start = 0) const;
    int32_t FindAnyOf(const CStr& set, int32_t start = 0) const;
    // The index of what at or after pos, moving pos just behind it; -1 and pos = length when
    // there is none; -1 and pos unchanged for an empty what or a pos outside the text.
    int32_t FindNext(const CStr& what, int32_t& pos) const;

    // null a gives -1, null b 1; case-sensitive compares bytes, otherwise A-Z count as a-z.
    static int32_t CompareText(const char* a, const char* b, bool caseSensitive);
    // Compares the two texts ignoring the case of A-Z.
    int32_t Compare(const CStr& other) const;
    bool operator==(const CStr& other) const;

    // pos is 1-based; 0 means from the left and -1 from the right. count -6 takes every
    // available character. Extract replaces this text; ExtractTo puts the result in dest.
    bool Extract(int32_t pos, int32_t count);
    bool ExtractTo(int32_t pos, int32_t count, CStr* dest) const;
    static constexpr int32_t kAllAvailable = -6;

    bool Delete(int32_t index, int32_t count);
    void DeleteLeft(int32_t n);
    void DeleteRight(int32_t n);
    bool Replace(const CStr& from, const CStr& to);
    bool RemoveChars(const CStr& set);

    // The run of set characters starting at pos; pos moves to its end.
    std::unique_ptr<CStr> SpanOf(const CStr& set, int32_t& pos) const;
    // The first run of set characters at or after pos; pos moves just behind it.
    std::unique_ptr<CStr> NextSpanOf(const CStr& set, int32_t& pos) const;
    // The text from pos up to the first set character; pos moves onto that delimiter. When
    // pos is on a delimiter the result is empty and pos moves one on.
    std::unique_ptr<CStr> NextToken(const CStr& set, int32_t& pos) const;
    // One entry per token, tokens separated by runs of set characters; null when none.
    std::unique_ptr<CTplRec> Tokenize(const CStr& set) const;
    // Tokenize at blanks, line ends, tabs, form feeds, vertical tabs and , . ! ? ; :
    std::unique_ptr<CTplRec> SplitWords() const;

    // n 0 empties, a shorter n cuts, a longer n pads with spaces, a negative n does nothing.
    void SetLength(int32_t n);
    // n 1 empties, n = length + 1 does nothing, n <= 0 does nothing; otherwise the text
    // becomes n characters long, cut or padded with bytes of value 1.
    void SetSize(int32_t n);
    void MakeUpper();
    void MakeLower();
    void Reverse();

    bool ToLong(int32_t* out) const { return ParseNumber(out, 0); }
    bool ToLongHex(int32_t* out) const { return ParseNumber(out, 16); }
    // Base 0 picks 16 after "0x"/"0X" and 10 otherwise; base 10 skips ','. True when the
    // whole text was read; out keeps the value read up to a bad character.
    bool ParseNumber(int32_t* out, int32_t base) const;

    // Mac OS Roman to Windows-1252 tables for codes 128-255 (index code - 128): selector 3
    // typographic, 2 plain; null for any other selector.
    static const uint8_t* GetCharMap(int32_t selector);
    // Converts the text in place from Mac OS Roman to Windows-1252.
    void MapChars(int32_t selector);
    // Converts the text in place from Windows-1252 back to Mac OS Roman (selector 3 the
    // typographic table, any other the plain one).
    void UnmapChars(int32_t selector);

private:
    // n characters from text (n <= 0 gives an empty string).
    static CStr Slice(const char* text, int32_t n);
    // A copy n characters long, cut or padded with the pad byte.
    CStr Resized(int32_t n, char pad) const;
    // Hands the text to the caller and leaves this string empty.
    char* Release();
    static char* Allocate(size_t length);
    // Takes a buffer made by Allocate (or the shared empty text), freeing the old text.
    void Adopt(char* buffer);
    size_t Size() const;
    char* text_;
};

CStr operator+(const CStr& a, const CStr& b);
