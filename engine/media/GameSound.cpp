#include "engine/media/GameSound.h"

#include <cstring>

#include "platform/Clock.h"

namespace {
// How often the end-of-sound wait looks at the play cursor.
constexpr uint64_t kPlayOutPollMs = 5;
} // namespace

CGameSound::~CGameSound() = default;

int16_t CGameSound::SetPan(int32_t pan)
{
    if (loadStatus_ == 0 && buffer_) {
        buffer_->SetPan(pan * 100);
    }
    return loadStatus_;
}

void CGameSound::ClearLoop()
{
    loopStart_ = rangeStart_;
    loopEnd_ = rangeEnd_;
    loopCount_ = 0;
    loopSet_ = false;
}

void CGameSound::ClearRange()
{
    rangeStart_ = 0;
    rangeEnd_ = length_;
    rangeSet_ = false;
}

void CGameSound::SetLoop(int32_t start, int32_t end, int32_t count)
{
    loopStart_ = start;
    loopEnd_ = end;
    loopCount_ = start < 0 ? 0 : count;
    loopSet_ = true;
}

void CGameSound::SetRange(int32_t start, int32_t end)
{
    rangeStart_ = start;
    rangeEnd_ = end;
    rangeSet_ = true;
}

void CGameSound::SetLength(int32_t length)
{
    length_ = length;
    rangeEnd_ = length;
}

bool CGameSound::FindMarkers(int32_t firstId, int32_t lastId, int32_t& first, int32_t& last) const
{
    bool foundFirst = false;
    bool foundLast = false;
    // A later entry with the same id wins.
    for (const Marker& m : markers_) {
        if (m.id == firstId) {
            first = m.frame * frameSize_;
            foundFirst = true;
        }
        if (m.id == lastId) {
            last = m.frame * frameSize_;
            foundLast = true;
        }
    }
    return foundFirst && foundLast && last >= first;
}

int16_t CGameSound::SetLoopByMarkers(int32_t firstId, int32_t lastId, int32_t count)
{
    int32_t first = 0;
    int32_t last = 0;
    if (!FindMarkers(firstId, lastId, first, last)) {
        return 3;
    }
    SetLoop(first, last, count);
    return 0;
}

int16_t CGameSound::SetRangeByMarkers(int32_t firstId, int32_t lastId)
{
    int32_t first = 0;
    int32_t last = 0;
    if (!FindMarkers(firstId, lastId, first, last)) {
        return 3;
    }
    SetRange(first, last);
    return 0;
}

bool CGameSound::FillRegion(const plat::SoundRegion& region, int32_t& written)
{
    written = static_cast<int32_t>(region.bytes);
    bool ended = Fill(region.data, written);
    if (written < 0) {
        written = 0;
    }
    if (written > static_cast<int32_t>(region.bytes)) {
        written = static_cast<int32_t>(region.bytes);
    }
    if (written < static_cast<int32_t>(region.bytes)) {
        std::memset(region.data + written, SilenceByte(), region.bytes - written);
        ended = true;
    }
    return !ended;
}

// Writes what the free space behind the play cursor holds; the writer stays one frame
// behind the cursor so that it never writes the frame being played.
void CGameSound::Refill()
{
    if (!buffer_) {
        return;
    }
    uint32_t play = 0;
    uint32_t unusedWrite = 0;
    buffer_->GetCurrentPosition(&play, &unusedWrite);
    const int32_t cursor = static_cast<int32_t>(play);
    const int32_t free = writePosition_ > cursor ? (bufferSize_ - writePosition_) + (cursor - frameSize_)
                                                 : (cursor - frameSize_) - writePosition_;
    if (free <= 0) {
        return;
    }
    plat::SoundRegion first;
    plat::SoundRegion second;
    plat::SoundResult result =
        buffer_->Lock(static_cast<uint32_t>(writePosition_), static_cast<uint32_t>(free), first, second);
    if (result == plat::SoundResult::BufferLost) {
        buffer_->Restore();
        result =
            buffer_->Lock(static_cast<uint32_t>(writePosition_), static_cast<uint32_t>(free), first, second);
    }
    if (result != plat::SoundResult::Ok) {
        return;
    }
    int32_t written = 0;
    bool playing = FillRegion(first, written);
    writePosition_ += written;
    if (playing && second.data != nullptr) {
        playing = FillRegion(second, written);
        writePosition_ = written;
    } else if (second.data != nullptr) {
        std::memset(second.data, SilenceByte(), second.bytes);
    }
    if (writePosition_ >= bufferSize_) {
        writePosition_ = 0;
    }
    buffer_->Unlock(first, second);
    if (!playing) {
        PlayOutAndStop();
    }
}

// Waits until the play cursor has reached the write position (or wrapped below where it was
// when the wait began), then stops. The wait also ends when the buffer stops playing, when
// the worker is asked to end, or after the time the whole buffer takes to play.
void CGameSound::PlayOutAndStop()
{
    plat::Clock& clock = plat::GetClock();
    const int32_t bytesPerSecond = sampleRate_ * frameSize_;
    const uint64_t limit =
        clock.NowMs() +
        (bytesPerSecond > 0 ? static_cast<uint64_t>(bufferSize_) * 1000 / bytesPerSecond : 0) +
        kPlayOutPollMs;
    uint32_t play = 0;
    uint32_t unusedWrite = 0;
    buffer_->GetCurrentPosition(&play, &unusedWrite);
    // A cursor beyond the write position first wraps round to it; from then on the wait ends
    // when it reaches the write position, or wraps below where it stood then.
    int32_t began = static_cast<int32_t>(play);
    bool passedBeyond = began <= writePosition_;
    while ((buffer_->GetStatus() & plat::kSoundStatusPlaying) != 0 &&
           workerState_.load() != kWorkerAskedToEnd && clock.NowMs() < limit) {
        buffer_->GetCurrentPosition(&play, &unusedWrite);
        const int32_t cursor = static_cast<int32_t>(play);
        if (!passedBeyond && cursor <= writePosition_) {
            passedBeyond = true;
            began = cursor;
        }
        if (passedBeyond && (cursor >= writePosition_ || cursor < began)) {
            break;
        }
        clock.SleepUntil(clock.NowMs() + kPlayOutPollMs);
    }
    Stop();
}
