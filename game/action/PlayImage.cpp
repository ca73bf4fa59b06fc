#include "game/action/PlayImage.h"

#include <memory>

#include "engine/controls/MenuBar.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameImages.h"

namespace {

void EnableMenuBar(bool enable)
{
    if (CMenuBar* bar = GetMenuBar())
        bar->Enable(enable);
}

std::unique_ptr<CImgSet> LoadPicture(int32_t id)
{
    std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, id, false, 0);
    if (image)
        image->SetDrawProc(DrawTransparent);
    return image;
}

} // namespace

CPlayImage::CPlayImage(int32_t id, const CPoint& placement)
    : CImageWnd(id, CPoint(0, 0), placement.GetH(), placement.GetV())
{
    SetTakesInput(false);
}

CPlayImage::~CPlayImage()
{
    if (barDisabled_)
        EnableMenuBar(true);
}

void CPlayImage::SetOwner(CBaseObj* owner)
{
    const bool fresh = owner && owner != GetOwner();
    CImageWnd::SetOwner(owner);
    if (fresh)
        RegisterLiveObject(this);
}

bool CPlayImage::HandleMessage(CMessage& message, CBaseObj*)
{
    const int32_t id = message.GetId();
    if (id == kMsgKeep || id == kMsgLetGo || id == kMsgAsk) {
        EnableMenuBar(true);
        barDisabled_ = false;
        if (receiver_)
            SendMsg(*receiver_, id, 0, 0, this);
    }
    return true;
}

void CPlayImage::Setup(CFrame* receiver, int32_t pictureId, const CStr* text)
{
    CBusyCursor busy;
    receiver_ = receiver;
    SetImages(LoadPicture(pictureId).release(), true);
    MoveTo(GetDrawnRect().GetLeft(), GetDrawnRect().GetTop(), -10);
    if (text) {
        const CRect& r = GetDrawnRect();
        const CRect inside(static_cast<int16_t>(r.GetTop() + 30), static_cast<int16_t>(r.GetLeft() + 20),
                           static_cast<int16_t>(r.GetBottom() - 80), static_cast<int16_t>(r.GetRight() - 20));
        auto* frame =
            new CTextFrame(-2, inside, std::make_unique<CStr>(text->GetText()), kTextStyle, true, false);
        frame->SetHJust(kJustifyCenter);
        frame->SetTextColor(kTextColour);
        frame->MoveTo(inside.GetLeft(), inside.GetTop(), 0);
        AddChild(frame, false);
    }
    EnableMenuBar(false);
    barDisabled_ = true;
}

void CPlayImage::AddButtons()
{
    CBusyCursor busy;
    std::unique_ptr<CImgSet> keep = LoadPicture(kKeepImage);
    std::unique_ptr<CImgSet> letGo = LoadPicture(kLetGoImage);
    std::unique_ptr<CImgSet> ask = LoadPicture(kAskImage);
    if (!keep || !letGo || !ask)
        return;
    CRect size;
    keep->GetImageRect(size, 0);
    const CRect& r = GetDrawnRect();
    const auto bottom = static_cast<int16_t>(r.GetBottom() - kButtonLift);
    const auto keepLeft = static_cast<int16_t>(r.GetLeft() + (r.GetWidth() - size.GetWidth()) / 2);
    CRect letGoSize;
    letGo->GetImageRect(letGoSize, 0);
    CRect askSize;
    ask->GetImageRect(askSize, 0);
    struct Button {
        std::unique_ptr<CImgSet>& image;
        int32_t message;
        int16_t left;
        int16_t height;
    } buttons[] = {
        {keep, kMsgKeep, keepLeft, size.GetHeight()},
        {letGo, kMsgLetGo, static_cast<int16_t>(keepLeft - kButtonGap - letGoSize.GetWidth()),
         letGoSize.GetHeight()},
        {ask, kMsgAsk, static_cast<int16_t>(keepLeft + size.GetWidth() + kButtonGap), askSize.GetHeight()},
    };
    for (Button& b : buttons) {
        auto* button = new CImgBtnWnd(-2, CPoint(b.left, static_cast<int16_t>(bottom - b.height)), b.message,
                                      this, 2, b.image.release(), 0, 0);
        AddChild(button, true);
    }
}
