#include "game/base/GameSeqWnd.h"

#include "game/base/GameImageWnd.h"
#include "game/base/SoundSlots.h"

bool CGameSeqWnd::HitTest(const CPoint& point) { return HitsDrawnPixel(*this, point); }

void CGameSeqWnd2::PlayFrameSound(int32_t soundId, uint32_t)
{
    constexpr uint8_t kFullLevel = 255;
    PlaySoundEffect(soundId, kSoundStreamed, kFullLevel);
}
