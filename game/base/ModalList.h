#pragma once
// Screens and dialogs made from a template list. A list built without a parent makes a
// dialog: its first object is the dialog frame, run modally over the top window, and its
// result is the id of the control that ended it.
#include <cstdint>
#include <memory>

class CBaseObj;
class CFrame;
class CImageFrame;

// Builds the list under `root` (null: its first object stands alone) with `owner` hearing its
// controls; the first object when it is a frame, else null (anything else built is deleted).
CFrame* BuildListFrame(int32_t listId, CFrame* root, CBaseObj* owner);
// Builds the list's screen without a parent (`owner` hearing its controls) and gives it to
// `holder`, which takes the screen's place and size at depth 0 while the screen stays where its
// template puts it; the screen, or null when the list makes no frame.
CFrame* BuildHeldScreen(int32_t listId, uint32_t libraryMask, CFrame& holder, CBaseObj* owner);
// The dialog of the list (built without a parent), not yet run; null when the list makes no
// dialog frame.
std::unique_ptr<CImageFrame> MakeModalList(int32_t listId, CBaseObj* target);
// Builds the list with the target as its objects' notify target, runs the dialog and
// deletes it; 0 when the list makes no dialog frame.
int32_t RunModalList(int32_t listId, CBaseObj* target);
