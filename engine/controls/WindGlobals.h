#pragma once
// The window layer's program-wide state, shared by the window source files: the window
// lists, the activation order, the top, active and key-focus windows and controls, and the
// window number counter.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/framework/List.h"

class CWindControl;

namespace wndglobals {

struct State {
    std::unique_ptr<CWindList> listA;      // types 0 and 1
    std::unique_ptr<CWindList> listB;      // every other type
    std::unique_ptr<CWindList> activation; // most recently activated first
    CWind* topWnd = nullptr;
    CWind* activeWnd = nullptr;
    CWindControl* keyFocus = nullptr;
    uint16_t nextNumber = 0;
};

State& Get();
// The list, made when it does not exist yet.
CWindList& EnsureList(std::unique_ptr<CWindList>& list);
// Removes the window; a list left empty is deleted.
void RemoveFromList(std::unique_ptr<CWindList>& list, CWind* wnd);
// The windows of a list in order, so that a walk survives changes to the list.
std::vector<CWind*> Snapshot(const CWindList* list);

} // namespace wndglobals
