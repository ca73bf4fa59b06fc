#pragma once
// CStrTplWnd: the engine's modal dialog window (window type 2, class "DClass"), made from
// templates of kinds 0x34 (title by string-list reference) and 0x35 (title written in the
// template). RunModal pumps the application's messages until a message -39 reaches the
// window (its sender's id becomes the result), the window is closed (result 0) or the
// program quits; the menu bar is disabled meanwhile, nested. A fixed-size dialog offers no
// size, minimise, maximise or restore commands.
#include <cstdint>
#include <memory>

#include "engine/controls/Wind.h"

class CStr;
class CTObj;

class CStrTplWnd : public CWind {
public:
    static constexpr int32_t kKindByReference = 0x34;
    static constexpr int32_t kKindLiteral = 0x35;
    // The game's dialogs read the literal-title template under a kind of their own.
    static constexpr int32_t kKindGameDialog = 0x3c;

    // Creates the native window, then sets the title. With a parent, the position is relative
    // to the parent's client area.
    CStrTplWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position, CWind* parent,
               uint32_t flags);

    // Slot 4: -39 detaches the root frame and ends the modal loop, with the sender's id as the
    // result when a sender is given.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Slot 14: a dialog that closes ends its loop with result 0. While its loop runs it
    // answers false, so the window procedure leaves the window to the caller of RunModal.
    bool Close(bool ask) override;
    // Slot 29: a dialog keeps the activation while it is shown.
    bool HasChildren() override { return true; }
    // Slot 47: runs the modal loop and answers the result; without a root frame the result
    // at once.
    virtual int32_t RunModal();

    bool IsDone() const { return done_ != 0; }
    int32_t GetResult() const { return result_; }

    // The registrar's create function of kinds 0x34 and 0x35: the parent is the window of
    // the template's "parentid", else the active window.
    static CBaseObj* CreateFromTemplate(CTObj* tpl);

protected:
    // A dialog of its own can end (or keep running) its loop without the -39 message.
    void SetDone(bool done) { done_ = done ? 1 : 0; }

private:
    uint8_t done_ = 0;
    int32_t result_ = 0;
    bool running_ = false;
};
