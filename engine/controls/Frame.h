#pragma once
// CFrame: the engine's graphic object, a rectangle on a window's drawing surface with a
// parent, a list of children, a flag word, colours, a cursor and a help id. Every visible
// element of the programs is a CFrame or derives from one.
//
// A frame never paints itself when it changes: it marks itself changed and asks its owner
// window to invalidate its drawn rectangle; the window later walks the tree and calls each
// frame's DrawContent (Wind.h). The children are kept by decreasing z, so the window draws
// them head to tail and a lower z lies in front; the frame under a point is searched from
// the tail to the head.
#include <cstdint>
#include <memory>

#include "engine/framework/EventObj.h"
#include "engine/framework/List.h"
#include "engine/framework/Point.h"
#include "engine/framework/Rect.h"

class CDrawEnv;
class CWind;

// Computes a frame's drawn rectangle from its bounds and z (a perspective, a scroll).
using FrameMapProc = void (*)(const CRect& bounds, CRect& drawn, int16_t z);

// Something a frame owns and deletes with itself; the root frame of a window keeps the
// window's drawing cache here.
class CFrameCache {
public:
    virtual ~CFrameCache() = default;
};

class CFrame : public CEventObj {
public:
    // Bits of the flag word (0x8, enabled, belongs to CEventObj).
    enum : uint32_t {
        kFlagShown = 0x1,
        kFlagTransparent = 0x2, // no drawing of its own: its children draw its area
        kFlagOwnContent = 0x4,  // draws content even when transparent; kept by templates
        kFlagBorderTop = 0x10,
        kFlagBorderLeft = 0x20,
        kFlagBorderBottom = 0x40,
        kFlagBorderRight = 0x80,
        kFlagBorders = 0xF0,
        kFlagDirect = 0x200, // left out of the off-screen painting, drawn straight into the window
    };
    // The object kind of a plain frame made from a template.
    static constexpr uint32_t kKindFrame = 4;

    // Shown, enabled, changed, with the rectangle as its bounds, drawn and last drawn
    // rectangles; background 255, border colour 0.
    CFrame(uint32_t kind, int32_t id, const CRect& rect, bool transparent);
    // An empty rectangle at the point.
    CFrame(uint32_t kind, int32_t id, const CPoint& at, bool transparent);
    // Takes its area off the screen, forgets the input records that name it, and deletes its
    // children.
    ~CFrame() override;

    // Takes the frame out of its parent or window, out of the live objects, the timer queue
    // and the input records at once, and frees it when the running dispatch has returned.
    // Handlers use this to delete a frame that may be among their callers.
    void Destroy();

    // Slots 1-7 (CEventObj).
    void SetOwner(CBaseObj* owner) override;
    bool OnTimer() override { return false; }
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void RestoreEnabled(bool flag, int32_t recurse = 0) override;
    void Enable(bool enable, bool flag = false, bool recurse = false) override;
    void SaveEnabled(bool flag, int32_t recurse = 0) override;

    // Slot 8: adds the child in z order (equal z after the others); draws it when asked.
    virtual void AddChild(CFrame* child, bool draw);
    // Slot 9: the idle step (the animated frame updates itself here).
    virtual void Step() {}
    // Slot 11: draws the frame's own content into the environment within the rectangle.
    virtual void DrawContent(CDrawEnv* env, const CRect& clip);
    // Slot 12: fills the drawn rectangle with the background colour (inset by one pixel when
    // all four borders are set).
    virtual void DrawBackground(CDrawEnv* env);
    // Slot 13: the border lines selected by the flag bits, in the border colour.
    virtual void DrawBorder(CDrawEnv* env);
    // Slot 14: a frame with a negative help id draws its own help here, into the help popup's
    // environment within the area; nothing here.
    virtual void DrawHelp(CDrawEnv* /*env*/, const CRect& /*area*/) {}
    // Slot 15: the cursor to show over the point; a plain frame answers its own cursor id.
    virtual int32_t GetCursorAt(const CPoint* point);
    // The drawing data an animated play-field object carries for its sprite draw (handed to
    // the draw as its priority mask), or null when it has none, as a plain frame has.
    virtual void* GetAltDrawData() { return nullptr; }
    // Slot 16: takes the child out (not deleted): the child given as the key itself, else the
    // first child matching the key. Null when none matches.
    virtual CFrame* RemoveChild(const CBaseObj& key);
    // Slot 17: hands the two rectangles to every child (the window's old and new client
    // rectangles on a resize).
    virtual void Broadcast(const CRect& a, const CRect& b);
    // Slot 18: hides the frame (and with recurse its subtree); with erase its area is
    // invalidated first.
    virtual void Hide(bool recurse, bool erase);
    // Slot 19: shown, and the point lies in the drawn rectangle (right and bottom excluded).
    virtual bool HitTest(const CPoint& point);
    // Slot 20: called once after the frame was put into its place on screen (a program adds
    // a screen's root and then lets it build or set itself up); nothing here.
    virtual void OnAttach() {}
    // Slot 21: the draw request: invalidates the drawn rectangle through the owner window. A
    // transparent frame without own content passes a partial request to its children.
    virtual void Draw(bool whole);
    // Slot 22: moves the frame and its subtree; a change of z re-sorts it among its siblings.
    virtual void MoveBy(int16_t dh, int16_t dv, int16_t dz);
    // Slot 23.
    virtual void MoveTo(int16_t h, int16_t v, int16_t z);
    // Slot 24: a frame with a negative help id gets ready to draw its help when the help
    // popup takes it as its source; nothing here.
    virtual void PrepareHelp() {}
    // Slot 25: clearing the flag records the drawn rectangle as the last drawn one.
    virtual void SetChanged(bool changed);
    // Slot 26.
    virtual void SetBackColor(uint32_t color) { backColor_ = color; }
    // Slot 27: changes the origin; the position keeps its value and the bounds move by
    // minus the change.
    virtual void SetOrigin(int16_t h, int16_t v, int16_t z);
    // Slot 28: resizes the bounds from their top-left corner.
    virtual void SetSize(int16_t width, int16_t height);
    // Slot 29: the point's h as width, v as height.
    virtual void SetSizePt(const CPoint& size) { SetSize(size.GetH(), size.GetV()); }
    // Slot 30: shows a hidden frame (and with recurse its subtree).
    virtual void Show(bool recurse);
    // Run by whoever built a template list on the root object it made, once the whole list
    // is built; a root that wires up its children overrides it. Nothing here.
    virtual void AfterBuild() {}

    // Takes the frame out of its parent's children (its area is invalidated when shown), or
    // out of its window's layers when it is a window's root; the frame is not deleted.
    // Nothing when it has neither.
    void RemoveFromParent();

    // This frame or the first descendant, depth first, matching (kind, id, this frame's
    // owner); kind -1 matches any kind.
    CFrame* FindObject(uint32_t kind, int32_t id);
    // The frame of any kind with the id (as FindObject finds it) as the class the caller
    // expects; null when there is none or it is of another class.
    template <class T> T* FindAs(int32_t id) { return dynamic_cast<T*>(FindObject(kAnyKind, id)); }
    // The frontmost frame under the point. With inputOnly, a frame qualifies only when it
    // takes input, or has a help id while the popup help is on.
    CFrame* FindAt(const CPoint& point, bool inputOnly);
    // The off-screen environment of the owner window, or its window environment for a
    // direct frame (or when it has no off-screen one); null without an owner.
    CDrawEnv* GetDrawEnv();
    // Asks the owner window to paint this frame now.
    void UpdateWindow();
    // Resizes to the rectangle's size, then moves to its corner.
    void SetBounds(const CRect& rect);
    void MoveToPoint(const CPoint& point);
    // Sets the cursor id; the cursor is loaded at once and shown when the mouse is over this
    // frame.
    void SetCursor(int32_t cursorId);
    // Sets the mapping callback of this frame and every descendant, marking each changed.
    void SetMapProc(FrameMapProc proc);
    // Moves the child to its place among its siblings after its z changed.
    void ResortChild(CFrame* child);
    // Deletes the drawing cache kept at the owner window's root frame.
    void DeleteOwnerTempObj();

    // Places a span of the given size at a position: mode 1 centred on it, mode 2 ending
    // at it, any other starting at it.
    static void Justify(int16_t mode, int16_t position, int16_t size, int16_t& low, int16_t& high);

    void SetFlags(uint32_t flags) { flags_ = flags; }
    bool IsShown() const { return (flags_ & kFlagShown) != 0; }
    // Sets or clears the shown bit only; the caller draws when it wants the change seen.
    void SetShown(bool shown) { SetShownBit(shown); }
    bool IsTransparent() const { return (flags_ & kFlagTransparent) != 0; }
    // A transparent frame draws nothing of its own (its children still draw).
    void SetTransparent(bool transparent)
    {
        flags_ = transparent ? (flags_ | kFlagTransparent) : (flags_ & ~kFlagTransparent);
    }
    bool HasOwnContent() const { return (flags_ & kFlagOwnContent) != 0; }
    bool HasBorder() const { return (flags_ & kFlagBorders) != 0; }
    void SetBorder(uint32_t borderBits) { flags_ = (flags_ & ~kFlagBorders) | (borderBits & kFlagBorders); }
    // Visible means drawn by the window's off-screen painting: the direct bit is clear. It
    // does not mean shown.
    bool IsVisible() const { return (flags_ & kFlagDirect) == 0; }
    void SetVisible(bool visible);
    bool IsDirect() const { return !IsVisible(); }

    CFrame* GetParent() const { return parent_; }
    CList* GetChildren() const { return children_.get(); }
    // The owner as a window; null when the frame has none.
    CWind* GetOwnerWnd() const;
    const CRect& GetBounds() const { return bounds_; }
    const CRect& GetDrawnRect() const { return drawn_; }
    const CRect& GetLastDrawnRect() const { return lastDrawn_; }
    int16_t GetH() const { return h_; }
    int16_t GetV() const { return v_; }
    int16_t GetZ() const { return z_; }
    CPoint GetOrigin() const { return CPoint(originH_, originV_); }
    int16_t GetOriginZ() const { return originZ_; }
    bool IsChanged() const { return changed_ != 0; }
    bool TakesInput() const { return takesInput_ != 0; }
    void SetTakesInput(bool takes) { takesInput_ = takes ? 1 : 0; }
    int32_t GetCursorId() const { return cursorId_; }
    int32_t GetHelpId() const { return helpId_; }
    void SetHelpId(int32_t id) { helpId_ = id; }
    uint32_t GetBackColor() const { return backColor_; }
    uint32_t GetForeColor() const { return borderColor_; }
    void SetForeColor(uint32_t color) { borderColor_ = color; }
    FrameMapProc GetMapProc() const { return mapProc_; }
    CFrameCache* GetCache() const { return cache_.get(); }
    void SetCache(std::unique_ptr<CFrameCache> cache) { cache_ = std::move(cache); }

protected:
    // Timer ticks reach OnTimer only while the frame is enabled and owned by a window.
    bool TakesTimerTick() const override { return IsEnabled() && GetOwner() != nullptr; }
    // The drawn rectangle from the bounds, through the mapping callback when there is one.
    void RecomputeDrawn();
    void SetShownBit(bool shown);

private:
    // Unlinks the child from the list (without the rest of RemoveChild).
    void UnlinkChild(CFrame* child);
    // Takes this frame and its subtree out of the live objects, timers and input records.
    void Withdraw();

    CFrame* parent_ = nullptr;
    std::unique_ptr<CFrameCache> cache_;
    std::unique_ptr<CList> children_;
    CRect bounds_;
    CRect drawn_;
    CRect lastDrawn_;
    int32_t cursorId_ = 0;
    uint32_t borderColor_ = 0;
    uint32_t backColor_ = 255;
    int16_t h_ = 0;
    int16_t v_ = 0;
    int16_t z_ = 0;
    int16_t originH_ = 0;
    int16_t originV_ = 0;
    int16_t originZ_ = 0;
    uint8_t changed_ = 1;
    uint8_t takesInput_ = 0;
    int32_t helpId_ = 0;
    FrameMapProc mapProc_ = nullptr;
};

// Iterates a frame's children (CFrame*) head to tail: for (CFrame* c : ChildFrames(f)).
class ChildFrames {
public:
    explicit ChildFrames(const CFrame& frame) : list_(frame.GetChildren()) {}
    class Iter {
    public:
        explicit Iter(CList::Node* n) : node_(n), next_(n ? n->next : nullptr) {}
        CFrame* operator*() const { return static_cast<CFrame*>(node_->item); }
        // Takes the node after the current one as it was before the step, so a loop body may
        // unlink the current child.
        Iter& operator++()
        {
            node_ = next_;
            next_ = node_ ? node_->next : nullptr;
            return *this;
        }
        bool operator!=(const Iter& o) const { return node_ != o.node_; }

    private:
        CList::Node* node_;
        CList::Node* next_;
    };
    Iter begin() const { return Iter(list_ ? list_->GetHeadNode() : nullptr); }
    Iter end() const { return Iter(nullptr); }

private:
    CList* list_;
};
