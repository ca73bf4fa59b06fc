#pragma once
// CCtrlBarFrm: the bar across the bottom of the game window (rows 401-480). Its elements come
// from template lists, one set per kind of module, and notify the bar. It opens the options
// panel (music, sound and caption toggles, quit, save and two module shortcuts), shows a
// line of text for the river screens and the hunter's remaining shots. The module manager
// makes it at the first activation and keeps it outside its module slots.
#include <array>
#include <cstdint>
#include <memory>

#include "game/base/Module.h"

class CImageFrame;
class CStr;
class CTextFrame;

class CCtrlBarFrm : public CAnimModule {
public:
    static constexpr int32_t kId = 2000;
    static constexpr int16_t kMaxShots = 20;
    static constexpr int32_t kFirstShotId = 5111;
    static constexpr int32_t kShotAnimId = 5900;
    // The gun element's animations: 0 at rest, 1 the reload that RemoveShot starts (its
    // sequence leads back to 0, which ends the chain).
    static constexpr int16_t kGunIdle = 0;
    static constexpr int16_t kGunReload = 1;
    // GetShotState while the gun's animation runs.
    static constexpr int16_t kShotReloading = 2;
    // Messages of the bar's elements and of the options panel.
    static constexpr int32_t kMsgOpenPanel = 470;
    static constexpr int32_t kMsgToggleMusic = 472;
    static constexpr int32_t kMsgToggleSound = 473;
    static constexpr int32_t kMsgToggleCaptions = 474;
    static constexpr int32_t kMsgQuit = 476;
    static constexpr int32_t kMsgSave = 477;
    // Panel choices that open a module.
    static constexpr int32_t kChoiceGuidebook = 5999;
    static constexpr int32_t kChoiceTripStatus = 5998;

    explicit CCtrlBarFrm(const CRect& rect);
    ~CCtrlBarFrm() override;

    // Never switched.
    void Suspend() override {}
    void Resume() override {}

    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Keeps an open options panel usable while the engine disables objects.
    void SaveEnabled(bool flag, int32_t recurse = 0) override;
    void OnAttach() override;

    // Loads the element set of the module type (after every activation).
    void SetupForModule(int32_t type);
    // Replaces the bar's elements by those of the template list, unless they are on already.
    void LoadElements(int32_t setId);
    // One line of text on the bar; null only removes the old line.
    void SetMessage(std::unique_ptr<CStr> text);
    // Plays the shot sound (even with no shot left); hides the last shown icon and starts
    // the gun's reload animation.
    void RemoveShot();
    // Shows n shot icons (0-20; other counts are clamped).
    void SetShotCount(int16_t n);
    // 2 while the gun element's reload runs, else 0: at rest (animation 0, which the hunt
    // selects, or none) and without a gun element.
    int16_t GetShotState() const;

    int32_t GetElementSet() const { return elementSet_; }
    int32_t GetPanelChoice() const { return panelChoice_; }
    int16_t GetShotCount() const { return shotCount_; }
    CTextFrame* GetTextLine() const { return textLine_; }
    CImageFrame* GetPanel() const { return panel_; }

    // The element sets and option panels by module type.
    static int32_t ElementSetFor(int32_t type, bool landmarkFour);
    static int32_t PanelListFor(int32_t type);

private:
    // In the game window, with the travel module's current route node at landmark 4.
    bool AtLandmarkFour() const;
    void OpenPanel();
    void ToggleOption(const char* key, int32_t imageOn, int32_t imageOff, int32_t element);
    void ShowOptionImage(int32_t imageId, int32_t element);
    void ForgetElements();

    CImageFrame* panel_ = nullptr;
    CFrame* panelContents_ = nullptr;
    CTextFrame* textLine_ = nullptr;
    std::array<CFrame*, kMaxShots> shots_{};
    CFrame* shotAnim_ = nullptr;
    int16_t shotCount_ = 0;
    int32_t panelChoice_ = 0;
    int32_t elementSet_ = 0;
};
