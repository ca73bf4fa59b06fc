#pragma once
// The game's four sound slots, through which every screen plays its effects and music. Slot 0
// takes effects only, music uses slots 1-3. A sound stays in its slot from its start until a
// purge finds it neither playing nor paused, and is deleted then.
//
// Screens keep a SoundHandle, not the sound: a purge may free a sound at any time and a new
// one may take its place (and even its address), so a handle gives its sound only while that
// sound is still in its slot.
#include <cstdint>
#include <functional>
#include <memory>

class CSndObj;

// Bits of a play request.
constexpr uint32_t kSoundStreamed = 0x01; // made as a CStreamSound, else a CSampleSnd
constexpr uint32_t kSoundLoop = 0x04;
constexpr uint32_t kSoundHandOver = 0x20; // not played, not kept: the caller owns the sound

constexpr int32_t kSoundSlotCount = 4;
// Sound states the slots test.
constexpr int16_t kSoundPlaying = 1;
constexpr int16_t kSoundPaused = 2;
constexpr int16_t kSoundFailed = 3;

struct SoundHandle {
    int16_t slot = -1;
    uint32_t generation = 0;
    explicit operator bool() const { return slot >= 0; }
};

// Makes the sound of a resource (streamed: by flag 0x01); the slots' only source of sounds.
using SoundFactory = std::function<std::unique_ptr<CSndObj>(int32_t id, bool streamed)>;
// Replaces the factory (tests); an empty one puts the game's back.
void SetSoundFactory(SoundFactory factory);

// The sound of the handle while it is still in its slot, else null.
CSndObj* GetSlotSound(SoundHandle handle);
// The slot's sound (null for an empty slot or a slot out of range).
CSndObj* PeekSlot(int32_t slot);

// With "soundon": the sound in the first free slot, played (looping with 0x04) at the level.
// With 0x20 the new sound goes to *handedOver instead (not played, not kept).
SoundHandle PlaySoundEffect(int32_t id, uint32_t flags, uint8_t level,
                            std::unique_ptr<CSndObj>* handedOver = nullptr);
// Music in slots 1-3, faded in from 0 over the fade time; with cross-fade the sounds playing
// stop (looping ones fade out over 180 and the new one starts 480 later).
SoundHandle PlayMusic(int32_t id, uint32_t flags, uint8_t level, uint16_t fadeTime, bool crossFade,
                      std::unique_ptr<CSndObj>* handedOver = nullptr);
// With "musicon": an effect for fade time 0, else music.
SoundHandle PlayMusicIfOn(int32_t id, uint32_t flags, uint8_t level, uint16_t fadeTime, bool crossFade,
                          std::unique_ptr<CSndObj>* handedOver = nullptr);

// The handle's sound, or (empty handle) every sound with that id (|id|; 0: every sound).
void StopSounds(const SoundHandle* handle, int32_t id);
void FadeOutSounds(const SoundHandle* handle, int32_t id, uint16_t time);
void FadeOutMusic();
bool IsSoundInSlot(SoundHandle handle);
// Deletes the sounds that are neither playing nor paused.
void PurgeSounds();
void StopAllSoundsAndDevice();
// Stops every sound, then deletes the sounds left after at most maxMs on the platform clock.
void StopAndEmptySlots(uint64_t maxMs);
// Deletes every slot's sound (the application's end).
void DeleteAllSounds();
// Fades every slot's sound to the level (with "soundon"), or back to its slot's level.
void FadeAllTo(uint8_t level);
void RestoreLevels();
void PauseAllSounds();
void ResumeAllSounds();
