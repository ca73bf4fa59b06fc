#include "game/base/ModuleBackFrm.h"

#include "engine/controls/ImageWnd.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Str.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameImages.h"

namespace {

constexpr uint32_t kTextColor = 224;
constexpr int32_t kBusyCursor = 3;

} // namespace

CModuleBackFrm::CModuleBackFrm(int32_t id, const CRect& rect, uint32_t color, uint32_t borderBits)
    : CFrame(kKindFrame, id, rect, false)
{
    SetBackColor(color);
    SetBorder(borderBits);
    SetTakesInput(true);
}

CModuleBackFrm::~CModuleBackFrm()
{
    if (menuDisabled_)
        if (CMenuBar* bar = GetMenuBar())
            bar->Enable(true);
}

void CModuleBackFrm::Layout(int32_t imageId, std::unique_ptr<CStr> text, int16_t fontId)
{
    const int16_t ownerZ = GetParent() ? GetParent()->GetZ() : 0;
    MoveTo(GetH(), GetV(), static_cast<int16_t>(ownerZ - 200));
    if (std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, imageId, false, 0)) {
        CRect size;
        image->GetImageRect(size, 0);
        const CRect& bounds = GetBounds();
        const auto h = static_cast<int16_t>(bounds.GetLeft() + (bounds.GetWidth() - size.GetWidth()) / 2);
        const auto v = static_cast<int16_t>(bounds.GetTop() + (bounds.GetHeight() - size.GetHeight()) / 2);
        picture_ = new CImageWnd(-2, CPoint(h, v), image.release(), 0, 0, true);
        picture_->MoveTo(h, v, static_cast<int16_t>(GetZ() - 3));
        AddChild(picture_, false);
    }
    if (text) {
        CRect area = picture_ ? picture_->GetDrawnRect() : GetBounds();
        area.Set(static_cast<int16_t>(area.GetTop() + 70), static_cast<int16_t>(area.GetLeft() + 20),
                 static_cast<int16_t>(area.GetBottom() - 80), static_cast<int16_t>(area.GetRight() - 20));
        text_ = new CTextFrame(-2, area, std::move(text), fontId, false, false);
        text_->MoveTo(area.GetLeft(), area.GetTop(),
                      static_cast<int16_t>((picture_ ? picture_->GetZ() : GetZ()) - 3));
        text_->SetHJust(1);
        text_->SetVJust(1);
        text_->SetTextColor(kTextColor);
        AddChild(text_, false);
    }
    Draw(true);
    UpdateWindow();
    SetCursor(kBusyCursor);
    if (CMenuBar* bar = GetMenuBar()) {
        bar->Enable(false);
        menuDisabled_ = true;
    }
}
