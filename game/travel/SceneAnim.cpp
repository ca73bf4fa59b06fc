#include "game/travel/SceneAnim.h"

#include "engine/controls/Frame.h"
#include "engine/controls/anim/SeqWnd.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameImages.h"
#include "game/base/SoundSlots.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"

namespace {

} // namespace

CSceneAnim::~CSceneAnim() { FreeImage(); }

void CSceneAnim::SetImage(int16_t id)
{
    imageId_ = id;
    const bool small = id < kSmallIdLimit;
    kind_ = small ? kKindSmall : kKindLarge;
    drawGround_ = small ? 1 : 0;
    FreeImage();
    hardness_ = kDefaultHardness;
    recordId_ = 0;
    animValue_ = 0;
    current_ = 0;
    animated_ = false;
}

void CSceneAnim::ReadRecord(int16_t kind)
{
    kind_ = kind;
    CSceneRecord record(recordId_);
    if (!record.Exists())
        return;
    line1_ = record.Line();
    line2_ = record.Line();
    soundId_ = record.Number();
    hardness_ = static_cast<int16_t>(record.Number());
    drawGround_ = static_cast<uint8_t>(record.Number());
    if (const int32_t value = record.Number(INT32_MIN); value != INT32_MIN)
        animValue_ = static_cast<int16_t>(value);
}

void CSceneAnim::LoadImage()
{
    if (recordId_ == 0)
        return;
    image_ = ::LoadImage("RLES", 0, recordId_, false, 1);
    animated_ = image_ && image_->GetCount() > 1;
}

void CSceneAnim::MakeWindow(CFrame* owner, int32_t sequenceId)
{
    if (!image_)
        LoadImage();
    if (!owner || !image_)
        return;
    window_ = new CSceneSeqWnd(CFrame::kNewId, CPoint(0, 0), owner, image_.get(),
                               sequenceId ? sequenceId : recordId_);
    owner->AddChild(window_, false);
    if (image_->GetCount() > 1)
        window_->SetAnimation(0);
    window_->Show(true);
}

void CSceneAnim::FreeImage()
{
    if (window_) {
        window_->Destroy();
        window_ = nullptr;
    }
    image_.reset();
    if (soundId_ > 0)
        StopSounds(nullptr, soundId_);
    line1_.reset();
    line2_.reset();
}
