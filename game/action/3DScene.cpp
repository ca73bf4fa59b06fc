// The river scene's set-up and lifetime: the records it reads, suspending and resuming.
#include "game/action/3DScene.h"

#include "engine/controls/AnimFrame.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RecReader.h"
#include "engine/resources/TplRecLoader.h"
#include "game/action/3DView.h"
#include "game/base/GameImages.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"

namespace {

// Entries of the set-up record: the record of entry 0, the cursor record and the fine mesh.
constexpr int16_t kSetUpEntry0 = 0;
constexpr int16_t kCursorEntry = 1;

std::unique_ptr<CRecReader> OpenRecord(int32_t id)
{
    auto reader = std::make_unique<CRecReader>();
    if (id > 0)
        LoadTplRec(*reader, id, CLibMgr::kAllLibraries, false);
    return reader;
}

} // namespace

C3DScene::C3DScene(const CRect& viewRect, CDibSect* bitmap, C3DView* view, CAnimFrame* frame, int32_t mapIds,
                   int32_t heightIds, int32_t sceneryIds)
    : viewRect_(viewRect), bitmap_(bitmap), view_(view), frame_(frame), mapIds_(mapIds),
      heightIds_(heightIds), sceneryIds_(sceneryIds), setUp_(OpenRecord(kSetUpRecord)),
      stopwatch_(std::make_unique<CStopwatch>())
{
    if (view_ && bitmap_)
        view_->AttachBitmap(*bitmap_, &viewRect_);
    for (int32_t v = 0; v < 256; ++v)
        legend_[static_cast<size_t>(v)].Clear(static_cast<uint8_t>(v));
    legend_[0].kind = C3DSceneLegend::kNothing;
}

C3DScene::~C3DScene() { Release(); }

void C3DScene::SetUp(int16_t riverIndex, bool deferred)
{
    mapIdList_ = OpenRecord(mapIds_);
    heightIdList_ = OpenRecord(heightIds_);
    sceneryIdList_ = OpenRecord(sceneryIds_);
    cursors_ = OpenRecord(setUp_->GetNumber(kCursorEntry));
    entry0_ = OpenRecord(setUp_->GetNumber(kSetUpEntry0));

    mapId_ = mapIdList_->GetNumber(riverIndex);
    props_ = std::make_unique<CSceneProp>(sceneryIdList_->GetNumber(riverIndex));
    props_->Load();
    ground_ = SettingsGround();
    usePanorama_ = props_->GetPanoramaImageId() != 0;
    sceneryList_ = OpenRecord(props_->GetSceneryListId());
    heightId_ = heightIdList_->GetNumber(riverIndex);

    forward_ = sideways_ = 0;
    drift_[0] = drift_[1] = drift_[2] = 0;
    forwardMax_ = kForwardMax;
    reverseMin_ = kReverseMin;
    sidewaysMax_ = kSidewaysMax;
    LayoutZones();
    window_.fill(nullptr);

    // A map that is missing, or too small to hold a cell away from its edges, is no river.
    if (mapId_ <= 0 || map_.Load(mapId_) != CBmpStrip::kOk || map_.GetWidth() < 4 || map_.GetHeight() < 4) {
        map_.Free();
        status_ = kFailed;
        return;
    }
    map_.Lock();
    FetchWindow(0);
    mapWidth_ = map_.GetWidth();
    mapHeight_ = map_.GetHeight();
    BuildLegend(window_[0], window_[1]);

    suspended_ = deferred;
    if (!deferred) {
        MakeLegendObjects();
        marker_ = view_ ? view_->MakeModel(kMarkerQuad, 1.0) : nullptr;
    }
    steeringMode_ = 0;
    props_->PlaySound();
}

void C3DScene::FetchWindow(int32_t firstRow)
{
    if (map_.GetLockCount() > 0)
        map_.GetRows(firstRow, window_.data(), kWindowRows);
}

void C3DScene::MakeRaftFigure()
{
    raft_.reset();
    const int32_t id = props_ ? props_->GetRaftFigureSeqId() : 0;
    if (id <= 0)
        return;
    raftImage_ = LoadImage("RLES", 0, id, false, 1);
    if (!raftImage_)
        return;
    CRect cel;
    raftImage_->GetImageRect(cel, 0);
    // Centred over the bottom edge of the view.
    const int16_t left =
        static_cast<int16_t>((viewRect_.GetLeft() + viewRect_.GetRight() - cel.GetWidth()) / 2);
    const int16_t top = static_cast<int16_t>(viewRect_.GetBottom() - cel.GetHeight());
    raft_ = std::make_unique<CSceneSeqWnd>(CFrame::kNewId, CPoint(left, top), frame_, raftImage_.get(), id);
    raft_->SetAnimation(0);
    raft_->SetShown(true);
}

void C3DScene::FreeLoaded()
{
    map_.Unload();
    window_.fill(nullptr);
    for (C3DSceneLegend& entry : legend_)
        entry.FreeObject();
    panorama_.reset();
    panoramaTiled_ = false;
    ShowOverlay(nullptr);
    overlay_.reset();
    raft_.reset();
    raftImage_.reset();
}

// The height grid and the ground models stay: the raft goes on from where it stood.
void C3DScene::Suspend()
{
    if (suspended_)
        return;
    FreeLoaded();
    suspended_ = true;
}

void C3DScene::Resume()
{
    if (!suspended_)
        return;
    if (props_)
        props_->Start();
    MakeLegendObjects();
    if (!marker_ && view_)
        marker_ = view_->MakeModel(kMarkerQuad, 1.0);
    if (map_.GetImageId() > 0 && map_.Reload() == CBmpStrip::kOk) {
        map_.Lock();
        FetchWindow(cameraRow_ > 1 ? cameraRow_ - 5 : 0);
    }
    suspended_ = false;
}

void C3DScene::Release()
{
    FreeLoaded();
    if (props_)
        props_->StopNow();
    props_.reset();
    mapIdList_.reset();
    heightIdList_.reset();
    sceneryIdList_.reset();
    sceneryList_.reset();
    marker_.reset();
    probe_.reset();
    tile_.reset();
    mesh_.reset();
    heights_.clear();
    map_.Free();
}
