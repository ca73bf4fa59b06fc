#include "engine/resources/RecReader.h"

#include <string>

#include "engine/framework/Str.h"
#include "engine/resources/TplRecLoader.h"

CRecReader::CRecReader(int32_t id) { LoadTplRec(*this, id, 0xFFFFFFFF, true); }

std::unique_ptr<CStr> CRecReader::NextLine(int16_t& index, int16_t n) const
{
    const size_t room = n > 1 ? static_cast<size_t>(n - 1) : 0;
    while (index >= 0 && index < GetEntryCount()) {
        const CStr* entry = GetEntry(index);
        ++index;
        const char* text = entry ? entry->GetText() : "";
        while (*text == ' ')
            ++text;
        std::string line;
        for (; *text && *text != '#' && *text != ';' && line.size() < room; ++text)
            line += *text;
        if (!line.empty())
            return std::make_unique<CStr>(line.c_str());
    }
    return nullptr;
}

int32_t CRecReader::GetNumber(int16_t i) const
{
    const CStr* entry = GetEntry(i);
    if (!entry)
        return -1;
    const CStr head(entry->GetText(), 6);
    int32_t value = 0;
    return head.ToLong(&value) ? value : -1;
}
