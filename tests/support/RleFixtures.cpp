#include "tests/support/RleFixtures.h"

#include <stdexcept>

#include "engine/framework/Memory.h"
#include "engine/resources/BigEndian.h"

namespace qmtest {

std::vector<uint8_t> MakeRls(const std::vector<RleCelSpec>& cels)
{
    if (cels.size() > 0x7FFF)
        throw std::logic_error("MakeRls: too many cels");
    std::vector<uint8_t> out;
    AppendBigEndian16(out, static_cast<uint16_t>(cels.size()));
    out.resize(2 + 12 * cels.size());
    for (size_t i = 0; i < cels.size(); ++i) {
        const size_t entry = 2 + 12 * i;
        PutBigEndian16(out.data() + entry, static_cast<uint16_t>(cels[i].height));
        PutBigEndian16(out.data() + entry + 2, static_cast<uint16_t>(cels[i].width));
        PutBigEndian32(out.data() + entry + 4, static_cast<uint32_t>(out.size()));
        PutBigEndian32(out.data() + entry + 8, static_cast<uint32_t>(cels[i].runs.size()));
        out.insert(out.end(), cels[i].runs.begin(), cels[i].runs.end());
    }
    return out;
}

void PutBe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    if (at + 4 > bytes.size())
        throw std::logic_error("PutBe32: outside the resource");
    PutBigEndian32(bytes.data() + at, value);
}

void PutBe16(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    if (at + 2 > bytes.size())
        throw std::logic_error("PutBe16: outside the resource");
    PutBigEndian16(bytes.data() + at, value);
}

std::unique_ptr<CMemory> BlockOf(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    return block;
}

} // namespace qmtest
