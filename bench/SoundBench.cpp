// Mixing sound and decoding "CSN" sound resources, each reporting its ratio to a memcpy of the
// same bytes (x_memcpy), beside that memcpy.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/media/SndStrm.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "platform/Files.h"
#include "platform/SoundMixer.h"
#include "tools/SoundEncoder.h"

#include "bench/References.h"

namespace {

constexpr int kVoices = 16;
constexpr uint32_t kSecond = plat::kMixRate;
constexpr size_t kMixedBytes = size_t{kSecond} * 4; // one second of 16-bit stereo output

// A second of a tone per voice, at different pitches, panned around.
void MixSixteenVoices(benchmark::State& state, uint32_t rate)
{
    std::vector<std::vector<uint8_t>> rings(kVoices);
    std::vector<plat::MixVoice> voices(kVoices);
    for (int i = 0; i < kVoices; ++i) {
        const bool wide = i % 2 == 1;
        for (uint32_t f = 0; f < rate; ++f) {
            const double v = std::sin(static_cast<double>(f) * (0.01 + 0.003 * i));
            if (wide) {
                const auto s = static_cast<int16_t>(v * 8000);
                for (int side = 0; side < 2; ++side) {
                    rings[i].push_back(static_cast<uint8_t>(s & 0xFF));
                    rings[i].push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
                }
            } else {
                rings[i].push_back(static_cast<uint8_t>(128 + v * 60));
            }
        }
        plat::MixVoice& m = voices[i];
        m.data = rings[i].data();
        m.size = static_cast<uint32_t>(rings[i].size());
        m.channels = wide ? 2 : 1;
        m.bits = wide ? 16 : 8;
        m.rate = rate;
        m.volume = -100 * i;
        m.pan = 600 * (i - kVoices / 2);
        m.playing = true;
        m.looping = true;
    }
    std::vector<int16_t> out(2 * size_t{kSecond});
    benchref::RunVsMemcpy(state, kMixedBytes, [&] {
        plat::MixVoices(voices, out.data(), kSecond);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kMixedBytes));
}
BENCHMARK_CAPTURE(MixSixteenVoices, at22050, 22050)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MixSixteenVoices, at11025, 11025)->Unit(benchmark::kMillisecond);

// Reference: copying one second of mixed output.
BENCHMARK_CAPTURE(MemcpyReference, mixedSecond, kMixedBytes);

// Ten seconds of 16-bit stereo music-like sound, coded in mode 2 with seek points, in a
// folder library of its own.
class CsnLibrary {
public:
    CsnLibrary()
    {
        folder_ = std::filesystem::temp_directory_path() / ("qmsndbench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "CSN");
        pcm_.channels = 2;
        pcm_.bits = 16;
        pcm_.rate = 22050;
        for (uint32_t f = 0; f < 10 * pcm_.rate; ++f)
            for (int side = 0; side < 2; ++side) {
                const double t = static_cast<double>(f);
                const auto s = static_cast<int16_t>(9000 * std::sin(t * 0.031) +
                                                    3000 * std::sin(t * (0.17 + side * 0.01)));
                pcm_.data.push_back(static_cast<uint8_t>(s & 0xFF));
                pcm_.data.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
            }
        CsnOptions options;
        options.mode = 2;
        options.seekEvery = 65536;
        const std::vector<uint8_t> csn = EncodeCsn(pcm_, options);
        std::ofstream(folder_ / "CSN" / "000001.CSN", std::ios::binary)
            .write(reinterpret_cast<const char*>(csn.data()), static_cast<std::streamsize>(csn.size()));
        plat::SetDrives({{'C', folder_, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\"));
    }
    ~CsnLibrary()
    {
        SetLibMgr(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    CsnLibrary(const CsnLibrary&) = delete;
    CsnLibrary& operator=(const CsnLibrary&) = delete;
    const std::vector<uint8_t>& Pcm() const { return pcm_.data; }

private:
    std::filesystem::path folder_;
    PcmSound pcm_;
};

void DecodeCsn(benchmark::State& state, bool fromFile)
{
    const CsnLibrary library;
    std::vector<uint8_t> out(library.Pcm().size());
    benchref::RunVsMemcpy(state, out.size(), [&] {
        CSndStrm sound(1, 0xFFFFFFFF);
        sound.Open(fromFile);
        for (size_t done = 0; done < out.size();) {
            int32_t count = 16384;
            const int16_t status = sound.Read(out.data() + done, count);
            done += static_cast<size_t>(count);
            if (status != 0)
                break;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    });
    if (out != library.Pcm())
        state.SkipWithError("the decoded sound differs from the samples");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(out.size()));
}
BENCHMARK_CAPTURE(DecodeCsn, fromMemory, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeCsn, fromFile, true)->Unit(benchmark::kMillisecond);

// Reference: copying the decoded bytes.
BENCHMARK_CAPTURE(MemcpyReference, decodedSound, size_t{10} * 22050 * 4);

} // namespace
