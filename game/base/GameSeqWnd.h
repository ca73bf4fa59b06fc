#pragma once
// The game's sequence elements. CGameSeqWnd hit-tests like the game's image element: only a
// drawn pixel of its current cel is a hit. CGameSeqWnd2 plays its frames' sounds in the game's
// sound slots, as streamed effects at full level, so that they obey "soundon" and stop with
// the rest of the game's sounds.
#include <cstdint>

#include "engine/controls/anim/SeqWnd.h"

class CGameSeqWnd : public CSeqWnd {
public:
    using CSeqWnd::CSeqWnd;

    bool HitTest(const CPoint& point) override;
};

class CGameSeqWnd2 : public CSeqWnd {
public:
    using CSeqWnd::CSeqWnd;

    // PlaySoundEffect(id, streamed, 255); the slots find the sound in any library.
    void PlayFrameSound(int32_t soundId, uint32_t libraryMask) override;
};
