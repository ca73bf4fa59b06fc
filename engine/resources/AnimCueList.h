#pragma once
// CAnimCueList: an animation cue list, the typed record "MCD" that drives an image strip
// animation while it plays. The compiled record holds a 32-bit cue count and then the cues
// in order of frame number, 20 bytes each:
//
//   0   int16  command
//   2          padding
//   4   int32  frame number
//   8   int32  target object id
//   12  int32  first argument
//   16  int32  second argument
//
// The animation tells the list every frame it shows (OnFrame); the list takes at most one
// cue per call, the next one when its frame number is that frame:
//   -46  no further cues are taken
//   -45  the animation shows source frame (first argument)
//   -44  the animation's swiftness becomes the first argument
//   -43  the animation waits until its clock time plus the first argument
//   any other command: an engine message of that id with the two arguments, delivered at
//   once from the animation to the objects whose id is the target id.
#include <cstdint>
#include <memory>

#include "engine/resources/TextRsrc.h"

class CBaseObj;

// What a cue list drives: the image strip animation.
class CAnimCueTarget {
public:
    virtual ~CAnimCueTarget() = default;
    virtual void SelectSourceFrame(int32_t frame) = 0;
    virtual void SetSwiftness(int16_t swiftness) = 0;
    // The elapsed ticks of the clock the animation runs on (the unit of a wait's argument).
    virtual uint32_t GetClockTime() const = 0;
    // The animation waits until its clock reaches the time.
    virtual void SetWakeTime(uint32_t time) = 0;
    // The object the cue messages come from.
    virtual CBaseObj* GetCueSender() = 0;
};

class CAnimCueList : public CTextRsrc {
public:
    enum : int16_t { kCmdStop = -46, kCmdSelectFrame = -45, kCmdSwiftness = -44, kCmdWait = -43 };
    static constexpr int32_t kCueSize = 20;

    struct Cue {
        int16_t command = 0;
        int32_t frame = 0;
        int32_t target = 0;
        int32_t arg1 = 0;
        int32_t arg2 = 0;
    };

    // An empty list: no cues, inactive.
    explicit CAnimCueList(CAnimCueTarget* target);
    // The list of record "MCD" id under the mask (a missing record is a fatal report).
    CAnimCueList(CAnimCueTarget* target, int32_t id, uint32_t mask);
    // Deletes the owned object unless it is a registered receiver.
    ~CAnimCueList() override;

    // Empties the list and loads record "MCD" id; active when it holds a cue. A record that
    // is not required may be missing: the list then stays empty.
    void Load(int32_t id, uint32_t mask, bool required = true);
    // Takes the next cue when its frame number is the frame (at most one per call).
    virtual void OnFrame(int32_t frame);
    // The next cue becomes the first whose frame number is the frame or later.
    virtual void SeekFrame(int32_t frame);

    bool IsActive() const { return active_; }
    int32_t GetCueCount() const { return count_; }
    int32_t GetNextCue() const { return next_; }
    // Cue i of the record; false when i is not a stored cue.
    bool GetCue(int32_t i, Cue& cue);
    // An object the list keeps for its lifetime.
    void SetOwnedObject(CBaseObj* object) { owned_ = object; }

private:
    void CountCues();
    void TakeCue(const Cue& cue);

    CAnimCueTarget* target_;
    CBaseObj* owned_ = nullptr;
    int32_t next_ = 0;
    int32_t count_ = 0;
    bool active_ = false;
};
