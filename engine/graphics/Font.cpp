#include "engine/graphics/Font.h"

#include "engine/graphics/DrawEnv.h"

CFont::CFont(int16_t id, plat::FontHandle handle, int16_t size, int16_t style)
    : id_(id), handle_(std::move(handle)), style_(style), size_(size)
{
    if (handle_)
        charMap_ = CharMapFor(handle_->Metrics().charset);
}

CFont::~CFont() = default;

int32_t CFont::CharMapFor(uint8_t charset)
{
    if (charset == kShiftJisCharset || charset == plat::kSymbolCharset)
        return kCharMapNone;
    if (charset == plat::kOemCharset)
        return kCharMapPlain;
    return kCharMapTypographic;
}

CFontTable::~CFontTable()
{
    for (int32_t i = 0; i < fonts_.GetCount(); ++i)
        delete static_cast<CFont*>(fonts_.GetAt(i));
}

bool CFontTable::Add(CFont* font)
{
    if (!font || fonts_.IndexOf(font) >= 0)
        return false;
    return fonts_.Add(font);
}

CFont* CFontTable::Find(int16_t id)
{
    for (int32_t i = 0; i < fonts_.GetCount(); ++i)
        if (auto* font = static_cast<CFont*>(fonts_.GetAt(i)); font->GetId() == id)
            return font;
    return nullptr;
}

CFont* CFontTable::GetAt(int32_t index) { return static_cast<CFont*>(fonts_.GetAt(index)); }

int32_t CFontTable::GetCharMap(int16_t id)
{
    const CFont* font = Find(id);
    return font ? font->GetCharMap() : kCharMapTypographic;
}

bool CFontTable::RemoveById(int16_t id)
{
    CFont* font = Find(id);
    return font && RemoveAt(fonts_.IndexOf(font));
}

bool CFontTable::RemoveAt(int32_t index)
{
    if (index < 0 || index >= fonts_.GetCount())
        return false;
    fonts_.RemoveAt(index);
    return true;
}

int32_t GetFontCharMap(int16_t id)
{
    CFontTable* table = CDrawEnv::GetFontTable();
    return table ? table->GetCharMap(id) : kCharMapNone;
}
