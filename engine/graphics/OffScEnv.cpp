#include "engine/graphics/OffScEnv.h"

COffScEnv::~COffScEnv() { Release(); }

void COffScEnv::Release()
{
    if (ownDC_) {
        ReleaseGdiObjects();
        DetachDC();
        ownDC_.reset();
    }
    bitmap_.reset();
}

void COffScEnv::Init(const CRect& rect, CPalette* palette, bool align)
{
    Release();
    bitmap_ = align ? std::make_unique<CDibSect>(rect, 8, 0xFF)
                    : std::make_unique<CDibSect>(rect, CPoint(0, 0), 8, 0xFF);
    // A bitmap without pixels gets no drawing context: everything drawn into it is skipped.
    if (plat::Surface* pixels = bitmap_->GetHandle())
        ownDC_ = std::make_unique<plat::DrawContext>(*pixels);
    bitmap_->SetDC(ownDC_.get());
    Setup(ownDC_.get(), rect, palette);
    SetKind(kEnvOffScreen);
    defaultRecord_.Reset(DrawOpaque);
}

void COffScEnv::BlitDib(CDibSect* bitmap, const CRect& src, const CRect& dest, const CRect* clip,
                        DrawRecord* record)
{
    if (!bitmap)
        return;
    if (!bitmap->LockBits()) {
        bitmap->UnlockBits();
        return;
    }
    DrawRecord* used = record ? record : &defaultRecord_;
    // The default record points at the source rectangle only for this call.
    const intptr_t savedSource = defaultRecord_.params[0];
    if (!record)
        defaultRecord_.params[0] = reinterpret_cast<intptr_t>(&src);
    if (!used->proc)
        CDrawEnv::BlitDib(bitmap, src, dest, clip, used);
    else
        used->proc(bitmap, bitmap_.get(), dest, used);
    defaultRecord_.params[0] = savedSource;
    bitmap->UnlockBits();
}

void COffScEnv::BlitTo(CDrawEnv* dest, const CRect& src, const CRect& destRect, const CRect* clip,
                       DrawRecord* record)
{
    if (bitmap_ && dest)
        dest->BlitDib(bitmap_.get(), src, destRect, clip, record);
}
