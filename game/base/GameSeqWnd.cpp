#include "game/shell/GameSeqWnd.h"

#include "game/shell/GameImageWnd.h"
#include "game/shell/SoundSlots.h"

bool CGameSeqWnd::HitTest(const CPoint& point) { return HitsDrawnPixel(*this, point); }

void CGameSeqWnd2::PlayFrameSound(int32_t soundId, uint32_t)
{
    constexpr uint8_t kFullLevel = 255;
    PlaySoundEffect(soundId, kSoundStreamed, kFullLevel);
}
