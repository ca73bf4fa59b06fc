#pragma once
// CQM3Appl: the game application. Its constructor finds the data and language libraries,
// starts the engine on them, preloads the game's definitions and message strings and makes
// the game's process-wide objects; Run opens the game window (command 2), the sound device
// and the saved games named on the command line, then pumps until quit. A start that cannot
// find its libraries leaves the quit flag set and Run returns at once.
//
// Every command that reaches the application goes through its dispatcher (CommandDispatch):
// window, option, file and quit commands, and the screens' commands for the landmark and
// travel modules.
#include <cstdint>
#include <memory>

#include "engine/framework/Appl.h"

class CRegistrar;
class CStr;
class CTplRec;
class CWind;

class CQM3Appl : public CAppl {
public:
    static constexpr int32_t kId = 934;
    static constexpr int32_t kPaletteId = 1008;
    // The "VAL" definition records parsed at start, in this order.
    static constexpr int32_t kDefinitionRecords[8] = {99, 91, 90, 20, 100, 1, 2, 5};
    static constexpr int32_t kDiscNamesList = 90;
    static constexpr int32_t kStringList = 100;

    explicit CQM3Appl(const ApplRequirements* requirements = nullptr);
    ~CQM3Appl() override;

    bool HandleMessage(CMessage& message, CBaseObj* sender) override
    {
        return CommandDispatch(message, sender);
    }
    void Resume() override;
    void Pause() override;
    void Run() override;
    int32_t LowMemoryNotice(int32_t size) override;
    void OnMenuBarCreated(CMenuBar* bar) override { CAppl::OnMenuBarCreated(bar); }
    void OnInitMenu() override { UpdateMenuChecks(); }

    bool CommandDispatch(CMessage& message, CBaseObj* sender);
    void UpdateMenuChecks();
    // Titles the top window "Quillmark - " and the game's name.
    void SetWindowTitle(CWind* topWindow);

    // Entry n of the game's message strings (a new string), null when there is none.
    std::unique_ptr<CStr> GetString(int32_t n) const;
    const CTplRec* GetStringList() const { return stringList_.get(); }
    const CStr* GetDiscFolderName() const { return discFolder_.get(); }
    int32_t GetCurrentDisc() const { return currentDisc_; }
    void SetCurrentDisc(int32_t disc) { currentDisc_ = disc; }
    bool WasLowMemoryShown() const { return lowMemoryShown_; }

    // The image cache's size for the free memory: (M - 4,608,000) x (4,608,000 / M) in single
    // precision, truncated, at least 0 (and M taken as at least 1).
    static int32_t ImageCacheSize(int32_t freeMemory);

private:
    void DoFileCommand(CMessage& message);
    void OpenGameWindow();
    void CloseGame();
    void ToggleScreenBorder();
    void ToggleCaptions();
    void ToggleSound();
    void EditTargetChanged(CMessage& message);
    void EditTargetTextChanged();
    void EndModalFrom(CBaseObj* sender);
    void SetupPopup();

    std::unique_ptr<CTplRec> stringList_;
    std::unique_ptr<CRegistrar> registrar_;
    std::unique_ptr<CStr> discFolder_;
    int32_t currentDisc_ = 0;
    bool lowMemoryShown_ = false;
};

// The game application, or null.
CQM3Appl* GetGameAppl();
