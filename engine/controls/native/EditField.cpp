#include "engine/controls/native/EditField.h"

#include <tuple>

#include "engine/controls/Wind.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/TplRecLoader.h"
#include "platform/widgets/Widgets.h"

namespace {

constexpr int32_t kKeyTab = 9;
constexpr int32_t kKeyEnter = 13;
constexpr int32_t kKeyEscape = 27;
// The Edit menu's commands.
constexpr int32_t kMsgSelectAll = -34, kMsgClear = -33, kMsgPaste = -32, kMsgCopy = -31, kMsgCut = -30;
// The widget's change notification shares its number with the cut message; paste and clear
// are the numbers of the paste and clear messages.
constexpr uint32_t kCodeCut = 0x0300, kCodePaste = 0x0302, kCodeClear = 0x0303;

// A template colour of -1 is the default.
int32_t OrDefault(int32_t color, int32_t fallback) { return color == -1 ? fallback : color; }

} // namespace

CEditField::CEditField(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                       std::unique_ptr<CStr> text, int16_t fontId, uint32_t undoMask, bool border,
                       int16_t maxChars, int32_t justification)
    : CControl(kKindEditField, id, rect, notifyType, target, fontId), held_(std::move(text)),
      maxChars_(maxChars), justification_(justification), undoMask_(undoMask)
{
    SetInputMode(3);
    SetWndClass(plat::widgetclass::Edit);
    if (border && !HasBorder())
        SetBorder(kFlagBorders);
    brush_.color = CDrawEnv::ToColorRef(static_cast<int32_t>(GetBackColor()));
    SetCursor(1);
}

uint32_t CEditField::EditStyle() const
{
    uint32_t style = plat::style::Child;
    if (multiline_)
        style |= plat::wstyle::MultiLine;
    if (HasBorder())
        style |= plat::style::Border;
    if (justification_ == 1)
        style |= plat::wstyle::AlignCenter;
    else if (justification_ == 2)
        style |= plat::wstyle::AlignRight;
    return style;
}

void CEditField::PutHeldText()
{
    if (!held_)
        return;
    const std::string text = MappedText(*held_);
    plat::SetWidgetText(GetHwnd(), text);
    plat::SetEditSelection(GetHwnd(), 0, static_cast<int32_t>(text.size()));
    held_.reset();
}

void CEditField::CreateWnd()
{
    SetWndStyle(EditStyle());
    CControl::CreateWnd();
    if (!GetHwnd())
        return;
    ApplyFont();
    plat::SetEditLimit(GetHwnd(), maxChars_);
    PutHeldText();
}

void CEditField::DestroyWnd()
{
    if (GetHwnd())
        held_ = GetText();
    CControl::DestroyWnd();
}

void CEditField::SetText(std::unique_ptr<CStr> text, bool selectAll)
{
    if (!GetHwnd() || !text) {
        held_ = std::move(text);
        return;
    }
    const std::string mapped = MappedText(*text);
    const auto length = static_cast<int32_t>(mapped.size());
    plat::SetWidgetText(GetHwnd(), mapped);
    plat::SetEditSelection(GetHwnd(), selectAll ? 0 : length, length);
}

std::unique_ptr<CStr> CEditField::GetText() const
{
    if (!GetHwnd())
        return std::make_unique<CStr>(held_ ? *held_ : CStr());
    return std::make_unique<CStr>(plat::GetWidgetText(GetHwnd()).c_str());
}

int32_t CEditField::GetTextLength() const
{
    return GetHwnd() ? plat::GetWidgetTextLength(GetHwnd()) : (held_ ? held_->GetLength() : 0);
}

bool CEditField::GetSel(int32_t& start, int32_t& end) const
{
    start = end = 0;
    if (GetHwnd())
        std::tie(start, end) = plat::GetEditSelection(GetHwnd());
    return end > start;
}

bool CEditField::CanCut() const
{
    int32_t start = 0, end = 0;
    return HasFocus() && GetSel(start, end);
}

bool CEditField::CanPaste() const { return HasFocus() && plat::ClipboardHasText(); }

bool CEditField::CanSelectAll() const { return HasFocus() && GetTextLength() > 0; }

bool CEditField::WantsKey(int32_t key)
{
    if (!HasFocus() || key == kKeyTab || key == kKeyEscape)
        return false;
    return key != kKeyEnter || multiline_;
}

void CEditField::Notify(int32_t state)
{
    GetNotifyMessage().SetParam(state, 2);
    SendNotify();
}

void CEditField::SetHasFocus(bool hasFocus)
{
    if (!GetHwnd() || hasFocus == HasFocus())
        return;
    CControl::SetHasFocus(hasFocus);
    CWind* window = GetOwnerWnd();
    if (window && plat::IsVisible(window->GetHwnd()) && window == CWind::GetActiveWnd())
        Notify(hasFocus ? kFocusGained : kFocusLost);
}

std::unique_ptr<CStr> CEditField::UndoText() const
{
    if (!HasFocus() || !undoable_)
        return nullptr;
    std::unique_ptr<CTplRec> strings = CreateTplRec(kUndoStrings, undoMask_, false);
    if (!strings)
        return std::make_unique<CStr>("Undo ");
    // An entry the list lacks counts as empty.
    auto text = std::make_unique<CStr>();
    text->Append(strings->GetEntry(3 + redo_));
    text->Append(strings->GetEntry(GetEditTargetWord()));
    return text;
}

void CEditField::Announce()
{
    undoText_ = UndoText();
    Activate(reinterpret_cast<MsgWord>(undoText_.get()));
}

void CEditField::RecordUndo(uint16_t kind)
{
    if (!undoable_)
        return;
    redo_ = 0;
    SetEditTargetWord(kind);
    Announce();
    GetSel(savedStart_, savedEnd_);
    savedText_ = GetText();
}

std::unique_ptr<CStr> CEditField::Undo()
{
    if (!undoable_)
        return nullptr;
    const uint16_t kind = GetEditTargetWord();
    std::unique_ptr<CStr> keptText;
    int32_t keptStart = 0, keptEnd = 0;
    if (kind == 0) {
        ClearEditTarget();
    } else {
        keptText = std::move(savedText_);
        keptStart = savedStart_;
        keptEnd = savedEnd_;
        GetSel(savedStart_, savedEnd_);
        savedText_ = GetText();
        typing_ = 0;
    }
    redo_ = redo_ ? 0 : 1;
    std::unique_ptr<CStr> text = UndoText();
    if (kind == kUndoTyping || kind == kUndoCut || kind == kUndoPaste || kind == kUndoClear ||
        kind == kUndoSelectAll) {
        SetText(keptText ? std::move(keptText) : std::make_unique<CStr>(), true);
        UpdateWindow();
        if (GetHwnd())
            plat::SetEditSelection(GetHwnd(), keptStart, keptEnd);
    }
    return text;
}

void CEditField::Deactivate()
{
    CEditTarget::Deactivate();
    savedText_.reset();
    SetEditTargetWord(0);
    savedStart_ = savedEnd_ = 0;
    redo_ = 0;
    typing_ = 0;
}

void CEditField::DeleteSelection(uint16_t kind, void (*command)(plat::WindowHandle))
{
    RecordUndo(kind);
    // The command runs as a typing run of its own, ended with it.
    typing_ = 1;
    command(GetHwnd());
    typing_ = 0;
}

bool CEditField::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (!HasFocus() || !GetHwnd())
        return CControl::HandleMessage(message, sender);
    const plat::WindowHandle hwnd = GetHwnd();
    switch (message.GetId()) {
    case kMsgSelectAll:
        if (CanSelectAll()) {
            RecordUndo(kUndoSelectAll);
            plat::SetEditSelection(hwnd, 0, GetTextLength());
            typing_ = 0;
        }
        return true;
    case kMsgClear:
        if (CanClear())
            DeleteSelection(kUndoClear, &plat::EditClear);
        return true;
    case kMsgPaste:
        if (CanPaste()) {
            RecordUndo(kUndoPaste);
            plat::EditPaste(hwnd);
            typing_ = 0;
        }
        return true;
    case kMsgCopy:
        if (CanCopy()) {
            plat::EditCopy(hwnd);
            typing_ = 0;
        }
        return true;
    case kMsgCut:
        if (CanCut())
            DeleteSelection(kUndoCut, &plat::EditCut);
        return true;
    case kMsgKey:
        GetNotifyMessage().SetParam(kEnter, 2);
        if (message.GetParam(2) == kKeyEnter) {
            SendNotify();
            return CControl::HandleMessage(message, sender);
        }
        if (!typing_)
            RecordUndo(kUndoTyping);
        typing_ = 1;
        return true;
    default: return CControl::HandleMessage(message, sender);
    }
}

void CEditField::OnCommand(plat::WindowHandle, uint32_t, plat::WindowHandle, uint32_t code)
{
    switch (code) {
    case plat::notify::EditSetFocus:
        if (CWind* window = GetOwnerWnd())
            window->SetFocusControl(this);
        break;
    case kCodeCut:
        if (CanCut()) {
            RecordUndo(kUndoCut);
            typing_ = 0;
        }
        break;
    case kCodePaste:
        if (CanPaste())
            RecordUndo(kUndoPaste);
        break;
    case kCodeClear:
        if (CanClear())
            RecordUndo(kUndoClear);
        break;
    default: break;
    }
}

void CEditField::OnMouseDown(bool, CMessage&) { typing_ = 0; }

intptr_t CEditField::WndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == plat::msg::LButtonDown || message == plat::msg::LButtonDoubleClick)
        typing_ = 0;
    return CControl::WndProc(hwnd, message, wParam, lParam);
}

intptr_t CEditField::OnEditColor(uintptr_t colorContext)
{
    auto* dc = reinterpret_cast<plat::DrawContext*>(colorContext);
    if (!dc)
        return 0;
    if (CWind* window = GetOwnerWnd())
        if (const CPalette* palette = window->GetPalette(); palette && palette->GetHandle())
            dc->SelectPalette(*palette->GetHandle());
    dc->SetTextColor(CDrawEnv::ToColorRef(static_cast<int32_t>(textColor_)));
    dc->SetBkColor(CDrawEnv::ToColorRef(static_cast<int32_t>(GetBackColor())));
    return reinterpret_cast<intptr_t>(&brush_);
}

void CEditField::SetTextColor(uint32_t color)
{
    textColor_ = color;
    if (GetHwnd())
        plat::InvalidateRect(GetHwnd(), nullptr, false);
}

void CEditField::SetBackColor(uint32_t color)
{
    CControl::SetBackColor(color);
    brush_.color = CDrawEnv::ToColorRef(static_cast<int32_t>(color));
    if (GetHwnd())
        plat::InvalidateRect(GetHwnd(), nullptr, false);
}

CTObj* CEditField::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTEditField(kind, parser, (kind & 1) != 0);
}

CBaseObj* CEditField::Create(CTObj* tpl)
{
    auto* t = static_cast<CTEditField*>(tpl);
    std::unique_ptr<CStr> text = t->GetText().Resolve(*t);
    if (t->GetKind() == CEditCtl::kKindRef || t->GetKind() == CEditCtl::kKindLit)
        return new CEditCtl(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), std::move(text),
                            t->GetFontId(), 0xFFFFFFFF, t->GetBorder(), t->GetMaxChars(), t->GetHJust());
    return new CEditField(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), std::move(text),
                          t->GetFontId(), 0xFFFFFFFF, t->GetBorder(), t->GetMaxChars(), t->GetHJust());
}

CEditCtl::CEditCtl(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                   std::unique_ptr<CStr> text, int16_t fontId, uint32_t undoMask, bool border,
                   int16_t maxChars, int32_t justification)
    : CEditField(id, rect, notifyType, target, std::move(text), fontId, undoMask, border, maxChars,
                 justification),
      createdRect_(rect)
{
}

uint32_t CEditCtl::EditStyle() const
{
    uint32_t style = plat::style::Child | plat::wstyle::MultiLine | plat::wstyle::AutoVScroll;
    if (HasBorder())
        style |= plat::style::Border;
    return style;
}

void CEditCtl::PutHeldText()
{
    if (!HeldText())
        return;
    plat::SetWidgetText(GetHwnd(), HeldText()->GetText());
    HeldText().reset();
}

CTEditField::CTEditField(int32_t kind, CRawParser* parser, bool literal)
    : CTControl(kind, parser), text_(parser, literal)
{
    textColor_ = OrDefault(parser->ReadLong("textcolor"), 0);
    backColor_ = OrDefault(parser->ReadLong("bckcolor"), 255);
    frameColor_ = OrDefault(parser->ReadLong("frmcolor"), 0);
    maxChars_ = parser->ReadShort("maxchars");
    hJust_ = parser->ReadShort("hjust");
    multiline_ = parser->ReadShort("multiline flag");
    undoable_ = parser->ReadShort("undoable flag");
    border_ = parser->ReadShort("border flag");
}

void CTEditField::ApplyTo(CFrame* object)
{
    CTControl::ApplyTo(object);
    auto* field = dynamic_cast<CEditField*>(object);
    if (!field)
        return;
    if (border_ && !field->HasBorder())
        field->SetBorder(CFrame::kFlagBorders);
    field->SetMultiline(multiline_ != 0);
    field->SetUndoable(undoable_ != 0);
    field->SetTextColor(static_cast<uint32_t>(textColor_));
    field->SetBackColor(static_cast<uint32_t>(backColor_));
    field->SetForeColor(static_cast<uint32_t>(frameColor_));
}
