#pragma once
// CRouteObj: the route map, the party's progress drawn as a growing route line. The map is
// divided into sequences (RouteSeq.h); as the party covers a route segment the current entry
// shows the frame in proportion to the distance covered, and the entries reached before stay
// at their last frame, so the whole route so far remains visible. Places on the map get a
// caption: one for the place at the end of the current entry, one for the place under the
// mouse.
//
// The object lives in a frame of the module that made it (its owner): the background
// element, the sprites and the captions are added to that frame. The progress it draws is a
// CRouteSeqState that belongs to the travel module and is saved with the trip; the object
// itself is rebuilt from the data library each time it is shown.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/framework/Point.h"
#include "game/travel/RouteSeq.h"
#include "game/travel/RouteSeqState.h"

class CFrame;
class CRouteNode;
class CTplRec;
class CTravelImage;

// What the map reads of a route node (CRouteNode): its id and, for each of its two map codes,
// the code (sequence + 1, times 100, plus the entry) and the length of the segment it draws.
struct RouteNodeMapInfo {
    int16_t id = 0;
    int16_t mapCodeA = 0;
    int16_t mapCodeB = 0;
    int16_t segLengthA = 0;
    int16_t segLengthB = 0;
};

class CRouteObj {
public:
    // The map's string list.
    static constexpr int32_t kMapList = 810;
    // The caption template that every caption renames, and its text object.
    static constexpr int32_t kCaptionTemplate = 900;
    static constexpr int32_t kCaptionText = 910;
    // No current entry.
    static constexpr int16_t kNoEntry = 9999;
    // The node where the route leaves sequence 2 two thirds along its segment.
    static constexpr int16_t kSplitNode = 120;
    // The map code that also records the entry after it.
    static constexpr int16_t kPairedCode = 420;

    explicit CRouteObj(CFrame* owner);
    // Takes the map off the screen and deletes both captions.
    virtual ~CRouteObj();
    CRouteObj(const CRouteObj&) = delete;
    CRouteObj& operator=(const CRouteObj&) = delete;

    // Hides the map (captions included) until Resume.
    virtual void Pause();
    virtual void Resume();
    // Takes the travel module's state (a fresh one of its own when the module has none),
    // reads the map, follows the module's current node and works out the frame.
    virtual void Init();

    // Reads the sequences from "STR" 810 and the hotspot lists it names.
    void LoadSequences();
    // Reads the sequences from the lines given; frames counts each sprite's frames (null:
    // loads the sprite to count them).
    void LoadSequences(const CTplRec& lines, const RouteHotspotSource& hotspots,
                       const RouteFrameCounter& frames = nullptr);

    // Follows the party onto a new route node (null: nothing).
    void UpdateFromNode(const CRouteNode* node);
    void UpdateFromNode(const RouteNodeMapInfo* node);
    // Sequence s at entry e; s = -1: entry e of the current sequence.
    void SelectSequence(int16_t s, int16_t e);
    void AddProgress(int16_t n);
    CRouteSeqState& GetState() { return *state_; }
    // One update of the display: frame, sprites, captions.
    void Step();
    // Raises the current entry's frame by one; true when nothing changed.
    bool NextFrame();
    // Takes the background and its sprites off the screen; the next Step draws them again.
    void ResetDisplay();
    // The current frame from the progress on the segment.
    void UpdateFrame();

    const std::vector<std::unique_ptr<CRouteSeq>>& GetSequences() const { return seqs_; }
    CRouteSeq* CurrentSeq() const;
    int16_t GetCurFrame() const { return curFrame_; }
    int16_t GetCurEntry() const { return curEntry_; }
    int16_t GetShownSeq() const { return shownSeq_; }
    int16_t GetShownFrame() const { return shownFrame_; }
    int16_t GetShownEntry() const { return shownEntry_; }
    int16_t GetSegmentTotal() const { return segTotal_; }
    bool IsPaused() const { return paused_; }
    CTravelImage* GetBackground() const { return background_; }
    CFrame* GetPlaceLabel() const { return placeLabel_; }
    CFrame* GetHoverLabel() const { return hoverLabel_; }
    const CRouteHotspot* GetPlaceHotspot() const { return placeHotspot_; }
    const CRouteHotspot* GetHoverHotspot() const { return hoverHotspot_; }
    CFrame* GetOwner() const { return owner_; }

private:
    void ShowEntry();
    // Makes the background element of the current sequence and loads its picture.
    void MakeBackground(CRouteSeq& seq);
    void ShowSprite(CRouteSeqEntry& entry);
    void UpdatePlaceHotspot();
    void TrackHoverLabel();
    void ShowLabel(CRouteHotspot& hotspot, CFrame*& slot);
    void DropHoverLabel();
    static void DeleteLabel(CFrame*& slot);

    CFrame* owner_;
    CRouteSeqState* state_;
    std::unique_ptr<CRouteSeqState> ownState_;
    std::vector<std::unique_ptr<CRouteSeq>> seqs_;
    CTravelImage* background_ = nullptr;
    int16_t shownSeq_ = -1;
    int16_t curFrame_ = 0;
    int16_t shownFrame_ = -1;
    int16_t curEntry_ = kNoEntry;
    int16_t shownEntry_ = -1;
    CFrame* placeLabel_ = nullptr;
    CRouteHotspot* placeHotspot_ = nullptr;
    CFrame* hoverLabel_ = nullptr;
    CRouteHotspot* hoverHotspot_ = nullptr;
    std::optional<CPoint> templateCorner_;
    bool paused_ = false;
    int16_t segTotal_ = 0;
    bool node120_ = false;
};
