#include "launcher/TourSounds.h"

#include <iterator>

#include "platform/SoundFiles.h"

namespace tour {

bool PlayTourSound(int16_t n)
{
    static const char* const kFiles[] = {
        "TourData\\TourData.Cus\\Intro.wav",
        "TourData\\TourData.Cus\\Roll.wav",
        "TourData\\TourData.Cus\\Click.wav",
    };
    if (n < 0 || n >= static_cast<int16_t>(std::size(kFiles))) {
        plat::StopSoundFile();
        return false;
    }
    return plat::PlaySoundFile(kFiles[n]);
}

} // namespace tour
