#pragma once
// CImgSwitchWnd: an on/off switch drawn from six images of a set (off, off pressed, off
// disabled, on, on pressed, on disabled; disabled wins over pressed), from its first frame index
// and at most the set's last image: with three images every on state shows image 2. It flips on
// a release inside and notifies as the switch frame does; it is never a default button. Control
// kind 5.
//
// Template kind 0x12: the switch's values ("switchon"), then "imgid" and "imglibmsk"; placed
// like the image button.
#include <cstdint>

#include "engine/controls/imagectl/ImageControl.h"
#include "engine/controls/input/SwitchFrame.h"

class CImgSwitchWnd : public CSixImageControl<CSwitchFrame> {
public:
    static constexpr int32_t kTemplateKind = 0x12;
    static constexpr int32_t kControlKind = 5;

    // Takes the set over (null allowed). Opaque.
    CImgSwitchWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target, CImgSet* images,
                  bool on, int32_t hMode, int32_t vMode);
    // The set of picture ("CBM") imageId; without it the switch is 20 x 20, or with the report
    // flag the program ends with a fatal report.
    CImgSwitchWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target, int32_t imageId,
                  bool on, uint32_t libraryMask, int32_t hMode, int32_t vMode, bool report);

    // The registrar's factories of kind 0x12.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);
};

// The template of an image switch.
class CTImgSwitchWnd : public CTImageFields<CTSwitchFrame> {
public:
    CTImgSwitchWnd(int32_t kind, CRawParser* parser) : CTImageFields(kind, parser, "imglibmsk") {}
};
