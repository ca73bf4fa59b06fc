#pragma once
// The definition-text parser. Templates, string lists, record formats and typed records are
// written in the libraries as plain 8-bit text with C-like comments, preprocessor directives
// (define, rdef, undef, include, ifdef, ifndef, endif), named constants and enumerations.
// A caller hands the parser a resource block, runs Preprocess once (which executes the
// directives and leaves plain value text), locks the text and reads values in order with the
// field readers until the read position reaches the text's last byte:
//
//   CRawParser parser(block, 0xFFFFFFFF);
//   parser.Preprocess();
//   parser.LockSource();
//   while (parser.GetPos() < parser.GetEnd())
//       values.push_back(parser.ReadLong("value"));
//   parser.UnlockSource();
//
// The parser keeps its own copy of the text while it works and writes the preprocessed text
// back into the block, so the block ends as the plain value text with a terminating zero.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/resources/RawSymbols.h"

class CRsrcBlock;
class CStr;

class CRawParser {
public:
    // Error codes of ReportParseError.
    enum : int16_t {
        kErrNone = 0,
        kErrByteLow = 3,
        kErrByteHigh = 4,
        kErrShortLow = 5,
        kErrShortHigh = 6,
        kErrUByteLow = 7,
        kErrUByteHigh = 8,
        kErrUShortLow = 9,
        kErrUShortHigh = 10,
        kErrNotAValue = 11,
        kErrUnknownName = 13,
        kErrUnknownMember = 14,
        kErrTooManyConditionals = 15,
        kErrEndifWithoutIf = 16,
        kErrCharConstant = 17,
        kErrEnumSyntax = 18,
        kErrIncludeMissing = 20,
        kErrIncludeTooDeep = 21,
        kErrTooManyGroups = 22,  // a record format opens more groups than a record can hold
        kErrRecordTooLarge = 23, // a record compiles to more than the record size limit
    };
    // At most this many conditional blocks can be open at once.
    static constexpr int kMaxConditionalDepth = 24;
    // Names are cut to this many characters.
    static constexpr size_t kMaxName = 511;
    // The longest text a define value keeps under the one-line rule.
    static constexpr size_t kMaxDefineText = 512;
    // Included resources may nest this deep (a resource that includes itself would never end).
    static constexpr int kMaxIncludeDepth = 32;
    // At most this many resources are spliced into one text.
    static constexpr int kMaxSplices = 256;

    // A parser over a resource block that stays the caller's; includes are loaded under the
    // include mask.
    CRawParser(CRsrcBlock* source, uint32_t includeMask);
    virtual ~CRawParser();
    CRawParser(const CRawParser&) = delete;
    CRawParser& operator=(const CRawParser&) = delete;

    // The include directive starting at the given offset of the text.
    virtual void IncludeResource(size_t directiveStart, bool inEnum);
    // Reports a parse error: fatal, naming the resource being parsed (code 20: the resource
    // that an include could not find). Code 0 does nothing.
    virtual void ReportParseError(int16_t code, const char* text, const char* position, int32_t number);

    // Runs the directives, cuts them out of the text and leaves plain value text ending with
    // one zero byte (also written back into the source block).
    void Preprocess();
    void LockSource();
    void UnlockSource();
    bool IsLocked() const { return lockCount_ > 0; }
    // The read position and the address of the text's last byte while the text is locked,
    // else null.
    const char* GetPos() const;
    const char* GetEnd() const;
    // Removes n bytes at offset.
    void CutText(int32_t offset, int32_t n);

    // Enters a symbol into this parser's table, except inside a skipped conditional block.
    void DefineSymbol(std::string_view name, int32_t value, int32_t kind, std::string_view enumName,
                      std::string_view text);
    const RawSymbol* FindSymbol(std::string_view name) const { return symbols_->Find(name); }
    // The value of a numeric symbol; with an enumeration name, only of a member of it.
    bool LookupValue(std::string_view name, int32_t* value, std::string_view enumName) const;
    // The text of a symbol that is not an enumeration member (empty for a numeric one), cut
    // to n-1 characters.
    bool LookupText(std::string_view name, std::string* text, size_t n) const;
    const CRawDefList& GetSymbols() const { return *symbols_; }

    // Loads a resource (a missing one is a fatal report) and keeps its symbols as a global
    // definition set.
    static void ParseResource(const char* type, int32_t id, uint32_t mask);
    // Keeps the symbols of a block as a global definition set; the block is destroyed.
    static void ParseDefinitions(std::unique_ptr<CRsrcBlock> block, uint32_t mask);

    // Tokens.
    void SkipBlanks();
    void SkipSpaces();
    bool SkipComma(bool multiLine);
    // Reads an identifier (letters, digits, '_'), cut to maxLength characters; blanks before
    // and after are skipped.
    std::string ReadIdent(size_t maxLength, bool multiLine);
    int32_t ParseNumber(const char* label, int16_t* status, bool report);
    int32_t ReadExpression(const char* label, const char* enumName, int16_t* status, bool report,
                           bool enumOnly, bool multiLine, bool skipComma);
    // Reads the next string value (quoted, a text symbol's name or a bare word), at most max
    // characters.
    std::string ReadToken(size_t max);
    void SkipToken();
    bool AtLineStart() const;
    bool MatchKeyword(const char* keyword, bool multiLine);

    // Field readers: the next value. With a null status every error is fatal and the range of
    // the reader's width is checked; with a status nothing is reported and the status is 0
    // when a value was read, 1 when not.
    int32_t ReadLong(const char* label, const char* enumName = nullptr, bool enumOnly = true,
                     int16_t* status = nullptr, bool multiLine = true);
    uint32_t ReadULong(const char* label, const char* enumName = nullptr, bool enumOnly = true,
                       int16_t* status = nullptr, bool multiLine = true);
    int16_t ReadShort(const char* label, const char* enumName = nullptr, bool enumOnly = true,
                      int16_t* status = nullptr, bool multiLine = true);
    uint16_t ReadUShort(const char* label, const char* enumName = nullptr, bool enumOnly = true,
                        int16_t* status = nullptr, bool multiLine = true);
    int8_t ReadByte(const char* label, const char* enumName = nullptr, bool enumOnly = true,
                    int16_t* status = nullptr, bool multiLine = true);
    uint8_t ReadUByte(const char* label, const char* enumName = nullptr, bool enumOnly = true,
                      int16_t* status = nullptr, bool multiLine = true);
    // The next string value as a new string of at most n-1 characters.
    std::unique_ptr<CStr> ReadStr(int16_t n);
    // The next string value into the caller's buffer: at most n-1 characters and a zero.
    void ReadString(char* buffer, int16_t n);

    const char* GetSourceType() const { return type_; }
    int32_t GetSourceId() const { return id_; }

    // APPVERSTR is the application's version text; a program without an application object
    // (a tool) may give one here. Empty: no APPVERSTR.
    static void SetFallbackVersionText(std::optional<std::string> text);

private:
    CRawParser(std::string_view text, const char* type, int32_t id, uint32_t includeMask);

    struct Conditional {
        size_t start; // offset of the directive that opened the block
        bool keep;
    };

    char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
    char Cur() const { return At(pos_); }
    bool AtTextEnd() const { return Cur() == '\0'; }
    void SkipBlanksIf(bool multiLine);
    std::string ScanIdent(size_t maxLength);
    std::string ReadQuoted(size_t max);
    std::string ReadBareWord(size_t max);
    int32_t ReadValue(const char* label, const char* enumName, bool enumOnly, int16_t* status,
                      bool multiLine);
    void CheckRange(int32_t value, int32_t low, int32_t high, int16_t lowCode, int16_t highCode,
                    const char* label, const int16_t* status);
    void Fail(int16_t code, const char* text, size_t position, int32_t number);

    // Preprocessing.
    void RunDirective(size_t hash);
    void DefineDirective(size_t hash, int32_t kind);
    // The define value under the one-line rule: an expression on the directive's line, or
    // else the rest of that line as text.
    void DefineLineValue(const std::string& name, int32_t kind);
    // The rest of the line (at most max bytes kept, trailing blanks dropped); one quoted text
    // loses its quotes.
    std::string ReadLineText(size_t max);
    void ConditionalDirective(size_t hash, bool wantDefined);
    void EndifDirective(size_t hash);
    void EnumDeclaration(size_t start);
    bool AtEnumKeyword() const;
    void CutFrom(size_t start);
    // Forgets the spliced texts that end at or before offset.
    void PopFinishedIncludes(size_t at);
    bool LoadIncludeText(const char* type, int32_t id, std::string* text);
    static const char* ApplicationVersionText();
    void ReplaceText(size_t offset, size_t n, std::string_view with);
    void WriteBack();

    CRsrcBlock* source_ = nullptr;
    std::unique_ptr<CRawDefList> symbols_;
    uint32_t includeMask_;
    std::string text_;
    size_t pos_ = 0;
    int lockCount_ = 0;
    bool skipping_ = false;
    char type_[8] = {};
    int32_t id_ = -1;
    std::vector<Conditional> conditionals_;
    std::vector<size_t> includeEnds_; // end offsets of the spliced texts that are open
    int splices_ = 0;
    // The first name an expression could not look up, kept for the caller to report.
    struct UnknownName {
        size_t position;
        std::string name;
    };
    std::optional<UnknownName> unknownName_;
};
