#pragma once
// CPopTextList: the help popup's content, a bordered, wrapping scroll list that shows the help
// of the frame the user points at. A frame with a positive help id has its help in the "HEP"
// record of that id: mode (short), width limit (short), fixed height (short), a rectangle
// (top, left, bottom, right: shorts), four longs and the text (string). The list measures the
// text within the width limit (200 unless the record says otherwise) and takes its size, or
// the fixed height, or with mode 4 the size the record's rectangle gives. A frame with a
// negative help id prepares and draws its own help (CFrame::PrepareHelp, DrawHelp).
#include <array>
#include <cstdint>

#include "engine/controls/text/PopContent.h"
#include "engine/controls/text/ScrollList.h"

class CPopTextList : public CScrollList, public CPopContent {
public:
    static constexpr int32_t kModeKeepSize = 4;
    static constexpr int16_t kDefaultWidthLimit = 200;

    // Opaque, with help id 0; help records are found under the mask.
    CPopTextList(int32_t id, const CRect& rect, uint32_t libraryMask);

    // The list's text for a positive help id, the source's own drawing for a negative one.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Slot 37.
    void SetSource(CFrame* frame) override;
    bool HasHelp() const override;
    int32_t GetPlacementMode() const override { return mode_; }
    void ForgetSource(const CFrame* frame) override;
    // Slot 38: takes mode, width limit, fixed height, rectangle (when its bottom or right is
    // not 0), the four values and the text from "HEP" record id. A record that is missing or
    // cannot be compiled leaves the list empty and its size as it was: false.
    virtual bool LoadHelp(int32_t id, uint32_t libraryMask);

    CFrame* GetSource() const { return source_; }
    int16_t GetWidthLimit() const { return widthLimit_; }
    int16_t GetFixedHeight() const { return fixedHeight_; }
    const std::array<int32_t, 4>& GetValues() const { return values_; }

private:
    // Lays the text out within the width limit and takes its size, with room for the border.
    void SizeToText();

    uint32_t libraryMask_;
    CFrame* source_ = nullptr;
    int32_t mode_ = 1;
    int16_t widthLimit_ = kDefaultWidthLimit;
    int16_t fixedHeight_ = 0;
    std::array<int32_t, 4> values_{};
    bool loaded_ = false;
};
