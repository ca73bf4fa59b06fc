#pragma once
// CGameSound: a sound that plays PCM through one sound buffer. It adds to CSndObj the buffer,
// the PCM format, a play range and a loop section (byte positions in the decoded sound), an
// optional marker table, and the refill step that keeps a looping buffer fed while it plays:
// new data is written behind the play cursor, and after the sound's end the buffer plays out
// the last data and the silence behind it before it is stopped. Where the data comes from is
// the subclasses' business (Fill).
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/media/SndMgr.h"
#include "engine/media/SndObj.h"
#include "platform/SoundDevice.h"

class CGameSound : public CSndObj, public CSndFormat {
public:
    // Worker states.
    static constexpr int8_t kNoWorker = -1;
    static constexpr int8_t kWorkerAskedToEnd = 0;
    static constexpr int8_t kWorkerRunning = 1;

    // One entry of the marker table: a sample-frame position and the marker's id.
    struct Marker {
        int32_t frame = 0;
        int32_t id = 0;
    };

    CGameSound() = default;
    // Releases the buffer. Subclasses end their worker before this runs.
    ~CGameSound() override;

    // Sets the buffer's pan to pan x 100 (pan -100..100) when loaded with a buffer; returns
    // the load status.
    int16_t SetPan(int32_t pan) override;
    void ClearLoop() override;
    void ClearRange() override;
    // A negative start plays the section without repeating it (count 0).
    void SetLoop(int32_t start, int32_t end, int32_t count) override;
    void SetRange(int32_t start, int32_t end) override;
    // Writes new data behind the play cursor; see GameSound.cpp.
    virtual void Refill();
    // Copies up to count bytes of sound data to dest, sets count to the bytes written and
    // returns true when the sound has ended.
    virtual bool Fill(uint8_t* dest, int32_t& count) = 0;

    // The length of the decoded sound in bytes; the play range then ends there.
    void SetLength(int32_t length);
    void SetMarkers(std::vector<Marker> markers) { markers_ = std::move(markers); }
    // SetLoop / SetRange between the positions of two markers: 0, or 3 when either id is
    // missing or the last lies before the first.
    int16_t SetLoopByMarkers(int32_t firstId, int32_t lastId, int32_t count);
    int16_t SetRangeByMarkers(int32_t firstId, int32_t lastId);

    int16_t GetChannels() const override { return channels_; }
    int32_t GetSampleRate() const override { return sampleRate_; }
    int16_t GetBitsPerSample() const override { return bitsPerSample_; }
    int16_t GetFrameSize() const { return frameSize_; }
    int32_t GetLength() const { return length_; }
    int32_t GetRangeStart() const { return rangeStart_; }
    int32_t GetRangeEnd() const { return rangeEnd_; }
    int32_t GetLoopStart() const { return loopStart_; }
    int32_t GetLoopEnd() const { return loopEnd_; }
    int32_t GetLoopCount() const { return loopCount_; }
    bool IsLoopSet() const { return loopSet_; }
    bool IsRangeSet() const { return rangeSet_; }
    int32_t GetWritePosition() const { return writePosition_; }
    int32_t GetBufferSize() const { return bufferSize_; }
    int32_t GetRefillPeriod() const { return refillPeriod_; }
    int8_t GetWorkerState() const { return workerState_.load(); }
    plat::SoundBuffer* GetBuffer() const { return buffer_.get(); }
    uint8_t SilenceByte() const { return bitsPerSample_ == 8 ? 0x80 : 0; }

protected:
    // The byte positions of two markers, or false.
    bool FindMarkers(int32_t firstId, int32_t lastId, int32_t& first, int32_t& last) const;
    // Fills one locked region; false when the sound ended in it (the rest is silence).
    bool FillRegion(const plat::SoundRegion& region, int32_t& written);
    // After the end: lets the buffer play out what was written, then stops the sound.
    void PlayOutAndStop();

    std::unique_ptr<plat::SoundBuffer> buffer_;
    int32_t writePosition_ = 0;
    int32_t bufferSize_ = 0;
    int32_t refillPeriod_ = 0;
    std::atomic<int8_t> workerState_{kNoWorker};
    int32_t rangeEnd_ = 0;
    int32_t rangeStart_ = 0;
    int32_t loopEnd_ = 0;
    int32_t loopStart_ = 0;
    int32_t sampleRate_ = 22050;
    int16_t bitsPerSample_ = 8;
    int32_t loopCount_ = 0;
    int16_t channels_ = 1;
    int16_t frameSize_ = 1;
    std::vector<Marker> markers_;
    bool loopSet_ = false;
    bool rangeSet_ = false;
    int32_t length_ = 0;
};
