#include "engine/media/StreamSound.h"

#include <algorithm>
#include <cstring>
#include <new>

CStreamSound::CStreamSound(int32_t id, uint32_t libraryMask)
{
    id_ = id;
    Load(std::make_unique<CSndStrm>(id, libraryMask));
}

CStreamSound::CStreamSound(std::unique_ptr<CSndStrm> stream)
{
    id_ = -1;
    Load(std::move(stream));
}

CStreamSound::~CStreamSound() { CStreamSound::Stop(); }

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

void CStreamSound::Load(std::unique_ptr<CSndStrm> stream)
{
    if (!stream || !stream->IsFound()) {
        return;
    }
    SetLength(std::max(0, stream->Open(false)));
    try {
        data_.assign(static_cast<size_t>(length_), 0);
        hasData_ = true;
    } catch (const std::bad_alloc&) {
        return; // no data: state 3
    }
    sampleRate_ = stream->GetSampleRate();
    bitsPerSample_ = stream->GetBitsPerSample();
    channels_ = stream->GetChannels();
    frameSize_ = static_cast<int16_t>(channels_ * (bitsPerSample_ / 8));
    level_ = stream->GetLevel();
    // A resource that decodes short leaves silence behind what came.
    int32_t got = 0;
    while (got < length_) {
        int32_t count = length_ - got;
        const int16_t result = stream->Read(data_.data() + got, count);
        got += std::max(0, count);
        if (result != 0 || count <= 0) {
            break;
        }
    }
    std::fill(data_.begin() + got, data_.end(), SilenceByte());
    bufferSize_ = rangeEnd_;
    buffer_ = CSndMgr::CreateBuffer(*this, bufferSize_);
    loadStatus_ = 0;
}

void CStreamSound::Stop()
{
    if (GetState() == kStatePlaying) {
        buffer_->Stop();
    }
    int8_t running = kWorkerRunning;
    workerState_.compare_exchange_strong(running, kWorkerAskedToEnd);
}

int16_t CStreamSound::SetLevel(int32_t level)
{
    level_ = level;
    if (!buffer_ || buffer_->SetVolume(VolumeForLevel(level)) != plat::SoundResult::Ok) {
        return 3;
    }
    return 0;
}

int16_t CStreamSound::GetState()
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

void CStreamSound::ClipRanges(int32_t& start, int32_t& end, int32_t& loopStart, int32_t& loopEnd) const
{
    const int32_t length = static_cast<int32_t>(data_.size());
    start = std::clamp(rangeStart_, 0, length);
    end = std::clamp(rangeEnd_, start, length);
    loopStart = std::clamp(loopStart_, start, end);
    loopEnd = std::clamp(loopEnd_, loopStart, end);
}

void CStreamSound::Rewind()
{
    int32_t start = 0;
    int32_t end = 0;
    int32_t loopStart = 0;
    int32_t loopEnd = 0;
    ClipRanges(start, end, loopStart, loopEnd);
    readPosition_ = start;
    loopsLeft_ = loopCount_;
}

void CStreamSound::Prime()
{
    Rewind();
    plat::SoundRegion first;
    plat::SoundRegion second;
    if (buffer_->Lock(0, buffer_->GetSize(), first, second) == plat::SoundResult::Ok) {
        int32_t count = static_cast<int32_t>(first.bytes);
        Fill(first.data, count);
        std::memset(first.data + count, SilenceByte(), first.bytes - count);
        buffer_->Unlock(first, second);
    }
    buffer_->SetCurrentPosition(0);
    writePosition_ = 0;
}

int16_t CStreamSound::StartPlayback()
{
    if (!hasData_ || !buffer_) {
        return 3; // nothing to play into
    }
    int32_t start = 0;
    int32_t end = 0;
    int32_t loopStart = 0;
    int32_t loopEnd = 0;
    ClipRanges(start, end, loopStart, loopEnd);
    if (bufferSize_ != end - start) {
        buffer_.reset();
        bufferSize_ = end - start;
        buffer_ = CSndMgr::CreateBuffer(*this, bufferSize_);
        if (!buffer_) {
            return 3;
        }
    }
    Prime();
    bool looping = loop_;
    if (loopSet_) {
        looping = true;
        refillPeriod_ = static_cast<int32_t>(11025.0 / (sampleRate_ * frameSize_) * 100.0);
    }
    plat::SoundResult result = buffer_->Play(looping);
    if (result == plat::SoundResult::BufferLost) {
        buffer_->Restore();
        Prime();
        result = buffer_->Play(looping);
    }
    if (result != plat::SoundResult::Ok) {
        return 3;
    }
    SetLevel(level_);
    return 1;
}

// Copies from the read position: the range start to the loop end, the loop section as many
// more times as the loop count says (without end when negative), then on to the range end;
// with the loop flag the whole again from the range start. It wraps as often as one call
// needs, and never reads outside the data.
bool CStreamSound::Fill(uint8_t* dest, int32_t& count)
{
    int32_t start = 0;
    int32_t end = 0;
    int32_t loopStart = 0;
    int32_t loopEnd = 0;
    ClipRanges(start, end, loopStart, loopEnd);
    readPosition_ = std::clamp(readPosition_, start, end);
    int32_t written = 0;
    while (written < count) {
        const bool inLoop = loopSet_ && loopsLeft_ != 0 && loopEnd > loopStart && readPosition_ < loopEnd;
        const int32_t stop = inLoop ? loopEnd : end;
        const int32_t n = std::min(count - written, stop - readPosition_);
        std::memcpy(dest + written, data_.data() + readPosition_, static_cast<size_t>(n));
        written += n;
        readPosition_ += n;
        if (inLoop && readPosition_ == loopEnd) {
            readPosition_ = loopStart;
            if (loopsLeft_ > 0) {
                --loopsLeft_;
            }
        } else if (readPosition_ >= end) {
            if (!loop_ || end == start) {
                count = written;
                return true;
            }
            readPosition_ = start;
            loopsLeft_ = loopCount_;
        }
    }
    count = written;
    return false;
}
