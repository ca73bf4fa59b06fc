#pragma once
// The content of the help popup window: the frame that takes the help text of the frame the
// user points at, and the placement mode by which the popup places itself (PopWind.h).
//
// CPopTextFrame is the plain content: a bordered text frame that shows the help text of a
// "HEP" record. A frame with a positive help id has its help in the "HEP" record of that id:
// mode (short), width limit (short), fixed height (short), a rectangle (top, left, bottom,
// right: shorts), four longs and the text (string). The frame measures the text within the
// width limit (200 unless the record says otherwise) and takes its size, or the fixed height,
// or with mode 4 the size the record's rectangle gives.
#include <cstdint>

#include "engine/controls/TextFrame.h"

class CPopContent {
public:
    virtual ~CPopContent() = default;
    // Takes the help of the frame as the content (nothing when it is the source already).
    virtual void SetSource(CFrame* frame) = 0;
    // How the popup is placed: 0-3 around the mouse, 5-9 around the frame, 4 not moved.
    virtual int32_t GetPlacementMode() const = 0;
    // A frame that is going away stops being the source.
    virtual void ForgetSource(const CFrame* frame) = 0;
};

class CPopTextFrame : public CTextFrame, public CPopContent {
public:
    static constexpr int32_t kModeKeepSize = 4;
    static constexpr int16_t kDefaultWidthLimit = 200;

    // An opaque, bordered, wrapping text frame; help records are found under the mask.
    CPopTextFrame(int32_t id, const CRect& rect, uint32_t libraryMask);

    void SetSource(CFrame* frame) override;
    int32_t GetPlacementMode() const override { return mode_; }
    void ForgetSource(const CFrame* frame) override
    {
        if (frame == source_)
            source_ = nullptr;
    }
    // Takes mode, width limit, fixed height, rectangle and text from "HEP" record id.
    virtual void LoadHelp(int32_t id, uint32_t libraryMask);

    CFrame* GetSource() const { return source_; }
    int16_t GetWidthLimit() const { return widthLimit_; }

private:
    // The size of the text laid out within the width limit, with room for the border.
    void SizeToText();

    uint32_t libraryMask_;
    CFrame* source_ = nullptr;
    int32_t mode_ = 1;
    int16_t widthLimit_ = kDefaultWidthLimit;
    int16_t fixedHeight_ = 0;
};
