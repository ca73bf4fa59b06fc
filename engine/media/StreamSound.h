#pragma once
// CStreamSound: a sound decoded once into memory. It plays from one buffer that holds its
// whole play range, so replaying costs only a buffer fill; the buffer repeats by itself for
// a looping sound, and only a loop section needs a worker to refill it. Made from a resource
// id and library mask, or from a stream it then owns (id -1); the stream is dropped once the
// sound is decoded. GetState is 3 when the resource was missing, its memory could not be had
// or no buffer could be made.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/media/GameSound.h"
#include "engine/media/SndStrm.h"

class CStreamSound : public CGameSound {
public:
    CStreamSound(int32_t id, uint32_t libraryMask);
    explicit CStreamSound(std::unique_ptr<CSndStrm> stream);
    ~CStreamSound() override;

    bool IsStreamed() const override { return false; }
    // Makes the buffer the size of the play range, fills it and plays it, with a worker
    // for a loop section; 1, or 3 when there is no buffer or it will not play.
    int16_t StartPlayback() override;

    // A copy of the decoded sound.
    std::vector<uint8_t> GetData() const;

protected:
    int32_t ReadSource(uint8_t* dest, int32_t count) override;

private:
    void Load(std::unique_ptr<CSndStrm> stream);

    CMemory block_; // locked for the sound's life
    uint8_t* data_ = nullptr;
    bool hasData_ = false;
};
