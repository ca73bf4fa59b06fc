#pragma once
// CLmCharFrm: one character on a landmark screen (object kind 13). It plays the character's
// video clip and turns what happens to it (a click, a pause, the end of the clip) into the
// actions its template lists (LmCharDataRecord.h): mostly asking the frame it stands on to
// replace it by another template list (message 308) or to run a screen transition (309),
// broadcasting a stored message, opening a popup or adding a person to the party.
//
// The frame it stands on is the landmark scene frame, which shows its caption (LmCharHost.h).
// Messages to it are sent 1 tick later from stop actions and pick-me, and queued for the next
// pass (delay 0) from continue actions, so that it never rebuilds the screen while a
// character's actions run. A broadcast that deletes the character (through CFrame::Destroy)
// ends the run: nothing after it is touched.
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"

class CImageFrame;
class CLmCharDataRecord;
class CSmackerFrame;

class CLmCharFrm : public CFrame {
public:
    static constexpr uint32_t kKind = 13;
    // Click modes: nothing, the continue actions (or the popup), -, play and pause, play and
    // pause showing the last frame (idle characters).
    enum ClickMode : int32_t { kClickNone = 0, kClickContinue = 1, kClickToggle = 3, kClickIdle = 4 };
    // Video events (message -23, word 0).
    enum VideoEvent : int32_t { kEventClick = 0, kEventPlaying = 1, kEventPaused = 2, kEventFinished = 4 };
    // Messages to the parent: show a template list in place of the character, run a screen
    // transition; to itself: play the idle clip again.
    static constexpr int32_t kMsgShowList = 308;
    static constexpr int32_t kMsgTransition = 309;
    static constexpr int32_t kMsgIdlePlay = 311;
    // The stored message whose broadcast by a stop action waits a tick.
    static constexpr int32_t kMsgDelayedBroadcast = 102;
    // Clips of this range show no caption.
    static constexpr int32_t kFirstUncaptioned = 210100;
    static constexpr int32_t kLastUncaptioned = 210200;
    // The action lists CheckCondition asks about.
    static constexpr int32_t kStopList = 12;
    static constexpr int32_t kContinueList = 13;
    // The popup placed beside the character, its first pick (results 202 + i pick person
    // i + 1) and its other objects: the money text and the button that resumes the clip.
    static constexpr int32_t kBesidePopup = 1028;
    static constexpr int32_t kFirstPick = 202;
    static constexpr int32_t kPickCount = 20;
    static constexpr int32_t kMoneyText = 231;
    static constexpr int32_t kResume = 199;
    // A continue value below this opens the popup on a click in click mode 1.
    static constexpr int32_t kPopupBelow = 2000;

    CLmCharFrm(int32_t id, const CPoint& at);
    ~CLmCharFrm() override;

    // The record the template made; the character owns it.
    void SetDataRecord(std::unique_ptr<CLmCharDataRecord> record);
    const CLmCharDataRecord* GetDataRecord() const { return record_.get(); }

    // A character with an owner is a live object, so that messages reach it.
    void SetOwner(CBaseObj* owner) override;
    // The one tick after StartMovie: the first idle play is scheduled.
    bool OnTimer() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Builds the video (a clip chosen at random for FILENAME RANDOM, counting the visits in
    // the saved game's landmark flags), shows the caption and starts the one-tick timer.
    virtual void StartMovie();

    bool HasVideo() const { return video_ != nullptr; }
    CSmackerFrame* GetVideo() const { return video_; }
    int16_t GetClickCount() const { return clickCount_; }

    // Whether the stop list (12) or the continue list (13) holds the action; any other list
    // is reported.
    bool CheckCondition(int32_t list, int32_t action) const;
    // Puts the person (with a partner, both) into the first empty party slot from 1 on, then
    // shows the PICKME list.
    void OnPickMe(int16_t personId);
    void ProcessOnStop();
    void ProcessOnContinue();
    // Queues message 311 after the pause p: -p ticks when p is below 1, else a random 0..p;
    // never 0.
    void ScheduleIdlePlay(int16_t pause);
    // The person id of a continue value's person code (value / 10000); 0 for none.
    static int16_t PersonOfCode(int32_t code);

private:
    bool OnVideoEvent(int32_t event);
    void OnClick();
    // Click modes 3 and 4: starts or pauses the video.
    void ToggleVideo(bool idleMode);
    void ShowPopup();
    void PlaceBeside(CImageFrame& popup) const;
    // The clip of a FILENAME RANDOM record; counts the visit.
    int32_t ChooseRandomClip();
    void ShowCaption();
    // Hands the character itself a video event, at once.
    void SendEvent(int32_t event);
    // Sends the parent message 308 or 309 with the delay.
    void SendToParent(int32_t id, int32_t param1, int32_t param2, int16_t delay);
    // Broadcasts the stored message (a 102 one tick later when `delayed`); answers whether the
    // character is still on its parent afterwards.
    bool BroadcastStored(bool delayed, const CFrame* parent);
    // Whether the character has left the parent it had, or it or a frame above it is waiting
    // to be freed.
    bool IsGone(const CFrame* parent) const;
    // Continue entry i of count; false when the character is gone and the run ends.
    bool RunContinueAction(int16_t i, int16_t count, const CFrame* parent);

    CSmackerFrame* video_ = nullptr;
    std::unique_ptr<CLmCharDataRecord> record_;
    int16_t clickCount_ = 0;
};
