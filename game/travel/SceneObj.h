#pragma once
// The scene objects the river and play-field screens build their scenery from, each described
// by a scene record: a string list read line by line (empty lines and text after '#' or ';'
// left out, at most 79 characters a line).
//
// CSceneObj: two text lines, a sound (played as looping music through the sound slots, kept
// as a slot handle so that a purge of the slots cannot leave it dangling), its level, and one
// more number. CSceneProp: the river scene's settings, with four text lines each picked at
// random from a group of lines.
#include <cstdint>
#include <memory>

#include "engine/framework/Str.h"
#include "game/base/SoundSlots.h"

class CRecReader;

// The lines of a scene record, read one after the other; a missing record has no lines.
class CSceneRecord {
public:
    explicit CSceneRecord(int32_t id);
    ~CSceneRecord();

    bool Exists() const;
    // The next line; null at the end.
    std::unique_ptr<CStr> Line();
    // The next line's first 6 characters as a number; `missing` at the end or when it is not
    // a number.
    int32_t Number(int32_t missing = -1);
    // The next group of lines, up to a line that begins with '.' (or the end): its one line,
    // one of its lines drawn with CUtil::Random, or null when the group is empty.
    std::unique_ptr<CStr> PickFromGroup();

private:
    std::unique_ptr<CRecReader> reader_;
    int16_t index_ = 0;
};

class CSceneObj {
public:
    // The sound's play request: looping music, faded in over 120 ticks, others cross-faded.
    static constexpr uint32_t kSoundFlags = 14;
    static constexpr uint16_t kSoundFade = 120;
    // What the object tells the application when its sound starts.
    static constexpr int32_t kMsgSoundStarted = 60;

    explicit CSceneObj(int32_t recordId);
    virtual ~CSceneObj();
    CSceneObj(const CSceneObj&) = delete;
    CSceneObj& operator=(const CSceneObj&) = delete;

    // Frees the lines; no sound, level 0.
    virtual void Reset();
    // Reads the record (a missing one changes nothing).
    virtual void Load();
    virtual void FreeParts();
    virtual void Idle() {}
    // Stops the sound by its id while it plays (the handle stays).
    virtual void StopSound();
    // Plays the sound again when it was playing.
    virtual void Start();

    // Plays the sound (only a sound id above 0).
    void PlaySound();
    // Stops the sound the handle holds and lets go of it.
    void StopNow();
    // Plays the sound when none is held, else stops it.
    void ToggleSound();
    // Gives the sound the object's level.
    void ApplyLevel();

    bool IsActive() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    int32_t GetRecordId() const { return recordId_; }
    const CStr* GetLine1() const { return line1_.get(); }
    const CStr* GetLine2() const { return line2_.get(); }
    int32_t GetSoundId() const { return soundId_; }
    void SetSoundId(int32_t id) { soundId_ = id; }
    int16_t GetSoundLevel() const { return soundLevel_; }
    void SetSoundLevel(int16_t level) { soundLevel_ = level; }
    int32_t GetSecondNumber() const { return secondNumber_; }
    SoundHandle GetSound() const { return sound_; }
    bool IsPlaying() const { return playing_; }

protected:
    // Lines 1-4 of the record: the two lines, the sound id and its level.
    void LoadHead(CSceneRecord& record);

private:
    bool active_ = false;
    int32_t recordId_;
    SoundHandle sound_;
    bool playing_ = false;
    std::unique_ptr<CStr> line1_;
    std::unique_ptr<CStr> line2_;
    int32_t soundId_ = -1;
    int16_t soundLevel_ = 0;
    int32_t secondNumber_ = -1;
};

class CSceneProp : public CSceneObj {
public:
    static constexpr int32_t kPickedLines = 4;

    explicit CSceneProp(int32_t recordId);
    ~CSceneProp() override;

    // The settings a new scene starts with: roughness 2, moving allowed, no ground colour.
    void Reset() override;
    // Lines 1-14, then the four picked lines.
    void Load() override;

    int32_t GetPropRecordId() const { return propRecordId_; }
    int16_t GetRoughness() const { return roughness_; }
    uint8_t GetPassThrough() const { return passThrough_; }
    int16_t GetDownstreamHeading() const { return downstreamHeading_; }
    uint8_t GetMovingAllowed() const { return movingAllowed_; }
    void SetMovingAllowed(uint8_t allowed) { movingAllowed_ = allowed; }
    double GetDamageLimit() const { return damageLimit_; }
    int32_t GetSceneryListId() const { return sceneryListId_; }
    int32_t GetRaftFigureSeqId() const { return raftFigureSeqId_; }
    int32_t GetPanoramaImageId() const { return panoramaImageId_; }
    int32_t GetSwitch() const { return switch_; }
    int32_t GetGroundColour() const { return groundColour_; }
    // Picked line i (0-3); null when its group was empty.
    const CStr* GetPicked(int32_t i) const;

private:
    int32_t propRecordId_;
    int16_t roughness_ = 2;
    uint8_t passThrough_ = 0;
    int16_t downstreamHeading_ = 0;
    uint8_t movingAllowed_ = 1;
    double damageLimit_ = 0.0;
    int32_t sceneryListId_ = 0;
    int32_t raftFigureSeqId_ = 0;
    int32_t panoramaImageId_ = 0;
    int32_t switch_ = 0;
    int32_t groundColour_ = -1;
    std::unique_ptr<CStr> picked_[kPickedLines];
};
