#include "game/travel/RouteObj.h"

#include <algorithm>

#include "engine/controls/Frame.h"
#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/RleStretchDraw.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/RouteNode.h"
#include "game/travel/Travel.h"
#include "game/travel/TravelImage.h"

namespace {

// Images go through the image cache.
constexpr int16_t kCached = 1;

CTravel* TravelModule()
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? dynamic_cast<CTravel*>(manager->GetModule(CModuleMgr::kTravel)) : nullptr;
}

std::unique_ptr<CImgSet> LoadSprite(int32_t id) { return LoadImage("RLES", 0, id, false, kCached); }

int16_t CountFrames(int32_t spriteId)
{
    std::unique_ptr<CImgSet> sprite = LoadSprite(spriteId);
    return sprite ? sprite->GetCount() : 0;
}

std::unique_ptr<CTplRec> LoadHotspotList(int32_t id)
{
    return CreateTplRec(id, CLibMgr::kAllLibraries, false);
}

} // namespace

CRouteObj::CRouteObj(CFrame* owner) : owner_(owner), ownState_(std::make_unique<CRouteSeqState>())
{
    state_ = ownState_.get();
}

CRouteObj::~CRouteObj()
{
    ResetDisplay();
    DeleteLabel(placeLabel_);
    DeleteLabel(hoverLabel_);
}

CRouteSeq* CRouteObj::CurrentSeq() const
{
    const int16_t s = state_->seq;
    return s >= 0 && s < static_cast<int16_t>(seqs_.size()) ? seqs_[static_cast<size_t>(s)].get() : nullptr;
}

void CRouteObj::Init()
{
    CTravel* travel = TravelModule();
    if (CRouteSeqState* shared = travel ? travel->GetRouteSeqState() : nullptr) {
        state_ = shared;
        ownState_.reset();
        // A state that records nothing (a new trip) leaves no entry current.
        const int16_t last = state_->LastVisited();
        if (last != CRouteSeqState::kFree)
            curEntry_ = last;
        shownEntry_ = -1;
    }
    LoadSequences();
    if (travel && travel->GetLandmarkId() != 0)
        if (const CRouteNode* node = travel->GetRouteNode(); node && node->LandmarkNumber() == 0)
            UpdateFromNode(node);
    UpdateFrame();
}

void CRouteObj::LoadSequences()
{
    std::unique_ptr<CTplRec> lines = CreateTplRec(kMapList, CLibMgr::kAllLibraries, false);
    LoadSequences(lines ? *lines : CTplRec(), LoadHotspotList);
}

void CRouteObj::LoadSequences(const CTplRec& lines, const RouteHotspotSource& hotspots,
                              const RouteFrameCounter& frames)
{
    // The elements and captions on screen point into the old sequences.
    ResetDisplay();
    DeleteLabel(placeLabel_);
    DeleteLabel(hoverLabel_);
    placeHotspot_ = nullptr;
    hoverHotspot_ = nullptr;
    seqs_ = ReadRouteSequences(lines, hotspots, frames ? frames : RouteFrameCounter(CountFrames));
}

void CRouteObj::UpdateFromNode(const CRouteNode* node)
{
    if (!node)
        return;
    const RouteNodeMapInfo info{node->GetId(), node->GetMapCodeA(), node->GetMapCodeB(),
                                node->GetSegLengthA(), node->GetSegLengthB()};
    UpdateFromNode(&info);
}

void CRouteObj::UpdateFromNode(const RouteNodeMapInfo* node)
{
    if (!node)
        return;
    node120_ = node->id == kSplitNode;
    int16_t r = state_->alt == 1 ? node->mapCodeB : 0;
    if (r == 0) {
        r = node->mapCodeA;
        state_->alt = 0;
    }
    if (r == 0) {
        r = node->mapCodeB;
        state_->alt = 1;
    }
    const auto s = static_cast<int16_t>(r / 100 - 1);
    const auto e = static_cast<int16_t>(r % 100);
    if (s == state_->seq && e == curEntry_ && state_->lengthA != CRouteSeqState::kNone)
        return;
    state_->lengthA = node->segLengthA;
    state_->lengthB = node->segLengthB;
    SelectSequence(s, e);
    if (r == kPairedCode)
        SelectSequence(static_cast<int16_t>(kPairedCode / 100 - 1),
                       static_cast<int16_t>(kPairedCode % 100 + 1));
}

void CRouteObj::SelectSequence(int16_t s, int16_t e)
{
    if (s != -1 && (s < 0 || s >= static_cast<int16_t>(seqs_.size())))
        return;
    if (s == -1 && state_->seq == CRouteSeqState::kNone)
        s = 0;
    curFrame_ = 0;
    state_->progress = 0;
    if (s == -1 || s == state_->seq) {
        // At most 32 entries are recorded: a 33rd is ignored.
        if (state_->IsVisited(e) || !state_->Record(e))
            return;
        if (CRouteSeq* seq = CurrentSeq())
            if (CRouteSeqEntry* done = seq->Entry(curEntry_))
                done->frameShown = static_cast<int16_t>(done->frameCount - 1);
        curEntry_ = e;
        shownEntry_ = -1;
        return;
    }
    state_->seq = s;
    state_->StartWith(e);
    curEntry_ = e;
    ResetDisplay();
}

void CRouteObj::AddProgress(int16_t n)
{
    state_->progress =
        static_cast<int16_t>(static_cast<uint16_t>(state_->progress) + static_cast<uint16_t>(n));
}

void CRouteObj::ResetDisplay()
{
    shownSeq_ = -1;
    shownFrame_ = -1;
    if (background_) {
        // The sprite elements go with their background.
        for (const std::unique_ptr<CRouteSeq>& seq : seqs_)
            for (CRouteSeqEntry& entry : seq->entries)
                entry.sprite = nullptr;
        background_->Destroy();
        background_ = nullptr;
    }
    if (owner_)
        owner_->Draw(true);
}

void CRouteObj::UpdateFrame()
{
    CRouteSeq* seq = CurrentSeq();
    if (!seq)
        return;
    const auto count = static_cast<int32_t>(seq->entries.size());
    if (curEntry_ >= count)
        curEntry_ = static_cast<int16_t>(count - 1);
    const int32_t progress = state_->progress;
    if (progress < 1) {
        curFrame_ = 0;
        return;
    }
    const CRouteSeqEntry* entry = seq->Entry(curEntry_);
    const int32_t n = entry ? entry->frameCount : 0;
    if (n <= 0) {
        curFrame_ = 0;
        return;
    }
    const int32_t total = state_->alt == 0 ? state_->lengthA : state_->lengthB;
    int32_t t = total;
    if (node120_) {
        if (state_->seq == 2) {
            t = 2 * total / 3;
            if (progress >= t) {
                SelectSequence(3, 0);
                t = total / 3;
            }
        } else {
            t = total / 3;
        }
    }
    segTotal_ = static_cast<int16_t>(t);
    if (state_->progress >= t) {
        curFrame_ = static_cast<int16_t>(n - 1);
        return;
    }
    const int32_t per = std::max(t / n + 1, 1);
    curFrame_ = static_cast<int16_t>(std::min(state_->progress / per, n - 1));
}

void CRouteObj::Step()
{
    if (!owner_ || paused_ || state_->seq == CRouteSeqState::kNone)
        return;
    UpdateFrame();
    if (shownSeq_ == state_->seq) {
        const bool entryChanged = curEntry_ != shownEntry_;
        if (entryChanged || curFrame_ != shownFrame_)
            ShowEntry();
        if (entryChanged)
            UpdatePlaceHotspot();
    } else {
        ShowEntry();
        UpdatePlaceHotspot();
        owner_->Draw(true);
        shownSeq_ = state_->seq;
    }
    shownFrame_ = curFrame_;
    shownEntry_ = curEntry_;
    if (placeHotspot_ && !placeHotspot_->shown)
        ShowLabel(*placeHotspot_, placeLabel_);
    TrackHoverLabel();
}

void CRouteObj::MakeBackground(CRouteSeq& seq)
{
    for (CRouteSeqEntry& entry : seq.entries)
        entry.sprite = nullptr;
    background_ = new CTravelImage(seq);
    owner_->AddChild(background_, false);
    background_->LoadBackground();
}

void CRouteObj::ShowSprite(CRouteSeqEntry& entry)
{
    const auto frame =
        static_cast<int16_t>(std::max<int32_t>(0, std::min<int32_t>(entry.frameShown, entry.frameCount - 1)));
    if (entry.sprite) {
        // Only a sprite whose frame changed needs drawing: the others show what they showed.
        if (entry.sprite->GetFrame() != frame) {
            entry.sprite->SetFrame(frame);
            entry.sprite->Draw(true);
        }
        return;
    }
    std::unique_ptr<CImgSet> images = LoadSprite(entry.spriteId);
    if (!images)
        return;
    // Index 0 is transparent.
    images->SetDrawProc(DrawRleStretched, 0, 0, 0, 0);
    entry.sprite = new CImageWnd(CFrame::kNewId, entry.position, images.release(), 0, 0, true);
    entry.sprite->SetFrame(frame);
    entry.sprite->SetTakesInput(false);
    background_->AddChild(entry.sprite, true);
}

void CRouteObj::ShowEntry()
{
    CRouteSeq* seq = CurrentSeq();
    if (!seq)
        return;
    if (!background_)
        MakeBackground(*seq);
    if (state_->CountVisited() > 0) {
        CRouteSeqEntry* last = seq->Entry(state_->LastVisited());
        if (!last)
            return;
        if (curFrame_ >= last->frameCount)
            curFrame_ = static_cast<int16_t>(last->frameCount - 1);
        last->frameShown = curFrame_;
    }
    const int32_t recorded = state_->CountVisited();
    for (int32_t i = 0; i < recorded; ++i)
        if (CRouteSeqEntry* entry = seq->Entry(state_->visited[static_cast<size_t>(i)]))
            ShowSprite(*entry);
}

void CRouteObj::UpdatePlaceHotspot()
{
    CRouteSeq* seq = CurrentSeq();
    const CRouteSeqEntry* entry = seq ? seq->Entry(curEntry_) : nullptr;
    CRouteHotspot* place = entry ? seq->HotspotAt(entry->place) : nullptr;
    if (placeHotspot_)
        placeHotspot_->shown = false;
    placeHotspot_ = place;
    if (!place)
        DeleteLabel(placeLabel_);
}

void CRouteObj::DropHoverLabel()
{
    DeleteLabel(hoverLabel_);
    // The hotspot's caption is gone with the label, so its place caption may show again.
    if (hoverHotspot_)
        hoverHotspot_->shown = false;
    hoverHotspot_ = nullptr;
}

void CRouteObj::TrackHoverLabel()
{
    CWind* window = owner_->GetOwnerWnd();
    CRouteSeq* seq = CurrentSeq();
    if (!window || !seq)
        return;
    CPoint mouse;
    window->GetCursorPos(mouse, false);
    CRouteHotspot* hovered = seq->HotspotAt(mouse);
    if (!hovered) {
        DropHoverLabel();
        return;
    }
    if (!hovered->shown && hovered != hoverHotspot_) {
        DropHoverLabel();
        ShowLabel(*hovered, hoverLabel_);
        hoverHotspot_ = hovered;
    }
}

void CRouteObj::ShowLabel(CRouteHotspot& hotspot, CFrame*& slot)
{
    DeleteLabel(slot);
    CTplList list(hotspot.captionTemplateId, CLibMgr::kAllLibraries, GetRsrcCache());
    // Every caption gets an id of its own.
    if (list.Find(kCaptionTemplate))
        list.SetId(kCaptionTemplate, CFrame::kNewId);
    auto* caption = dynamic_cast<CFrame*>(list.Build(nullptr, GetMainWnd(), 0));
    if (!caption)
        return;
    owner_->AddChild(caption, false);
    templateCorner_ = caption->GetBounds().TopLeft();
    const CPoint at = hotspot.captionPoint - *templateCorner_;
    if (auto* text = caption->FindAs<CTextFrame>(kCaptionText))
        text->SetText(std::make_unique<CStr>(hotspot.name.c_str()));
    const int16_t depth = background_ ? background_->GetZ() : CTravelImage::kDepth;
    caption->MoveTo(at.GetH(), at.GetV(), static_cast<int16_t>(depth - 1));
    caption->Show(true);
    caption->Draw(true);
    caption->UpdateWindow();
    hotspot.shown = true;
    slot = caption;
}

void CRouteObj::DeleteLabel(CFrame*& slot)
{
    if (slot)
        slot->Destroy();
    slot = nullptr;
}

bool CRouteObj::NextFrame()
{
    CRouteSeq* seq = CurrentSeq();
    // A sequence without entries has no frame to raise.
    if (!seq || seq->entries.empty())
        return true;
    const auto count = static_cast<int16_t>(seq->entries.size());
    if (curEntry_ >= count) {
        curEntry_ = static_cast<int16_t>(count - 1);
        return false;
    }
    CRouteSeqEntry* entry = seq->Entry(curEntry_);
    if (!entry || entry->frameShown == entry->frameCount)
        return true;
    ++entry->frameShown;
    curFrame_ = entry->frameShown;
    return false;
}

void CRouteObj::Pause()
{
    if (paused_)
        return;
    paused_ = true;
    ResetDisplay();
    DropHoverLabel();
    if (placeLabel_)
        placeLabel_->Hide(true, true);
}

void CRouteObj::Resume()
{
    if (!paused_)
        return;
    paused_ = false;
    Step();
}
