#include "game/shell/PictureModule.h"

#include "engine/graphics/CursorMgr.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameImages.h"

CPictureModule::CPictureModule(const CRect& rect) : CAnimModule(rect), busy_(std::make_unique<CBusyCursor>())
{
}

CPictureModule::~CPictureModule()
{
    if (GetState() != kStateSuspended)
        SetImage(nullptr, 0);
    busy_.reset();
}

void CPictureModule::ShowPicture()
{
    std::unique_ptr<CImgSet> picture = LoadImage("CBMP", 0, kPicture, false, 1);
    if (!picture)
        return;
    SetImage(picture.release(), 0);
    AddUpdateRect(GetDrawnRect());
    Draw(true);
    UpdateWindow();
}

void CPictureModule::Start()
{
    SetMapProc(nullptr);
    SetTakesInput(true);
    ShowPicture();
    busy_.reset();
    started_ = true;
    StartTimer(kPeriod, nullptr);
}

void CPictureModule::Suspend()
{
    CBusyCursor busy;
    CModule::Suspend();
    SetImage(nullptr, 0);
}

void CPictureModule::Resume()
{
    CBusyCursor busy;
    CModule::Resume();
    ShowPicture();
}

void CPictureModule::Step()
{
    if (started_)
        CAnimModule::Step();
}
