#pragma once
// What the animation tests share: sequence and cel table bytes (big-endian 16-bit values, as
// the library holds them), an application that records the sound requests, and a shown
// window drawn off screen around a root frame.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Appl.h"
#include "tests/engine/controls/WindowsKit.h"

namespace animtest {

inline std::vector<uint8_t> Be16(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (const int v : values) {
        const auto u = static_cast<uint16_t>(v);
        out.push_back(static_cast<uint8_t>(u >> 8));
        out.push_back(static_cast<uint8_t>(u & 0xFF));
    }
    return out;
}

struct Anim {
    int first, next, ticks, count;
};
struct Frame {
    int cel, dh, dv, sound, ticks, dz;
};

// A "SEQ" of the animations and frames.
inline std::vector<uint8_t> SeqBytes(const std::vector<Anim>& anims, const std::vector<Frame>& frames)
{
    std::vector<uint8_t> out = Be16({static_cast<int>(anims.size())});
    for (const Anim& a : anims)
        for (const uint8_t b : Be16({a.first, a.next, a.ticks, a.count}))
            out.push_back(b);
    for (const uint8_t b : Be16({static_cast<int>(frames.size())}))
        out.push_back(b);
    for (const Frame& f : frames)
        for (const uint8_t b : Be16({f.cel, f.dh, f.dv, f.sound, f.ticks, f.dz}))
            out.push_back(b);
    return out;
}

// A "CEL" of the anchors (h, v).
inline std::vector<uint8_t> CelBytes(const std::vector<std::pair<int, int>>& anchors)
{
    std::vector<uint8_t> out = Be16({static_cast<int>(anchors.size())});
    for (const auto& [h, v] : anchors)
        for (const uint8_t b : Be16({h, v}))
            out.push_back(b);
    return out;
}

inline std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// An application that records the sounds it is asked to play and stop.
class SoundAppl : public CAppl {
public:
    void* StartSound(int32_t id, uint32_t mask, int32_t flags) override
    {
        log.push_back("play " + std::to_string(id) + "/" + std::to_string(mask) + "/" +
                      std::to_string(flags));
        return nullptr;
    }
    void StopSound(int32_t a, int32_t b) override
    {
        log.push_back("stop " + std::to_string(a) + "/" + std::to_string(b));
    }
    std::vector<std::string> log;
};

// A shown top-level window drawn off screen, whose root frame (of the size) holds the
// elements under test.
struct TestScreen {
    TestScreen(int16_t width, int16_t height)
    {
        RegisterEngineClasses();
        InstallWindowHooks();
        root = wtest::Root(width, height, log);
        window.reset(wtest::MakeWindow(CWind::kTypeTopLevel, root, CWind::kFlagOffScreen));
    }
    // Adds the element under the root and paints the window.
    template <typename Element> Element* Show(Element* element)
    {
        root->AddChild(element, true);
        window->Redraw(nullptr);
        wtest::PumpAll();
        return element;
    }

    wtest::Log log;
    CFrame* root = nullptr;
    std::unique_ptr<CWind> window;
};

} // namespace animtest
