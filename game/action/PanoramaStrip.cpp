#include "game/action/PanoramaStrip.h"

#include "engine/controls/anim/AnimatorWnd.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/travel/GameRecord.h"

namespace {

// The cel that may show although its depth record gives it a negative depth other than -1.
bool MayShowAtFarDepth(size_t i) { return i == 0 || i == 19; }

int32_t Wrapped(int32_t h, int32_t width)
{
    h %= width;
    return h < 0 ? h + width : h;
}

} // namespace

PanoramaBands PanoramaBands::Read(int32_t id)
{
    PanoramaBands bands;
    const CGameRecord record("PAN", id);
    for (int32_t i = 0; i < kCels; ++i) {
        bands.start[i] = record.Short(2 * i);
        bands.end[i] = record.Short(2 * (kCels + i));
        bands.obstacle[i] = static_cast<uint8_t>(record.Short(2 * (2 * kCels + i)) & 0xFF);
    }
    return bands;
}

CPanoramaStrip::CPanoramaStrip(int32_t id, int32_t depthRecordId, int32_t panRecordId, const CRect& rect,
                               CFrame* owner, std::unique_ptr<CImgSet> images)
    : CFrame(kKind, id, rect, true), owner_(owner), images_(std::move(images))
{
    const int16_t count = images_ ? images_->GetCount() : 0;
    if (count <= 0)
        return;
    cels_.resize(count < 2 ? 2 : static_cast<size_t>(count));
    ReadDepths(depthRecordId);
    const PanoramaBands bands = panRecordId != 0 ? PanoramaBands::Read(panRecordId) : PanoramaBands();
    for (size_t i = 0; i < cels_.size(); ++i) {
        Cel& cel = cels_[i];
        const auto image = static_cast<int16_t>(count < 2 ? 0 : i);
        CRect size;
        images_->GetImageRect(size, image);
        totalWidth_ += size.GetWidth();
        cel.right = totalWidth_;
        if (i < static_cast<size_t>(PanoramaBands::kCels)) {
            cel.bandStart = bands.start[i];
            cel.bandEnd = bands.end[i];
            cel.obstacle = bands.obstacle[i] != 0;
            hasObstacles_ = hasObstacles_ || cel.obstacle;
        }
        cel.element =
            new CAnimatorWnd(id + 1 + static_cast<int32_t>(i), CPoint(0, 0), owner_, images_.get(), false, 0);
        cel.element->SetCel(image, 0, 0, 0);
        cel.element->SetCursor(kCursor);
        if (cel.depth == kHiddenDepth)
            continue;
        if (cel.depth < 0) {
            cel.depth = kFarDepth;
            cel.element->SetShown(MayShowAtFarDepth(i));
        }
        if (owner_) {
            owner_->AddChild(cel.element, false);
            cel.onOwner = true;
        }
    }
    PlaceCels();
    RegisterLiveObject(this);
}

CPanoramaStrip::~CPanoramaStrip()
{
    for (Cel& cel : cels_) {
        if (cel.onOwner)
            cel.element->RemoveFromParent();
        delete cel.element;
    }
}

void CPanoramaStrip::ReadDepths(int32_t depthRecordId)
{
    const std::unique_ptr<CTplRec> record =
        depthRecordId != 0 ? CreateTplRec(depthRecordId, CLibMgr::kAllLibraries, false) : nullptr;
    for (size_t i = 0; i < cels_.size(); ++i) {
        if (!record) {
            cels_[i].depth = kFarDepth;
            continue;
        }
        // An entry that is missing or no number reads as 0.
        int32_t v = 0;
        const CStr* entry = record->GetEntry(static_cast<int32_t>(i));
        if (!entry || !entry->ToLong(&v))
            v = 0;
        cels_[i].depth = static_cast<int16_t>(v == -1 || v == 0 ? v : kFieldHeight - v);
    }
}

void CPanoramaStrip::PlaceCels()
{
    if (totalWidth_ <= 0)
        return;
    int32_t left = 0;
    for (Cel& cel : cels_) {
        const int32_t width = cel.right - left;
        int32_t h = Wrapped(left + shift_, totalWidth_);
        // The cel that runs past the panorama's end stands at the view's left edge instead.
        if (h + width > totalWidth_)
            h -= totalWidth_;
        cel.element->MoveTo(static_cast<int16_t>(GetBounds().GetLeft() + h), GetBounds().GetTop(), cel.depth);
        left = cel.right;
    }
}

void CPanoramaStrip::MoveTo(int16_t h, int16_t v, int16_t z)
{
    const int32_t delta = h - GetH();
    CFrame::MoveTo(GetH(), v, z);
    if (totalWidth_ <= 0)
        return;
    shift_ = Wrapped(shift_ + delta, totalWidth_);
    PlaceCels();
}

bool CPanoramaStrip::IsBlocked(int32_t h, int16_t depth, int16_t& hint) const
{
    if (!hasObstacles_ || totalWidth_ <= 0)
        return false;
    h = Wrapped(h, totalWidth_);
    if (h == 0)
        h = 1;
    const auto last = static_cast<int16_t>(cels_.size() - 1);
    int32_t i = hint >= 0 ? hint : totalWidth_ / h;
    i = i < 0 ? 0 : (i > last ? last : i);
    while (i < last && cels_[static_cast<size_t>(i)].right <= h)
        ++i;
    while (i > 0 && cels_[static_cast<size_t>(i - 1)].right > h)
        --i;
    hint = static_cast<int16_t>(i);
    const Cel& cel = cels_[static_cast<size_t>(i)];
    return cel.obstacle && cel.bandStart < depth && depth < cel.bandEnd;
}
