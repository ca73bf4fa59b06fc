#pragma once
// CGameSound: a sound that plays PCM through one sound buffer. It adds to CSndObj the buffer,
// the PCM format, a play range and a loop section (byte positions in the decoded sound), an
// optional marker table, and the refill step that keeps a looping buffer fed while it plays:
// new data is written behind the play cursor, and after the sound's end the buffer plays out
// the last data and the silence behind it before it is stopped.
//
// A worker thread runs the refill step every refill period while the sound plays. The GUI
// thread starts it (StartWorker) and stops it: Stop asks it to end, cuts its wait short and
// joins it, so once Stop returns on the GUI thread only that thread touches the sound's data.
// At the sound's end the worker stops the sound itself; it is joined by the next Stop.
//
// Fill walks the play range and loop section as they were when playback started (Rewind),
// pulling the bytes from the subclass (ReadSource, SeekSource); the setters take effect at
// the next start.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/media/SndMgr.h"
#include "engine/media/SndObj.h"
#include "engine/resources/SndSource.h"
#include "platform/SoundDevice.h"
#include "platform/WorkerThread.h"

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
    // Releases the buffer. Subclasses stop (and so join their worker) before this runs.
    ~CGameSound() override;

    // Stops the buffer when it plays and ends the worker (joining it, unless called by the
    // worker itself).
    void Stop() override;
    // Level 0 is silence, 255 full: (level - 255) x 10 hundredths of a decibel. 0, or 3 when
    // there is no buffer or it refuses.
    int16_t SetLevel(int32_t level) override;
    // 3 without a buffer, else 1 playing, 4 lost or 0.
    int16_t GetState() override;

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
    // returns true when the sound has ended; see GameSound.cpp.
    virtual bool Fill(uint8_t* dest, int32_t& count);

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
    // The play range and loop section in force while the sound plays: clipped to the length,
    // the section into the range, all on whole frames.
    struct PlayPlan {
        int32_t start = 0;
        int32_t end = 0;
        int32_t loopStart = 0;
        int32_t loopEnd = 0;
        bool hasSection = false; // a loop section of at least one frame
    };

    // Up to count bytes from the read position; returns how many came (fewer only at the
    // end of the data).
    virtual int32_t ReadSource(uint8_t* dest, int32_t count) = 0;
    // Makes the next ReadSource start at the position.
    virtual void SeekSource(int32_t /*position*/) {}

    // The settings as they would play now.
    PlayPlan MakePlan() const;
    // Takes the plan and goes back to the range start with the loop count to go.
    void Rewind();
    // Rewinds and fills the whole buffer from its start (silence behind the end), with the
    // play cursor and write position at 0; true when the sound ended within it or no buffer
    // could be locked.
    bool Prime();
    // Rate, bits, channels, frame size and level from an opened stream.
    void TakeFormat(const CSndSource& stream);
    // Starts the worker: the refill step every refill period until the sound is stopped.
    // False when the system made no thread: nothing refills the buffer then.
    bool StartWorker();
    // Asks the worker to end and, unless called on it, waits until it has.
    void EndWorker();
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
    // Owned by the worker while it runs.
    PlayPlan plan_;
    int32_t readPosition_ = 0;
    int32_t loopsLeft_ = 0;

private:
    void RunWorker();

    plat::WorkerThread worker_;
};

// The level as a buffer volume in hundredths of a decibel: 0 -> -10000, 255 -> 0.
int32_t VolumeForLevel(int32_t level);
