#pragma once
// CAnimFrame: a graphic object that keeps its children up to date by itself instead of
// waiting for the window to repaint. Each update step puts the background (an image set)
// back where children were or have moved, redraws the children that changed into the
// window's off-screen bitmap, and copies only the union of the changed areas to the screen.
// Every game screen is built on it. It steps on its own timer (on the game clock unless
// another clock is given, so it stops while the application is paused) or with its parent.
//
// It is made transparent, with own content and with the direct bit: the window's off-screen
// painting leaves it out. While a modal layer lies over it, it is painted by the window like
// an ordinary frame and takes no steps.
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/controls/Frame.h"
#include "engine/controls/UpdateRectList.h"

class CDibSect;
class CImgSet;

class CAnimFrame : public CFrame {
public:
    static constexpr uint32_t kKindAnim = 6;

    // With a null environment the frame draws into its owner window's off-screen bitmap.
    CAnimFrame(int32_t id, const CRect& rect, CDrawEnv* env);
    // Stops its timer and deletes its children, mask buffer, background and lists.
    ~CAnimFrame() override;

    // Slot 1: takes the owner window's off-screen environment when it has none; below an
    // ancestor with own content it loses its direct bit, so the ancestor's painting includes it.
    void SetOwner(CBaseObj* owner) override;
    // Slot 3: the idle tick takes a step.
    bool OnTimer() override;
    // Slots 5 and 7: a modal layer over the frame makes it an ordinary, non-updating frame
    // until it is restored.
    void RestoreEnabled(bool flag, int32_t recurse = 0) override;
    void SaveEnabled(bool flag, int32_t recurse = 0) override;
    // Slot 8: the child takes this frame's mapping callback and joins the step list.
    void AddChild(CFrame* child, bool draw) override;
    // Slot 9: one update step, when the frame is owned, shown and updating.
    void Step() override;
    // Slot 11: puts the background back in the rectangle.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // Slot 15: the cursor of the child nearest the head under the point (the mouse position
    // when null); 0 when no child lies there.
    int32_t GetCursorAt(const CPoint* point) override;
    // Slot 16: a removed child leaves the step list and its place is restored next step.
    CFrame* RemoveChild(const CBaseObj& key) override;
    // Slot 22: the background moves with the frame.
    void MoveBy(int16_t dh, int16_t dv, int16_t dz) override;

    // Slot 31: one update step (the environment argument is not used).
    virtual void Update(CDrawEnv* env, bool step);
    // Slot 32: the frontmost child with the id (any for -1) whose drawn rectangle holds the
    // point, edges included.
    virtual CFrame* FindChildAt(const CPoint& point, int32_t id);
    // Slots 33-36 and 38: the children in list order.
    virtual CFrame* GetFirstChild();
    virtual CFrame* GetHeadChild() { return GetFirstChild(); }
    virtual CFrame* GetNextChild(CFrame* child);
    virtual CFrame* GetNthChild(int32_t n);
    // Slot 37: the environment the frame draws into.
    virtual CDrawEnv* GetDrawEnv();
    virtual CFrame* GetPrevChild(CFrame* child);
    // Slot 39.
    virtual void DeleteChildren();
    // Slot 40.
    virtual void MarkAllChanged();
    // Slot 41: takes the image set as the background (null: none) at the index, and has it
    // drawn next step.
    virtual void SetImage(CImgSet* images, int16_t index);
    // Slot 42.
    virtual bool IsUpdating() { return updating_ != 0; }
    // Slot 43: the rectangle, clipped to the frame, is restored and copied next step.
    virtual void AddUpdateRect(const CRect& rect);
    // Slot 44: draws an image of the set (which stays the caller's) into the mask buffer.
    virtual void SetMaskImage(CImgSet* images, int16_t index);
    // Slot 45.
    virtual void SetDrawEnv(CDrawEnv* env);
    // Slot 46.
    virtual void SetUpdating(bool updating) { updating_ = updating ? 1 : 0; }
    // Slot 47: copies the rectangle from the off-screen bitmap to the screen and empties the
    // update area.
    virtual void FlushUpdates(const CRect& rect);
    // Slot 48: every child in the step list takes its step, newest first.
    virtual void StepChildren();
    // Slot 49: unchanged children over the erased areas are marked changed.
    virtual void MarkOverlapped();
    // Slot 50: draws the background into the rectangle.
    virtual void DrawArea(const CRect& rect);
    // Slot 51: redraws the changed children; answers the union of the changed areas.
    virtual std::optional<CRect> DrawChanged();
    // Slot 52: puts the background back where changed children were.
    virtual void EraseChanged();

    CImgSet* GetImage() const { return image_.get(); }
    CDibSect* GetMaskBuffer() const { return mask_.get(); }
    const CPoint& GetImageCorner() const { return imageCorner_; }
    CUpdateRectList* GetUpdateArea() const { return updateArea_.get(); }
    CUpdateRectList* GetEraseArea() const { return eraseArea_.get(); }
    bool IsRedrawWhole() const { return redrawWhole_ != 0; }

private:
    // Draws a changed child: a leaf draws its content, a subtree goes through the window.
    void DrawChild(CFrame* child);
    bool InStepList(const CFrame* child) const;

    std::unique_ptr<CDibSect> mask_;
    std::unique_ptr<CImgSet> image_;
    std::unique_ptr<CList> stepList_; // every child, newest at the head
    CDrawEnv* env_;
    // The environment is the owner window's off-screen one, looked up at each use: the window
    // makes a new one on every palette change and resize.
    bool envFromWindow_ = false;
    std::unique_ptr<CUpdateRectList> updateArea_;
    std::unique_ptr<CUpdateRectList> eraseArea_;
    CPoint imageCorner_;
    uint8_t updating_ = 1;
    uint8_t redrawWhole_ = 0;
    uint8_t savedUpdating_ = 0;
    uint8_t savedVisible_ = 0;
};
