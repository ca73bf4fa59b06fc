#include "engine/framework/EngineStrings.h"

#include <cstdio>

#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"

namespace {

std::unique_ptr<CTplRec>& List()
{
    static std::unique_ptr<CTplRec> list;
    return list;
}

} // namespace

const char* GetEngineString(int32_t n)
{
    const CStr* entry = List() ? List()->GetEntry(n) : nullptr;
    return entry ? entry->GetText() : nullptr;
}

std::string GetEngineText(int32_t n)
{
    if (const char* text = GetEngineString(n))
        return text;
    char fallback[40];
    std::snprintf(fallback, sizeof fallback, "[engine message %d] ", n);
    return fallback;
}

void SetEngineStringList(std::unique_ptr<CTplRec> list) { List() = std::move(list); }

const CTplRec* GetEngineStringList() { return List().get(); }

void SetEngineStrings(const std::vector<std::string>& texts)
{
    auto list = std::make_unique<CTplRec>();
    for (const std::string& t : texts)
        list->Add(std::make_unique<CStr>(t.c_str()));
    SetEngineStringList(std::move(list));
}

void ClearEngineStrings() { SetEngineStringList(nullptr); }
