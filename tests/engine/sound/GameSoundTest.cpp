#include "engine/media/GameSound.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "engine/media/SndMgr.h"
#include "platform/SoundDevice.h"
#include "tests/support/TestEnv.h"

namespace {

// A game sound over bytes in memory, with a buffer of its own size; it records every Fill.
class ListSound : public CGameSound {
public:
    ListSound(std::vector<uint8_t> data, int32_t bufferSize, int16_t bits = 8) : data_(std::move(data))
    {
        bitsPerSample_ = bits;
        frameSize_ = static_cast<int16_t>(bits / 8);
        SetLength(static_cast<int32_t>(data_.size()));
        bufferSize_ = bufferSize;
        buffer_ = CSndMgr::CreateBuffer(*this, bufferSize);
        loadStatus_ = buffer_ ? 0 : kNotLoaded;
    }
    ~ListSound() override { ListSound::Stop(); }

    bool Fill(uint8_t* dest, int32_t& count) override
    {
        asked.push_back(count);
        const int32_t left = static_cast<int32_t>(data_.size()) - read_;
        if (count > left) {
            count = left;
        }
        std::copy_n(data_.begin() + read_, count, dest);
        read_ += count;
        return false;
    }
    int32_t ReadSource(uint8_t*, int32_t) override { return 0; } // Fill above reads itself
    void Stop() override
    {
        ++stops;
        if (buffer_) {
            buffer_->Stop();
        }
    }
    int16_t SetLevel(int32_t level) override
    {
        level_ = level;
        return 0;
    }
    int16_t GetState() override { return 0; }
    int16_t StartPlayback() override { return 1; }

    void SetWritePosition(int32_t position) { writePosition_ = position; }
    // The buffer's bytes, read through a lock of the whole ring.
    std::vector<uint8_t> Ring()
    {
        plat::SoundRegion first;
        plat::SoundRegion second;
        EXPECT_EQ(buffer_->Lock(0, buffer_->GetSize(), first, second), plat::SoundResult::Ok);
        std::vector<uint8_t> bytes(first.data, first.data + first.bytes);
        buffer_->Unlock(first, second);
        return bytes;
    }

    std::vector<int32_t> asked;
    int stops = 0;

private:
    std::vector<uint8_t> data_;
    int32_t read_ = 0;
};

std::vector<uint8_t> Ramp(int32_t n)
{
    std::vector<uint8_t> bytes(n);
    for (int32_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<uint8_t>(i % 251 + 1);
    }
    return bytes;
}

class GameSoundTest : public ::testing::Test {
protected:
    void SetUp() override { CSndMgr::CreateDevice(); }
};

TEST_F(GameSoundTest, DefaultsRangesAndLoops)
{
    ListSound sound({}, 100);
    CGameSound& s = sound;
    EXPECT_EQ(s.GetSampleRate(), 22050);
    EXPECT_EQ(s.GetBitsPerSample(), 8);
    EXPECT_EQ(s.GetChannels(), 1);
    EXPECT_EQ(s.GetWorkerState(), CGameSound::kNoWorker);
    EXPECT_EQ(s.GetRefillPeriod(), 0);
    EXPECT_EQ(s.GetWritePosition(), 0);

    s.SetLength(5000);
    EXPECT_EQ(s.GetRangeEnd(), 5000);
    s.SetRange(1000, 4000);
    EXPECT_TRUE(s.IsRangeSet());
    s.SetLoop(-1, 3000, 5); // a negative start never repeats
    EXPECT_EQ(s.GetLoopCount(), 0);
    EXPECT_TRUE(s.IsLoopSet());
    s.SetLoop(2000, 3000, -1);
    EXPECT_EQ(s.GetLoopCount(), -1);
    s.ClearLoop();
    EXPECT_EQ(s.GetLoopStart(), 1000);
    EXPECT_EQ(s.GetLoopEnd(), 4000);
    EXPECT_EQ(s.GetLoopCount(), 0);
    EXPECT_FALSE(s.IsLoopSet());
    s.ClearRange();
    EXPECT_EQ(s.GetRangeStart(), 0);
    EXPECT_EQ(s.GetRangeEnd(), 5000);
    EXPECT_FALSE(s.IsRangeSet());
}

TEST_F(GameSoundTest, PanNeedsALoadedBuffer)
{
    ListSound sound({}, 100);
    EXPECT_EQ(sound.SetPan(-40), 0);
    EXPECT_EQ(sound.GetBuffer()->GetPan(), -4000);

    CSndMgr::ReleaseDevice();
    ListSound unloaded({}, 100); // no device: no buffer
    EXPECT_EQ(unloaded.SetPan(50), CSndObj::kNotLoaded);
}

TEST_F(GameSoundTest, MarkersGiveLoopsAndRangesInBytes)
{
    ListSound sound({}, 100, 16);
    EXPECT_EQ(sound.SetRangeByMarkers(1, 2), 3); // no table
    sound.SetMarkers({{100, 7}, {50, 9}, {300, 9}, {10, 4}, {20, 4}});
    struct Case {
        int32_t first, last;
        int16_t result;
        int32_t start, end;
    } cases[] = {
        {7, 9, 0, 200, 600},                                       // the later 9 wins
        {4, 7, 0, 40, 200},  {7, 7, 0, 200, 200}, {7, 5, 3, 0, 0}, // missing id
        {7, 4, 3, 0, 0},                                           // the last lies before the first
    };
    for (const Case& c : cases) {
        sound.SetRange(0, 0);
        EXPECT_EQ(sound.SetRangeByMarkers(c.first, c.last), c.result) << c.first << " " << c.last;
        EXPECT_EQ(sound.GetRangeStart(), c.start);
        EXPECT_EQ(sound.GetRangeEnd(), c.end);
    }
    sound.SetMarkers({{100, 9}, {50, 7}});
    EXPECT_EQ(sound.SetLoopByMarkers(7, 9, 2), 0);
    EXPECT_EQ(sound.GetLoopStart(), 100);
    EXPECT_EQ(sound.GetLoopEnd(), 200);
    EXPECT_EQ(sound.GetLoopCount(), 2);
    EXPECT_EQ(sound.SetLoopByMarkers(9, 7, 2), 3);
}

TEST_F(GameSoundTest, RefillWritesTheFreeSpaceBehindThePlayCursor)
{
    ListSound primed(Ramp(100000), 44100);
    primed.Refill(); // cursor 0, write 0: the free space is minus one frame
    EXPECT_TRUE(primed.asked.empty());

    ListSound sound(Ramp(100000), 44100);
    sound.SetWritePosition(1000);
    ASSERT_EQ(sound.GetBuffer()->SetCurrentPosition(400), plat::SoundResult::Ok);
    sound.Refill();
    EXPECT_EQ(sound.asked, (std::vector<int32_t>{43100, 399}));
    EXPECT_EQ(sound.GetWritePosition(), 399);
    const std::vector<uint8_t> ring = sound.Ring();
    const std::vector<uint8_t> data = Ramp(43499);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 43100, ring.begin() + 1000));
    EXPECT_TRUE(std::equal(data.begin() + 43100, data.end(), ring.begin()));
    EXPECT_EQ(sound.stops, 0);

    // Filling up to the end of the ring wraps the write position.
    ListSound toEnd(Ramp(100000), 1000);
    toEnd.SetWritePosition(500);
    toEnd.GetBuffer()->SetCurrentPosition(0);
    toEnd.Refill(); // cursor 0 lies behind: up to one frame before it, that is the ring's end
    EXPECT_EQ(toEnd.asked, (std::vector<int32_t>{499}));
    EXPECT_EQ(toEnd.GetWritePosition(), 999);
}

TEST_F(GameSoundTest, AfterTheEndComesSilenceAndTheSoundStops)
{
    for (const int16_t bits : {8, 16}) {
        ListSound sound(Ramp(300), 1000, bits);
        sound.GetBuffer()->SetCurrentPosition(600);
        sound.Refill();
        const std::vector<uint8_t> ring = sound.Ring();
        const uint8_t silence = bits == 8 ? 0x80 : 0;
        EXPECT_TRUE(std::equal(ring.begin(), ring.begin() + 300, Ramp(300).begin()));
        EXPECT_EQ(std::count(ring.begin() + 300, ring.begin() + 599, silence), 299) << bits;
        EXPECT_EQ(sound.stops, 1);
    }

    // A playing buffer plays out its last data and the silence behind it before it stops.
    ListSound sound(Ramp(3000), 22050);
    plat::SoundBuffer* buffer = sound.GetBuffer();
    sound.SetWritePosition(2000);
    buffer->SetCurrentPosition(1000);
    buffer->Play(true);
    sound.Refill(); // 3000 bytes of data up to 5000, the rest silence, then the wait
    EXPECT_EQ(sound.stops, 1);
    EXPECT_EQ(buffer->GetStatus() & plat::kSoundStatusPlaying, 0u);
    uint32_t play = 0;
    uint32_t write = 0;
    buffer->GetCurrentPosition(&play, &write);
    EXPECT_GE(play, 5000u); // it played the data out
    EXPECT_LT(play, 5300u); // and stopped soon after it
}

TEST_F(GameSoundTest, ALostBufferIsRestoredOnce)
{
    ListSound sound(Ramp(10000), 1000);
    sound.GetBuffer()->SetCurrentPosition(501);
    sound.GetBuffer()->LoseForTest();
    sound.Refill();
    EXPECT_EQ(sound.asked, (std::vector<int32_t>{500}));
    EXPECT_EQ(sound.GetBuffer()->GetStatus() & plat::kSoundStatusLost, 0u);
}

} // namespace
