// CUtil's appenders: each grows a memory block by one value at its end, big-endian for the
// multi-byte ones.
#include <cstring>

#include "engine/framework/Memory.h"
#include "engine/framework/Util.h"

bool CUtil::AppendBytes(const void* source, int32_t n, CMemory* block)
{
    if (!block || n < 0 || (n > 0 && !source))
        return false;
    const int32_t oldSize = block->GetSize();
    if (n > INT32_MAX - oldSize)
        return false;
    // A block that cannot grow keeps its size; writing at the old end would then land past
    // the block, so nothing is written.
    if (!block->Resize(oldSize + n))
        return false;
    if (n == 0)
        return true;
    auto* data = static_cast<uint8_t*>(block->Lock());
    if (!data)
        return false;
    std::memcpy(data + oldSize, source, static_cast<size_t>(n));
    block->Unlock();
    return true;
}

bool CUtil::AppendLongBE(int32_t value, CMemory* block)
{
    const auto u = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u >> 24), static_cast<uint8_t>(u >> 16),
                              static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u)};
    return AppendBytes(bytes, 4, block);
}

bool CUtil::AppendShortBE(int16_t value, CMemory* block)
{
    const auto u = static_cast<uint16_t>(value);
    const uint8_t bytes[2] = {static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u)};
    return AppendBytes(bytes, 2, block);
}

bool CUtil::AppendCString(const char* text, CMemory* block)
{
    if (!text)
        return false;
    const size_t length = std::strlen(text) + 1;
    if (length > INT32_MAX)
        return false;
    return AppendBytes(text, static_cast<int32_t>(length), block);
}

bool CUtil::AppendByte(char value, CMemory* block) { return AppendBytes(&value, 1, block); }
