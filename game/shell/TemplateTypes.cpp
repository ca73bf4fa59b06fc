#include "game/shell/TemplateTypes.h"

#include <cstdio>
#include <vector>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/ImageWnd.h"
#include "engine/controls/StrTpl.h"
#include "engine/controls/StrTplWnd.h"
#include "engine/controls/TFrame.h"
#include "engine/controls/TWind.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TextWnd.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/Wind.h"
#include "engine/controls/anim/PackedAnimWnd.h"
#include "engine/controls/anim/ScrollTextWnd.h"
#include "engine/controls/anim/SeqWnd.h"
#include "engine/controls/imagectl/BkImgBtnWnd.h"
#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/controls/imagectl/ImgRadioWnd.h"
#include "engine/controls/imagectl/ImgScrollBar.h"
#include "engine/controls/imagectl/ImgSwitchWnd.h"
#include "engine/controls/imagectl/ImgTextBtnWnd.h"
#include "engine/controls/input/CaptionFrame.h"
#include "engine/controls/input/PushFrame.h"
#include "engine/controls/input/ScrollBar.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/controls/native/Button.h"
#include "engine/controls/native/ColorWnd.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/native/ListBoxCtl.h"
#include "engine/controls/native/ScrollBarCtl.h"
#include "engine/controls/native/StrListBox.h"
#include "engine/controls/native/TextLabel.h"
#include "engine/controls/text/ScrollList.h"
#include "engine/framework/Diag.h"
#include "engine/resources/Registrar.h"
#include "game/base/CheckListCtl.h"
#include "game/base/GameBtn.h"
#include "game/base/RandomPictureCtl.h"
#include "game/base/RepeatButton.h"
#include "game/base/SpinFrm.h"
#include "game/base/TFrameType.h"
#include "game/base/TwoColListFrm.h"
#include "game/landmarks/InfoPanelCtl.h"
#include "game/landmarks/ItemListCtl.h"
#include "game/landmarks/TLmCharFrm.h"
#include "game/landmarks/TradeListCtl.h"

namespace {

struct KindEntry {
    int32_t kind;
    ObjectFactory create;
    TemplateFactory read;
    const char* className; // for the kinds whose objects do not exist yet
};

// A kind whose objects the game cannot make yet: reading its template ends the program with a
// report naming the kind, rather than building a screen with a hole in it.
const char* MissingClassOf(int32_t kind);

CTObj* ReadMissingKind(int32_t kind, CRawParser*)
{
    char text[160];
    std::snprintf(text, sizeof text, "Template kind 0x%02x (%s) is not available in this version.",
                  static_cast<unsigned>(kind), MissingClassOf(kind));
    ReportError(0, text, "TemplateTypes", static_cast<uint32_t>(__LINE__));
    return nullptr;
}

CBaseObj* CreateMissingKind(CTObj*) { return nullptr; }

#define QM_MISSING(kind, name)                                                                               \
    {                                                                                                        \
        kind, &CreateMissingKind, &ReadMissingKind, name                                                     \
    }

const KindEntry kKinds[] = {
    {0x01, &CTFrame::CreateFrame, &CTFrame::Read, nullptr},
    {0x02, &CColorWnd::Create, &CColorWnd::ReadTemplate, nullptr},
    {0x04, &CTextLabel::Create, &CTextLabel::ReadTemplate, nullptr},
    {0x05, &CImageWnd::Create, &CImageWnd::ReadTemplate, nullptr},
    {0x06, &CScrollTextWnd::Create, &CScrollTextWnd::ReadTemplate, nullptr},
    {0x07, &CPackedAnimWnd::Create, &CPackedAnimWnd::ReadTemplate, nullptr},
    {0x08, &CTextFrame::Create, &CTTextFrame::ReadByReference, nullptr},
    {0x09, &CTextFrame::Create, &CTTextFrame::ReadLiteral, nullptr},
    {0x0a, &CScrollList::Create, &CScrollList::ReadByReference, nullptr},
    {0x0b, &CScrollList::Create, &CScrollList::ReadLiteral, nullptr},
    {0x0c, &CCaptionFrame::Create, &CCaptionFrame::ReadByReference, nullptr},
    {0x0d, &CCaptionFrame::Create, &CCaptionFrame::ReadLiteral, nullptr},
    {0x0e, &CImageFrame::Create, &CImageFrame::ReadTemplate, nullptr},
    {0x0f, &CPushFrame::Create, &CPushFrame::ReadTemplate, nullptr},
    {0x10, &CImgBtnWnd::Create, &CImgBtnWnd::ReadTemplate, nullptr},
    {0x11, &CImgBtnWnd::Create, &CImgBtnWnd::ReadTemplate, nullptr},
    {0x12, &CImgSwitchWnd::Create, &CImgSwitchWnd::ReadTemplate, nullptr},
    {0x13, &CImgRadioWnd::Create, &CImgRadioWnd::ReadTemplate, nullptr},
    {0x14, &CBkImgBtnWnd::Create, &CBkImgBtnWnd::ReadTemplate, nullptr},
    {0x15, &CBkImgBtnWnd::Create, &CBkImgBtnWnd::ReadTemplate, nullptr},
    {0x16, &CImgTextBtnWnd::Create, &CImgTextBtnWnd::ReadByReference, nullptr},
    {0x17, &CImgTextBtnWnd::Create, &CImgTextBtnWnd::ReadLiteral, nullptr},
    {0x18, &CImgTextBtnWnd::Create, &CImgTextBtnWnd::ReadByReference, nullptr},
    {0x19, &CImgTextBtnWnd::Create, &CImgTextBtnWnd::ReadLiteral, nullptr},
    {0x1a, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x1b, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x1c, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x1d, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x1e, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x1f, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x20, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x21, &CButton::Create, &CButton::ReadTemplate, nullptr},
    {0x22, &CGameBtn::Create, &CTextBtnFrame::ReadByReference, nullptr},
    {0x23, &CGameBtn::Create, &CTextBtnFrame::ReadLiteral, nullptr},
    {0x24, &CEditField::Create, &CEditField::ReadTemplate, nullptr},
    {0x25, &CEditField::Create, &CEditField::ReadTemplate, nullptr},
    {0x26, &CEditField::Create, &CEditField::ReadTemplate, nullptr},
    {0x27, &CEditField::Create, &CEditField::ReadTemplate, nullptr},
    {0x28, &CListBoxCtl::Create, &CListBoxCtl::ReadTemplate, nullptr},
    {0x29, &CComboBox::Create, &CComboBox::ReadTemplate, nullptr},
    {0x2a, &CImgScrollBar::Create, &CImgScrollBar::ReadTemplate, nullptr},
    {0x2b, &CScrollBarCtl::Create, &CScrollBarCtl::ReadTemplate, nullptr},
    {0x2c, &CScrollBar::Create, &CScrollBar::ReadTemplate, nullptr},
    {0x2d, &CStrListBox::Create, &CStrListBox::ReadTemplate, nullptr},
    {0x30, &CSeqWnd::Create, &CSeqWnd::ReadTemplate, nullptr},
    {0x31, &CWind::CreateFromTemplate, &CTWind::Read, nullptr},
    {0x32, &CTopWnd::CreateFromTemplate, &CStrTpl::ReadByReference, nullptr},
    {0x33, &CTopWnd::CreateFromTemplate, &CStrTpl::ReadLiteral, nullptr},
    {0x34, &CStrTplWnd::CreateFromTemplate, &CStrTpl::ReadByReference, nullptr},
    {0x35, &CStrTplWnd::CreateFromTemplate, &CStrTpl::ReadLiteral, nullptr},
    {0x36, &CTextWnd::CreateFromTemplate, &CStrTpl::ReadByReference, nullptr},
    {0x37, &CTextWnd::CreateFromTemplate, &CStrTpl::ReadLiteral, nullptr},
    QM_MISSING(0x3a, "CLmSceneFrm"),
    {0x3b, &CTLmCharFrm::Create, &CTLmCharFrm::Read, nullptr},
    {0x3c, &CTradeListCtl::Create, &CStrTpl::ReadLiteral, nullptr},
    {0x3e, &CSpinFrm::Create, &CSpinFrm::ReadTemplate, nullptr},
    {0x3f, &CSpinFrm::Create, &CSpinFrm::ReadRepeatTemplate, nullptr},
    {0x40, &CRepeatButton::Create, &CRepeatButton::ReadTemplate, nullptr},
    {0x41, &CItemListCtl::Create, &CItemListCtl::ReadTemplate, nullptr},
    {0x42, &CInfoPanelCtl::Create, &CTFrame::Read, nullptr},
    {0x43, &CTFrameType::Create, &CTFrameType::Read, nullptr},
    {0x44, &CRandomPictureCtl::Create, &CImageWnd::ReadTemplate, nullptr},
    {0x45, &CCheckListCtl::Create, &CCheckListCtl::ReadTemplate, nullptr},
    {0x46, &CTwoColListFrm::Create, &CTwoColListFrm::ReadTemplate, nullptr},
};

#undef QM_MISSING

constexpr int32_t kKindCount = static_cast<int32_t>(sizeof kKinds / sizeof kKinds[0]);
static_assert(kKindCount == 64, "the game registers 64 template kinds");

int32_t g_kindList[kKindCount];

const char* MissingClassOf(int32_t kind)
{
    for (const KindEntry& e : kKinds)
        if (e.kind == kind && e.className)
            return e.className;
    return "?";
}

} // namespace

void RegisterTemplateTypes()
{
    for (const KindEntry& e : kKinds)
        CRegistrar::Register(e.kind, e.create, e.read);
}

std::vector<int32_t> MissingTemplateKinds()
{
    std::vector<int32_t> missing;
    for (const KindEntry& e : kKinds)
        if (e.className)
            missing.push_back(e.kind);
    return missing;
}

const int32_t* GameTemplateKinds(int32_t& count)
{
    for (int32_t i = 0; i < kKindCount; ++i)
        g_kindList[i] = kKinds[i].kind;
    count = kKindCount;
    return g_kindList;
}
