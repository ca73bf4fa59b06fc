#pragma once
// Symbol tables of the definition-text parser: defined constants, text constants,
// enumeration members and the predefined symbols, and the program-wide list of
// definition sets parsed once at start-up and merged into any text that includes them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Kinds of symbols.
enum : int32_t {
    kSymEnumMember = 0,
    kSymDefined = 1,
    kSymRedefined = 2, // only as an argument: stored as kSymDefined, replaces an earlier value
    kSymPredefined = 3,
};

struct RawSymbol {
    std::string enumName; // the enumeration a member belongs to; empty otherwise
    std::string name;
    std::string text; // the string value; empty when the symbol has no text
    int32_t value = 0;
    int32_t kind = kSymDefined;
    bool numeric = true; // true when the symbol has no text; only these take part in expressions
};

// The symbol table: symbols kept sorted by name in byte order.
class CRawDefList {
public:
    // Adds a symbol. Kinds 2 and 3 replace the value and text of a present symbol that is
    // not an enumeration member; every other call leaves a present symbol as it is.
    void AddSymbol(std::string_view name, int32_t value, int32_t kind, std::string_view enumName,
                   std::string_view text);
    const RawSymbol* Find(std::string_view name) const;
    void Remove(std::string_view name);
    int32_t GetCount() const { return static_cast<int32_t>(symbols_.size()); }
    const RawSymbol& GetAt(int32_t i) const { return *symbols_[static_cast<size_t>(i)]; }

private:
    std::vector<std::unique_ptr<RawSymbol>>::const_iterator LowerBound(std::string_view name) const;

    std::vector<std::unique_ptr<RawSymbol>> symbols_;
};

// A definition set: the symbols of one resource, parsed once and kept for the program's life.
struct RawDefSet {
    CRawDefList symbols;
    int32_t id = 0;
    char type[4] = {}; // the first three characters of the resource type and a zero
};

// The program-wide list of definition sets.
class CRawItemList {
public:
    static CRawItemList& Get();
    void Append(std::unique_ptr<RawDefSet> set);
    // The first set of that type (letter case ignored) and id, or null.
    const RawDefSet* Find(std::string_view type, int32_t id) const;
    int32_t GetCount() const { return static_cast<int32_t>(sets_.size()); }
    void Clear() { sets_.clear(); }

private:
    std::vector<std::unique_ptr<RawDefSet>> sets_;
};
