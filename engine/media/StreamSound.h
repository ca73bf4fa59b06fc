#pragma once
// CStreamSound: a sound decoded once into memory. It plays from one buffer that holds its
// whole play range, so replaying costs only a buffer fill; the buffer repeats by itself for
// a looping sound, and only a loop section needs the refill step. Made from a resource id
// and library mask, or from a stream it then owns (id -1); the stream is dropped once the
// sound is decoded. GetState is 3 when the resource was missing or no buffer could be made.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/media/GameSound.h"
#include "engine/media/SndStrm.h"

class CStreamSound : public CGameSound {
public:
    CStreamSound(int32_t id, uint32_t libraryMask);
    explicit CStreamSound(std::unique_ptr<CSndStrm> stream);
    ~CStreamSound() override;

    void Stop() override;
    // Level 0 is silence, 255 full: (level - 255) x 10 hundredths of a decibel.
    int16_t SetLevel(int32_t level) override;
    int16_t GetState() override;
    bool IsStreamed() const override { return false; }
    // Makes the buffer the size of the play range, fills it and plays it; 1, or 3 when
    // there is no buffer or it will not play.
    int16_t StartPlayback() override;
    bool Fill(uint8_t* dest, int32_t& count) override;

    const std::vector<uint8_t>& GetData() const { return data_; }

protected:
    // Back to the range start with the loop count to go.
    void Rewind();

private:
    void Load(std::unique_ptr<CSndStrm> stream);
    void Prime();
    // The play range within the data, and the loop section within it.
    void ClipRanges(int32_t& start, int32_t& end, int32_t& loopStart, int32_t& loopEnd) const;

    std::vector<uint8_t> data_;
    bool hasData_ = false;
    int32_t loopsLeft_ = 0;
    int32_t readPosition_ = 0;
};

// The level as a buffer volume in hundredths of a decibel: 0 -> -10000, 255 -> 0.
int32_t VolumeForLevel(int32_t level);
