#pragma once
// CLaunchItem: one line of a menu screen, an item image with a label 20 pixels to its right
// that lights up under the pointer and, when pressed and released inside, asks the
// application to run its command (message 20 with the item in word 0). The command is parsed
// once, when the item is made. An installed-product item whose product is missing is greyed
// (colour 235, cel 2) and looks again every 3 ticks until the product appears.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/controls/input/PushFrame.h"
#include "launcher/ButtonRecord.h"
#include "launcher/LaunchAction.h"

class CImageWnd;
class CImgSet;
class CTimerEvent;

namespace tour {

// The item images' cels.
enum : int16_t { kCelNormal = 0, kCelPressed = 1, kCelUnavailable = 2 };

struct ItemLooks {
    uint32_t hoverColour = 0; // while the pointer is over the item or it is pressed
    uint32_t normalColour = 0;
    int16_t fontId = 0;
};

class CLaunchItem : public CPushFrame {
public:
    static constexpr int16_t kTabOrder = 30000;
    static constexpr uint32_t kUnavailableColour = 235;
    // The hover tracking and the availability poll run every 3 ticks.
    static constexpr uint32_t kPollTicks = 3;
    // The label starts this far right of the item's left edge.
    static constexpr int16_t kLabelOffset = 20;

    // The item shows cels of `images` (not owned; null: no image) at its top-left corner and
    // notifies `target` with message `notifyId` and words (the item, 0).
    CLaunchItem(CImgSet* images, ButtonEntry entry, std::string extra, int32_t index, int32_t notifyId,
                CBaseObj* target, const CRect& rect, const ItemLooks& looks);
    ~CLaunchItem() override;

    // Runs the pick; false asks to end the tour.
    bool Launch(LaunchServices& services) const { return tour::Launch(data_, services); }

    const LaunchItemData& GetData() const { return data_; }
    const std::string& GetLabel() const { return data_.label; }
    bool IsHovered() const { return hovered_; }
    // The cel the item image shows now; -1 without an image.
    int16_t GetCel() const;
    // The label's colour now.
    uint32_t GetLabelColour() const;

    // Hover tracking: plays the roll sound when the pointer comes onto the item.
    bool OnTimer() override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    void Enable(bool enable, bool redraw = false, bool children = false) override;
    void SetState(int32_t value) override;

private:
    static bool PollInstalled(void* item);
    void ShowCel(bool enabled, int32_t pressed);

    LaunchItemData data_;
    std::string extra_; // the record's field 11, kept and not used
    ItemLooks looks_;
    bool hovered_ = false;
    CImageWnd* image_ = nullptr; // a child
    std::unique_ptr<CTimerEvent> availability_;
};

} // namespace tour
