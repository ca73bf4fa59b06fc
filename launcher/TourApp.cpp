#include "launcher/TourApp.h"

#include <vector>

#include "engine/controls/BorderWnd.h"
#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TopWnd.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/CachedImages.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/MegaLib.h"
#include "engine/resources/TextRsrc.h"
#include "engine/resources/TplRecLoader.h"
#include "launcher/LaunchItem.h"
#include "launcher/TourSounds.h"
#include "platform/Desktop.h"
#include "platform/Programs.h"
#include "platform/Window.h"

namespace tour {
namespace {

constexpr uint32_t kAnyLibrary = 0xFFFFFFFFu;
constexpr int32_t kWaitCursor = 3;
// The caption line at the foot of the first screen.
constexpr int16_t kCaptionTop = 405, kCaptionBottom = 440, kCaptionRight = 620;
constexpr int16_t kCaptionFont = 4;
constexpr uint32_t kCaptionBackground = 255;
constexpr int32_t kJustifyEnd = 2; // right, or bottom
// This platform reports itself as NT, where any library's button record is taken first.
constexpr bool kPlatformIsNt = true;

// Registers the library when it opened; false when it did not.
bool AddIfOpen(std::unique_ptr<CResLib> library)
{
    if (!library || library->GetStatus() != 0)
        return false;
    if (CLibMgr* manager = GetLibMgr()) {
        manager->AddLibrary(std::move(library));
        return true;
    }
    return false;
}

std::string Entry(const CTplRec* record, int32_t n)
{
    const std::unique_ptr<CStr> text = record ? record->GetEntryString(n) : nullptr;
    return text && text->GetText() ? text->GetText() : "";
}

} // namespace

void OpenTourLibraries()
{
    if (!AddIfOpen(std::make_unique<CMegaLib>("TourData\\TourLib.Mdt")))
        AddIfOpen(std::make_unique<CFoldLib>("TourData\\TourData.Mdt"));
    if (!AddIfOpen(std::make_unique<CMegaLib>("TourData\\TourLib.Lng")))
        AddIfOpen(std::make_unique<CFoldLib>("TourData\\TourData.Lng"));
    AddIfOpen(std::make_unique<CFoldLib>("TourData\\Tourdata.Cus"));
}

std::unique_ptr<CTextRsrc> LoadButtonRecord(int32_t id, bool nt)
{
    if (nt)
        if (std::unique_ptr<CTextRsrc> record = CTextRsrc::Create("BTN", id, kAnyLibrary, false))
            return record;
    return CTextRsrc::Create("BTN", id, CTourApp::kCustomDataMask, false);
}

// What a pick needs of the application: message boxes, the wait cursor, the screen switch
// and the link opener.
class CTourApp::Services : public LaunchServices {
public:
    Services(CTourApp& app, TourHooks& hooks) : app_(app), hooks_(hooks)
    {
        placeholder = Entry(app.strings_.get(), kPlaceholderEntry);
        linkPrefix = Entry(app.strings_.get(), kLinkPrefixEntry);
    }

    void ShowMessage(const std::string& text, bool stop) override
    {
        ShowMessageBox(text.c_str(), "", stop ? CMsgBox::kIconStop : CMsgBox::kIconInformation,
                       CMsgBox::kButtonsOk, 1);
    }
    void SwitchScreen(int32_t screen) override
    {
        // Queued: the screen changes after the click has been handled.
        SendMessageRecord(app_, kMsgSwitchScreen, 0, screen, 0, nullptr);
    }
    bool OpenLink(const std::string& url) override
    {
        return hooks_.openLink ? hooks_.openLink(url) : plat::OpenUrl(url);
    }
    void ShowBusy(bool busy) override
    {
        if (busy) {
            savedCursor_ = GetCursorId();
            SetCursorId(kWaitCursor, kAnyLibrary);
        } else {
            SetCursorId(savedCursor_, kAnyLibrary);
        }
    }

private:
    CTourApp& app_;
    TourHooks& hooks_;
    int32_t savedCursor_ = 0;
};

CTourApp::CTourApp(TourHooks hooks) : hooks_(std::move(hooks))
{
    OpenTourLibraries();
    if (std::unique_ptr<CTextRsrc> record = LoadButtonRecord(kButtonRecordId, kPlatformIsNt))
        button_ = ReadButtonRecord(*record);
    Init(kPaletteId);
    // The launcher has no menu: closing its window then asks the application to quit.
    SetMenuBar(nullptr);
    if (CheckForAnother()) {
        found_ = true;
        return;
    }
    CreateBorderWnd(button_ ? button_->borderTitle.c_str() : "", 0);
    RegisterLiveObject(this);
    strings_ = CreateTplRec(kStringRecordId, kAnyLibrary, false);
    services_ = std::make_unique<Services>(*this, hooks_);
    SendMsg(*this, kMsgStart, 0, 0, this);
    SendCommandLineFiles();
}

CTourApp::~CTourApp()
{
    SendMsg(*this, kMsgCloseWindow, 0, 0, this);
    UnregisterLiveObject(this);
    button_.reset();
    itemImages_.reset();
    strings_.reset();
    if (!found_)
        DeleteBorderWnd();
}

bool CTourApp::CheckForAnother()
{
    // Without a button record there is nothing to look for.
    if (!button_)
        return false;
    return plat::FindWindow(button_->windowClass, button_->windowTitle) ||
           plat::FindWindow(button_->windowClass, button_->borderTitle);
}

bool CTourApp::HandleMessage(CMessage& message, CBaseObj* sender)
{
    switch (message.GetId()) {
    case kMsgStart: Start(); return true;
    case kMsgItemChosen: ItemChosen(message); return true;
    case kMsgSwitchScreen: SwitchScreen(static_cast<int32_t>(message.GetParam(0))); return true;
    case kMsgRemoveAuxFrame:
        if (auxFrame_) {
            auxFrame_->RemoveFromParent();
            delete auxFrame_;
            auxFrame_ = nullptr;
        }
        return true;
    case kMsgCloseWindow: CloseWindow(message); return true;
    case kMsgHandledNothing: return true;
    default: return CAppl::HandleMessage(message, sender);
    }
}

CFrame* CTourApp::BuildScreen(int32_t n)
{
    auto* screen = new CFrame(CFrame::kKindFrame, kScreenId, CRect(0, 0, kScreenHeight, kScreenWidth), false);
    if (std::unique_ptr<CLibRsrcList> picture = LoadCbmImgSet(nullptr, n, kAnyLibrary, -1, true))
        screen->AddChild(new CImageWnd(kScreenId, CPoint(0, 0), picture.release(), 0, 0, true), false);
    if (!button_)
        return screen;

    title_ = button_->title;
    itemImages_ = LoadCbmImgSet(nullptr, n + 1, kAnyLibrary, -1, true);
    std::optional<int32_t> celHeight;
    if (itemImages_ && itemImages_->GetCount() > 0) {
        CRect cel;
        itemImages_->GetImageRect(cel, 0);
        celHeight = cel.GetHeight();
    }
    const ItemLooks looks{static_cast<uint32_t>(button_->hoverColour),
                          static_cast<uint32_t>(button_->normalColour),
                          static_cast<int16_t>(button_->fontId)};
    for (size_t i = 0; i < button_->entries.size(); ++i) {
        const ItemPlace place = PlaceItem(*button_, i, celHeight);
        const CRect rect(static_cast<int16_t>(place.top), static_cast<int16_t>(place.left),
                         static_cast<int16_t>(place.bottom), static_cast<int16_t>(place.right));
        screen->AddChild(new CLaunchItem(itemImages_.get(), std::move(button_->entries[i]), button_->extra,
                                         static_cast<int32_t>(i), kMsgItemChosen, this, rect, looks),
                         false);
    }
    auto* caption =
        new CTextFrame(kScreenId, CRect(kCaptionTop, 0, kCaptionBottom, kCaptionRight),
                       std::make_unique<CStr>(button_->caption.c_str()), kCaptionFont, false, false);
    caption->SetBackColor(kCaptionBackground);
    caption->SetHJust(kJustifyEnd);
    caption->SetVJust(kJustifyEnd);
    screen->AddChild(caption, true);
    button_.reset();
    return screen;
}

void CTourApp::Start()
{
    screen_ = BuildScreen(kFirstScreen);
    if (!screen_) {
        SetQuitRequested(true);
        return;
    }
    CWindOptions options;
    options.close = true;
    menuWnd_ = new CTopWnd(std::make_unique<CStr>(title_.c_str()), screen_, nullptr, options);
    menuWnd_->SetCloseTarget(this);
    // The display shows this window's client area: the 640 x 480 screen.
    plat::SetPresentedWindow(menuWnd_->GetHwnd());
    menuWnd_->ShowWnd();
    menuWnd_->Activate();
    PlayTourSound(kIntroSound);
}

void CTourApp::ItemChosen(CMessage& message)
{
    const auto* item = message.GetParamPtr<CLaunchItem>(0);
    if (!item || !services_)
        return;
    PlayTourSound(kClickSound);
    const bool goOn = item->Launch(*services_);
    if (hooks_.afterPick)
        hooks_.afterPick();
    if (!goOn)
        SetQuitRequested(true);
}

void CTourApp::SwitchScreen(int32_t n)
{
    if (!menuWnd_)
        return;
    CFrame* screen = BuildScreen(n);
    if (CFrame* old = menuWnd_->SetFrame(screen))
        old->Destroy();
    screen_ = screen;
    menuWnd_->Invalidate(&screen_->GetDrawnRect());
}

void CTourApp::CloseWindow(CMessage& message)
{
    auto* window = message.GetParamPtr<CWind>(2);
    if (!window || !CWind::IsLiveWindow(window))
        window = CWind::GetTopWnd();
    if (!window)
        return;
    if (window == menuWnd_) {
        menuWnd_ = nullptr;
        screen_ = nullptr;
    }
    window->Destroy();
}

} // namespace tour
