#include "platform/SoundMixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::MixVoice;

std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return bytes;
}

MixVoice Voice(const std::vector<uint8_t>& data, uint16_t channels, uint16_t bits, uint32_t rate = 22050)
{
    MixVoice v;
    v.data = data.data();
    v.size = static_cast<uint32_t>(data.size());
    v.channels = channels;
    v.bits = bits;
    v.rate = rate;
    v.playing = true;
    return v;
}

std::vector<int16_t> Mix(std::vector<MixVoice>& voices, uint32_t frames)
{
    std::vector<int16_t> out(2 * size_t{frames}, 12345);
    plat::MixVoices(voices, out.data(), frames);
    return out;
}

// The left or right side of mixed output.
std::vector<int16_t> Side(const std::vector<int16_t>& out, size_t side)
{
    std::vector<int16_t> s;
    for (size_t i = side; i < out.size(); i += 2)
        s.push_back(out[i]);
    return s;
}

TEST(SoundMixer, ConvertsEightBitSixteenBitMonoAndStereo)
{
    const std::vector<uint8_t> mono8{0, 128, 255, 1};
    std::vector<MixVoice> v{Voice(mono8, 1, 8)};
    EXPECT_EQ(Mix(v, 4), (std::vector<int16_t>{-32768, -32768, 0, 0, 32512, 32512, -32512, -32512}));

    const std::vector<uint8_t> stereo16 = Pcm16({1234, -4321, -32768, 32767});
    v = {Voice(stereo16, 2, 16)};
    EXPECT_EQ(Mix(v, 2), (std::vector<int16_t>{1234, -4321, -32768, 32767}));

    const std::vector<uint8_t> stereo8{0x90, 0x70};
    v = {Voice(stereo8, 2, 8)};
    EXPECT_EQ(Mix(v, 1), (std::vector<int16_t>{4096, -4096}));
}

TEST(SoundMixer, VolumeAndPanGains)
{
    const std::vector<uint8_t> data = Pcm16({10000, -10000});
    struct Case {
        int32_t volume, pan;
        int16_t left, right;
    } cases[] = {
        {0, 0, 10000, 10000},   {-600, 0, 5012, 5012},   // 10^(-0.3) = 0.501187
        {-10000, 0, 0, 0},                               // exactly silent
        {-9999, 0, 0, 0},                                // 0.00001 x 10000 rounds to 0
        {0, 600, 5012, 10000},                           // pan to the right lowers the left side
        {0, -600, 10000, 5012}, {-600, 600, 2512, 5012}, // both: 10^(-0.6) = 0.251189
        {0, 10000, 0, 10000},                            // the other side silent
        {-5000, 6000, 0, 32},                            // -11000 on the left is past silence
    };
    for (const Case& c : cases) {
        std::vector<MixVoice> v{Voice(data, 1, 16)};
        v[0].volume = c.volume;
        v[0].pan = c.pan;
        const std::vector<int16_t> out = Mix(v, 2);
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        EXPECT_EQ(out[0], c.left);
        EXPECT_EQ(out[1], c.right);
        EXPECT_EQ(out[2], -c.left);
        EXPECT_EQ(out[3], -c.right);
    }
}

TEST(SoundMixer, VoicesAddAndTheSumIsClamped)
{
    const std::vector<uint8_t> loud{255, 0, 160};
    const std::vector<uint8_t> quiet = Pcm16({100, -100, 5});
    std::vector<MixVoice> v{Voice(loud, 1, 8), Voice(loud, 1, 8), Voice(quiet, 1, 16)};
    EXPECT_EQ(Side(Mix(v, 3), 0), (std::vector<int16_t>{32767, -32768, 2 * 8192 + 5}));
}

TEST(SoundMixer, OtherRatesStepInFixedPointAndInterpolate)
{
    EXPECT_EQ(plat::MixStep(22050), 65536u);
    EXPECT_EQ(plat::MixStep(11025), 32768u);
    EXPECT_EQ(plat::MixStep(44100), 131072u);
    EXPECT_EQ(plat::MixStep(8000), 23777u); // 8000 x 65536 / 22050 = 23777.4

    // Half steps: each frame, then the midpoint to the next; the last frame holds, then the
    // voice stops and the rest is silence. Midpoints of 1 and -1 round away from zero.
    const std::vector<uint8_t> slow = Pcm16({0, 1000, 1, -2, -1});
    std::vector<MixVoice> v{Voice(slow, 1, 16, 11025)};
    EXPECT_EQ(Side(Mix(v, 12), 0), (std::vector<int16_t>{0, 500, 1000, 501, 1, -1, -2, -2, -1, -1, 0, 0}));
    EXPECT_FALSE(v[0].playing);
    EXPECT_EQ(v[0].frame, 0u);

    // Double steps take every other frame.
    const std::vector<uint8_t> fast = Pcm16({0, 100, 200, 300, 400, 500, 600, 700});
    v = {Voice(fast, 1, 16, 44100)};
    EXPECT_EQ(Side(Mix(v, 5), 1), (std::vector<int16_t>{0, 200, 400, 600, 0}));
}

TEST(SoundMixer, ALoopingRingWrapsAndInterpolatesAcrossItsEnd)
{
    const std::vector<uint8_t> ring = Pcm16({0, 300, 600});
    std::vector<MixVoice> v{Voice(ring, 1, 16)};
    v[0].looping = true;
    EXPECT_EQ(Side(Mix(v, 7), 0), (std::vector<int16_t>{0, 300, 600, 0, 300, 600, 0}));
    EXPECT_TRUE(v[0].playing);
    EXPECT_EQ(v[0].frame, 1u);

    v = {Voice(ring, 1, 16, 11025)};
    v[0].looping = true;
    v[0].frame = 2;
    EXPECT_EQ(Side(Mix(v, 4), 0), (std::vector<int16_t>{600, 300, 0, 150}));
}

TEST(SoundMixer, StoppedOrUnusableVoicesAddNothing)
{
    const std::vector<uint8_t> data{255, 255};
    std::vector<MixVoice> v{Voice(data, 1, 8), Voice(data, 3, 8), Voice(data, 1, 12), Voice(data, 2, 16)};
    v[0].playing = false;
    v[3].size = 3; // less than one frame
    EXPECT_EQ(Mix(v, 2), (std::vector<int16_t>{0, 0, 0, 0}));
}

} // namespace
