#include "engine/media/SampleSnd.h"

#include <algorithm>

#include "engine/resources/DecodeStrm.h"

namespace {
// The ring holds this much sound.
constexpr double kRingSeconds = 2.0;
} // namespace

CSampleSnd::CSampleSnd(int32_t id, uint32_t libraryMask)
{
    id_ = id;
    Load(std::make_unique<CSndStrm>(id, libraryMask));
}

CSampleSnd::CSampleSnd(std::unique_ptr<CSndStrm> stream)
{
    id_ = -1;
    Load(std::move(stream));
}

CSampleSnd::~CSampleSnd() { CSampleSnd::Stop(); }

void CSampleSnd::Load(std::unique_ptr<CSndStrm> stream)
{
    if (!stream || !stream->IsFound()) {
        return; // no stream: state 3
    }
    stream_ = std::move(stream);
    SetLength(std::max(0, stream_->Open(true)));
    TakeFormat(*stream_);
    const int32_t bytesPerSecond = sampleRate_ * frameSize_;
    if (bytesPerSecond > 0) {
        bufferSize_ = std::min(static_cast<int32_t>(bytesPerSecond * kRingSeconds), rangeEnd_);
        buffer_ = CSndMgr::CreateBuffer(*this, bufferSize_);
        refillPeriod_ = static_cast<int32_t>(2.0 * 200.0 * 11025.0 / bytesPerSecond);
    }
    loadStatus_ = 0;
}

int16_t CSampleSnd::GetState() { return stream_ ? CGameSound::GetState() : kStateNothing; }

int16_t CSampleSnd::StartPlayback()
{
    EndWorker(); // a restart: the old worker is gone before the stream and buffer are touched
    if (!stream_ || !buffer_) {
        return 3;
    }
    bool ended = Prime();
    plat::SoundResult result = buffer_->Play(!ended);
    if (result == plat::SoundResult::BufferLost) {
        buffer_->Restore();
        ended = Prime();
        result = buffer_->Play(!ended);
    }
    // Without a worker nothing refills the ring: it plays once, not its first seconds over
    // and over.
    if (!ended && result == plat::SoundResult::Ok && !StartWorker()) {
        buffer_->Play(false);
    }
    SetLevel(level_);
    return 1;
}

int32_t CSampleSnd::ReadSource(uint8_t* dest, int32_t count)
{
    if (stream_->IsAtEnd()) {
        return 0;
    }
    int32_t n = count;
    const int16_t status = stream_->Read(dest, n);
    if (status != CDecodeStrm::kOk && status != CDecodeStrm::kEnd) {
        return 0; // a damaged stream ends here
    }
    return std::clamp(n, 0, count);
}

void CSampleSnd::SeekSource(int32_t position) { stream_->Seek(position); }
