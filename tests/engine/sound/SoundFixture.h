#pragma once
// What the sound tests share: sample bytes that show where they came from, a folder library
// of "CSN" sounds made by the encoder, a sound device on the null output, and what the mixer
// played.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "tools/EngineLibrary.h"
#include "tools/SoundEncoder.h"

namespace soundtest {

using Bytes = std::vector<uint8_t>;

// Byte i of every test sound: distinct from its neighbours and never silence.
inline uint8_t Sample(int32_t i) { return static_cast<uint8_t>(i * 7 % 250 + 3); }
// Bytes from..to-1 of the test sound.
Bytes Samples(int32_t from, int32_t to);
Bytes Join(std::initializer_list<Bytes> parts);
// A sound resource of 22050 Hz 8-bit mono: bytes 0..length-1 of the test sound, full level,
// a seek point every 4096 bytes.
Bytes TestCsn(int32_t length);

class SoundFixture : public ::testing::Test {
protected:
    // Opens a sound device on the null output.
    void SetUp() override;
    // Opens a folder library holding the given "CSN" resources.
    void MakeLibrary(const std::vector<std::pair<int32_t, Bytes>>& sounds);
    // The left channel of what the mixer played since the last call, as 8-bit samples.
    static Bytes Played();

private:
    std::unique_ptr<EngineLibrary> library_;
};

} // namespace soundtest
