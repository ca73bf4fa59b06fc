#pragma once
// CSaveListFrm: the saved-game slots. Saved games live in a fixed set of slot files in one
// folder, $XDG_DATA_HOME/kvl/Quillmark III/<folder name> (~/.local/share when it is not set),
// which the engine reaches through a drive of its own. The frame lists each slot with the name
// of the game saved in it, keeps the player's choice and reports it to its notify target:
// a message with the result id whose fourth word is the chosen index (-1 none) and whose third
// is the chosen slot's file spec (none without a choice).
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"

class CFileSpec;

class CSaveListFrm : public CFrame {
public:
    // Messages from the dialog's controls.
    static constexpr int32_t kMsgPick = 1101;     // word 0: the index
    static constexpr int32_t kMsgListPick = 1103; // word 3: the index
    static constexpr int32_t kMsgReport = 1104;
    static constexpr int32_t kMsgOk = 1105;
    static constexpr int32_t kMsgCancel = 1106;
    static constexpr const char* kUntitled = "<untitled>";

    // The folder name and the slot file names come from the data; `currentFile` (may be null)
    // names the open game's slot. With existingOnly only slots holding a game are listed.
    CSaveListFrm(int32_t id, const CPoint& at, CBaseObj* notifyTarget, int32_t resultMessage,
                 const CStr& folderName, const CTplRec* slotFiles, int32_t nameOffset, int32_t nameLength,
                 const CStr* currentFile, int32_t screenList, uint32_t libraryMask, bool existingOnly);
    ~CSaveListFrm() override;

    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // 0 when the folder is usable, 1 when not.
    int16_t GetStatus() const { return status_; }
    // The folder; null when unusable.
    const CFileSpec* GetFolderSpec() const { return folder_.get(); }
    // The chosen slot's file as last reported; null before a report with a choice.
    const CFileSpec* GetChosenSpec() const { return chosenSpec_.get(); }
    const CStr& GetChosenName() const { return chosenName_; }
    void SetChosenName(const CStr& name) { chosenName_ = name; }
    int32_t GetChosenIndex() const { return chosen_; }
    bool IsCancelled() const { return cancelled_; }
    bool HasScreen() const { return screen_ != nullptr; }
    const CTplRec& GetFileNames() const { return fileNames_; }
    const CTplRec& GetDisplayNames() const { return displayNames_; }

protected:
    // Takes an index of the list as the choice; any other value is ignored. True when taken.
    bool Choose(int32_t index);
    void Report();
    CFrame* GetScreen() const { return screen_; }

private:
    // What a slot's file holds: nothing (no file), something that is no saved game (junk, an
    // empty or a cut file, or one that cannot be read), or a saved game with its name.
    enum class SlotContent { kNone, kDamaged, kNamed };

    void FillList(const CTplRec& slotFiles, bool existingOnly);
    // The slot file's content; `name` is set for a named one.
    SlotContent ReadSlot(const char* fileName, CStr& name) const;

    std::unique_ptr<CFileSpec> folder_;
    std::unique_ptr<CFileSpec> chosenSpec_;
    CBaseObj* notifyTarget_;
    CStr chosenName_;
    CTplRec fileNames_;
    CTplRec displayNames_;
    int32_t chosen_ = -1;
    int32_t nameOffset_;
    int32_t nameLength_;
    int16_t status_ = 1;
    int32_t resultMessage_;
    bool cancelled_ = false;
    CFrame* screen_ = nullptr;
};

// The saved games' folder for the folder name, made with its parents; null when the name is
// not a plain folder name (a path separator, "." or "..") or the folder cannot be made.
std::unique_ptr<CFileSpec> MakeSavedGamesFolder(const CStr& folderName);
// Whether a name from the data can name a file of the folder: not empty, no path separator,
// no drive, not "." or "..".
bool IsPlainFileName(const char* name);
