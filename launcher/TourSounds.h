#pragma once
// The tour's three short sounds, played straight from the custom-data folder on one voice: a
// new sound cuts off the one playing and a missing file is silent.
#include <cstdint>

namespace tour {

enum TourSound : int16_t {
    kIntroSound = 0, // the first menu screen is shown
    kRollSound = 1,  // the pointer moves onto a launch item
    kClickSound = 2, // an item was chosen, before its command runs
};

// Plays sound n; any other number stops the sound playing. False when nothing plays.
bool PlayTourSound(int16_t n);

} // namespace tour
