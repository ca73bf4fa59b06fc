#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretchDraw.h"
#include "game/action/3DSceneLegend.h"
#include "game/base/GameImages.h"
#include "game/travel/SceneSeqWnd.h"

C3DSceneLegend::C3DSceneLegend() = default;

C3DSceneLegend::~C3DSceneLegend() { FreeObject(); }

void C3DSceneLegend::Clear(uint8_t v)
{
    FreeObject();
    objectImage = nullptr;
    value = v;
    sequence = 0;
    kind = kUnlisted;
    objectImageId = 0;
    drawGround = 1;
    current = 0;
    hardness = kDefaultHardness;
    animated = false;
    drawColour = 0;
}

bool C3DSceneLegend::MakeObject(CFrame* owner, int16_t sizeClass)
{
    FreeObject();
    ownImage = LoadImage("RLES", 0, objectImageId, false, 1);
    if (!ownImage)
        return false;
    objectImage = ownImage.get();
    if (kind == kWater)
        element = std::make_unique<CRiverSeqWnd>(CFrame::kNewId, CPoint(0, 0), owner, ownImage.get(),
                                                 objectImageId, current, sizeClass);
    else
        element = std::make_unique<CSceneSeqWnd>(CFrame::kNewId, CPoint(0, 0), owner, ownImage.get(),
                                                 objectImageId);
    element->SetShown(true);
    animated = ownImage->GetCount() > 1;
    if (animated)
        element->SetAnimation(0);
    return true;
}

void C3DSceneLegend::FreeObject()
{
    element.reset();
    if (ownImage && objectImage == ownImage.get())
        objectImage = nullptr;
    ownImage.reset();
    animated = false;
}

int16_t C3DSceneLegend::GetAnimationFrame() const { return element ? element->GetCel() : -1; }

void C3DSceneLegend::DrawAnimationFrame(CDrawEnv* env, const CRect& dest, const CRect& clip)
{
    auto* sprites = dynamic_cast<CRleImgSet*>(objectImage);
    CDibSect* bitmap = env ? env->GetBitmap() : nullptr;
    if (!sprites || !bitmap || !element)
        return;
    CRect clipArea = clip;
    sprites->SetDrawProc(DrawRleStretched, element->GetCel(), reinterpret_cast<intptr_t>(&clipArea), 0, 0);
    sprites->Draw(bitmap, dest);
}
