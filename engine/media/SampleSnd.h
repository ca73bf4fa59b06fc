#pragma once
// CSampleSnd: a sound streamed from the library file while it plays. It keeps its CSndStrm
// for its whole life and plays through a ring of at most two seconds, which a worker refills
// from the stream every refill period (200 ms at 22050 Hz for 8-bit mono), so a long sound
// costs no more memory than a short one. A sound that fits its ring whole plays without a
// worker. Made from a resource id and library mask, or from a stream it then owns (id -1).
// GetState is 3 when the resource was missing or no buffer could be made.
#include <cstdint>
#include <memory>

#include "engine/media/GameSound.h"
#include "engine/media/SndStrm.h"

class CSampleSnd : public CGameSound {
public:
    CSampleSnd(int32_t id, uint32_t libraryMask);
    explicit CSampleSnd(std::unique_ptr<CSndStrm> stream);
    ~CSampleSnd() override;

    // 3 without a stream, else as the buffer says.
    int16_t GetState() override;
    bool IsStreamed() const override { return true; }
    // Fills the ring from the range start and plays it, looping with a worker unless the
    // whole sound fit; 1, or 3 when there is no stream or buffer.
    int16_t StartPlayback() override;

protected:
    int32_t ReadSource(uint8_t* dest, int32_t count) override;
    void SeekSource(int32_t position) override;

private:
    void Load(std::unique_ptr<CSndStrm> stream);

    std::unique_ptr<CSndStrm> stream_;
};
