#include "engine/graphics/FontList.h"

#include <memory>

#include "engine/resources/FormatList.h"
#include "engine/resources/TextRsrc.h"

namespace {

bool IsString(const CTextRsrc::Item& item) { return item.code == kFmtString || item.code == kFmtFString; }

bool IsNumber(const CTextRsrc::Item& item)
{
    return !IsString(item) && item.code != kFmtList && item.code != kFmtSizeList;
}

// A number item read at its size, signed, kept to 16 bits.
int16_t ReadNumber(CTextRsrc& record, const CTextRsrc::Item& item)
{
    switch (CTextRsrc::GetItemSize(item)) {
    case 1: {
        int8_t v = 0;
        record.GetBytes(&v, 1, item.offset);
        return v;
    }
    case 2: {
        int16_t v = 0;
        record.GetBytes(&v, 2, item.offset);
        return v;
    }
    default: {
        int32_t v = 0;
        record.GetBytes(&v, 4, item.offset);
        return static_cast<int16_t>(v);
    }
    }
}

} // namespace

FontList ReadFontList(CTextRsrc& record)
{
    FontList list;
    const std::vector<CTextRsrc::Item>& items = record.GetItems();
    if (items.empty() || items[0].code != kFmtList)
        return list;
    int32_t count = 0;
    record.GetBytes(&count, 4, items[0].offset);
    for (size_t i = 1; i + 3 < items.size() && static_cast<int32_t>(list.size()) < count; i += 4) {
        const CTextRsrc::Item* e = &items[i];
        if (!IsNumber(e[0]) || !IsNumber(e[1]) || !IsString(e[2]) || !IsNumber(e[3]))
            break;
        FontListEntry entry;
        entry.id = ReadNumber(record, e[0]);
        entry.style = ReadNumber(record, e[1]);
        if (const CStr* face = record.GetString(e[2].offset))
            entry.face = *face;
        entry.size = ReadNumber(record, e[3]);
        list.push_back(std::move(entry));
    }
    return list;
}

bool LoadFontList(FontList& out)
{
    std::unique_ptr<CTextRsrc> record = CTextRsrc::Create("FTL", 128, 0xFFFFFFFFu, false);
    if (!record)
        return false;
    out = ReadFontList(*record);
    return true;
}
