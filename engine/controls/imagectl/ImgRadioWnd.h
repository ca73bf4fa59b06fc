#pragma once
// CImgRadioWnd: a radio button drawn from six images of a set, as the image switch is (with four
// images a disabled button that is on shows image 3, the last). Its group behaviour is the radio
// frame's: one member of its window's group is on, and a click never turns it off. It is never a
// default button.
//
// Template kind 0x13: the radio frame's values ("switchon", "groupid"), then "imgid" and
// "imglibmsk"; placed like the image button.
#include <cstdint>

#include "engine/controls/imagectl/ImageControl.h"
#include "engine/controls/input/SwitchFrame.h"

class CImgRadioWnd : public CSixImageControl<CRadioFrame> {
public:
    static constexpr int32_t kTemplateKind = 0x13;

    // Takes the set over (null allowed). Opaque.
    CImgRadioWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target, CImgSet* images,
                 int32_t groupId, bool on, int32_t hMode, int32_t vMode);
    // The set of picture ("CBM") imageId; without it the button is 20 x 20, or with the report
    // flag the program ends with a fatal report.
    CImgRadioWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target, int32_t imageId,
                 uint32_t libraryMask, int32_t groupId, bool on, int32_t hMode, int32_t vMode, bool report);

    // The registrar's factories of kind 0x13.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);
};

// The template of an image radio button.
class CTImgRadioWnd : public CTImageFields<CTRadioFrame> {
public:
    CTImgRadioWnd(int32_t kind, CRawParser* parser) : CTImageFields(kind, parser, "imglibmsk") {}
};
