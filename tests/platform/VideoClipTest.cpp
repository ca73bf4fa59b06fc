#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <tuple>

#include "platform/SoundDevice.h"
#include "platform/VideoClip.h"
#include "platform/VideoReference.h"
#include "tests/support/ClipFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

struct LayerDecode {
    std::vector<Bytes> pictures;
    std::vector<std::array<uint8_t, 768>> palettes;
    std::array<Bytes, 8> sound;
};

// Every frame through the layer, in order, as the video tool plays it.
LayerDecode PlayThroughLayer(plat::VideoClip& clip)
{
    LayerDecode out;
    clip.SetSoundTap(
        [&](int t, const uint8_t* d, size_t n) { out.sound[t].insert(out.sound[t].end(), d, d + n); });
    Bytes picture(static_cast<size_t>(clip.Width()) * clip.Height());
    const plat::ClipTarget target{clip.Width(), clip.Width(), clip.Height(), picture.data(), false};
    clip.SetTarget(&target);
    for (int k = 0; k < clip.FrameCount(); ++k) {
        EXPECT_EQ(clip.CurrentFrame(), k);
        out.palettes.push_back(clip.Palette());
        clip.DoFrame();
        out.pictures.push_back(picture);
        clip.NextFrame();
    }
    clip.SetTarget(nullptr);
    clip.SetSoundTap(nullptr);
    return out;
}

class VideoClipTest : public testing::Test {
protected:
    fs::path Write(const ClipSource& clip, const std::string& name = "clip.smk")
    {
        const fs::path path = qmtest::TempDir() / name;
        qmtest::WriteClip(path, clip);
        return path;
    }
};

TEST_F(VideoClipTest, EveryBlockKindPaletteAndSoundFormatEqualsAPlainDecode)
{
    for (bool raw : {false, true})
        for (uint16_t bits : {8, 16})
            for (uint16_t channels : {1, 2}) {
                SCOPED_TRACE(testing::Message()
                             << (raw ? "raw " : "packed ") << bits << " bits, " << channels << " channels");
                ClipSource src = qmtest::ClipWithEveryBlockKind(32, 24, 5, 12);
                src.sound = qmtest::ClipSound(channels, bits, 11025, 4000);
                src.rawSound = raw;
                const fs::path path = Write(src);
                const auto plain = plat::DecodeClipPlainly(path);
                ASSERT_TRUE(plain);
                std::string error;
                auto clip = plat::VideoClip::OpenFile(path, plat::kClipAllTracks, nullptr, &error);
                ASSERT_TRUE(clip) << error;
                EXPECT_EQ(clip->Width(), 32);
                EXPECT_EQ(clip->Height(), 24);
                ASSERT_EQ(clip->FrameCount(), 5);
                const LayerDecode layer = PlayThroughLayer(*clip);
                ASSERT_EQ(plain->frames, 5);
                for (int k = 0; k < 5; ++k) {
                    SCOPED_TRACE(k);
                    EXPECT_EQ(layer.pictures[k], plain->pictures[k]);
                    EXPECT_EQ(layer.palettes[k], plain->palettes[k]);
                    EXPECT_EQ(layer.pictures[k], src.frames[k].pixels);
                    for (int i = 0; i < 768; ++i)
                        ASSERT_EQ(layer.palettes[k][i], qmtest::ShownColor(src.frames[k].palette[i])) << i;
                }
                EXPECT_EQ(layer.sound[1], plain->sound[1]);
                EXPECT_EQ(layer.sound[1], src.sound->data);
            }
}

TEST_F(VideoClipTest, GoingToAFrameEqualsAFreshDecodeBackwardsAndForwards)
{
    const fs::path path = Write(qmtest::ClipWithEveryBlockKind(16, 16, 6));
    const auto plain = plat::DecodeClipPlainly(path);
    auto clip = plat::VideoClip::OpenFile(path, plat::kClipAllTracks, nullptr);
    ASSERT_TRUE(clip && plain);
    Bytes picture(16 * 16);
    const plat::ClipTarget target{16, 16, 16, picture.data(), false};
    clip->SetTarget(&target);
    // n asked -> frame shown (1-based); below 1 is 1, past the count the last.
    const std::vector<std::pair<int, int>> steps = {{6, 6},  {2, 2},  {5, 5}, {5, 5}, {0, 1},
                                                    {-4, 1}, {99, 6}, {3, 3}, {1, 1}};
    for (const auto& [asked, shown] : steps) {
        SCOPED_TRACE(asked);
        clip->GoTo(asked);
        EXPECT_EQ(clip->CurrentFrame(), shown - 1);
        EXPECT_TRUE(clip->NewPalette());
        EXPECT_EQ(clip->Palette(), plain->palettes[shown - 1]);
        clip->DoFrame();
        EXPECT_EQ(picture, plain->pictures[shown - 1]);
        plat::Rect r;
        ASSERT_TRUE(clip->NextRect(r));
        EXPECT_EQ(r, (plat::Rect{0, 0, 16, 16}));
        EXPECT_FALSE(clip->NextRect(r));
    }
    // Doing the same frame again writes the same picture.
    std::fill(picture.begin(), picture.end(), 0);
    clip->DoFrame();
    EXPECT_EQ(picture, plain->pictures[0]);
}

TEST_F(VideoClipTest, ChangedRectanglesAreTheBoundingBoxOfChangedPixels)
{
    ClipSource src = qmtest::ClipWithEveryBlockKind(16, 16, 2);
    for (auto& f : src.frames)
        f.palette = src.frames[0].palette;
    src.frames.push_back(src.frames[1]); // nothing changes
    src.frames.push_back(src.frames[1]);
    src.frames.back().pixels[5 * 16 + 9] ^= 1; // one pixel
    src.frames.back().pixels[7 * 16 + 3] ^= 1; // and another
    src.frames.push_back(src.frames.back());
    src.frames.back().palette[0] = 99; // a palette change
    auto clip = plat::VideoClip::OpenMemory(EncodeClip(src), plat::kClipAllTracks, nullptr);
    ASSERT_TRUE(clip);
    // Frame 2 changes only below the still band; frame 3 repeats it; frame 4 changes two
    // pixels; frame 5 brings a new palette.
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        clip->DoFrame();
        plat::Rect r;
        const bool any = clip->NextRect(r);
        if (k == 0 || k == 4) {
            EXPECT_TRUE(any);
            EXPECT_EQ(r, (plat::Rect{0, 0, 16, 16}));
        } else if (k == 1) {
            EXPECT_TRUE(any);
            EXPECT_GE(r.top, 4);
        } else if (k == 2) {
            EXPECT_FALSE(any);
        } else {
            EXPECT_TRUE(any);
            EXPECT_EQ(r, (plat::Rect{3, 5, 10, 8}));
        }
        clip->NextFrame();
    }
}

TEST_F(VideoClipTest, FramesAreDueOneFrameTimeAfterTheLastOrAtOnceWhenLate)
{
    auto clip = plat::VideoClip::OpenMemory(EncodeClip(qmtest::ClipWithEveryBlockKind(8, 8, 3, 10)),
                                            plat::kClipAllTracks, nullptr);
    ASSERT_TRUE(clip);
    plat::FakeClock& clock = qmtest::Clock();
    const uint64_t t0 = clock.NowMs();
    EXPECT_FALSE(clip->Wait()); // the first at once
    clip->DoFrame();
    // (ms after the start, due?) then DoFrame when due.
    const std::vector<std::pair<uint64_t, bool>> steps = {
        {50, false},  {99, false}, {100, true}, {150, false}, {199, false}, {217, true},
        {299, false}, {300, true}, {650, true}, {749, false}, {750, true}};
    for (const auto& [at, due] : steps) {
        SCOPED_TRACE(at);
        clock.Set(t0 + at);
        EXPECT_EQ(!clip->Wait(), due);
        if (due)
            clip->DoFrame();
    }
    EXPECT_EQ(clip->Info().FrameTimeUs(), 100000);
}

TEST_F(VideoClipTest, AClipInAFileRangePlaysLikeItsFile)
{
    const Bytes bytes = EncodeClip(qmtest::ClipWithEveryBlockKind(16, 8, 4));
    const fs::path path = qmtest::TempDir() / "library.bin";
    {
        std::ofstream out(path, std::ios::binary);
        out << "HEADER-BYTES";
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out << "TRAILING";
    }
    auto inRange = plat::VideoClip::OpenRange(path, 12, static_cast<int64_t>(bytes.size()),
                                              plat::kClipAllTracks, nullptr);
    auto inMemory = plat::VideoClip::OpenMemory(bytes, plat::kClipAllTracks, nullptr);
    ASSERT_TRUE(inRange && inMemory);
    const LayerDecode a = PlayThroughLayer(*inRange);
    const LayerDecode b = PlayThroughLayer(*inMemory);
    EXPECT_EQ(a.pictures, b.pictures);
    EXPECT_EQ(a.palettes, b.palettes);
    EXPECT_FALSE(plat::VideoClip::OpenRange(path, 12, static_cast<int64_t>(bytes.size()) + 100,
                                            plat::kClipAllTracks, nullptr));
    EXPECT_FALSE(plat::VideoClip::OpenFile(qmtest::TempDir() / "missing.smk", plat::kClipAllTracks, nullptr));
}

TEST_F(VideoClipTest, BadClipsFailToOpenOrPlayWithoutHarm)
{
    ClipSource src = qmtest::ClipWithEveryBlockKind(16, 16, 4);
    src.sound = qmtest::ClipSound(2, 16, 8000, 2000);
    const Bytes good = EncodeClip(src);
    auto setLe32 = [](Bytes& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        int frames; // -1: does not open
    };
    const std::vector<Case> cases = {
        {"width 0", [&](Bytes& b) { setLe32(b, 4, 0); }, -1},
        {"height over 4096", [&](Bytes& b) { setLe32(b, 8, 4100); }, -1},
        {"no frames", [&](Bytes& b) { setLe32(b, 12, 0); }, -1},
        {"a huge frame count", [&](Bytes& b) { setLe32(b, 12, 0x7FFFFFFF); }, -1},
        {"not a clip", [&](Bytes& b) { b[0] = 'X'; }, -1},
        {"cut inside the first frame",
         [&](Bytes& b) {
             b.resize(b.size() - 1);
             b.resize(300);
         },
         -1},
        {"the last frame cut short", [&](Bytes& b) { b.resize(b.size() - 1); }, 3},
        {"the sound size understated", [&](Bytes& b) { setLe32(b, 24, 4); }, 4},
        {"damaged trees", [&](Bytes& b) { setLe32(b, 52, 2); }, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = good;
        c.damage(bytes);
        auto clip = plat::VideoClip::OpenMemory(bytes, plat::kClipAllTracks, nullptr);
        if (c.frames < 0) {
            EXPECT_FALSE(clip);
            continue;
        }
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->FrameCount(), c.frames);
        PlayThroughLayer(*clip);
    }
    // Garbled bytes anywhere after the header: plays or refuses, never more.
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        Bytes bytes = good;
        for (int n = 0; n < 8; ++n)
            bytes[104 + rng() % (bytes.size() - 104)] = static_cast<uint8_t>(rng());
        if (auto clip = plat::VideoClip::OpenMemory(bytes, plat::kClipAllTracks, nullptr)) {
            PlayThroughLayer(*clip);
            clip->GoTo(2);
            clip->DoFrame();
        }
    }
}

TEST_F(VideoClipTest, VolumeAndPanScaleEachSideOfTheTracksVoice)
{
    // A steady 16-bit level, so each side of the mixed output shows its gain.
    ClipSource src = qmtest::ClipWithEveryBlockKind(8, 8, 2, 10);
    PcmSound level;
    level.channels = 1;
    level.bits = 16;
    level.rate = 22050;
    for (int i = 0; i < 4410; ++i)
        level.data.insert(level.data.end(), {0x80, 0x3E}); // 16000
    src.sound = level;
    src.rawSound = true;
    const Bytes bytes = EncodeClip(src);
    // volume, pan -> left and right gain.
    const std::vector<std::tuple<int32_t, int32_t, double, double>> cases = {
        {32768, 32768, 1.0, 1.0},    {16384, 32768, 0.5, 0.5}, {32768, 0, 1.0, 0.0},
        {32768, 65536, 0.0, 1.0},    {32768, 49152, 0.5, 1.0}, {32768, 16384, 1.0, 0.5},
        {8192, 24576, 0.25, 0.1875}, {0, 32768, 0.0, 0.0},
    };
    for (const auto& [volume, pan, left, right] : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << volume << ", pan " << pan);
        auto device = plat::OpenSoundDevice(plat::SoundDevice::Output::Null);
        auto clip = plat::VideoClip::OpenMemory(bytes, plat::ClipTrackBit(1), device.get());
        ASSERT_TRUE(clip);
        clip->VolumePan(plat::kClipAllTracks, volume, pan);
        device->TakeOutput();
        clip->DoFrame();
        qmtest::Clock().Advance(40);
        const std::vector<int16_t> out = device->TakeOutput();
        ASSERT_GT(out.size(), 800u);
        EXPECT_NEAR(out[600], 16000 * left, 16000 * 0.002 + 1);
        EXPECT_NEAR(out[601], 16000 * right, 16000 * 0.002 + 1);
        // Sound off holds the voice; on again plays on.
        clip->SoundOnOff(false);
        qmtest::Clock().Advance(20);
        const std::vector<int16_t> held = device->TakeOutput();
        EXPECT_TRUE(std::all_of(held.begin(), held.end(), [](int16_t v) { return v == 0; }));
        clip->SoundOnOff(true);
        qmtest::Clock().Advance(20);
        EXPECT_NEAR(device->TakeOutput()[201], 16000 * right, 16000 * 0.002 + 1);
    }
}

} // namespace
