#pragma once
// Template lists. A screen, a dialog or a group of objects is one "TPL" resource: definition
// text holding object templates one after the other, each starting with its template kind:
//
//   1  100  0  0x9  0 0  0 0   0 0 240 320     // kind 1, ID 100, parentid 0, flags, ...
//   9  101  100 ...                             // a text frame under object 100
//
// The list reads the templates through the type registrar and builds the live objects on
// request: a window template becomes the window, the first object the root, and every other
// object is attached under its parent. Templates with negative ids (except -2, which asks
// for a generated id) are not built; SetBranchEnabled switches whole branches on and off.
//
// CBTplList reads and builds; CRsrcTplList (RsrcTplList.h) loads images through the library
// manager; CTplList (TplList.h) shares images and string lists through a resource cache.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/framework/Message.h"
#include "engine/framework/PtrArray.h"
#include "engine/graphics/ImgSet.h"

class CBaseObj;
class CFrame;
class CLibMgr;
class CRawParser;
class CRsrcBlock;
class CStr;
class CTFrame;
class CTObj;
class CTplRec;
class CWind;

class CBTplList : public CPtrArray {
public:
    // Template flag: the object is placed relative to its parent's top-left corner.
    static constexpr uint32_t kFlagRelative = 0x4;

    // Reads the templates of the text (its resource id becomes the list's id).
    explicit CBTplList(std::unique_ptr<CRsrcBlock> text);
    // Reads "TPL" templateId, a required resource; a list that cannot be loaded stays empty.
    CBTplList(int32_t templateId, uint32_t libraryMask);
    // Deletes every template, from the last to the first.
    ~CBTplList() override;

    // Builds the objects of every template whose id is above 0 or -2, in order, under the
    // root (null: the first object becomes the root). Answers the window when a window
    // template made one, else the first object built (null when none was).
    virtual CBaseObj* Build(CFrame* root, CBaseObj* owner, MsgWord value);
    virtual CLibMgr* GetLibMgr(int32_t unused = 0);
    // An image set of "CBM" (colour bitmap) or "RLS" resource id; null here: this list has no
    // images.
    virtual std::unique_ptr<CImgSet> LoadImage(uint32_t libraryMask, int32_t id, bool colourBitmap,
                                               bool quiet);
    // A string of a string list: from list `listId` under the mask, or from the given list
    // when the id is below 1. A negative index hands over the whole list (only one loaded
    // here); otherwise a copy of entry `index`. Outputs stay null when there is nothing.
    virtual void GetString(uint32_t libraryMask, int32_t listId, int32_t index,
                           std::unique_ptr<CTplRec>* list, std::unique_ptr<CStr>* text, const CTplRec* given);
    // Makes one graphic object from its template (null when none is made).
    virtual CFrame* CreateObject(CTFrame* tpl, CBaseObj* owner, MsgWord value);
    virtual CWind* CreateWindow(CTObj* tpl, CBaseObj* owner);
    // A fatal report.
    virtual void Fail(const char* text);
    virtual void ReadTemplates(CRsrcBlock* text);

    CTObj* Find(int32_t id);
    // Template i, null when out of range.
    CTObj* GetAt(int32_t i);
    // The id of template i, 0 when out of range.
    int32_t GetIdAt(int32_t i);
    // The template of that id takes the new id.
    void SetId(int32_t id, int32_t newId);
    // Enabled: the branch's ids become positive, else negative, the template of that id and
    // all its descendants (by parent id), whose parent ids follow.
    void SetBranchEnabled(int32_t id, bool enabled);
    // The id of the "TPL" resource the list was read from (0 before reading).
    int32_t GetId() const { return id_; }

protected:
    // The string list of that id, from the libraries here; the list answers whether the
    // caller owns it (`owned`) or must hand it back with ReleaseStringList.
    virtual const CTplRec* AcquireStringList(uint32_t libraryMask, int32_t listId,
                                             std::unique_ptr<CTplRec>& owned);
    virtual void ReleaseStringList(const CTplRec* list);

private:
    void Attach(CTFrame* tpl, CFrame* object, CFrame*& root, CWind* window);

    int32_t id_ = 0;
    // Keys made to stand as the owner of objects whose templates name one by id.
    std::vector<std::unique_ptr<CBaseObj>> ownerKeys_;
};
