#include "engine/resources/ResourceKey.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

std::string ResourceFileName(const char* type, int32_t id, bool pattern)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern ? "%0*" PRId32 "*.%.3s" : "%0*" PRId32 ".%.3s", 6, id,
                  type ? type : "");
    return buf;
}

int32_t ResourceIdFromFileName(std::string_view name)
{
    name = name.substr(0, 6);
    size_t i = 0;
    const bool negative = !name.empty() && name[0] == '-';
    if (negative)
        ++i;
    int32_t value = 0;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
        value = value * 10 + (name[i] - '0');
    return negative ? -value : value;
}

bool IsSafeFolderType(const char* type)
{
    if (!type || !*type)
        return false;
    return std::strpbrk(type, "\\/:") == nullptr && std::strstr(type, "..") == nullptr;
}
