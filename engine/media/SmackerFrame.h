#pragma once
// CSmackerFrame: a graphic object that plays one video clip inside its bounds, with the clip's
// sound. It opens the clip when it gets an owner window, decodes a frame whenever one is due
// on its timer, draws straight into the window (the hidden bit) or into the window's
// off-screen environment, and can play a sub-range, loop, pause, show one frame, answer
// clicks and tell a target (message -23) when playback stops. In transparent mode one colour
// index of the clip shows the screen behind the frame. The clip's colours are always mapped
// to the game palette.
//
// The clip comes from a file spec, or from the "SMK" resource of an id; a clip inside a
// single-file library is read from its byte range there. The video library is reached
// through GetSmackerLib (SmackerLib.h).
#include <array>
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"
#include "engine/framework/FileSpecs.h"
#include "engine/media/SmackerLib.h"

class CSmackerFrame : public CFrame {
public:
    static constexpr uint32_t kKind = 6;
    // States.
    enum : int16_t { kPlaying = 1, kPaused = 2, kStopped = 3, kNoMovie = 5 };
    // Flag bits of the constructors.
    enum : uint32_t {
        kAutoPlay = 0x01,
        kTransparent = 0x02,
        kLoop = 0x04,
        kExtraBuffer = 0x08,
        kHalfSize = 0x10,
        kDoubleSize = 0x20,
        kNoSkip = 0x40,
    };
    // Message ids: end of playback or a click's result to the target, and play.
    static constexpr int32_t kMsgVideoDone = -23;
    static constexpr int32_t kMsgPlay = 490;

    // A clip file (owned).
    CSmackerFrame(int32_t id, const CPoint& at, std::unique_ptr<CFileSpec> fileSpec, uint32_t flags);
    // The "SMK" resource movieId in the libraries of the mask; the target may be null (the
    // parent when the clip opens).
    CSmackerFrame(int32_t id, const CPoint& at, int32_t movieId, uint32_t libMask, uint32_t flags,
                  CEventObj* notifyTarget, int16_t track);
    ~CSmackerFrame() override;

    void SetOwner(CBaseObj* owner) override;
    bool OnTimer() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void Enable(bool enable, bool flag = false, bool recurse = false) override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    virtual void Open();
    virtual void Stop();
    virtual void Play(int32_t frame);
    virtual void Pause();

    void Idle();
    // Shows frame n (999: the last), pausing first with `pause`.
    virtual void ShowFrame(int32_t n, bool pause);
    void GotoFrame(int32_t n, bool draw);
    // 0 takes no presses; 1 reports a press (-23 with 0); 2 toggles play and stop; 3 and 4
    // toggle play and pause (4 showing the last frame when paused).
    virtual void SetClickMode(int32_t mode);
    void SetTrack(int16_t track);
    void SetLoopRange(int32_t start, int32_t end, bool redraw, bool recapture);
    void Setvolume(int16_t volume);
    void SetPan(int16_t pan);
    void SetMuted(bool mute);

    int16_t GetState() const { return state_; }
    bool IsPlaying() const { return state_ == kPlaying; }
    int16_t GetTrack() const { return track_; }
    int32_t GetClickMode() const { return clickMode_; }
    int16_t GetVolume() const { return volume_; }
    int16_t GetPan() const { return pan_; }
    int16_t GetKeyColor() const { return keyColor_; }
    int32_t GetStartFrame() const { return startFrame_; }
    int32_t GetEndFrame() const { return endFrame_; }
    bool IsSoundOn() const { return soundOn_; }
    bool HasMovie() const { return movie_ != nullptr; }
    int32_t GetMovieId() const { return movieId_; }
    const CFileSpec* GetFileSpec() const { return fileSpec_.get(); }
    CEventObj* GetNotifyTarget() const { return notifyTarget_; }

    // The copy of the game palette every video frame shows its clips in: made by the first
    // constructor that finds none (zeros without a palette). Null before.
    static const std::array<uint8_t, 768>* GetSharedPalette();
    // Frees it (tests).
    static void ResetSharedPalette();

protected:
    // Video frames that stand in for a clip (tests) keep the state themselves.
    void SetState(int16_t state) { state_ = state; }

private:
    void InitFlags(uint32_t flags);
    void InitFast();
    void InitTransparent();
    void PaletteStep();
    void Decode();
    void DecodeFast();
    void DecodeTransparent();
    // The frame's picture in the off-screen environment copied to the window.
    void CopyOffScreenToWindow();
    void ApplyVolumePan();
    void Notify(int32_t result);
    // The device context decoding draws into: the window's when the hidden bit is set.
    plat::DrawContext* DecodeDC(std::unique_ptr<plat::DrawContext>& windowDC);
    // A changed rectangle of the clip in the displayed size.
    plat::Rect Shown(const plat::Rect& clipRect) const;

    plat::WindowHandle window_ = 0;
    std::unique_ptr<CFileSpec> fileSpec_;
    CSmackSource source_;
    bool sourceKnown_ = false;
    std::unique_ptr<CSmackBuf> displayBuf_;
    std::unique_ptr<CSmackBuf> movieBuf_;
    std::unique_ptr<CSmackBuf> backgroundBuf_;
    std::unique_ptr<CSmackMovie> movie_;
    bool firstPaintPending_ = false;
    bool drawModeAtFirstPaint_ = false;
    bool backgroundCaptured_ = false;
    int32_t startFrame_ = 1;
    int32_t endFrame_ = 0;
    int16_t width_ = 0;
    int16_t height_ = 0;
    int16_t state_ = kPaused;
    int16_t track_ = 0;
    int32_t clickMode_ = 3;
    bool autoPlay_ = false;
    bool transparent_ = false;
    bool loop_ = false;
    bool extraBuffer_ = false;
    bool halfSize_ = false;
    bool doubleSize_ = false;
    bool noSkip_ = false;
    int16_t keyColor_ = -1;
    bool soundOn_ = true;
    int16_t volume_ = 100;
    int16_t pan_ = 50;
    CEventObj* notifyTarget_ = nullptr;
    int32_t movieId_ = 0;
    uint32_t libMask_ = 0;
};

// The template of a video frame: "smkid", "smklibmsk" and "smkflags". No template kind is
// registered for it; programs make their video frames through the constructors.
class CTSmackerFrame : public CTFrame {
public:
    CTSmackerFrame(int32_t kind, CRawParser* parser);
    static CTObj* Read(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

    int32_t GetMovieId() const { return movieId_; }
    uint32_t GetLibMask() const { return libMask_; }
    uint32_t GetMovieFlags() const { return movieFlags_; }

private:
    int32_t movieId_ = 0;
    uint32_t libMask_ = 0;
    uint32_t movieFlags_ = 0;
};
