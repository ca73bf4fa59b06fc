#include "engine/media/StreamSound.h"

#include <algorithm>
#include <cstring>

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

CStreamSound::~CStreamSound()
{
    CStreamSound::Stop();
    if (data_)
        block_.Unlock();
}

std::vector<uint8_t> CStreamSound::GetData() const
{
    return data_ ? std::vector<uint8_t>(data_, data_ + block_.GetSize()) : std::vector<uint8_t>();
}

void CStreamSound::Load(std::unique_ptr<CSndStrm> stream)
{
    if (!stream || !stream->IsFound()) {
        return;
    }
    SetLength(std::max(0, stream->Open(false)));
    if (length_ > 0) {
        data_ = block_.Resize(length_) ? static_cast<uint8_t*>(block_.Lock()) : nullptr;
        if (!data_)
            return; // no memory for the sound: no buffer, state 3
    }
    hasData_ = true;
    TakeFormat(*stream);
    // A resource that decodes short leaves silence behind what came.
    int32_t got = 0;
    while (got < length_) {
        int32_t count = length_ - got;
        const int16_t result = stream->Read(data_ + got, count);
        got += std::clamp(count, 0, length_ - got);
        if (result != 0 || count <= 0) {
            break;
        }
    }
    std::fill(data_ + got, data_ + length_, SilenceByte());
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
        // Without a worker nothing refills the buffer: it plays what it was primed with once,
        // or over and over with the loop flag.
        if (!StartWorker())
            buffer_->Play(loop_);
    }
    SetLevel(level_);
    return 1;
}

int32_t CStreamSound::ReadSource(uint8_t* dest, int32_t count)
{
    const int32_t left = data_ ? std::max(0, block_.GetSize() - readPosition_) : 0;
    const int32_t n = std::min(std::max(0, count), left);
    if (n > 0) {
        std::memcpy(dest, data_ + readPosition_, static_cast<size_t>(n));
    }
    return n;
}
