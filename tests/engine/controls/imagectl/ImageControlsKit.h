#pragma once
// Fixtures for the image control tests: the control tests' window, target and mouse, with a
// folder library of small pictures, each image of its own colour so that a drawn pixel tells
// which image a control shows.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/controls/RsrcTplList.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/resources/RsrcBlock.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/FrameStripFixtures.h"

namespace itest {

using namespace ctest;

// "CBM" 1 to 6: that many images of 8 x 6; image i is colour kImageColor + i with its top-left
// pixel 0 (transparent under the transparent copy).
constexpr int16_t kImageColor = 20;
// "CBM" 10: a 200 x 100 background whose pixel (h, v) is BackgroundAt(h, v).
constexpr int32_t kBackground = 10;
// "CBM" 11: three button images of 10 x 8; image i is colour kFramedColor + i inside a
// one-pixel frame of colour 0.
constexpr int32_t kFramed = 11;
constexpr int16_t kFramedColor = 30;
// "CBM" 20: the parts of a vertical scroll bar (arrows 16 x 12, thumb 16 x 20), image i of colour
// kPartColor + i; "CBM" 21: its track, 16 x 100 of colour kTrackColor. The thumb travels 80.
constexpr int32_t kParts = 20, kTrack = 21;
constexpr int16_t kPartColor = 40, kTrackColor = 50;

inline uint8_t BackgroundAt(int h, int v) { return static_cast<uint8_t>(1 + (h + 2 * v) % 250); }

// A picture of the given frames, each made by the painter (h, v, frame index) -> colour.
inline std::string Picture(const std::vector<CPoint>& sizes,
                           const std::function<uint8_t(int, int, int)>& paint)
{
    std::vector<qmtest::FrameSpec> frames;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int w = sizes[i].GetH(), h = sizes[i].GetV();
        std::vector<uint8_t> pixels;
        for (int v = 0; v < h; ++v)
            for (int x = 0; x < w; ++x)
                pixels.push_back(paint(x, v, static_cast<int>(i)));
        frames.push_back(qmtest::CodedFrame(static_cast<int16_t>(w), static_cast<int16_t>(h), pixels));
    }
    const std::vector<uint8_t> bytes = qmtest::MakeFrameStrip(frames);
    return std::string(bytes.begin(), bytes.end());
}

// The pixel at (h, v) after the frame drew its content into a white environment.
inline int DrawnAt(CFrame& frame, int h, int v)
{
    const std::unique_ptr<COffScEnv> env = WhiteEnv(320, 240);
    frame.DrawContent(env.get(), CRect(0, 0, 240, 320));
    return env->GetBitmap()->GetPixel(h, v);
}

class ImageControlsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
        std::vector<deftext::Resource> pictures;
        for (int n = 1; n <= 6; ++n)
            pictures.push_back(
                {"CBM", n,
                 Picture(std::vector<CPoint>(static_cast<size_t>(n), CPoint(8, 6)),
                         [](int h, int v, int i) { return h == 0 && v == 0 ? 0 : kImageColor + i; })});
        pictures.push_back({"CBM", kBackground, Picture({CPoint(200, 100)}, [](int h, int v, int) {
                                return BackgroundAt(h, v);
                            })});
        pictures.push_back(
            {"CBM", kFramed, Picture(std::vector<CPoint>(3, CPoint(10, 8)), [](int h, int v, int i) {
                 const bool frame = h == 0 || v == 0 || h == 9 || v == 7;
                 return frame ? 0 : kFramedColor + i;
             })});
        pictures.push_back({"CBM", kParts,
                            Picture({{16, 12}, {16, 12}, {16, 12}, {16, 12}, {16, 20}},
                                    [](int, int, int i) { return kPartColor + i; })});
        pictures.push_back({"CBM", kTrack, Picture({{16, 100}}, [](int, int, int) { return kTrackColor; })});
        deftext::AddFolderLibrary(pictures);
    }

    // Builds the template text (one template a line) under the root.
    void Build(const std::string& text, int32_t listId = 70)
    {
        lists.push_back(std::make_unique<CRsrcTplList>(deftext::MakeBlock(text, "TPL", listId)));
        lists.back()->Build(root, nullptr, 0);
    }
    template <class T> T* Control(int32_t id) { return dynamic_cast<T*>(wnd->FindControlById(id)); }

    std::vector<std::unique_ptr<CRsrcTplList>> lists;
};

} // namespace itest
