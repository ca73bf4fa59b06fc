#pragma once
// The content of the help popup window: the frame that takes the help of the frame the user
// points at, and the placement mode by which the popup places itself (PopWind.h). The popup
// makes a CPopTextList (PopTextList.h) unless it is given another content.
#include <cstdint>

class CFrame;

class CPopContent {
public:
    virtual ~CPopContent() = default;
    // Takes the help of the frame as the content (nothing when it is the source already).
    virtual void SetSource(CFrame* frame) = 0;
    // Whether there is help to show for the source.
    virtual bool HasHelp() const = 0;
    // How the popup is placed: 0-3 around the mouse, 5-9 around the frame, 4 not moved.
    virtual int32_t GetPlacementMode() const = 0;
    // A frame that is going away stops being the source.
    virtual void ForgetSource(const CFrame* frame) = 0;
};
