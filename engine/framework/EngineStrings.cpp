#include "engine/framework/EngineStrings.h"

namespace {

std::vector<std::string>& Table()
{
    static std::vector<std::string> table;
    return table;
}

} // namespace

const char* GetEngineString(int32_t n)
{
    const auto& t = Table();
    return n >= 0 && static_cast<size_t>(n) < t.size() ? t[static_cast<size_t>(n)].c_str() : nullptr;
}

void SetEngineStrings(std::vector<std::string> strings) { Table() = std::move(strings); }

void ClearEngineStrings() { Table().clear(); }
