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
    TakeFormat(*stream);
    // A resource that decodes short leaves silence behind what came.
    int32_t got = 0;
    while (got < length_) {
        int32_t count = length_ - got;
        const int16_t result = stream->Read(data_.data() + got, count);
        got += std::clamp(count, 0, length_ - got);
        if (result != 0 || count <= 0) {
            break;
        }
    }
    std::fill(data_.begin() + got, data_.end(), SilenceByte());
    bufferSize_ = rangeEnd_;
    buffer_ = CSndMgr::CreateBuffer(*this, bufferSize_);
    loadStatus_ = 0;
}

int16_t CStreamSound::StartPlayback()
{
    EndWorker(); // a restart: the old worker is gone before the buffer is touched
    if (!hasData_ || !buffer_) {
        return 3; // nothing to play into
    }
    const PlayPlan plan = MakePlan();
    if (bufferSize_ != plan.end - plan.start) {
        buffer_.reset();
        bufferSize_ = plan.end - plan.start;
        buffer_ = CSndMgr::CreateBuffer(*this, bufferSize_);
        if (!buffer_) {
            return 3;
        }
    }
    Prime();
    const bool looping = loop_ || loopSet_;
    plat::SoundResult result = buffer_->Play(looping);
    if (result == plat::SoundResult::BufferLost) {
        buffer_->Restore();
        Prime();
        result = buffer_->Play(looping);
    }
    if (result != plat::SoundResult::Ok) {
        return 3;
    }
    if (loopSet_) {
        refillPeriod_ = static_cast<int32_t>(11025.0 / (sampleRate_ * frameSize_) * 100.0);
        StartWorker();
    }
    SetLevel(level_);
    return 1;
}

int32_t CStreamSound::ReadSource(uint8_t* dest, int32_t count)
{
    const int32_t left = std::max(0, static_cast<int32_t>(data_.size()) - readPosition_);
    const int32_t n = std::min(std::max(0, count), left);
    if (n > 0) {
        std::memcpy(dest, data_.data() + readPosition_, static_cast<size_t>(n));
    }
    return n;
}
