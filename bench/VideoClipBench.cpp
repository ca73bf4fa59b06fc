// Decoding a 640 x 480 clip of 100 frames through the platform's clip layer (into a picture
// buffer, as the video frame plays it), beside FFmpeg's own decode loop over the same file
// in the same run. Both report frames per second (fps); the layer also reports x_ffmpeg, its
// speed over the plain loop's (1.0: as fast).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "platform/VideoClip.h"
#include "platform/VideoReference.h"
#include "tools/ClipEncoder.h"

#include "bench/References.h"

namespace {

constexpr int kFrames = 100;

// Moving boxes over a still backdrop of bands, a patch of noise and a palette that turns
// once: every block kind in proportions a cartoon clip might have.
ClipSource MakeClip()
{
    ClipSource clip;
    clip.width = benchref::kScreenWidth;
    clip.height = benchref::kScreenHeight;
    clip.fps = 15;
    std::mt19937 rng(5);
    for (int k = 0; k < kFrames; ++k) {
        ClipFrame f;
        f.pixels.resize(benchref::kScreenBytes);
        for (int y = 0; y < clip.height; ++y)
            for (int x = 0; x < clip.width; ++x) {
                uint8_t p = static_cast<uint8_t>(16 + y / 24);
                if (x > 500 && y > 360)
                    p = static_cast<uint8_t>(rng() % 64 + 100);
                const int bx = (x - k * 5) & 255;
                if (bx < 60 && y > 100 && y < 220)
                    p = (x + y) % 3 ? 200 : 201;
                if (std::abs(x - 320 - 100 * std::sin(k / 10.0)) < 40 && std::abs(y - 300) < 40)
                    p = static_cast<uint8_t>(220 + (x * y + k) % 20);
                f.pixels[static_cast<size_t>(y) * clip.width + x] = p;
            }
        for (int i = 0; i < 256; ++i) {
            f.palette[i * 3] = static_cast<uint8_t>(i);
            f.palette[i * 3 + 1] = static_cast<uint8_t>(k < 50 ? 255 - i : i / 2);
            f.palette[i * 3 + 2] = static_cast<uint8_t>(i * 3);
        }
        clip.frames.push_back(std::move(f));
    }
    return clip;
}

const std::filesystem::path& ClipPath()
{
    static const std::filesystem::path path = [] {
        const auto p =
            std::filesystem::temp_directory_path() / ("qm-videobench-" + std::to_string(getpid()) + ".smk");
        const std::vector<uint8_t> bytes = EncodeClip(MakeClip());
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::atexit([] { std::filesystem::remove(ClipPath()); });
        return p;
    }();
    return path;
}

void DecodePlainly() { benchmark::DoNotOptimize(plat::DecodeClipPlainly(ClipPath(), false)); }

void DecodeThroughLayer(std::vector<uint8_t>& picture)
{
    auto clip = plat::VideoClip::OpenFile(ClipPath(), plat::kClipAllTracks, nullptr);
    const plat::ClipTarget target{clip->Width(), clip->Width(), clip->Height(), picture.data(), false};
    clip->SetTarget(&target);
    for (int k = 0; k < clip->FrameCount(); ++k) {
        clip->DoFrame();
        clip->NextFrame();
    }
    benchmark::DoNotOptimize(picture.data());
}

// Frames per second of the benchmark's timed loop.
void ReportFps(benchmark::State& state)
{
    state.counters["fps"] =
        benchmark::Counter(kFrames * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

static void ClipLayerDecode(benchmark::State& state)
{
    std::vector<uint8_t> picture(benchref::kScreenBytes);
    ClipPath();
    benchref::RunAgainst(
        state, "x_ffmpeg", [&] { DecodeThroughLayer(picture); }, DecodePlainly);
    ReportFps(state);
}
BENCHMARK(ClipLayerDecode)->Unit(benchmark::kMillisecond);

static void FfmpegDecodeLoop(benchmark::State& state)
{
    ClipPath();
    for (auto _ : state)
        DecodePlainly();
    ReportFps(state);
}
BENCHMARK(FfmpegDecodeLoop)->Unit(benchmark::kMillisecond);
