// Reads arbitrary bytes as a sequence ("SEQ") and a cel table ("CEL") and plays every
// animation of the sequence on a sequence element over a fake clock, so that a count, an
// index or a chain of animations that the bytes make up can neither read past the blocks nor
// hang a step. The first byte splits the input: that many bytes (scaled) are the cel table.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/controls/anim/SeqWnd.h"
#include "engine/controls/anim/Sequence.h"
#include "engine/framework/Stopwatch.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Clock.h"

namespace {

constexpr int kStepsPerAnimation = 40;

std::unique_ptr<CMemory> Block(const uint8_t* data, size_t size)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(size));
    if (size)
        block->PutBytes(data, static_cast<int32_t>(size), 0);
    return block;
}

void Play(const uint8_t* data, size_t size)
{
    static plat::FakeClock clock(1000);
    plat::SetClock(&clock);
    CreateClocks();
    if (size < 1)
        return;
    const size_t celSize = std::min<size_t>(size - 1, data[0] * 2u);
    std::unique_ptr<CMemory> cels = Block(data + 1, celSize);
    std::unique_ptr<CMemory> seq = Block(data + 1 + celSize, size - 1 - celSize);
    auto* sequence = new CSequence(seq.get());
    auto* table = new CCelTable(cels.get());
    for (int16_t i = 0; i < sequence->GetAnimationCount(); ++i) {
        sequence->GetAnimation(i);
        sequence->GetFrame(sequence->GetFirstFrame(i));
    }
    CSeqWnd element(1, CPoint(100, 100), nullptr, nullptr, sequence, table, 0, true, false, 0);
    const int16_t last = std::min<int16_t>(sequence->GetAnimationCount(), 64);
    for (int16_t n = -1; n <= last; ++n) {
        element.QueueAnimation(n == last ? CSeqWnd::kNoAnimation : n);
        for (int step = 0; step < kStepsPerAnimation; ++step) {
            element.Step();
            clock.Advance(17 * 3);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 16))
        return 0;
    fuzz::Guarded([&] { Play(data, size); });
    return 0;
}
