#pragma once
// The route map's data: its sequences, each a background picture with an ordered list of
// entries (a run-length sprite whose frames draw one stretch of the route line a little
// further each) and named places (hotspots) that get a caption. All of it is read from the
// string list "STR" 810 and the hotspot lists it names, as text lines:
//
//   [any text]          a sequence starts at a line beginning with '['
//   background id       the picture ("CBM")
//   hotspot list id     a string list of hotspot records
//   origin h, origin v  added to every coordinate of the sequence
//   then five lines per entry until a line beginning with '.': sprite id ("RLS"),
//   position h, position v, place h, place v
//
// A hotspot record is a line "[name]" (the name ends before the first ']'), the caption's
// template list id, then left, top, right, bottom of its rectangle and h, v of the caption
// point. Numbers are decimal, or hexadecimal after "0x".
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Point.h"
#include "engine/framework/Rect.h"

class CImageWnd;
class CTplRec;

struct CRouteHotspot {
    // Origin included; edges count as inside.
    CRect rect;
    std::string name;
    int32_t captionTemplateId = 0;
    CPoint captionPoint;
    // Set while its place label is up.
    bool shown = false;

    bool Contains(const CPoint& p) const;
};

struct CRouteSeqEntry {
    int32_t index = 0;
    int32_t spriteId = 0;
    CPoint position;
    // The place reached at the end of the entry: it names the hotspot whose caption shows.
    CPoint place;
    int16_t frameCount = 0;
    int16_t frameShown = -1;
    // The sprite's element, a child of the sequence's background element; null when none is
    // on screen.
    CImageWnd* sprite = nullptr;
};

struct CRouteSeq {
    int32_t backgroundId = 0;
    int32_t hotspotListId = 0;
    CPoint origin;
    std::vector<CRouteSeqEntry> entries;
    std::vector<CRouteHotspot> hotspots;

    // The entry with that number; null when there is none.
    CRouteSeqEntry* Entry(int32_t e);
    // The first hotspot whose rectangle holds the point; null when none does.
    CRouteHotspot* HotspotAt(const CPoint& p);
};

// The hotspot list of an id as string list lines; null when there is none.
using RouteHotspotSource = std::function<std::unique_ptr<CTplRec>(int32_t listId)>;
// The number of frames of a sprite; 0 when it does not load.
using RouteFrameCounter = std::function<int16_t(int32_t spriteId)>;

// The sequences of the map's lines, in order. A sequence whose four header lines are not all
// there, and an entry or hotspot cut short by the end of its list, are left out.
std::vector<std::unique_ptr<CRouteSeq>>
ReadRouteSequences(const CTplRec& lines, const RouteHotspotSource& hotspots, const RouteFrameCounter& frames);
// The hotspots of a list, moved by the origin.
std::vector<CRouteHotspot> ReadRouteHotspots(const CTplRec& lines, const CPoint& origin);
