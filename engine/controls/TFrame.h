#pragma once
// CTFrame: the template of a graphic object (registrar kind 1 makes a plain frame). After
// "ID" it reads "parentid", "flags", "helpid", "helplibmask", "cursorid", "curslibmask"
// (longs) and "top", "left", "bottom", "right" (shorts). A template's "flags" become the
// whole flag word of the object it is applied to (the own-content bit excepted), so they
// carry the shown (0x1) and enabled (0x8) bits themselves.
#include <cstdint>
#include <memory>

#include "engine/controls/TObj.h"
#include "engine/framework/Message.h"
#include "engine/framework/Rect.h"

class CBaseObj;
class CFrame;
class CImgSet;
class CStr;
class CTplRec;

class CTFrame : public CTObj {
public:
    static constexpr int32_t kKindPlainFrame = 1;
    // Template flag: a missing image is a fatal report.
    static constexpr uint32_t kFlagReportMissing = 0x400;

    CTFrame(int32_t kind, CRawParser* parser);
    CTFrame(const CTFrame&) = default;

    bool IsFrameTemplate() const override { return true; }
    // Slot 3: run by the template list just before the object is made.
    virtual void Prepare() {}
    // Slot 4: a control template's tab order.
    virtual int32_t GetTabOrder() const { return 0; }
    // Slot 5: the id of the object a control notifies (made the object's owner by the list).
    virtual int32_t GetNotifyWhoId() const { return 0; }
    // Slots 6 and 7: the string reference of a text-bearing template.
    virtual int32_t GetStrIndex() const { return -1; }
    virtual int32_t GetStrListId() const { return 0; }
    // Slot 8: the flags (keeping the object's own-content bit), the help id when set and the
    // direct bit.
    virtual void ApplyTo(CFrame* object);

    // Resolves a string-list reference through the template's list (CBTplList::GetString),
    // with the build value as the given list: with a negative index the whole list, otherwise
    // a copy of entry `index`. Both are the caller's; both stay null when there is nothing.
    void GetStrListItem(uint32_t libraryMask, int32_t listId, int32_t index, std::unique_ptr<CTplRec>* list,
                        std::unique_ptr<CStr>* text) const;
    // The picture ("CBM") image set of that id through the template's list; null when it is
    // missing, a fatal report instead when the template has flag 0x400.
    std::unique_ptr<CImgSet> LoadImage(uint32_t libraryMask, int32_t id) const;

    // The registrar's factories of kind 1.
    static CTObj* Read(int32_t kind, CRawParser* parser);
    static CBaseObj* CreateFrame(CTObj* tpl);

    CBaseObj* GetBuildOwner() const { return buildOwner_; }
    void SetBuildOwner(CBaseObj* owner) { buildOwner_ = owner; }
    MsgWord GetBuildValue() const { return buildValue_; }
    void SetBuildValue(MsgWord value) { buildValue_ = value; }
    uint32_t GetFlags() const { return flags_; }
    int32_t GetHelpId() const { return helpId_; }
    uint32_t GetHelpLibMask() const { return helpLibMask_; }
    int32_t GetParentId() const { return parentId_; }
    void SetParentId(int32_t id) { parentId_ = id; }
    int32_t GetCursorId() const { return cursorId_; }
    uint32_t GetCursorLibMask() const { return cursorLibMask_; }
    const CRect& GetRect() const { return rect_; }

private:
    CBaseObj* buildOwner_ = nullptr;
    MsgWord buildValue_ = 0;
    uint32_t flags_ = 0;
    int32_t helpId_ = 0;
    uint32_t helpLibMask_ = 0;
    int32_t parentId_ = 0;
    int32_t cursorId_ = 0;
    uint32_t cursorLibMask_ = 0;
    CRect rect_;
};

// Registers the engine's own template kinds with the registrar: 1 (plain frame) and 0x31
// (window).
void RegisterEngineTemplateKinds();
