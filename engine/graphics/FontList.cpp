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
        entry.id = static_cast<int16_t>(record.GetSignedNumber(e[0]));
        entry.style = static_cast<int16_t>(record.GetSignedNumber(e[1]));
        if (const CStr* face = record.GetString(e[2].offset))
            entry.face = *face;
        entry.size = static_cast<int16_t>(record.GetSignedNumber(e[3]));
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
