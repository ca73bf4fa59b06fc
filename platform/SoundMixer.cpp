#include "platform/SoundMixer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace plat {

namespace {

// Frames mixed per pass over the voices (each pass works out every voice's gains again).
constexpr uint32_t kChunkFrames = 1024;

// The left and right sides of a frame side by side, as the compiler's vector types, so that
// both take one instruction per step on any processor with pairs of doubles.
using Pair = double __attribute__((vector_size(16)));
using PairMask = int64_t __attribute__((vector_size(16)));
using PairInts = int32_t __attribute__((vector_size(8)));

// round-half-away-from-zero(x) of both sides for |x| below 2^31, as std::lround gives it,
// without its library call: x plus the double just below a half, with x's sign, truncated.
// The sum reaches the next whole number exactly when x's fraction is a half or more (a
// fraction just below a half stays below it, as the doubles there are finer than the gap).
inline PairInts RoundHalfAway(Pair x)
{
    constexpr double kJustBelowHalf = 0.49999999999999994; // 0.5 - 2^-54
    const PairMask signs = std::bit_cast<PairMask>(x) & PairMask{INT64_MIN, INT64_MIN};
    const PairMask half = std::bit_cast<PairMask>(Pair{kJustBelowHalf, kJustBelowHalf}) | signs;
    return __builtin_convertvector(x + std::bit_cast<Pair>(half), PairInts);
}

// Adds one frame's sides to the accumulator's left, right pair.
inline void Accumulate(int32_t* acc, Pair sides)
{
    PairInts sum;
    std::memcpy(&sum, acc, sizeof sum);
    sum += RoundHalfAway(sides);
    std::memcpy(acc, &sum, sizeof sum);
}

// Moves a voice on by one step; false when a voice that does not loop ran out.
inline bool Advance(MixVoice& v, uint32_t step, uint32_t count)
{
    v.fraction += step;
    v.frame += v.fraction >> 16;
    v.fraction &= 0xFFFF;
    if (v.frame < count)
        return true;
    if (v.looping) {
        v.frame %= count;
        return true;
    }
    v.playing = false;
    v.frame = 0;
    v.fraction = 0;
    return false;
}

// A voice's gains (left, right), divided by 65536: a sample interpolated at a fraction f
// between frames a and b is (a x 65536 + (b - a) x f) / 65536, and scaling by a power of two
// is exact, so sample x gain rounds to the same double whether the division comes first or
// last.
using Gains = Pair;

// The sample of one channel of a frame, on the 16-bit scale.
template <uint32_t kBits, uint32_t kChannels>
inline int32_t SampleOf(const uint8_t* data, size_t frame, uint32_t channel)
{
    const uint8_t* p = data + frame * (kChannels * kBits / 8) + channel * (kBits / 8);
    if constexpr (kBits == 8)
        return (static_cast<int32_t>(p[0]) - 128) * 256;
    else
        return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

// Adds n frames of a voice at 16.16 position pos, stepping by step, into acc. Every frame read
// (the one under each position and the one after it) lies inside the ring: the caller keeps
// the ring's end and its wrap for the frame-by-frame path.
template <uint32_t kBits, uint32_t kChannels>
void MixSpan(const uint8_t* data, uint64_t pos, uint32_t step, const Gains& gains, int32_t* acc, uint32_t n)
{
    constexpr uint32_t kRight = kChannels - 1;
    const auto sides = [data](size_t frame) {
        return Pair{static_cast<double>(SampleOf<kBits, kChannels>(data, frame, 0)),
                    static_cast<double>(SampleOf<kBits, kChannels>(data, frame, kRight))};
    };
    if (step == 0x10000 && (pos & 0xFFFF) == 0) {
        // The output's own rate: no fraction to interpolate by, frames one after another.
        const size_t first = pos >> 16;
        for (uint32_t i = 0; i < n; ++i)
            Accumulate(acc + 2 * i, 65536.0 * sides(first + i) * gains);
        return;
    }
    for (uint32_t i = 0; i < n; ++i, pos += step) {
        const size_t frame = pos >> 16;
        const double f = static_cast<double>(pos & 0xFFFF);
        const Pair at = sides(frame);
        Accumulate(acc + 2 * i, (65536.0 * at + (sides(frame + 1) - at) * f) * gains);
    }
}

using SpanRoutine = void (*)(const uint8_t*, uint64_t, uint32_t, const Gains&, int32_t*, uint32_t);

SpanRoutine PickSpan(const MixVoice& v)
{
    if (v.bits == 8)
        return v.channels == 2 ? &MixSpan<8, 2> : &MixSpan<8, 1>;
    return v.channels == 2 ? &MixSpan<16, 2> : &MixSpan<16, 1>;
}

// The ring's last frame, interpolated towards the frame that follows it: the ring's first
// when looping, else the last frame itself, which holds. Both are copied into a ring of two
// frames, so that the span reads inside it.
void MixLastFrame(const MixVoice& v, SpanRoutine span, const Gains& gains, int32_t* acc)
{
    const uint32_t frameBytes = v.FrameBytes();
    uint8_t pair[8];
    std::memcpy(pair, v.data + size_t{v.frame} * frameBytes, frameBytes);
    std::memcpy(pair + frameBytes, v.data + size_t{v.looping ? 0 : v.frame} * frameBytes, frameBytes);
    span(pair, v.fraction, 0x10000, gains, acc, 1);
}

// How many frames from the voice's position, at most n, read only frames before the ring's
// last (each reads the frame after its own).
uint32_t FramesBeforeEnd(const MixVoice& v, uint32_t count, uint32_t step, uint32_t n)
{
    const uint64_t limit = uint64_t{count - 1} << 16;
    const uint64_t pos = (uint64_t{v.frame} << 16) | v.fraction;
    if (pos >= limit)
        return 0;
    return static_cast<uint32_t>(std::min<uint64_t>(n, (limit - pos - 1) / step + 1));
}

// Adds up to n frames of the voice into acc (left, right pairs): whole spans between the
// ring's ends, and frame by frame at its end, where it wraps or stops.
void MixVoice1(MixVoice& v, int32_t* acc, uint32_t n)
{
    const uint32_t count = v.FrameCount();
    const uint32_t step = MixStep(v.rate);
    const Gains gains{MixGain(v.volume - std::max(v.pan, 0)) / 65536.0,
                      MixGain(v.volume - std::max(-v.pan, 0)) / 65536.0};
    const SpanRoutine span = PickSpan(v);
    for (uint32_t i = 0; i < n;) {
        const uint32_t m = FramesBeforeEnd(v, count, step, n - i);
        if (m > 0) {
            span(v.data, (uint64_t{v.frame} << 16) | v.fraction, step, gains, acc + 2 * i, m);
            // Onto the span's last position, then one step on as a single frame moves.
            const uint64_t last = ((uint64_t{v.frame} << 16) | v.fraction) + uint64_t{step} * (m - 1);
            v.frame = static_cast<uint32_t>(last >> 16);
            v.fraction = static_cast<uint32_t>(last & 0xFFFF);
            i += m;
        } else {
            MixLastFrame(v, span, gains, acc + 2 * i);
            ++i;
        }
        if (!Advance(v, step, count))
            return;
    }
}

bool Mixable(const MixVoice& v)
{
    return v.playing && v.data && (v.channels == 1 || v.channels == 2) && (v.bits == 8 || v.bits == 16) &&
           v.FrameCount() > 0 && v.rate > 0;
}

} // namespace

uint32_t MixStep(uint32_t rate) { return static_cast<uint32_t>(uint64_t{rate} * 65536u / kMixRate); }

double MixGain(int32_t volume)
{
    if (volume <= kSilentVolume)
        return 0.0;
    if (volume >= 0)
        return 1.0;
    return std::pow(10.0, static_cast<double>(volume) / 2000.0);
}

uint32_t FramesReadAhead(uint32_t rate, uint32_t frames)
{
    return static_cast<uint32_t>((uint64_t{MixStep(rate)} * frames >> 16) + 2);
}

void MixVoices(std::span<MixVoice> voices, int16_t* out, uint32_t frames)
{
    int32_t acc[2 * kChunkFrames];
    for (uint32_t done = 0; done < frames;) {
        const uint32_t n = std::min(kChunkFrames, frames - done);
        std::memset(acc, 0, sizeof(int32_t) * 2 * n);
        for (MixVoice& v : voices) {
            if (Mixable(v))
                MixVoice1(v, acc, n);
            else
                v.playing = false;
        }
        for (uint32_t i = 0; i < 2 * n; ++i)
            out[2 * done + i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
        done += n;
    }
}

} // namespace plat
