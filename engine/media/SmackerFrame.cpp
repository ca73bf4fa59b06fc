#include "engine/media/SmackerFrame.h"

#include <cstdio>

#include "engine/controls/Wind.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/WndEnv.h"
#include "engine/media/SmkResource.h"
#include "engine/media/SndMgr.h"
#include "engine/resources/RawParser.h"
#include "platform/DrawContext.h"
#include "platform/Files.h"
#include "platform/VideoClip.h"

namespace {

constexpr const char* kFileError = "Smacker File Error.";
constexpr uint32_t kAutomaticExtraBuffer = 0xFFFFFFFF;
constexpr uint32_t kExtraBufferBytes = 512;
constexpr int32_t kLastFrame = 999;

std::unique_ptr<std::array<uint8_t, 768>> sharedPalette;

void ShowError(const char* text, const char* caption)
{
    ShowMessageBox(text, caption, CMsgBox::kIconExclamation, CMsgBox::kButtonsOk, 1);
}

} // namespace

CSmackerFrame::CSmackerFrame(int32_t id, const CPoint& at, std::unique_ptr<CFileSpec> fileSpec,
                             uint32_t flags)
    : CFrame(kKind, id, at, true), fileSpec_(std::move(fileSpec))
{
    InitFlags(flags);
}

CSmackerFrame::CSmackerFrame(int32_t id, const CPoint& at, int32_t movieId, uint32_t libMask, uint32_t flags,
                             CEventObj* notifyTarget, int16_t track)
    : CFrame(kKind, id, at, true), notifyTarget_(notifyTarget), movieId_(movieId), libMask_(libMask)
{
    InitFlags(flags);
    SetTrack(track);
}

void CSmackerFrame::InitFlags(uint32_t flags)
{
    if (!sharedPalette) {
        sharedPalette = std::make_unique<std::array<uint8_t, 768>>();
        if (CPalette* palette = ::GetPalette())
            for (int i = 0; i < 256; ++i)
                palette->GetEntry(i, &(*sharedPalette)[i * 3], &(*sharedPalette)[i * 3 + 1],
                                  &(*sharedPalette)[i * 3 + 2]);
    }
    soundOn_ = GetOption("soundon");
    autoPlay_ = flags & kAutoPlay;
    transparent_ = flags & kTransparent;
    loop_ = flags & kLoop;
    extraBuffer_ = flags & kExtraBuffer;
    halfSize_ = flags & kHalfSize;
    doubleSize_ = flags & kDoubleSize;
    noSkip_ = flags & kNoSkip;
    SetTakesInput(true);
    SetVisible(false); // the hidden bit: draw straight into the window
    if (noSkip_)
        SetShownBit(false);
}

CSmackerFrame::~CSmackerFrame()
{
    state_ = kStopped;
    displayBuf_.reset();
    backgroundBuf_.reset();
    movieBuf_.reset();
    movie_.reset();
    fileSpec_.reset();
}

const std::array<uint8_t, 768>* CSmackerFrame::GetSharedPalette() { return sharedPalette.get(); }
void CSmackerFrame::ResetSharedPalette() { sharedPalette.reset(); }

void CSmackerFrame::Open()
{
    uint32_t openFlags = noSkip_ ? (kSmackOpenFlags | kSmackNoSkip) : kSmackOpenFlags;
    openFlags |= track_ == 0 ? plat::kClipAllTracks : plat::ClipTrackBit(track_);
    const uint32_t extra = extraBuffer_ ? kExtraBufferBytes : kAutomaticExtraBuffer;
    if (!notifyTarget_)
        notifyTarget_ = GetParent();
    if (!fileSpec_) {
        auto where = FindSmkResource(movieId_, libMask_);
        if (!where) {
            state_ = kNoMovie;
            return;
        }
        fileSpec_ = std::move(where->spec);
        source_ = {where->hostPath, where->offset, where->size};
        sourceKnown_ = true;
    }
    if (window_)
        return;
    CWind* wnd = GetOwnerWnd();
    window_ = wnd ? wnd->GetHwnd() : 0;
    CSmackerLib& lib = GetSmackerLib();
    lib.SoundUseDevice(GetSoundDevice());
    const char* path = fileSpec_->GetPath() ? fileSpec_->GetPath() : "";
    if (!sourceKnown_) {
        const auto host = plat::ToHostPath(path);
        source_ = {host ? *host : std::filesystem::path(), 0, -1};
    }
    movie_ = lib.Open(source_, openFlags, extra);
    if (!movie_) {
        char text[600];
        std::snprintf(text, sizeof text, "Cannot find the requested smacker file <%s>\n", path);
        ShowError(text, kFileError);
        return;
    }
    lib.SoundOnOff(*movie_, false);
    int32_t w = lib.Width(*movie_);
    int32_t h = lib.Height(*movie_);
    if (halfSize_) {
        w /= 2;
        h /= 2;
    }
    if (doubleSize_) {
        w *= 2;
        h *= 2;
    }
    width_ = static_cast<int16_t>(w);
    height_ = static_cast<int16_t>(h);
    SetSize(width_, height_);
    if (transparent_)
        InitTransparent();
    else
        InitFast();
    state_ = kPaused;
    if (autoPlay_)
        SendMessageRecord(*this, kMsgPlay, 0, 0, 0, this);
    firstPaintPending_ = true;
}

void CSmackerFrame::InitFast()
{
    CSmackerLib& lib = GetSmackerLib();
    displayBuf_ =
        lib.BufferOpen(window_, kSmackBlitWindow, lib.Width(*movie_), lib.Height(*movie_), width_, height_);
    if (!displayBuf_) {
        ShowError("SmackerFrm::InitFast--Smacker buffer could not be created", kFileError);
        return;
    }
    if (!noSkip_)
        lib.ToBuffer(*movie_, displayBuf_.get());
}

void CSmackerFrame::InitTransparent()
{
    CSmackerLib& lib = GetSmackerLib();
    displayBuf_ = lib.BufferOpen(window_, kSmackBlitWindow, width_, height_, width_, height_);
    backgroundBuf_ = lib.BufferOpen(0, kSmackBlitMemory, width_, height_, width_, height_);
    movieBuf_ = lib.BufferOpen(0, kSmackBlitMemory, lib.Width(*movie_), lib.Height(*movie_), width_, height_);
    if (!displayBuf_ || !backgroundBuf_ || !movieBuf_) {
        displayBuf_.reset();
        backgroundBuf_.reset();
        movieBuf_.reset();
        ShowError("SmackerFrm::InitTransparent--Smacker buffers could not be created.", kFileError);
        return;
    }
    if (!noSkip_) {
        lib.ToBuffer(*movie_, movieBuf_.get());
        if (keyColor_ == -1)
            keyColor_ = lib.BufferFirstPixel(*movieBuf_);
    }
}

void CSmackerFrame::PaletteStep()
{
    CSmackerLib& lib = GetSmackerLib();
    if (!lib.NewPalette(*movie_) || !displayBuf_ || !sharedPalette)
        return;
    std::copy(sharedPalette->begin(), sharedPalette->end(), lib.Palette(*movie_));
    lib.BufferNewPalette(*displayBuf_, sharedPalette->data());
    lib.ColorRemap(*movie_, lib.BufferPalette(*displayBuf_), 256);
}

plat::Rect CSmackerFrame::Shown(const plat::Rect& r) const
{
    CSmackerLib& lib = GetSmackerLib();
    const int32_t w = lib.Width(*movie_);
    const int32_t h = lib.Height(*movie_);
    if (w <= 0 || h <= 0)
        return r;
    // Scaled outwards, so that a zoomed picture redraws every pixel the change touched.
    return {r.left * width_ / w, r.top * height_ / h, (r.right * width_ + w - 1) / w,
            (r.bottom * height_ + h - 1) / h};
}

plat::DrawContext* CSmackerFrame::DecodeDC(std::unique_ptr<plat::DrawContext>& windowDC)
{
    if (!IsDirect()) {
        CWind* wnd = GetOwnerWnd();
        if (COffScEnv* env = wnd ? wnd->GetOffScreenEnv() : nullptr; env && env->GetHDC())
            return env->GetHDC();
    }
    windowDC = CreateWindowDC(window_);
    return windowDC.get();
}

void CSmackerFrame::Decode()
{
    if (transparent_)
        DecodeTransparent();
    else
        DecodeFast();
}

void CSmackerFrame::DecodeFast()
{
    CSmackerLib& lib = GetSmackerLib();
    PaletteStep();
    lib.DoFrame(*movie_);
    std::unique_ptr<plat::DrawContext> windowDC;
    plat::DrawContext* dc = DecodeDC(windowDC);
    plat::Rect r;
    while (lib.ToBufferRect(*movie_, r)) {
        if (!dc || !displayBuf_ ||
            lib.BufferBlit(*displayBuf_, *dc, GetDrawnRect().GetLeft(), GetDrawnRect().GetTop(), Shown(r)) !=
                0)
            break;
    }
}

void CSmackerFrame::DecodeTransparent()
{
    CSmackerLib& lib = GetSmackerLib();
    lib.DoFrame(*movie_);
    std::unique_ptr<plat::DrawContext> dc = CreateWindowDC(window_);
    const int16_t left = GetDrawnRect().GetLeft();
    const int16_t top = GetDrawnRect().GetTop();
    if (!backgroundCaptured_ && backgroundBuf_) {
        lib.BufferFromScreen(*backgroundBuf_, window_, left, top);
        backgroundCaptured_ = true;
    }
    PaletteStep();
    plat::Rect r;
    while (lib.ToBufferRect(*movie_, r)) {
        if (!displayBuf_ || !backgroundBuf_ || !movieBuf_)
            continue;
        const plat::Rect s = Shown(r);
        lib.BufferToBuffer(*displayBuf_, s.left, s.top, *backgroundBuf_, s.left, s.top, s.Width(),
                           s.Height());
        lib.BufferToBufferTrans(*displayBuf_, s.left, s.top, *movieBuf_, s.left, s.top, s.Width(), s.Height(),
                                keyColor_);
        if (dc)
            lib.BufferBlit(*displayBuf_, *dc, left, top, s);
    }
}

void CSmackerFrame::CopyOffScreenToWindow()
{
    CWind* wnd = GetOwnerWnd();
    COffScEnv* offScreen = wnd ? wnd->GetOffScreenEnv() : nullptr;
    if (!offScreen || !wnd->GetWndEnv())
        return;
    const CRect drawn = GetDrawnRect();
    offScreen->BlitTo(wnd->GetWndEnv(), drawn, drawn, &drawn, nullptr);
}

bool CSmackerFrame::OnTimer()
{
    Idle();
    return false;
}

void CSmackerFrame::Idle()
{
    if (state_ != kPlaying || !IsEnabled() || !movie_)
        return;
    CSmackerLib& lib = GetSmackerLib();
    lib.SoundCheck();
    if (lib.Wait(*movie_))
        return;
    Decode();
    if (!IsDirect())
        CopyOffScreenToWindow();
    const int32_t current = lib.FrameNum(*movie_);
    if ((endFrame_ <= 0 || current < endFrame_) && current != lib.Frames(*movie_) - 1) {
        lib.NextFrame(*movie_);
    } else if (loop_) {
        lib.Goto(*movie_, startFrame_);
    } else {
        Pause();
        Notify(4);
    }
}

void CSmackerFrame::Notify(int32_t result)
{
    if (!notifyTarget_)
        return;
    CMessage message(kMsgVideoDone, result, 0);
    notifyTarget_->HandleMessage(message, this);
}

void CSmackerFrame::Play(int32_t frame)
{
    if (!movie_)
        return;
    if (state_ == kPaused)
        GotoFrame(frame, true);
    state_ = kPlaying;
    StartTimer(1, nullptr);
    SetMuted(!soundOn_);
}

void CSmackerFrame::Pause()
{
    if (state_ == kPaused)
        return;
    SetMuted(true);
    StopTimer();
    state_ = kPaused;
    if (clickMode_ == 4) {
        ShowFrame(movie_ ? GetSmackerLib().Frames(*movie_) : 1, false);
        Notify(4);
    }
}

void CSmackerFrame::Stop()
{
    SetMuted(true);
    state_ = kStopped;
}

void CSmackerFrame::ShowFrame(int32_t n, bool pause)
{
    if (pause)
        Pause();
    if (n == kLastFrame && movie_)
        n = GetSmackerLib().Frames(*movie_);
    SetMuted(true);
    GotoFrame(n, true);
}

void CSmackerFrame::GotoFrame(int32_t n, bool draw)
{
    if (!movie_)
        return;
    CSmackerLib& lib = GetSmackerLib();
    if (soundOn_ && state_ == kPlaying)
        lib.SoundOnOff(*movie_, false);
    if (state_ != kPaused)
        Pause();
    lib.Goto(*movie_, n < 2 ? 1 : n);
    if (draw) {
        lib.SetNewPalette(*movie_, true);
        Decode();
        if (!IsDirect())
            CopyOffScreenToWindow();
    }
    if (soundOn_)
        lib.SoundOnOff(*movie_, true);
}

void CSmackerFrame::SetClickMode(int32_t mode)
{
    clickMode_ = mode;
    SetTakesInput(mode != 0);
}

void CSmackerFrame::SetTrack(int16_t track)
{
    if (track >= 0 && track <= 7)
        track_ = track;
}

void CSmackerFrame::SetLoopRange(int32_t start, int32_t end, bool redraw, bool recapture)
{
    if (start > 1)
        startFrame_ = start;
    if (end >= startFrame_)
        endFrame_ = end;
    loop_ = true;
    if (redraw)
        UpdateWindow();
    if (transparent_ && recapture)
        backgroundCaptured_ = false;
    if (movie_ && GetOwner())
        GetSmackerLib().Goto(*movie_, startFrame_);
}

void CSmackerFrame::ApplyVolumePan()
{
    if (!movie_)
        return;
    CSmackerLib& lib = GetSmackerLib();
    lib.SoundOnOff(*movie_, true);
    const auto volume = volume_ < 0 ? 0 : static_cast<int32_t>(volume_ / 100.0 * 32768.0);
    const auto pan = pan_ == 0 ? 0 : static_cast<int32_t>(pan_ / 100.0 * 65536.0);
    lib.VolumePan(*movie_, plat::kClipAllTracks, volume, pan);
}

void CSmackerFrame::Setvolume(int16_t volume)
{
    if (volume < -100 || volume > 100) {
        ShowError("Invalide volume.  volume must be -100 to 100 ", "CSmackerFrame::Setvolume.");
        return;
    }
    volume_ = volume;
    ApplyVolumePan();
}

void CSmackerFrame::SetPan(int16_t pan)
{
    if (pan < 0 || pan > 100) {
        ShowError("Invalide Pan.  Left channel must be 0-100% ", "CSmackerFrame::SetPan.");
        return;
    }
    pan_ = pan;
    ApplyVolumePan();
}

void CSmackerFrame::SetMuted(bool mute)
{
    if ((mute && volume_ > 0) || (!mute && volume_ < 0))
        Setvolume(static_cast<int16_t>(-volume_));
    else
        Setvolume(volume_);
}

void CSmackerFrame::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    if (!owner) {
        SetClickMode(3);
        Pause();
        CFrame::SetOwner(nullptr);
        return;
    }
    CFrame::SetOwner(owner);
    RegisterLiveObject(this);
    Open();
}

void CSmackerFrame::Enable(bool enable, bool flag, bool recurse)
{
    CFrame::Enable(enable, flag, recurse);
    if (!enable)
        SetVisible(true); // drawn through the off-screen environment
    else
        SetVisible(drawModeAtFirstPaint_);
}

void CSmackerFrame::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!movie_ || !IsShown())
        return;
    CSmackerLib& lib = GetSmackerLib();
    const bool muted = state_ == kPlaying && soundOn_;
    if (muted)
        lib.SoundOnOff(*movie_, false);
    if (firstPaintPending_) {
        Decode();
        drawModeAtFirstPaint_ = !IsDirect();
        firstPaintPending_ = false;
    }
    std::unique_ptr<plat::DrawContext> windowDC;
    plat::DrawContext* dc = env ? env->GetHDC() : nullptr;
    if (IsDirect()) {
        windowDC = CreateWindowDC(window_);
        dc = windowDC.get();
    }
    const CRect& b = GetBounds();
    if (dc && displayBuf_)
        lib.BufferBlit(*displayBuf_, *dc, GetDrawnRect().GetLeft(), GetDrawnRect().GetTop(),
                       plat::Rect{0, 0, b.GetWidth(), b.GetHeight()});
    if (muted)
        lib.SoundOnOff(*movie_, true);
}

bool CSmackerFrame::HandleMessage(CMessage& message, CBaseObj* sender)
{
    (void)sender;
    if (message.GetId() == kMsgPlay) {
        Play(0);
        return true;
    }
    if (message.GetId() != kMsgMouse || message.GetParam(2) != 1)
        return false;
    int32_t result = -1;
    switch (clickMode_) {
    case 0: return true;
    case 1: result = 0; break;
    case 2:
        if (state_ == kPlaying)
            Stop();
        else
            Play(0);
        result = state_;
        break;
    case 3:
    case 4:
        if (state_ == kPlaying)
            Pause();
        else
            Play(0);
        result = state_;
        break;
    default: return false;
    }
    Notify(result);
    return true;
}

CTSmackerFrame::CTSmackerFrame(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    movieId_ = parser->ReadLong("smkid");
    libMask_ = static_cast<uint32_t>(parser->ReadLong("smklibmsk"));
    movieFlags_ = static_cast<uint32_t>(parser->ReadLong("smkflags"));
}

CTObj* CTSmackerFrame::Read(int32_t kind, CRawParser* parser) { return new CTSmackerFrame(kind, parser); }

CBaseObj* CTSmackerFrame::Create(CTObj* tpl)
{
    auto* t = static_cast<CTSmackerFrame*>(tpl);
    const CRect& r = t->GetRect();
    return new CSmackerFrame(t->GetId(), CPoint(r.GetLeft(), r.GetTop()), t->GetMovieId(), t->GetLibMask(),
                             t->GetMovieFlags(), nullptr, 0);
}
