#pragma once
// CPackedAnimWnd: the image strip animation. It plays the frames of "IMV" image strips at a
// fixed pace (the swiftness, in ticks between frames), optionally scaled, through a chain of
// strips with consecutive ids (first to last), a given number of passes (0: endless), and
// reacts to clicks. With a cue list wanted, the "MCD" record of each strip's id is told every
// frame shown, so that it can send messages, jump, change the pace or wait; a strip without
// one plays without cues. Times are ticks of the clock its timer runs on: the real clock with
// frame flag 0x100 (then late passes catch up the frames they missed), else the game clock.
//
// Message -40 plays it (word 0 above 0 sets the swiftness). A press over it acts by its click
// action: 1 skips to the last frame while playing, 2 plays from the start, 3 toggles.
//
// Its template (kind 7) reads, after the frame values, "notifywhoid", "imgid", "imglibmask",
// "swiftness", "tmp" (cue list wanted), "tmp" (autoplay), "loop", "scaleby" (percent, kept
// as scaleby / 10: 10 draws unscaled, any other value stretches by scale / 10 in whole
// numbers) and "on_click". The strip is "imgid" alone; with a bottom and a right other than
// -1 it fills the template's rectangle, otherwise it sits at (left, top) at its own size.
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"
#include "engine/resources/AnimCueList.h"

class CFrameSet;

class CPackedAnimWnd : public CFrame, public CAnimCueTarget {
public:
    static constexpr uint32_t kKind = 6;
    static constexpr int32_t kTemplateKind = 7;
    static constexpr int32_t kMsgPlay = -40;
    enum : int16_t { kClickSkipToEnd = 1, kClickRestart = 2, kClickToggle = 3 };

    struct Options {
        int32_t firstId = 0;
        int32_t lastId = 0;
        int32_t swiftness = 0;
        uint32_t libraryMask = 0;
        int32_t notifyId = 0;
        bool cueList = false;
        bool autoplay = false;
        int16_t loopLimit = 0;
        int16_t scaleBy = 100;
        int16_t clickAction = 0;
    };

    // At a point: the size of the first strip's frame 0 (scaled).
    CPackedAnimWnd(int32_t id, const CPoint& at, const Options& options);
    // In a rectangle, resized to frame 0's scaled size only when scaled.
    CPackedAnimWnd(int32_t id, const CRect& rect, const Options& options);
    ~CPackedAnimWnd() override;

    // Slot 3: the frame steps that are due.
    bool OnTimer() override;
    // Slot 4: -40 and mouse presses (see the file comment).
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Slot 11: the current frame in the drawn rectangle; the first draw after construction or
    // a hide starts an autoplaying animation.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // Slot 18: autoplay is armed again for the next draw.
    void Hide(bool recurse, bool erase) override;
    // Slot 31: with restart, from frame 0 of the first strip; starts the timer.
    virtual void Play(bool restart);
    // Slot 32: with rewind, back to frame 0 of the first strip; stops the timer.
    virtual void Stop(bool rewind);

    // Loads "IMV" id (a missing one is a fatal report) and its cue list, at frame 0.
    void LoadStrip(int32_t id);
    // Shows frame n and moves the cue list to it.
    void GotoFrame(int32_t n);

    // CAnimCueTarget.
    void SelectSourceFrame(int32_t frame) override;
    void SetSwiftness(int16_t ticks) override { swiftness_ = ticks; }
    // The elapsed ticks of the object's clock.
    uint32_t GetClockTime() const override;
    void SetWakeTime(uint32_t time) override { wakeTime_ = time; }
    CBaseObj* GetCueSender() override { return this; }

    // The frame set's current index and frame count; 0 without a frame set.
    int32_t GetFrameIndex() const;
    int32_t GetFrameCount() const;
    int32_t GetCurrentId() const { return currentId_; }
    int16_t GetScale() const { return scale_; }
    int32_t GetSwiftness() const { return swiftness_; }
    int16_t GetLoopCount() const { return loopCount_; }
    int32_t GetLastFrameIndex() const { return lastFrameIndex_; }
    uint32_t GetNextDue() const { return nextDue_; }
    bool IsPlaying() const { return playing_; }
    bool IsFirstDrawPending() const { return firstDrawPending_; }
    CFrameSet* GetFrameSet() const { return frameSet_.get(); }
    CAnimCueList* GetCueList() const { return cueList_.get(); }

    // The registrar's factories of kind 7.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    CPackedAnimWnd(int32_t id, const CRect& rect, const Options& options, bool sizeAlways);
    // Back to frame 0 of the first strip.
    void Rewind();
    // The current strip has no next frame: the next strip of the chain, or the next pass, or
    // the end of the last pass. False when the animation stopped.
    bool EndOfStrip();
    // A transparent frame draws its strip with colour 0 left out.
    void ApplyDrawProc();

    int32_t currentId_ = 0;
    uint32_t libraryMask_;
    int32_t firstId_;
    int32_t lastId_;
    int16_t scale_;
    bool firstDrawPending_ = true;
    bool playing_ = false;
    bool autoplay_;
    int16_t loopLimit_;
    int16_t loopCount_ = 0;
    uint32_t nextDue_ = 0;
    uint32_t wakeTime_ = 0;
    int32_t swiftness_;
    int32_t lastFrameIndex_ = 0;
    std::unique_ptr<CFrameSet> frameSet_;
    bool cueListWanted_;
    int32_t notifyId_;
    std::unique_ptr<CAnimCueList> cueList_;
    int16_t clickAction_;
};

// The template of an image strip animation.
class CTPackedAnimWnd : public CTFrame {
public:
    CTPackedAnimWnd(int32_t kind, CRawParser* parser);

    int32_t GetNotifyWhoId() const override { return options_.notifyId; }
    const CPackedAnimWnd::Options& GetOptions() const { return options_; }

private:
    CPackedAnimWnd::Options options_;
};
