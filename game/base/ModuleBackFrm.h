#pragma once
// CModuleBackFrm: the blank full screen with a picture and a line of text that covers the
// game window while a module is being built. It takes the mouse and disables the menu bar
// for as long as it exists.
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"

class CImageWnd;
class CStr;
class CTextFrame;

class CModuleBackFrm : public CFrame {
public:
    // Filled with the colour; the border bits are those of CFrame.
    CModuleBackFrm(int32_t id, const CRect& rect, uint32_t color, uint32_t borderBits);
    // Enables the menu bar again.
    ~CModuleBackFrm() override;

    // Shows picture imageId centred with the text (may be null) in the font over it, then
    // paints at once and disables the menu bar.
    void Layout(int32_t imageId, std::unique_ptr<CStr> text, int16_t fontId);

    CImageWnd* GetPicture() const { return picture_; }
    CTextFrame* GetText() const { return text_; }

private:
    CImageWnd* picture_ = nullptr;
    CTextFrame* text_ = nullptr;
    bool menuDisabled_ = false;
};
