#pragma once
// Dialogs made from a template list: the list is built without a parent, its first object
// is the dialog frame, run modally over the top window; its result is the id of the control
// that ended it.
#include <cstdint>

class CBaseObj;

// Builds the list with the target as its objects' notify target, runs the dialog and
// deletes it; 0 when the list makes no dialog frame.
int32_t RunModalList(int32_t listId, CBaseObj* target);
