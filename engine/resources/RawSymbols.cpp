#include "engine/resources/RawSymbols.h"

#include <algorithm>

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualTypes(std::string_view a, std::string_view b)
{
    a = a.substr(0, 3);
    b = b.substr(0, 3);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

} // namespace

std::vector<std::unique_ptr<RawSymbol>>::const_iterator CRawDefList::LowerBound(std::string_view name) const
{
    // std::string_view compares bytes as unsigned characters, the C library's order.
    return std::lower_bound(
        symbols_.begin(), symbols_.end(), name,
        [](const std::unique_ptr<RawSymbol>& s, std::string_view n) { return s->name < n; });
}

void CRawDefList::AddSymbol(std::string_view name, int32_t value, int32_t kind, std::string_view enumName,
                            std::string_view text)
{
    const bool replaces = kind == kSymRedefined || kind == kSymPredefined;
    if (kind == kSymRedefined)
        kind = kSymDefined;
    auto at = LowerBound(name);
    if (at != symbols_.end() && (*at)->name == name) {
        RawSymbol& present = **at;
        if (!replaces || present.kind == kSymEnumMember)
            return;
        present.value = value;
        present.text = text;
        present.numeric = text.empty();
        return;
    }
    auto symbol = std::make_unique<RawSymbol>();
    symbol->enumName = enumName;
    symbol->name = name;
    symbol->text = text;
    symbol->value = value;
    symbol->kind = kind;
    symbol->numeric = text.empty();
    symbols_.insert(at, std::move(symbol));
}

const RawSymbol* CRawDefList::Find(std::string_view name) const
{
    auto at = LowerBound(name);
    return (at != symbols_.end() && (*at)->name == name) ? at->get() : nullptr;
}

void CRawDefList::Remove(std::string_view name)
{
    auto at = LowerBound(name);
    if (at != symbols_.end() && (*at)->name == name)
        symbols_.erase(at);
}

CRawItemList& CRawItemList::Get()
{
    static CRawItemList list;
    return list;
}

void CRawItemList::Append(std::unique_ptr<RawDefSet> set) { sets_.push_back(std::move(set)); }

const RawDefSet* CRawItemList::Find(std::string_view type, int32_t id) const
{
    for (const auto& set : sets_)
        if (set->id == id && EqualTypes(set->type, type))
            return set.get();
    return nullptr;
}
