#include <gtest/gtest.h>

#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "engine/media/SmackerFrame.h"
#include "engine/media/SndMgr.h"
#include "platform/MessageBox.h"
#include "platform/SoundDevice.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/ClipFixtures.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/EngineLibrary.h"
#include "tools/HostRootDrive.h"
#include "tools/QmLib.h"

namespace fs = std::filesystem;

namespace {

using namespace wtest;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kBackground = 77;

// A clip of `count` frames of 16 x 16 at 10 frames a second: frame k is colour 50 + k, with
// the left half of colour 0.
ClipSource Clip(int count, bool leftHalfZero)
{
    ClipSource clip = qmtest::ClipWithEveryBlockKind(16, 16, count, 10);
    for (int k = 0; k < count; ++k) {
        auto& px = clip.frames[k].pixels;
        for (int i = 0; i < 256; ++i)
            px[i] = (leftHalfZero && i % 16 < 8) ? 0 : static_cast<uint8_t>(50 + k);
        clip.frames[k].palette = clip.frames[0].palette;
    }
    return clip;
}

// A frame filled with its background colour.
class Backdrop : public CFrame {
public:
    Backdrop() : CFrame(5, kNewId, CRect(0, 0, 100, 100), false) { SetBackColor(kBackground); }
    void DrawContent(CDrawEnv* env, const CRect&) override { DrawBackground(env); }
};

// A 100 x 100 window on the null backend whose root is filled with the background colour.
class SmackerFramePlayTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        CreateClocks();
        root = new Backdrop;
        wnd = MakeWindow(CWind::kTypeTopLevel, root, CWind::kFlagOffScreen);
        PumpAll();
    }
    void TearDown() override { delete wnd; }

    uint8_t Pixel(int x, int y)
    {
        const plat::ClientTarget t = plat::GetClientTarget(wnd->GetHwnd());
        return t.surface->At(t.origin.x + x, t.origin.y + y);
    }
    fs::path WriteClip(const ClipSource& clip, const std::string& name = "clip.smk")
    {
        const fs::path path = qmtest::TempDir() / name;
        qmtest::WriteClip(path, clip);
        return path;
    }
    CSmackerFrame* Attach(const fs::path& path, uint32_t flags)
    {
        auto spec = std::make_unique<CFileSpec>(HostRootDrive::EnginePath(path).value_or("").c_str());
        auto* f = new CSmackerFrame(CBaseObj::kNewId, CPoint(20, 30), std::move(spec), flags);
        root->AddChild(f, false);
        return f;
    }
    // Moves the fake clock on by one tick and runs the timers.
    void Tick()
    {
        qmtest::Clock().Advance(17);
        RunDueTimers();
    }

    HostRootDrive drive;
    CFrame* root = nullptr;
    CWind* wnd = nullptr;
};

TEST_F(SmackerFramePlayTest, EachFrameShowsWithinATickOfItsDueTime)
{
    CSmackerFrame* f = Attach(WriteClip(Clip(5, false)), 0);
    ASSERT_TRUE(f->HasMovie());
    EXPECT_EQ(f->GetBounds().GetWidth(), 16);
    const uint64_t start = qmtest::Clock().NowMs();
    f->Play(0);
    EXPECT_EQ(Pixel(25, 35), 50);
    // Frame 1 is drawn at once and again when the first frame time has passed; frame k
    // (2-5) follows k frame times after the start.
    int shown = 1;
    for (int i = 0; i < 40 && shown < 5; ++i) {
        Tick();
        const uint64_t at = qmtest::Clock().NowMs() - start;
        const int now = Pixel(25, 35) - 49;
        if (now != shown) {
            EXPECT_EQ(now, shown + 1);
            EXPECT_GE(at, static_cast<uint64_t>(now) * 100);
            EXPECT_LT(at, static_cast<uint64_t>(now) * 100 + 17) << "frame " << now;
            shown = now;
        }
    }
    EXPECT_EQ(shown, 5);
    for (int i = 0; i < 10; ++i)
        Tick();
    EXPECT_EQ(f->GetState(), CSmackerFrame::kPaused);
    EXPECT_EQ(Pixel(35, 45), 54);
    EXPECT_EQ(Pixel(19, 35), kBackground); // nothing outside the frame
}

TEST_F(SmackerFramePlayTest, TheKeyColourShowsTheBackgroundInTransparentMode)
{
    CSmackerFrame* f = Attach(WriteClip(Clip(3, true)), CSmackerFrame::kTransparent);
    EXPECT_EQ(f->GetKeyColor(), 0); // buffers start at 0
    f->Play(0);
    EXPECT_EQ(Pixel(22, 35), kBackground);
    EXPECT_EQ(Pixel(32, 35), 50);
    for (int i = 0; i < 15; ++i)
        Tick();
    EXPECT_EQ(Pixel(22, 35), kBackground);
    EXPECT_NE(Pixel(32, 35), 50);
}

TEST_F(SmackerFramePlayTest, ItsSoundReachesTheMixer)
{
    CSndMgr::CreateDevice();
    ASSERT_NE(GetSoundDevice(), nullptr);
    ClipSource clip = Clip(4, false);
    clip.sound = qmtest::ClipSound(1, 16, 22050, 8000);
    CSmackerFrame* f = Attach(WriteClip(clip), 0);
    GetSoundDevice()->TakeOutput();
    f->Play(0);
    for (int i = 0; i < 12; ++i)
        Tick();
    const std::vector<int16_t> out = GetSoundDevice()->TakeOutput();
    ASSERT_FALSE(out.empty());
    EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](int16_t s) { return std::abs(s) > 1000; }));
    delete f; // its voice leaves the mixer
}

TEST_F(SmackerFramePlayTest, AClipInASingleFileLibraryPlaysFromItsRangeAndIsNamedByTheLibrary)
{
    const fs::path lib = qmtest::TempDir() / "lib";
    fs::create_directories(lib / "SMK");
    WriteClip(Clip(3, false), "lib/SMK/" + qmtest::FolderLibraryWriter::FileName("SMK", 1701));
    const fs::path packed = qmtest::TempDir() / "clips.qmd";
    ASSERT_EQ(qmtest::RunTool(RunQmLib, {"pack", lib.string(), packed.string()}).status, 0);
    for (const fs::path& library : {lib, packed}) {
        SCOPED_TRACE(library.filename().string());
        EngineLibrary engineLibrary(library.string());
        auto* f = new CSmackerFrame(CBaseObj::kNewId, CPoint(20, 30), 1701, 0xFFFFFFFF, 0, nullptr, 0);
        root->AddChild(f, false);
        ASSERT_TRUE(f->HasMovie());
        EXPECT_TRUE(plat::GetScriptedMessageBoxes().Log().empty());
        f->ShowFrame(2, true);
        EXPECT_EQ(Pixel(25, 35), 51);
        if (library == packed) {
            EXPECT_EQ(plat::ToHostPath(f->GetFileSpec()->GetPath()), fs::path(packed));
        }
        root->RemoveChild(*f);
        delete f;
    }
}

TEST_F(SmackerFramePlayTest, DamagedClipsShowTheOpenFailureBoxOrPlay)
{
    const ClipSource clip = Clip(3, false);
    Bytes good = EncodeClip(clip);
    std::vector<Bytes> damaged = {Bytes(good.begin(), good.begin() + 200),
                                  Bytes(good.begin(), good.end() - 5)};
    Bytes garbled = good;
    for (size_t i = 120; i < garbled.size(); i += 7)
        garbled[i] ^= 0x5A;
    damaged.push_back(garbled);
    for (size_t n = 0; n < damaged.size(); ++n) {
        const fs::path path = qmtest::TempDir() / ("bad" + std::to_string(n) + ".smk");
        qmtest::WriteFile(path, damaged[n]);
        plat::GetScriptedMessageBoxes().Clear();
        CSmackerFrame* f = Attach(path, 0);
        if (!f->HasMovie()) {
            ASSERT_EQ(plat::GetScriptedMessageBoxes().Log().size(), 1u);
            EXPECT_EQ(plat::GetScriptedMessageBoxes().Log()[0].caption, "Smacker File Error.");
        }
        f->Play(0);
        for (int i = 0; i < 30; ++i)
            Tick();
        root->RemoveChild(*f);
        delete f;
    }
}

} // namespace
