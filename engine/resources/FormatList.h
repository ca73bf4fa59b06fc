#pragma once
// Record formats: each record type (a resource type such as "NOD") has a format, a list of
// typed items written as keywords ("short", "string", "list" ... "endlist"), kept in
// resource 0 of that type or given inline by the program. CFormatList is the one table of
// formats by record type; typed records (CTextRsrc) are compiled against them.
//
// A compiled format is a string of item codes: one code byte (the keyword's row in the
// keyword table), followed for typed items by the enumeration's name and a zero, and for
// "sizelist" and the fixed-value items by a 32-bit value in machine order.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CRsrcBlock;

// Item codes: rows of the keyword table.
enum FormatCode : uint8_t {
    kFmtNone = 0,
    kFmtByte = 1,
    kFmtUByte,
    kFmtTByte,
    kFmtTUByte,
    kFmtShort,
    kFmtUShort,
    kFmtTShort,
    kFmtTUShort,
    kFmtLong,
    kFmtULong,
    kFmtTLong,
    kFmtTULong,
    kFmtString,
    kFmtList,
    kFmtEndList,
    kFmtSizeList,
    kFmtVar,
    kFmtFByte,
    kFmtFNByte,
    kFmtFNUByte,
    kFmtFShort,
    kFmtFNShort,
    kFmtFNUShort,
    kFmtFLong,
    kFmtFNLong,
    kFmtFNULong,
    kFmtFString,
    kFmtCodeCount
};

// Kinds of items.
enum FormatKind : uint8_t {
    kFmtKindPlain = 0,
    kFmtKindEnum = 1,  // followed by an enumeration name
    kFmtKindCount = 2, // followed by a repeat count
    kFmtKindBreak = 3,
    kFmtKindFixed = 4, // followed by a fixed value
};

struct FormatKeyword {
    const char* keyword;
    uint8_t kind;
    uint8_t size; // bytes stored in a record
};

// Row code of the keyword table (codes from kFmtCodeCount on give row 0, a no-operation).
const FormatKeyword& GetFormatKeyword(uint8_t code);
// The code of a keyword (ASCII letters compared without case), or -1 when there is none.
int FindFormatKeyword(std::string_view word);

using FormatBlock = std::vector<uint8_t>;

// Walks the items of a compiled format. Reading never goes past the block: a value or name
// cut short by the block's end reads as 0 or as the part that is there.
class FormatCursor {
public:
    explicit FormatCursor(const FormatBlock& format) : format_(format) {}
    bool AtEnd() const { return pos_ >= format_.size(); }
    size_t GetPos() const { return pos_; }
    void SetPos(size_t pos) { pos_ = pos; }
    uint8_t ReadCode();
    std::string ReadName();
    int32_t ReadValue();

private:
    const FormatBlock& format_;
    size_t pos_ = 0;
};

class CFormatList {
public:
    static CFormatList& Get();

    // Defines a type's format from n item code bytes; nothing when type or codes is null.
    void AddInline(const char* type, int32_t n, const uint8_t* codes);
    // Loads the type's format from its resource 0 and appends it.
    void Add(const char* type);
    // The format of the first entry of the type (letter case ignored); when there is none, the
    // format is loaded from resource 0 first.
    const FormatBlock* Find(const char* type);
    // The format of the first entry of the type, or null; loads nothing.
    const FormatBlock* Lookup(const char* type) const;
    // Appends an entry; a second entry of a type is never found while the first exists.
    void AddItem(const char* type, std::unique_ptr<FormatBlock> format);
    int32_t GetCount() const { return static_cast<int32_t>(entries_.size()); }
    void Clear() { entries_.clear(); }

    // Compiles a format text. Errors are fatal reports.
    static std::unique_ptr<FormatBlock> CompileFormat(CRsrcBlock* text);

private:
    struct Entry {
        char type[5];
        std::unique_ptr<FormatBlock> format;
    };

    std::vector<Entry> entries_;
};

// Defines a record format: with n >= 1 from n code bytes, otherwise from resource 0 of type.
void AddRecordFormat(const char* type, int32_t n, const uint8_t* codes);
// Defines the format of the libraries' identity record "LID": ulong mask, ulong version,
// long id, string, string. The application does so at start.
void AddLibIdFormat();
