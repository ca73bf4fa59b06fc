#pragma once
// The file commands of the game: saving (-28, -27), quitting with a save offer (-26), opening
// a saved game (-25) or a new one (-24), and opening the saved game a message names (-19);
// and the save prompt they share. The saved-game document is the global document
// (GetCurDoc); these are the only places that make and delete it.
#include <functional>

class CSaveListFrm;

// What came of a save offer.
enum class SaveAnswer {
    Done,      // saved, chosen (when opening), or nothing needed saving
    Cancelled, // no game, or the player cancelled
    Failed,    // the save failed; its message was shown and the game is kept
};

// Offers to save the open game (opening: asks which saved game to open). A game on disc 1
// is not offered when saving. forced selects the dialog that cannot be skipped (quitting,
// opening another game).
SaveAnswer PromptSave(bool opening, bool forced);

// Runs the save dialog until it reports; the game shows it modally over the top window.
using SaveDialogRunner = std::function<void(CSaveListFrm&)>;
// Installs the runner (tests script the player); an empty one restores the game's.
void SetSaveDialogRunner(SaveDialogRunner runner);

// Deletes the global document and clears it; a document that is loading is only forgotten
// (the file command that loads it deletes it when the load returns).
void CloseDocument();

// The template lists of the save dialog: save, open, save that cannot be skipped.
constexpr int32_t kSaveDialogList = 90;
constexpr int32_t kOpenDialogList = 91;
constexpr int32_t kForcedSaveDialogList = 92;
// The string list of the slot file names.
constexpr int32_t kSlotFileList = 91;
// The save dialog's controls: the slot list, the name field and the OK button.
constexpr int32_t kSlotListId = 12000;
constexpr int32_t kNameFieldId = 13000;
constexpr int32_t kOkButtonId = 14000;
// The message the dialog sends the application when it ends.
constexpr int32_t kSaveDialogResult = 1100;
