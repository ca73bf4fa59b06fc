// The river map's legend: rows 0 and 1 of the map picture say which byte values are water
// (with their current codes), the start, end, rock and obstacle cells and the scenery of each
// section of the scenery list; the legend objects are the sprites those values show.
#include "engine/controls/AnimFrame.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RecReader.h"
#include "game/action/3DScene.h"
#include "game/base/GameImages.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"

namespace {

// The legend's first row, read no further than the map's width.
class LegendRow {
public:
    LegendRow(const uint8_t* values, const uint8_t* colours, int32_t width)
        : values_(values), colours_(colours), width_(width)
    {
    }
    uint8_t Value(int32_t p) const { return values_ && p < width_ ? values_[p] : 0; }
    uint8_t Colour(int32_t p) const { return colours_ && p < width_ ? colours_[p] : 0; }
    bool Inside(int32_t p) const { return p < width_; }

private:
    const uint8_t* values_;
    const uint8_t* colours_;
    int32_t width_;
};

// Whether a scenery list entry opens a section.
bool OpensSection(const CStr* entry) { return entry && entry->GetLength() > 0 && entry->GetText()[0] == '['; }

// The first entry from `from` on that opens a section; -1 when none does.
int32_t NextSection(const CRecReader& list, int32_t from)
{
    for (int32_t i = from; i < list.GetEntryCount(); ++i)
        if (OpensSection(list.GetEntry(i)))
            return i;
    return -1;
}

// One group of values from position p per section of the scenery list: each value is a piece
// of scenery whose record is the section's next entry.
void BuildSceneryGroups(std::array<C3DSceneLegend, 256>& legend, const CRecReader* list, const LegendRow& row,
                        int32_t p)
{
    if (!list)
        return;
    for (int32_t section = NextSection(*list, 0); section >= 0 && row.Inside(p);
         section = NextSection(*list, section + 1), ++p) {
        int32_t item = section + 1;
        uint8_t sequence = 0;
        for (; row.Value(p) != 0; ++p) {
            C3DSceneLegend& e = legend[row.Value(p)];
            if (item < list->GetEntryCount() && !OpensSection(list->GetEntry(item))) {
                const int32_t id = list->GetNumber(static_cast<int16_t>(item++));
                if (id != -1)
                    e.objectImageId = id;
            }
            e.anim.SetRecordId(e.objectImageId);
            e.anim.ReadRecord(C3DSceneLegend::kScenery);
            e.kind = C3DSceneLegend::kScenery;
            e.hardness = e.anim.GetHardness();
            e.drawGround = e.anim.GetDrawGround();
            e.drawColour = row.Colour(p);
            e.sequence = sequence++;
        }
    }
}

} // namespace

int32_t C3DScene::SceneryListNumber(int16_t entry) const
{
    return sceneryList_ ? sceneryList_->GetNumber(entry) : -1;
}

void C3DScene::BuildLegend(const uint8_t* values, const uint8_t* colours)
{
    const LegendRow row(values, colours, mapWidth_);
    int32_t p = 0;
    for (; p < C3DSceneLegend::kCurrentCodes && row.Value(p) != 0; ++p) {
        C3DSceneLegend& e = legend_[row.Value(p)];
        e.kind = C3DSceneLegend::kWater;
        e.current = static_cast<int16_t>(p);
        e.sequence = static_cast<uint8_t>(p);
        e.drawColour = row.Value(p);
        e.drawGround = 0;
        e.objectImageId = SceneryListNumber(static_cast<int16_t>(p));
    }
    if (p == C3DSceneLegend::kCurrentCodes) {
        if (const uint8_t v = row.Value(p); v != 0) {
            legend_[v].kind = C3DSceneLegend::kSpecial;
            legend_[v].drawColour = row.Colour(p);
        }
        ++p; // position 18 separates
    }
    ++p; // past the separator
    if (const uint8_t start = row.Value(p); start != 0) {
        C3DSceneLegend& e = legend_[start];
        e.kind = C3DSceneLegend::kStart;
        e.sequence = 0;
        e.drawColour = start;
        e.drawGround = 0;
    }
    ++p;
    // The groups of more water, end, rock and obstacle values, each up to a 0.
    static constexpr int32_t kGroups[] = {C3DSceneLegend::kWater, C3DSceneLegend::kEnd, C3DSceneLegend::kRock,
                                          C3DSceneLegend::kObstacle};
    for (const int32_t kind : kGroups) {
        uint8_t sequence = 1;
        for (; row.Value(p) != 0; ++p) {
            C3DSceneLegend& e = legend_[row.Value(p)];
            e.kind = kind;
            e.drawGround = 0;
            if (kind == C3DSceneLegend::kWater)
                e.sequence = sequence++;
            else if (kind == C3DSceneLegend::kEnd)
                e.hardness = 0;
            else if (kind == C3DSceneLegend::kRock)
                e.drawColour = row.Value(p);
            else {
                e.drawColour = row.Colour(p);
                e.hardness = C3DSceneLegend::kObstacleHardness;
            }
        }
        ++p;
    }
    BuildSceneryGroups(legend_, sceneryList_.get(), row, p);
}

void C3DScene::MakeLegendObjects()
{
    MakeRaftFigure();
    const int16_t sizeClass = props_ ? props_->GetRoughness() : 0;
    for (int32_t v = 1; v < 256; ++v) {
        C3DSceneLegend& e = legend_[static_cast<size_t>(v)];
        // Only values the map uses beyond the legend row.
        if (e.objectImageId > 0 && map_.GetCount(static_cast<uint8_t>(v)) > 1)
            e.MakeObject(frame_, sizeClass);
    }
    if (overlayOn_)
        SetOverlay(true);
}

void C3DScene::SetOverlay(bool on)
{
    overlayOn_ = on;
    if (on && overlayImageId_ > 0 && !overlay_)
        overlay_ = LoadImage("RLES", 0, overlayImageId_, false, 1);
    ShowOverlay(on ? overlay_.get() : nullptr);
}

void C3DScene::ShowOverlay(CImgSet* images)
{
    for (C3DSceneLegend& e : legend_)
        if (e.kind == C3DSceneLegend::kUnlisted || e.kind == C3DSceneLegend::kSpecial)
            e.objectImage = images;
}
