#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>

#include "engine/framework/Options.h"
#include "engine/framework/RegSettings.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/graphics/Palette.h"
#include "engine/media/SmackerFrame.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"
#include "platform/Desktop.h"
#include "platform/MessageBox.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace wtest;

// A video library that plays nothing: it logs each call the frame makes and answers from
// what the test set.
class ScriptedLib : public CSmackerLib {
public:
    struct Movie : CSmackMovie {
        int32_t frameNum = 0;
        bool newPalette = true;
        std::array<uint8_t, 768> palette{};
    };
    struct Buf : CSmackBuf {
        std::array<uint8_t, 768> palette{};
    };

    Log log;
    int32_t width = 320;
    int32_t height = 240;
    int32_t frames = 120;
    bool openFails = false;
    int failBufferNumber = 0; // the n-th buffer opened fails (1-based), 0 none
    bool wait = false;
    uint8_t firstPixel = 0;
    CSmackSource lastSource;
    Movie* movie = nullptr;

    void SoundUseDevice(plat::SoundDevice*) override { log.push_back("device"); }
    std::unique_ptr<CSmackMovie> Open(const CSmackSource& source, uint32_t flags, uint32_t extra) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "open %#x %#x", flags, extra);
        log.push_back(text);
        lastSource = source;
        if (openFails)
            return nullptr;
        auto m = std::make_unique<Movie>();
        movie = m.get();
        return m;
    }
    void SoundOnOff(CSmackMovie&, bool on) override { log.push_back(on ? "sound on" : "sound off"); }
    void VolumePan(CSmackMovie&, uint32_t mask, int32_t volume, int32_t pan) override
    {
        log.push_back("volpan " + std::to_string(mask) + " " + std::to_string(volume) + " " +
                      std::to_string(pan));
    }
    void SoundCheck() override {}
    bool Wait(CSmackMovie&) override { return wait; }
    void DoFrame(CSmackMovie& m) override { log.push_back("do " + std::to_string(M(m).frameNum + 1)); }
    void NextFrame(CSmackMovie& m) override { ++M(m).frameNum; }
    void Goto(CSmackMovie& m, int32_t frame) override
    {
        log.push_back("goto " + std::to_string(frame));
        M(m).frameNum = std::clamp(frame, 1, frames) - 1;
    }
    void ToBuffer(CSmackMovie&, CSmackBuf* b) override { log.push_back(b ? "to buffer" : "to none"); }
    bool ToBufferRect(CSmackMovie&, plat::Rect&) override { return false; }
    int32_t Width(CSmackMovie&) override { return width; }
    int32_t Height(CSmackMovie&) override { return height; }
    int32_t Frames(CSmackMovie&) override { return frames; }
    int32_t FrameNum(CSmackMovie& m) override { return M(m).frameNum; }
    bool NewPalette(CSmackMovie& m) override { return M(m).newPalette; }
    void SetNewPalette(CSmackMovie& m, bool changed) override { M(m).newPalette = changed; }
    uint8_t* Palette(CSmackMovie& m) override { return M(m).palette.data(); }
    std::unique_ptr<CSmackBuf> BufferOpen(plat::WindowHandle window, int type, int w, int h, int sw,
                                          int sh) override
    {
        log.push_back("buffer " + std::string(window ? "window " : "memory ") + std::to_string(type) + " " +
                      std::to_string(w) + "x" + std::to_string(h) + " " + std::to_string(sw) + "x" +
                      std::to_string(sh));
        if (++buffersOpened_ == failBufferNumber)
            return nullptr;
        return std::make_unique<Buf>();
    }
    int BufferBlit(CSmackBuf&, plat::DrawContext&, int, int, const plat::Rect&) override
    {
        log.push_back("blit");
        return 0;
    }
    void BufferNewPalette(CSmackBuf& b, const uint8_t* p) override
    {
        std::copy(p, p + 768, static_cast<Buf&>(b).palette.begin());
    }
    uint8_t* BufferPalette(CSmackBuf& b) override { return static_cast<Buf&>(b).palette.data(); }
    uint8_t BufferFirstPixel(CSmackBuf&) override { return firstPixel; }
    void ColorRemap(CSmackMovie&, const uint8_t*, int count) override
    {
        log.push_back("remap " + std::to_string(count));
    }
    void BufferFromScreen(CSmackBuf&, plat::WindowHandle, int, int) override { log.push_back("from screen"); }
    void BufferToBuffer(CSmackBuf&, int, int, CSmackBuf&, int, int, int, int) override {}
    void BufferToBufferTrans(CSmackBuf&, int, int, CSmackBuf&, int, int, int, int, int key) override
    {
        log.push_back("keyed " + std::to_string(key));
    }

private:
    static Movie& M(CSmackMovie& m) { return static_cast<Movie&>(m); }
    int buffersOpened_ = 0;
};

// Lines of the log that start with the prefix.
Log Only(const Log& log, const std::string& prefix)
{
    Log out;
    for (const auto& line : log)
        if (line.rfind(prefix, 0) == 0)
            out.push_back(line);
    return out;
}

// A frame that keeps the value of each end-of-video message (-23) its video children send it:
// the value tells the target how playback ended (4: the last frame) or what a click did.
class VideoDoneLog : public CFrame {
public:
    VideoDoneLog() : CFrame(1, CBaseObj::kNewId, CRect(0, 0, 480, 640), false) {}
    bool HandleMessage(CMessage& message, CBaseObj* sender) override
    {
        if (message.GetId() == CSmackerFrame::kMsgVideoDone)
            values.push_back(message.GetParam(0));
        return CFrame::HandleMessage(message, sender);
    }
    std::vector<MsgWord> values;
};

const std::vector<plat::MessageBoxRequest>& Boxes() { return plat::GetScriptedMessageBoxes().Log(); }

class SmackerFrameTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        SetSmackerLib(&lib);
        plat::GetScriptedMessageBoxes().Clear();
        root = Root(640, 480, log);
        wnd = MakeWindow(CWind::kTypeTopLevel, root, CWind::kFlagOffScreen);
    }
    void TearDown() override { delete wnd; }

    // A frame of the clip file, attached to the window (which opens it).
    CSmackerFrame* Attach(uint32_t flags, bool open = true)
    {
        auto* f = new CSmackerFrame(CBaseObj::kNewId, CPoint(10, 20),
                                    std::make_unique<CFileSpec>("C:\\CLIPS\\WAGON.SMK"), flags);
        if (open)
            root->AddChild(f, false);
        return f;
    }

    ScriptedLib lib;
    CFrame* root = nullptr;
    CWind* wnd = nullptr;
};

TEST_F(SmackerFrameTest, ConstructionDefaultsAndTheSoundOptionReadThen)
{
    CSmackerFrame* f = Attach(0, false);
    EXPECT_EQ(f->GetKind(), CSmackerFrame::kKind);
    EXPECT_EQ(f->GetState(), CSmackerFrame::kPaused);
    EXPECT_EQ(f->GetClickMode(), 3);
    EXPECT_EQ(f->GetVolume(), 100);
    EXPECT_EQ(f->GetPan(), 50);
    EXPECT_EQ(f->GetTrack(), 0);
    EXPECT_EQ(f->GetKeyColor(), -1);
    EXPECT_EQ(f->GetStartFrame(), 1);
    EXPECT_EQ(f->GetEndFrame(), 0);
    EXPECT_TRUE(f->TakesInput());
    EXPECT_TRUE(f->IsDirect());
    EXPECT_TRUE(f->IsShown());
    EXPECT_TRUE(f->IsSoundOn());
    delete f;

    // "soundon" is read when the frame is made; the no-skip flag clears the shown bit.
    CRegSettings settings("Quillmark III", "QM3");
    SetOptionSettings(&settings);
    SetOption("soundon", false);
    CSmackerFrame* quiet = Attach(CSmackerFrame::kNoSkip, false);
    SetOption("soundon", true);
    EXPECT_FALSE(quiet->IsSoundOn());
    EXPECT_FALSE(quiet->IsShown());
    delete quiet;
}

TEST_F(SmackerFrameTest, OpenPassesFlagsTracksAndSizesAndAutoPlayQueuesPlay)
{
    struct Case {
        uint32_t flags;
        int16_t track;
        const char* open;
        int16_t width;
        int16_t height;
    };
    const std::vector<Case> cases = {
        {0, 0, "open 0xfe060 0xffffffff", 320, 240},
        {CSmackerFrame::kNoSkip | CSmackerFrame::kExtraBuffer, 0, "open 0xfe460 0x200", 320, 240},
        {CSmackerFrame::kHalfSize, 3, "open 0x8060 0xffffffff", 160, 120},
        {CSmackerFrame::kDoubleSize, 1, "open 0x2060 0xffffffff", 640, 480},
        {0, 7, "open 0x80060 0xffffffff", 320, 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.open);
        lib.log.clear();
        auto* spec = new CSmackerFrame(CBaseObj::kNewId, CPoint(0, 0),
                                       std::make_unique<CFileSpec>("C:\\CLIPS\\WAGON.SMK"), c.flags);
        spec->SetTrack(c.track);
        root->AddChild(spec, false);
        ASSERT_GE(lib.log.size(), 2u);
        EXPECT_EQ(lib.log[0], "device");
        EXPECT_EQ(lib.log[1], c.open);
        EXPECT_EQ(spec->GetBounds().GetWidth(), c.width);
        EXPECT_EQ(spec->GetBounds().GetHeight(), c.height);
        EXPECT_EQ(spec->GetState(), CSmackerFrame::kPaused);
        EXPECT_EQ(spec->GetNotifyTarget(), root);
        root->RemoveChild(*spec);
        delete spec;
    }
    // The fast buffer: the clip's size shown at the frame's size, decoded into.
    lib.log.clear();
    CSmackerFrame* half = Attach(CSmackerFrame::kHalfSize);
    EXPECT_EQ(Only(lib.log, "buffer"), (Log{"buffer window 4 320x240 160x120"}));
    EXPECT_EQ(Only(lib.log, "to"), (Log{"to buffer"}));
    // Auto-play: message 490 on the next pass of the pump.
    CSmackerFrame* autoPlay = Attach(CSmackerFrame::kAutoPlay);
    EXPECT_EQ(autoPlay->GetState(), CSmackerFrame::kPaused);
    ProcessDueMessages();
    EXPECT_EQ(autoPlay->GetState(), CSmackerFrame::kPlaying);
    EXPECT_EQ(half->GetState(), CSmackerFrame::kPaused);
}

TEST_F(SmackerFrameTest, MissingClipsAndBuffersShowTheirBoxesAndAMissingResourceIsStateFive)
{
    // No "SMK" resource: state 5, nothing opened, no box.
    auto* none = new CSmackerFrame(CBaseObj::kNewId, CPoint(0, 0), 1799, 0xFFFFFFFF, 0, nullptr, 0);
    root->AddChild(none, false);
    EXPECT_EQ(none->GetState(), CSmackerFrame::kNoMovie);
    EXPECT_TRUE(Only(lib.log, "open").empty());
    EXPECT_TRUE(Boxes().empty());
    none->Play(0);
    EXPECT_EQ(none->GetState(), CSmackerFrame::kNoMovie);

    lib.openFails = true;
    CSmackerFrame* missing = Attach(0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Cannot find the requested smacker file <C:\\CLIPS\\WAGON.SMK>\n");
    EXPECT_EQ(Boxes()[0].caption, "Smacker File Error.");
    EXPECT_FALSE(missing->HasMovie());
    missing->Play(0);
    EXPECT_EQ(missing->GetState(), CSmackerFrame::kPaused);

    lib.openFails = false;
    lib.failBufferNumber = 1;
    Attach(0);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "SmackerFrm::InitFast--Smacker buffer could not be created");
    EXPECT_EQ(Boxes()[1].caption, "Smacker File Error.");
    lib.failBufferNumber = 4; // the third buffer of the next transparent frame
    Attach(CSmackerFrame::kTransparent);
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[2].text, "SmackerFrm::InitTransparent--Smacker buffers could not be created.");
}

TEST_F(SmackerFrameTest, ShowFrame999PausesMutesGoesToTheLastFrameAndDrawsIt)
{
    CSmackerFrame* f = Attach(0);
    f->Play(0);
    lib.log.clear();
    f->ShowFrame(999, true);
    EXPECT_EQ(f->GetState(), CSmackerFrame::kPaused);
    EXPECT_EQ(Only(lib.log, "goto"), (Log{"goto 120"}));
    EXPECT_EQ(Only(lib.log, "do"), (Log{"do 120"}));
    EXPECT_EQ(Only(lib.log, "volpan").front(), "volpan 1040384 0 32768"); // muted first
    EXPECT_EQ(f->GetVolume(), -100);
}

TEST_F(SmackerFrameTest, TheEndFrameLoopsBackAndTheLastFramePausesAndNotifies)
{
    // End frame 50 with the loop: back to the start once the frame number reaches 50.
    CSmackerFrame* looping = Attach(0);
    looping->SetLoopRange(3, 50, false, false);
    looping->Play(0);
    lib.log.clear();
    for (int i = 0; i < 51; ++i)
        looping->Idle();
    EXPECT_EQ(Only(lib.log, "do").back(), "do 51");
    EXPECT_EQ(lib.log.back(), "goto 3");
    looping->Idle();
    EXPECT_EQ(lib.log.back(), "do 3");
    EXPECT_EQ(looping->GetState(), CSmackerFrame::kPlaying);
    looping->Stop();
    EXPECT_EQ(looping->GetState(), CSmackerFrame::kStopped);
    lib.log.clear();
    looping->Idle(); // stopped: the timer runs on, nothing happens
    EXPECT_TRUE(lib.log.empty());

    // Without the loop flag the last frame pauses and tells the target (the parent).
    lib.frames = 6;
    auto* target = new VideoDoneLog;
    root->AddChild(target, false);
    auto* once = new CSmackerFrame(CBaseObj::kNewId, CPoint(10, 20),
                                   std::make_unique<CFileSpec>("C:\\CLIPS\\WAGON.SMK"), 0);
    target->AddChild(once, false);
    once->Play(0);
    log.clear();
    lib.wait = true; // not yet due: nothing
    once->Idle();
    EXPECT_TRUE(log.empty());
    lib.wait = false;
    for (int i = 0; i < 10 && once->GetState() == CSmackerFrame::kPlaying; ++i)
        once->Idle();
    EXPECT_EQ(once->GetState(), CSmackerFrame::kPaused);
    EXPECT_EQ(Only(lib.log, "do").back(), "do 6");
    EXPECT_EQ(target->values, std::vector<MsgWord>{4}); // the last frame was reached
}

TEST_F(SmackerFrameTest, ClicksFollowTheClickModeAndReportTheirResult)
{
    // mode, playing before, state after, what the target hears (-1: nothing).
    struct Case {
        int32_t mode;
        bool playing;
        int16_t after;
        int32_t result;
    };
    const std::vector<Case> cases = {
        {0, false, 2, -1}, {0, true, 1, -1}, {1, false, 2, 0}, {1, true, 1, 0},  {2, false, 1, 1},
        {2, true, 3, 3},   {3, false, 1, 1}, {3, true, 2, 2},  {4, false, 1, 1},
    };
    auto* target = new VideoDoneLog;
    root->AddChild(target, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.playing ? " playing" : " paused"));
        auto* f = new CSmackerFrame(CBaseObj::kNewId, CPoint(0, 0),
                                    std::make_unique<CFileSpec>("C:\\CLIPS\\A.SMK"), 0);
        target->AddChild(f, false);
        f->SetClickMode(c.mode);
        EXPECT_EQ(f->TakesInput(), c.mode != 0);
        if (c.playing)
            f->Play(0);
        log.clear();
        CMessage press(kMsgMouse);
        press.SetParam(1, 2);
        EXPECT_TRUE(f->HandleMessage(press, nullptr));
        EXPECT_EQ(f->GetState(), c.after);
        if (c.result < 0)
            EXPECT_TRUE(target->values.empty());
        else
            EXPECT_EQ(target->values, std::vector<MsgWord>{c.result});
        target->values.clear();
        CMessage release(kMsgMouse);
        release.SetParam(0, 2);
        EXPECT_FALSE(f->HandleMessage(release, nullptr));
        target->RemoveChild(*f);
        delete f;
    }
    // Mode 4: the pause shows the last frame and reports the end (4) before the click's state (2).
    auto* four = new CSmackerFrame(CBaseObj::kNewId, CPoint(10, 20),
                                   std::make_unique<CFileSpec>("C:\\CLIPS\\WAGON.SMK"), 0);
    target->AddChild(four, false);
    four->SetClickMode(4);
    four->Play(0);
    log.clear();
    lib.log.clear();
    CMessage press(kMsgMouse);
    press.SetParam(1, 2);
    four->HandleMessage(press, nullptr);
    EXPECT_EQ(four->GetState(), CSmackerFrame::kPaused);
    EXPECT_EQ(Only(lib.log, "goto"), (Log{"goto 120"}));
    EXPECT_EQ(target->values, (std::vector<MsgWord>{4, CSmackerFrame::kPaused}));
}

TEST_F(SmackerFrameTest, TransparentFramesTakeTheKeyFromTheFirstPixelAndEnableSwitchesTheDrawing)
{
    lib.firstPixel = 37;
    CSmackerFrame* f = Attach(CSmackerFrame::kTransparent | CSmackerFrame::kDoubleSize);
    EXPECT_EQ(f->GetKeyColor(), 37);
    EXPECT_EQ(Only(lib.log, "buffer"),
              (Log{"buffer window 4 640x480 640x480", "buffer memory 0 640x480 640x480",
                   "buffer memory 0 320x240 640x480"}));
    lib.log.clear();
    f->ShowFrame(2, true);
    EXPECT_EQ(Only(lib.log, "from screen"), (Log{"from screen"}));
    EXPECT_EQ(Only(lib.log, "remap"), (Log{"remap 256"}));
    // Disabled, the frame draws through the off-screen environment; enabled again, as it
    // drew at its first paint (straight into the window until then).
    f->Enable(false);
    EXPECT_FALSE(f->IsDirect());
    f->Enable(true);
    EXPECT_TRUE(f->IsDirect());
    // No-skip: nothing is decoded into a buffer at set-up and the key stays unknown.
    CSmackerFrame* noSkip = Attach(CSmackerFrame::kTransparent | CSmackerFrame::kNoSkip);
    EXPECT_EQ(noSkip->GetKeyColor(), -1);
}

TEST_F(SmackerFrameTest, TheSharedPaletteIsTheGamePaletteCopiedOnce)
{
    CSmackerFrame* first = Attach(0, false);
    ASSERT_NE(CSmackerFrame::GetSharedPalette(), nullptr);
    EXPECT_EQ(*CSmackerFrame::GetSharedPalette(), (std::array<uint8_t, 768>{})); // no palette yet: zeros
    delete first;
    CSmackerFrame::ResetSharedPalette();
    EXPECT_EQ(CSmackerFrame::GetSharedPalette(), nullptr);

    plat::ColorTable colors = plat::GetDesktopPalette();
    colors[17] = {11, 22, 33, 0};
    InstallGraphicsHooks();
    TestAppl appl(log);
    auto* palette = new CPalette(&colors);
    appl.InstallPalette(palette, 1);
    ASSERT_EQ(GetPalette(), palette);
    CSmackerFrame* f = Attach(0);
    const auto& shared = *CSmackerFrame::GetSharedPalette();
    uint8_t r = 0, g = 0, b = 0;
    palette->GetEntry(17, &r, &g, &b);
    EXPECT_EQ(shared[17 * 3], r);
    EXPECT_EQ(shared[17 * 3 + 2], b);
    // The palette step puts it into the clip and the display buffer, and maps the clip to it.
    lib.log.clear();
    f->ShowFrame(1, true);
    EXPECT_EQ(lib.movie->palette, shared);
    EXPECT_EQ(Only(lib.log, "remap"), (Log{"remap 256"}));
}

TEST_F(SmackerFrameTest, TheTemplateMakesAFrameOfItsClip)
{
    // Id, parent, flags, help id and mask, cursor id and mask, top, left, bottom, right, then
    // the clip's id, library mask and flags.
    const char* text = "42, 0, 9, 0, 0, 0, 0, 30, 40, 0, 0, 1701, -1, 5";
    CRsrcBlock block("TPL", 1, static_cast<int32_t>(std::strlen(text)));
    std::memcpy(block.Lock(), text, std::strlen(text));
    block.Unlock();
    CRawParser parser(&block, 0xFFFFFFFF);
    parser.Preprocess();
    parser.LockSource();
    std::unique_ptr<CTObj> tpl(CTSmackerFrame::Read(77, &parser));
    parser.UnlockSource();
    auto* t = static_cast<CTSmackerFrame*>(tpl.get());
    EXPECT_EQ(t->GetMovieId(), 1701);
    EXPECT_EQ(t->GetLibMask(), 0xFFFFFFFFu);
    EXPECT_EQ(t->GetMovieFlags(), 5u);
    std::unique_ptr<CBaseObj> made(CTSmackerFrame::Create(tpl.get()));
    auto* f = dynamic_cast<CSmackerFrame*>(made.get());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetId(), 42);
    EXPECT_EQ(f->GetBounds().GetLeft(), 40);
    EXPECT_EQ(f->GetBounds().GetTop(), 30);
}

TEST(Options, MissingEmptyAndOtherTextsReadTrueButCloseCaptionsAndFalse)
{
    EXPECT_TRUE(GetOption("soundon")); // no settings installed: every key reads empty
    EXPECT_FALSE(GetOption("closecap"));
    CRegSettings settings("Quillmark III", "QM3");
    SetOptionSettings(&settings);
    // Stored text -> what "soundon" and "closecap" read.
    const std::vector<std::tuple<const char*, bool, bool>> cases = {
        {"", true, false},  {"FALSE", false, false}, {"false", true, true},   {"TRUE", true, true},
        {"no", true, true}, {"FALSE ", true, false}, {"FALSEX", true, false},
    };
    for (const auto& [text, sound, caps] : cases) {
        SCOPED_TRACE(text);
        for (const char* key : {"soundon", "closecap"})
            settings.WriteString(text, static_cast<int32_t>(std::strlen(text)) + 1, "options", key);
        EXPECT_EQ(GetOption("soundon"), sound);
        EXPECT_EQ(GetOption("closecap"), caps);
    }
    EXPECT_FALSE(GetOption("musicon") && false);
    EXPECT_FALSE(!GetOption("musicon")); // missing: true
    SetOption("musicon", false);
    EXPECT_FALSE(GetOption("musicon"));
    char stored[8] = "";
    settings.ReadString(stored, 8, "options", "musicon");
    EXPECT_STREQ(stored, "FALSE");
    SetOption("musicon", true);
    settings.ReadString(stored, 8, "options", "musicon");
    EXPECT_STREQ(stored, "TRUE");
}

TEST_F(SmackerFrameTest, VolumePanAndTrackRulesKeepValuesOnBadInput)
{
    CSmackerFrame* f = Attach(0);
    lib.log.clear();
    f->Setvolume(-40);
    EXPECT_EQ(Only(lib.log, "volpan"), (Log{"volpan 1040384 0 32768"}));
    f->SetMuted(false);
    EXPECT_EQ(f->GetVolume(), 40);
    EXPECT_EQ(Only(lib.log, "volpan").back(), "volpan 1040384 13107 32768");

    f->SetPan(101);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Invalide Pan.  Left channel must be 0-100% ");
    EXPECT_EQ(Boxes()[0].caption, "CSmackerFrame::SetPan.");
    EXPECT_EQ(f->GetPan(), 50);
    f->SetPan(0);
    EXPECT_EQ(Only(lib.log, "volpan").back(), "volpan 1040384 13107 0");
    f->SetPan(50);
    EXPECT_EQ(Only(lib.log, "volpan").back(), "volpan 1040384 13107 32768");
    f->Setvolume(101);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "Invalide volume.  volume must be -100 to 100 ");
    EXPECT_EQ(Boxes()[1].caption, "CSmackerFrame::Setvolume.");
    EXPECT_EQ(f->GetVolume(), 40);

    f->SetTrack(4);
    f->SetTrack(9);
    EXPECT_EQ(f->GetTrack(), 4);
    f->SetTrack(-1);
    EXPECT_EQ(f->GetTrack(), 4);
}

} // namespace
