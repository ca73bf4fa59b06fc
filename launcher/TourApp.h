#pragma once
// CTourApp: the launcher's application. It opens the tour libraries, reads the button record,
// refuses to run beside another launcher, shows the first menu screen with the intro sound,
// runs the item the user picks, switches menu screens and ends the tour.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/framework/Appl.h"
#include "launcher/ButtonRecord.h"

class CFrame;
class CImgSet;
class CTextRsrc;
class CTopWnd;
class CTplRec;

namespace tour {

// What the program around the application decides.
struct TourHooks {
    // Hands a web address on; false when it was refused or nothing opened it. Without one,
    // the platform's link opener (plat::OpenUrl).
    std::function<bool(const std::string& url)> openLink;
    // Called after each pick has run (a headless run prints what the pick started).
    std::function<void()> afterPick;
};

// The libraries of the tour folder ("TourData" in the current folder), each registered with
// the library manager when it opens: the data (TourLib.Mdt, else the folder TourData.Mdt),
// the language (TourLib.Lng, else the folder TourData.Lng) and the custom data (the folder
// Tourdata.Cus). A library that opens in neither form is left out without a word.
void OpenTourLibraries();

// The "BTN" record of the id: on NT first from any library, then (and on other systems only)
// from the custom-data library (mask 4); null when there is none.
std::unique_ptr<CTextRsrc> LoadButtonRecord(int32_t id, bool nt);

class CTourApp : public CAppl {
public:
    static constexpr int32_t kPaletteId = 1008;
    static constexpr int32_t kButtonRecordId = 1000;
    static constexpr int32_t kFirstScreen = 1000;
    static constexpr int32_t kStringRecordId = 100;
    static constexpr uint32_t kCustomDataMask = 4;
    // The frame id of the screen, its picture and its caption line.
    static constexpr int32_t kScreenId = 4;
    static constexpr int16_t kScreenWidth = 640;
    static constexpr int16_t kScreenHeight = 480;
    // The string record's entries: the word a failure text names the program by, and the text
    // before the web address when a link does not open.
    static constexpr int32_t kPlaceholderEntry = 8;
    static constexpr int32_t kLinkPrefixEntry = 10;
    enum : int32_t {
        kMsgStart = 2,
        kMsgItemChosen = 20,   // word 0: the item
        kMsgSwitchScreen = 21, // word 0: the screen number
        kMsgRemoveAuxFrame = 30,
        kMsgCloseWindow = -9, // word 2: the window, or none for the top-level window
        kMsgHandledNothing = -10,
    };

    // Start-up: libraries, button record, engine start-up with palette 1008, the check for
    // another launcher (FoundAnother: nothing more is done then), the border window, the
    // string record and the first screen.
    explicit CTourApp(TourHooks hooks = {});
    ~CTourApp() override;

    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // Another launcher's window was found at start-up: the program ends without running.
    bool FoundAnother() const { return found_; }
    // The frame of screen n: its picture (blank without one) and, while the button record is
    // held (the first screen only), the items and the caption line; the record is released.
    CFrame* BuildScreen(int32_t n);

    CTopWnd* GetMenuWindow() const { return menuWnd_; }
    CFrame* GetScreen() const { return screen_; }
    const std::optional<ButtonRecord>& GetButtonRecord() const { return button_; }
    const CTplRec* GetStringRecord() const { return strings_.get(); }

private:
    class Services;

    bool CheckForAnother();
    void Start();
    void ItemChosen(CMessage& message);
    void SwitchScreen(int32_t n);
    void CloseWindow(CMessage& message);

    TourHooks hooks_;
    std::optional<ButtonRecord> button_;
    CFrame* screen_ = nullptr;            // owned by the menu window
    std::unique_ptr<CImgSet> itemImages_; // shared by the first screen's items
    std::string title_;                   // the menu window's title
    CFrame* auxFrame_ = nullptr;          // removed by message 30; nothing sets it
    CTopWnd* menuWnd_ = nullptr;
    bool found_ = false;
    std::unique_ptr<CTplRec> strings_; // "STR" 100, which the items' messages borrow
    std::unique_ptr<Services> services_;
};

} // namespace tour
