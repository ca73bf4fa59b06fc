#pragma once
// Fixtures for the control tests: a shown, active window with a root frame, a target that
// records the notifications it gets, and the mouse, keys and clock driven as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/Str.h"
#include "engine/framework/TimerEvent.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/FontList.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/RsrcColl.h"
#include "engine/graphics/RsrcList.h"
#include "platform/Font.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/TestEnv.h"

namespace ctest {

using wtest::Log;

// The committed bitmap font as font 5: 8-pixel cells (ascent 6, descent 2, no leading), "A"
// and "B" 6 pixels wide, the blank 6.
inline void InstallTestFont()
{
    plat::AddFontFace("Quill Test",
                      {(qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string()});
    const FontList list = {{5, 0, CStr("Quill Test"), 6}};
    ASSERT_EQ(CDrawEnv::InitFonts(&list), 0);
}

// One notification as the target saw it.
struct Note {
    int32_t id;
    const CBaseObj* sender;
    MsgWord words[6];
};

// A live frame outside the window that records every message it gets.
class Target : public CFrame {
public:
    Target() : CFrame(5, 900, CRect(0, 0, 1, 1), true) { RegisterLiveObject(this); }
    bool HandleMessage(CMessage& m, CBaseObj* sender) override
    {
        Note n{m.GetId(), sender, {}};
        for (int i = 0; i < 6; ++i)
            n.words[i] = m.GetParam(i);
        notes.push_back(n);
        return true;
    }
    // Word i of every notification, in order.
    std::vector<MsgWord> Words(int i) const
    {
        std::vector<MsgWord> out;
        for (const Note& n : notes)
            out.push_back(n.words[i]);
        return out;
    }
    std::vector<Note> notes;
};

// Images of the given sizes (h the width): image i is colour 10 + i ('a' + i as a pixel
// character) with its top row in colour 1, so that tiles and parts can be told apart.
class MarkedImages : public CRsrcColl {
public:
    explicit MarkedImages(const std::vector<CPoint>& sizes)
    {
        for (size_t i = 0; i < sizes.size(); ++i) {
            const CRect r(0, 0, sizes[i].GetV(), sizes[i].GetH());
            auto bitmap = std::make_unique<CDibSect>(r, CPoint(0, 0), 8, static_cast<uint8_t>(10 + i));
            bitmap->FillRect(CRect(0, 0, 1, sizes[i].GetH()), 1);
            bitmaps_.push_back(std::move(bitmap));
        }
        count_ = static_cast<int16_t>(sizes.size());
    }
    CDibSect* GetEntry(int16_t i) override
    {
        return i >= 0 && i < count_ ? bitmaps_[static_cast<size_t>(i)].get() : nullptr;
    }
    void GetEntrySize(CPoint& size, int16_t i) override
    {
        const CDibSect* b = GetEntry(i);
        size = b ? CPoint(b->GetRect().GetWidth(), b->GetRect().GetHeight()) : CPoint(0, 0);
    }
    int32_t GetByteSize() override { return 0; }

private:
    std::vector<std::unique_ptr<CDibSect>> bitmaps_;
};

inline CImgSet* MarkedSet(const std::vector<CPoint>& sizes)
{
    return new CRsrcList(new MarkedImages(sizes), 0);
}

// Eleven images for a vertical scroll bar 16 wide: track tiles 10 high, a thumb 20 high,
// arrows 16.
inline std::vector<CPoint> BarImages()
{
    std::vector<CPoint> sizes{{16, 10}, {16, 10}, {16, 20}, {16, 20}, {16, 20}};
    for (int i = 0; i < 6; ++i)
        sizes.emplace_back(16, 16);
    return sizes;
}

// An off-screen environment of w x h pixels filled with white.
inline std::unique_ptr<COffScEnv> WhiteEnv(int16_t w, int16_t h)
{
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, h, w), nullptr, false);
    env->SetTextColor(255);
    env->FillRect(CRect(0, 0, h, w));
    env->SetTextColor(0);
    return env;
}

// The pixels of one column (or, with row, one row) as pixel characters.
inline std::string Column(COffScEnv& env, int h, int from, int to)
{
    std::string out;
    for (int v = from; v < to; ++v)
        out += qmtest::PixelChar(env.GetBitmap()->GetPixel(h, v));
    return out;
}

class ControlsTest : public wtest::WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        root = wtest::Root(320, 240, log);
        wnd = wtest::MakeWindow(CWind::kTypeTopLevel, root);
        plat::ActivateWindow(wnd->GetHwnd());
        wtest::PumpAll();
        target = new Target;
    }
    void TearDown() override
    {
        delete wnd;
        delete target;
    }

    // Adds the control under the root (which puts it in the window's list).
    template <class T> T* Add(T* control)
    {
        root->AddChild(control, false);
        return control;
    }

    plat::Point At(int x, int y) const { return wtest::ScreenOf(*wnd, x, y); }
    void Down(int x, int y)
    {
        plat::InjectMouseButton(plat::MouseButton::Left, true, At(x, y));
        wtest::PumpAll();
    }
    void Move(int x, int y)
    {
        plat::InjectMouseMove(At(x, y));
        wtest::PumpAll();
    }
    void Up(int x, int y)
    {
        plat::InjectMouseButton(plat::MouseButton::Left, false, At(x, y));
        wtest::PumpAll();
    }
    void Key(uint8_t key)
    {
        plat::PressKey(key);
        wtest::PumpAll();
    }
    // Advances the clock tick by tick, running the due timers after each.
    static void Ticks(uint32_t n)
    {
        for (uint32_t i = 0; i < n; ++i) {
            qmtest::Clock().Advance(17);
            RunDueTimers();
        }
    }

    CFrame* root = nullptr;
    CWind* wnd = nullptr;
    Target* target = nullptr;
};

} // namespace ctest
