#include "engine/resources/Registrar.h"

#include <string>
#include <vector>

#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/Str.h"

namespace {

std::vector<RegEntry>& Table()
{
    static std::vector<RegEntry> table;
    return table;
}

void Fail(const std::string& message, uint32_t line)
{
    ReportError(kReportFatal, message.c_str(), "regstrar", line);
}

} // namespace

CRegistrar::CRegistrar() { Clear(); }

CRegistrar::~CRegistrar() { Clear(); }

void CRegistrar::Clear() { Table().clear(); }

int16_t CRegistrar::GetCount() { return static_cast<int16_t>(Table().size()); }

int32_t CRegistrar::FindKind(int32_t kind)
{
    const std::vector<RegEntry>& table = Table();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].kind == kind)
            return static_cast<int32_t>(i);
    return -1;
}

void CRegistrar::Register(int32_t kind, ObjectFactory createObject, TemplateFactory readTemplate)
{
    if (FindKind(kind) < 0 && Table().size() < INT16_MAX)
        Table().push_back({kind, createObject, readTemplate});
}

CTObj* CRegistrar::ReadTemplate(int32_t kind, CRawParser* parser)
{
    if (Table().empty()) {
        Fail(GetEngineText(21) + GetEngineText(10), 146);
        return nullptr;
    }
    const int32_t i = FindKind(kind);
    if (i < 0)
        return nullptr; // the template list reports it
    const TemplateFactory read = Table()[static_cast<size_t>(i)].readTemplate;
    return read ? read(kind, parser) : nullptr;
}

CBaseObj* CRegistrar::CreateObject(int32_t kind, CTObj* tpl)
{
    if (Table().empty()) {
        Fail(GetEngineText(20) + GetEngineText(10), 107);
        return nullptr;
    }
    const int32_t i = FindKind(kind);
    if (i < 0) {
        Fail(GetEngineText(20) + GetEngineText(9) + CStr(kind, true).GetText(), 97);
        return nullptr;
    }
    const ObjectFactory create = Table()[static_cast<size_t>(i)].createObject;
    return create ? create(tpl) : nullptr;
}
