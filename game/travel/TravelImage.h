#pragma once
// CTravelImage: the background element of one route map sequence. It is made at the
// sequence's origin with a generated id and no picture; LoadBackground loads the sequence's
// picture, drawn opaque, and places the element at the origin, in front of the ordinary
// children (depth -10). The entries' sprite elements are its children. It takes no mouse
// input, and without a picture it draws nothing (the sprites still show).
#include <cstdint>

#include "engine/controls/ImageWnd.h"

struct CRouteSeq;

class CTravelImage : public CImageWnd {
public:
    static constexpr int16_t kDepth = -10;

    explicit CTravelImage(CRouteSeq& seq);

    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // Loads the picture (cached under "CBMP"); a missing picture leaves the element without.
    virtual void LoadBackground();

    CRouteSeq& GetSeq() const { return seq_; }

private:
    CRouteSeq& seq_;
};
