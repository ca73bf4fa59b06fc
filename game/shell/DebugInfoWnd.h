#pragma once
// CDebugInfoWnd: a small modal window that shows one text with an "OK" button, for looking at
// values while the game runs. OK (-50) ends its modal loop; it always agrees to close.
#include <cstdint>
#include <memory>

#include "engine/controls/StrTplWnd.h"

class CTextFrame;

class CDebugInfoWnd : public CStrTplWnd {
public:
    static constexpr int32_t kOkId = -50;
    static constexpr int32_t kOkMessage = -13;

    explicit CDebugInfoWnd(std::unique_ptr<CStr> text);

    // Every message first clears the done flag; -9 answers true, OK's -13 ends the loop.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // The text object; null in a window made over a root frame of its own.
    CTextFrame* GetTextFrame() const { return text_; }
    // The text object's layout value; kept, with no effect on the drawing.
    int16_t GetLayout() const { return layout_; }

protected:
    // The same window over the caller's root frame, with OK at `okRect` in it.
    CDebugInfoWnd(CFrame* root, const CRect& okRect);

private:
    CTextFrame* text_ = nullptr;
    int16_t layout_ = 2;
};
