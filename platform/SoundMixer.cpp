#include "platform/SoundMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat {

namespace {

constexpr uint32_t kChunkFrames = 256;

// The sample of one channel of a frame, on the 16-bit scale.
inline int32_t Sample(const MixVoice& v, uint32_t frame, uint32_t channel)
{
    const uint8_t* p = v.data + static_cast<size_t>(frame) * v.FrameBytes();
    if (v.bits == 8)
        return (static_cast<int32_t>(p[channel]) - 128) * 256;
    const uint8_t* s = p + 2 * channel;
    return static_cast<int16_t>(static_cast<uint16_t>(s[0] | (s[1] << 8)));
}

inline int32_t Scaled(double sample, double gain)
{
    return gain == 0.0 ? 0 : static_cast<int32_t>(std::lround(sample * gain));
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

// Adds up to n frames of the voice into acc (left, right pairs).
void MixVoice1(MixVoice& v, int32_t* acc, uint32_t n)
{
    const uint32_t count = v.FrameCount();
    const uint32_t step = MixStep(v.rate);
    const double left = MixGain(v.volume - std::max(v.pan, 0));
    const double right = MixGain(v.volume - std::max(-v.pan, 0));
    const uint32_t rightChannel = v.channels == 2 ? 1 : 0;
    for (uint32_t i = 0; i < n; ++i) {
        if (left != 0.0 || right != 0.0) {
            double l = Sample(v, v.frame, 0);
            double r = Sample(v, v.frame, rightChannel);
            if (v.fraction != 0) {
                // The frame after this one; the last frame of a ring played once holds.
                uint32_t next = v.frame + 1;
                if (next >= count)
                    next = v.looping ? 0 : v.frame;
                const double t = static_cast<double>(v.fraction) / 65536.0;
                l += (Sample(v, next, 0) - l) * t;
                r += (Sample(v, next, rightChannel) - r) * t;
            }
            acc[2 * i] += Scaled(l, left);
            acc[2 * i + 1] += Scaled(r, right);
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
