#pragma once
// CPlayImage: the catch window shown over the play field when a catch is landed: the catch
// type's picture, the catch text and three image buttons (keep 263, let go 264, and 265 passed
// on to the frame's parent). While it is open the menu bar is disabled; each button message
// enables it again and goes on to the receiver at once. A window that goes away before any
// button message enabled the bar enables it itself, so that leaving the module with the
// window open cannot leave the bar disabled for good.
#include <cstdint>

#include "engine/controls/ImageWnd.h"

class CStr;

class CPlayImage : public CImageWnd {
public:
    static constexpr int32_t kId = 6249;
    static constexpr int32_t kMsgKeep = 263;
    static constexpr int32_t kMsgLetGo = 264;
    static constexpr int32_t kMsgAsk = 265;
    static constexpr int32_t kKeepImage = 686050;
    static constexpr int32_t kLetGoImage = 686052;
    static constexpr int32_t kAskImage = 686051;
    static constexpr int16_t kButtonGap = 4;
    static constexpr int16_t kButtonLift = 15;
    static constexpr int16_t kTextStyle = 19;
    static constexpr uint32_t kTextColour = 224;

    // Placed by the point's modes (1, 1: centred both ways); takes no mouse input itself.
    CPlayImage(int32_t id, const CPoint& placement);
    ~CPlayImage() override;

    void SetOwner(CBaseObj* owner) override;
    // 263, 264 and 265 enable the menu bar and go to the receiver; every message is taken.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // The picture ("CBM"), the text inside it (may be null), the menu bar disabled.
    void Setup(CFrame* receiver, int32_t pictureId, const CStr* text);
    // The three buttons along the bottom; none when any image is missing.
    void AddButtons();

    CFrame* GetReceiver() const { return receiver_; }

private:
    CFrame* receiver_ = nullptr;
    // The menu bar disabled by Setup and not enabled again by a button message yet.
    bool barDisabled_ = false;
};
