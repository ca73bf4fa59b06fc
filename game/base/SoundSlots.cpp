#include "game/base/SoundSlots.h"

#include <array>

#include "engine/framework/Options.h"
#include "engine/media/SampleSnd.h"
#include "engine/media/SndMgr.h"
#include "engine/media/SndObj.h"
#include "engine/media/StreamSound.h"
#include "engine/resources/LibMgr.h"
#include "platform/Clock.h"

namespace {

constexpr uint16_t kMusicFadeOut = 180;
constexpr int32_t kCrossFadeDelay = 480;
constexpr uint16_t kLevelFade = 20;

struct Slot {
    std::unique_ptr<CSndObj> sound;
    bool looping = false;
    uint8_t level = 0;
    uint32_t generation = 0;
};

std::array<Slot, kSoundSlotCount>& Slots()
{
    static std::array<Slot, kSoundSlotCount> slots;
    return slots;
}

SoundFactory& Factory()
{
    static SoundFactory factory;
    return factory;
}

// Flag 0x01 asks for the engine's CStreamSound (decoded into memory); without it the sound is
// a CSampleSnd, streamed from the library through its ring by a worker.
std::unique_ptr<CSndObj> GameSound(int32_t id, bool streamed)
{
    if (streamed)
        return std::make_unique<CStreamSound>(id, CLibMgr::kAllLibraries);
    return std::make_unique<CSampleSnd>(id, CLibMgr::kAllLibraries);
}

std::unique_ptr<CSndObj> MakeSound(int32_t id, uint32_t flags)
{
    const bool streamed = (flags & kSoundStreamed) != 0;
    std::unique_ptr<CSndObj> sound = Factory() ? Factory()(id, streamed) : GameSound(id, streamed);
    if (sound && sound->GetState() == kSoundFailed)
        return nullptr;
    return sound;
}

int16_t StateOf(CSndObj& sound) { return sound.IsPaused() ? kSoundPaused : sound.GetState(); }
bool Active(CSndObj& sound)
{
    const int16_t state = StateOf(sound);
    return state == kSoundPlaying || state == kSoundPaused;
}

void Empty(Slot& slot)
{
    slot.sound.reset();
    slot.looping = false;
    slot.level = 0;
    ++slot.generation;
}

SoundHandle Keep(int32_t index, std::unique_ptr<CSndObj> sound, bool looping, uint8_t level)
{
    Slot& slot = Slots()[static_cast<size_t>(index)];
    slot.sound = std::move(sound);
    slot.looping = looping;
    slot.level = level;
    ++slot.generation;
    return SoundHandle{static_cast<int16_t>(index), slot.generation};
}

int32_t FreeSlot(int32_t first)
{
    for (int32_t i = first; i < kSoundSlotCount; ++i)
        if (!Slots()[static_cast<size_t>(i)].sound)
            return i;
    return -1;
}

Slot* SlotOf(const SoundHandle& handle)
{
    if (handle.slot < 0 || handle.slot >= kSoundSlotCount)
        return nullptr;
    Slot& slot = Slots()[static_cast<size_t>(handle.slot)];
    return slot.sound && slot.generation == handle.generation ? &slot : nullptr;
}

int32_t Magnitude(int32_t id) { return id < 0 ? -id : id; }

// Stops and drops every sound that is not looping and fades the looping ones out; true when
// one was faded.
bool ClearForMusic()
{
    bool faded = false;
    for (int32_t i = 0; i < kSoundSlotCount; ++i) {
        Slot& slot = Slots()[static_cast<size_t>(i)];
        if (!slot.sound)
            continue;
        if (!slot.looping) {
            slot.sound->Stop();
            Empty(slot);
        } else {
            const SoundHandle handle{static_cast<int16_t>(i), slot.generation};
            FadeOutSounds(&handle, 0, kMusicFadeOut);
            faded = true;
        }
    }
    return faded;
}

} // namespace

void SetSoundFactory(SoundFactory factory) { Factory() = std::move(factory); }

CSndObj* GetSlotSound(SoundHandle handle)
{
    Slot* slot = SlotOf(handle);
    return slot ? slot->sound.get() : nullptr;
}

CSndObj* PeekSlot(int32_t slot)
{
    return slot >= 0 && slot < kSoundSlotCount ? Slots()[static_cast<size_t>(slot)].sound.get() : nullptr;
}

void PurgeSounds()
{
    for (Slot& slot : Slots())
        if (slot.sound && !Active(*slot.sound))
            Empty(slot);
}

SoundHandle PlaySoundEffect(int32_t id, uint32_t flags, uint8_t level, std::unique_ptr<CSndObj>* handedOver)
{
    if (!GetOption("soundon"))
        return {};
    const bool looping = (flags & kSoundLoop) != 0;
    PurgeSounds();
    const int32_t index = FreeSlot(0);
    if (index < 0)
        return {};
    std::unique_ptr<CSndObj> sound = MakeSound(id, flags);
    if (!sound)
        return {};
    sound->SetLevel(level);
    if (flags & kSoundHandOver) {
        if (handedOver)
            *handedOver = std::move(sound);
        return {};
    }
    sound->Play(looping);
    return Keep(index, std::move(sound), looping, level);
}

SoundHandle PlayMusic(int32_t id, uint32_t flags, uint8_t level, uint16_t fadeTime, bool crossFade,
                      std::unique_ptr<CSndObj>* handedOver)
{
    if (!GetOption("soundon"))
        return {};
    PurgeSounds();
    const bool looping = (flags & kSoundLoop) != 0;
    const int32_t delay = crossFade && ClearForMusic() ? kCrossFadeDelay : 0;
    const int32_t index = FreeSlot(1);
    if (index < 0)
        return {};
    std::unique_ptr<CSndObj> sound = MakeSound(id, flags);
    if (!sound)
        return {};
    sound->SetLevel(0);
    if (flags & kSoundHandOver) {
        sound->FadeTo(0, fadeTime, level);
        if (handedOver)
            *handedOver = std::move(sound);
        return {};
    }
    if (delay == 0)
        sound->Play(looping);
    else
        sound->SetLoopFlag(looping); // played when the delayed fade begins
    sound->FadeTo(delay, fadeTime, level);
    return Keep(index, std::move(sound), looping, level);
}

SoundHandle PlayMusicIfOn(int32_t id, uint32_t flags, uint8_t level, uint16_t fadeTime, bool crossFade,
                          std::unique_ptr<CSndObj>* handedOver)
{
    if (!GetOption("musicon"))
        return {};
    if (fadeTime == 0)
        return PlaySoundEffect(id, flags, level, handedOver);
    return PlayMusic(id, flags, level, fadeTime, crossFade, handedOver);
}

void StopSounds(const SoundHandle* handle, int32_t id)
{
    PurgeSounds();
    if (handle) {
        if (Slot* slot = SlotOf(*handle))
            slot->sound->Stop();
        return;
    }
    id = Magnitude(id);
    for (Slot& slot : Slots())
        if (slot.sound && Active(*slot.sound) && (id == 0 || slot.sound->GetId() == id))
            slot.sound->Stop();
}

void FadeOutSounds(const SoundHandle* handle, int32_t id, uint16_t time)
{
    PurgeSounds();
    if (handle) {
        if (Slot* slot = SlotOf(*handle)) {
            slot->sound->FadeOut(time);
            slot->looping = false;
        }
        return;
    }
    id = Magnitude(id);
    for (Slot& slot : Slots()) {
        if (!slot.sound || (id != 0 && slot.sound->GetId() != id))
            continue;
        const int16_t state = StateOf(*slot.sound);
        const bool fade = id == 0 ? (slot.looping && state == kSoundPlaying) : state == kSoundPlaying;
        if (fade) {
            slot.sound->FadeOut(time);
            slot.looping = false;
        } else if (id == 0 || state == kSoundPaused) {
            slot.sound->Stop();
        }
    }
}

void FadeOutMusic()
{
    if (!GetOption("soundon") || !GetOption("musicon"))
        return;
    PurgeSounds();
    ClearForMusic();
}

bool IsSoundInSlot(SoundHandle handle)
{
    PurgeSounds();
    return SlotOf(handle) != nullptr;
}

void StopAllSoundsAndDevice()
{
    StopSounds(nullptr, 0);
    CSndMgr::ReleaseDevice();
}

void StopAndEmptySlots(uint64_t maxMs)
{
    StopSounds(nullptr, 0);
    plat::Clock& clock = plat::GetClock();
    const uint64_t end = clock.NowMs() + maxMs;
    auto anyLeft = [] {
        for (Slot& slot : Slots())
            if (slot.sound)
                return true;
        return false;
    };
    // A sound that never reports its end is not waited for forever.
    while (true) {
        PurgeSounds();
        if (!anyLeft() || clock.NowMs() >= end)
            break;
        clock.SleepUntil(clock.NowMs() + 17);
    }
    DeleteAllSounds();
}

void DeleteAllSounds()
{
    for (Slot& slot : Slots())
        if (slot.sound)
            Empty(slot);
}

void FadeAllTo(uint8_t level)
{
    if (!GetOption("soundon"))
        return;
    for (Slot& slot : Slots())
        if (slot.sound)
            slot.sound->FadeTo(0, kLevelFade, level);
}

void RestoreLevels()
{
    for (Slot& slot : Slots())
        if (slot.sound)
            slot.sound->FadeTo(0, kLevelFade, slot.level);
}

void PauseAllSounds()
{
    for (Slot& slot : Slots())
        if (slot.sound)
            slot.sound->Pause();
}

void ResumeAllSounds()
{
    if (!GetOption("soundon"))
        return;
    for (Slot& slot : Slots())
        if (slot.sound)
            slot.sound->Resume();
}
