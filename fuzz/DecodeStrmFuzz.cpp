// Reads arbitrary bytes as a block-coded sound stream from memory: sequentially in uneven
// pieces, then again after a seek. The output is capped, since a valid stream may claim
// billions of samples in a few bytes of repeated fills.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/resources/DecodeStrm.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

void ReadSome(CDecodeStrm& d, int32_t limit)
{
    std::vector<uint8_t> buf(777);
    for (int32_t total = 0; total < limit;) {
        int32_t count = static_cast<int32_t>(buf.size()) - total % 5;
        if (d.Read(buf.data(), count) != CDecodeStrm::kOk || count == 0)
            return;
        total += count;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20))
        return 0;
    fuzz::Guarded([&] {
        auto block = std::make_unique<CMemory>(static_cast<int32_t>(size));
        block->PutBytes(data, static_cast<int32_t>(size));
        CDecodeStrm d(std::make_unique<CMemStrm>(std::move(block), 0, 70));
        ReadSome(d, 1 << 18);
        d.SeekTo(size > 0 ? data[0] * 97 : 0);
        ReadSome(d, 1 << 16);
    });
    return 0;
}
