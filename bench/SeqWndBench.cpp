// The sequence elements of a screen: 50 elements of 32 x 32 sprite cels, each playing a
// four-frame animation that moves it to and fro, in a 640 x 480 animated frame over a
// full-screen background. One step lets every element show its next frame through the
// stretched sprite routine, restores the background where they were and copies the union
// to the window. Beside it, a memcpy of the full 8-bit screen.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/controls/anim/SeqWnd.h"
#include "engine/controls/anim/Sequence.h"
#include "engine/graphics/CelList.h"
#include "engine/graphics/RleImgSet.h"
#include "tools/SpriteEncoder.h"

#include "bench/AnimScreen.h"
#include "bench/References.h"

namespace {

constexpr int kElements = 50;
constexpr int kCelSize = 32;
constexpr int kCels = 4;

std::unique_ptr<CMemory> BlockOf(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    return block;
}

void PutBe16(std::vector<uint8_t>& out, int v)
{
    out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
    out.push_back(static_cast<uint8_t>(v & 0xFF));
}

// Four cels of a ring whose colour and hole change from cel to cel.
std::vector<uint8_t> Sprites()
{
    std::vector<SpriteCel> cels;
    for (int c = 0; c < kCels; ++c) {
        std::vector<uint8_t> p(kCelSize * kCelSize);
        for (int y = 0; y < kCelSize; ++y)
            for (int x = 0; x < kCelSize; ++x) {
                const int dx = x - 16, dy = y - 16, d = dx * dx + dy * dy;
                p[static_cast<size_t>(y * kCelSize + x)] =
                    d < 256 && d > 16 * (c + 1) ? static_cast<uint8_t>(30 + c * 10 + (x + y) % 5) : 0;
            }
        cels.push_back({kCelSize, kCelSize, EncodeRleCel({p.data(), kCelSize, kCelSize, kCelSize})});
    }
    return BuildRls(cels);
}

// One animation of four frames, each due at once, moving 3 pixels right twice, then left.
std::vector<uint8_t> Sequence()
{
    std::vector<uint8_t> out;
    for (const int v : {1, 0, 0, 0, kCels, kCels})
        PutBe16(out, v);
    for (int f = 0; f < kCels; ++f)
        for (const int v : {f, f < 2 ? 3 : -3, 0, 0, 0, 0})
            PutBe16(out, v);
    return out;
}

std::vector<uint8_t> Anchors()
{
    std::vector<uint8_t> out;
    PutBe16(out, kCels);
    for (int c = 0; c < kCels; ++c) {
        PutBe16(out, 16);
        PutBe16(out, 16);
    }
    return out;
}

void BM_SeqWndStep50Elements(benchmark::State& state)
{
    CWind* wnd = nullptr;
    CAnimFrame* anim = benchref::MakeAnimScreen(wnd);
    const std::vector<uint8_t> sprites = Sprites(), sequence = Sequence(), anchors = Anchors();
    std::vector<std::unique_ptr<CMemory>> blocks;
    for (int i = 0; i < kElements; ++i) {
        blocks.push_back(BlockOf(sequence));
        blocks.push_back(BlockOf(anchors));
        auto* images = new CRleImgSet(new CCelList(BlockOf(sprites)), 0);
        const CPoint at(static_cast<int16_t>(40 + (i * 53) % (benchref::kScreenWidth - 80)),
                        static_cast<int16_t>(40 + (i * 31) % (benchref::kScreenHeight - 80)));
        auto* element = new CSeqWnd(i + 1, at, anim, images, new CSequence(blocks[blocks.size() - 2].get()),
                                    new CCelTable(blocks.back().get()), 0, true, true, 0);
        anim->AddChild(element, false);
        element->SetAnimation(0);
    }
    benchref::TimeAnimSteps(state, anim, wnd);
}
BENCHMARK(BM_SeqWndStep50Elements)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes)->Unit(benchmark::kMicrosecond);

} // namespace
