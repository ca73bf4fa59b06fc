#include "engine/media/GameSound.h"

#include <algorithm>
#include <cstring>

#include "platform/Clock.h"

namespace {
// How often the end-of-sound wait looks at the play cursor.
constexpr uint64_t kPlayOutPollMs = 5;
} // namespace

CGameSound::~CGameSound() = default;

int32_t VolumeForLevel(int32_t level)
{
    if (level <= 0) {
        return -10000;
    }
    if (level >= 255) {
        return 0;
    }
    return (level - 255) * 10;
}

void CGameSound::Stop()
{
    if (GetState() == kStatePlaying) {
        buffer_->Stop();
    }
    EndWorker();
}

int16_t CGameSound::SetLevel(int32_t level)
{
    level_ = level;
    if (!buffer_ || buffer_->SetVolume(VolumeForLevel(level)) != plat::SoundResult::Ok) {
        return 3;
    }
    return 0;
}

int16_t CGameSound::GetState()
{
    if (!buffer_) {
        return kStateNothing;
    }
    const uint32_t status = buffer_->GetStatus();
    if ((status & plat::kSoundStatusPlaying) != 0) {
        return kStatePlaying;
    }
    return (status & plat::kSoundStatusLost) != 0 ? kStateLost : kStateLoaded;
}

void CGameSound::TakeFormat(const CSndSource& stream)
{
    sampleRate_ = stream.GetSampleRate();
    bitsPerSample_ = stream.GetBitsPerSample();
    channels_ = stream.GetChannels();
    frameSize_ = static_cast<int16_t>(channels_ * (bitsPerSample_ / 8));
    level_ = stream.GetLevel();
}

bool CGameSound::StartWorker()
{
    EndWorker();
    workerState_ = kWorkerRunning;
    if (!worker_.Start([this] { RunWorker(); })) {
        workerState_ = kNoWorker;
        return false;
    }
    return true;
}

void CGameSound::EndWorker()
{
    int8_t running = kWorkerRunning;
    workerState_.compare_exchange_strong(running, kWorkerAskedToEnd);
    worker_.RequestStop();
    worker_.Join();
}

// The worker: a refill, then a wait of one refill period that a stop cuts short, until the
// sound is stopped (by the GUI thread, or by the refill step at the sound's end).
void CGameSound::RunWorker()
{
    const uint64_t period = static_cast<uint64_t>(std::max(1, refillPeriod_));
    while (workerState_.load() == kWorkerRunning) {
        Refill();
        if (workerState_.load() != kWorkerRunning) {
            break;
        }
        worker_.WaitUntil(plat::GetClock().NowMs() + period);
    }
    workerState_ = kNoWorker;
}

CGameSound::PlayPlan CGameSound::MakePlan() const
{
    const int32_t frame = std::max<int32_t>(1, frameSize_);
    const auto whole = [frame](int32_t position) { return position - position % frame; };
    const int32_t length = whole(std::max(0, length_));
    PlayPlan p;
    p.start = whole(std::clamp(rangeStart_, 0, length));
    p.end = whole(std::clamp(rangeEnd_, p.start, length));
    p.loopStart = whole(std::clamp(loopStart_, p.start, p.end));
    p.loopEnd = whole(std::clamp(loopEnd_, p.loopStart, p.end));
    p.hasSection = loopSet_ && p.loopEnd > p.loopStart;
    return p;
}

void CGameSound::Rewind()
{
    plan_ = MakePlan();
    readPosition_ = plan_.start;
    loopsLeft_ = loopCount_;
    SeekSource(plan_.start);
}

bool CGameSound::Prime()
{
    Rewind();
    bool ended = true;
    plat::SoundRegion first;
    plat::SoundRegion second;
    if (buffer_->Lock(0, buffer_->GetSize(), first, second) == plat::SoundResult::Ok) {
        int32_t count = static_cast<int32_t>(first.bytes);
        ended = Fill(first.data, count);
        std::memset(first.data + count, SilenceByte(), first.bytes - count);
        buffer_->Unlock(first, second);
    }
    buffer_->SetCurrentPosition(0);
    writePosition_ = 0;
    return ended;
}

// Delivers from the read position: the range start to the loop end, the loop section as
// many more times as the loop count says (without end when negative), then on to the range
// end; with the loop flag the whole again from the range start. It wraps as often as one call
// needs. The end of what the source holds counts as the range end; a pass that delivers
// nothing ends the sound even with the loop flag, so a call always returns.
bool CGameSound::Fill(uint8_t* dest, int32_t& count)
{
    const PlayPlan& p = plan_;
    readPosition_ = std::clamp(readPosition_, p.start, p.end);
    bool passDelivered = readPosition_ != p.start;
    int32_t written = 0;
    while (written < count) {
        const bool inLoop = p.hasSection && loopsLeft_ != 0 && readPosition_ < p.loopEnd;
        const int32_t want = std::min(count - written, (inLoop ? p.loopEnd : p.end) - readPosition_);
        const int32_t got = want > 0 ? std::clamp(ReadSource(dest + written, want), 0, want) : 0;
        written += got;
        readPosition_ += got;
        passDelivered = passDelivered || got > 0;
        if (got == want && inLoop && readPosition_ == p.loopEnd) {
            readPosition_ = p.loopStart;
            SeekSource(p.loopStart);
            if (loopsLeft_ > 0) {
                --loopsLeft_;
            }
        } else if (got < want || readPosition_ >= p.end) {
            if (!loop_ || !passDelivered) {
                count = written;
                return true;
            }
            readPosition_ = p.start;
            SeekSource(p.start);
            loopsLeft_ = loopCount_;
            passDelivered = false;
        }
    }
    count = written;
    return false;
}

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
// the worker is asked to end, or after the time the whole buffer takes to play. It waits on
// the clock as the worker does, so a stop cuts it short.
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
        if (!worker_.WaitUntil(clock.NowMs() + kPlayOutPollMs)) {
            break;
        }
    }
    Stop();
}
