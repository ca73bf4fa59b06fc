#include "engine/controls/anim/ScrollTextWnd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/controls/Wind.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/BitmapSet.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/RsrcList.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"

namespace {

constexpr uint32_t kAllLibraries = 0xFFFFFFFF;
constexpr int32_t kSoundOnce = 2;
constexpr int32_t kSoundLooping = 6;

CAppl* Appl() { return dynamic_cast<CAppl*>(GetApplication()); }

void StopSounds()
{
    if (CAppl* appl = Appl())
        appl->StopSound(0, 0);
}

// The number at the text as the C library reads it: blanks, a sign, digits; 0 when none.
int32_t NumberAt(const char* text) { return static_cast<int32_t>(std::strtol(text, nullptr, 10)); }

int16_t FontHeight(CDrawEnv* env, int16_t font)
{
    FontInfo info;
    env->GetFontMetrics(info, font);
    return info.height;
}

int16_t Clamp16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

} // namespace

CScrollTextWnd::CScrollTextWnd(int32_t id, const CRect& rect, CTplRec* lines, uint32_t pictureLibMask,
                               uint32_t soundLibMask)
    : CFrame(kKind, id, rect, false), pictureLibMask_(pictureLibMask), soundLibMask_(soundLibMask),
      lines_(lines), fillLimit_(Clamp16(rect.GetHeight() + 10))
{
    SetFlags(GetFlags() | kFlagOwnContent);
    StopSounds();
}

CScrollTextWnd::~CScrollTextWnd()
{
    StopSounds();
    StopTimer();
}

int32_t CScrollTextWnd::EntryCount() const { return lines_ ? lines_->GetEntryCount() : 0; }

std::unique_ptr<CImgSet> CScrollTextWnd::LoadPicture(int32_t id, bool transparent) const
{
    std::unique_ptr<CRsrcBlock> block = GetLibMgr()->LoadResource("CBM", id, pictureLibMask_, false);
    if (!block)
        return nullptr;
    auto bitmaps = std::make_unique<CBitmapSet>(std::move(block));
    if (bitmaps->GetCount() < 1 || !bitmaps->GetEntry(0))
        return nullptr;
    auto picture = std::make_unique<CRsrcList>(bitmaps.release(), 0);
    if (transparent)
        picture->SetDrawProc(DrawTransparent);
    return picture;
}

int16_t CScrollTextWnd::MakeLine(CDrawEnv* env, int16_t n, int16_t slotIndex, int16_t font)
{
    Slot& slot = slots_[slotIndex];
    slot.text.reset();
    slot.picture.reset();
    std::unique_ptr<CStr> text = lines_ ? lines_->GetEntryString(n) : nullptr;
    const char* s = text ? text->GetText() : "";
    uint8_t type = kLineText;
    int32_t height = -1; // a font height + 1 unless the code says otherwise
    if (s[0] == '^') {
        switch (s[1]) {
        case 'c': {
            const bool transparent = s[2] == 't';
            slot.picture = LoadPicture(NumberAt(s + (transparent ? 3 : 2)), transparent);
            type = slot.picture ? kLinePicture : kLineNothing;
            if (slot.picture) {
                CRect r;
                slot.picture->GetImageRect(r, 0);
                height = r.GetHeight();
            }
            break;
        }
        case 'f': {
            font = static_cast<int16_t>(NumberAt(s + 2));
            // The text follows the first blank or tab after the code; without one the line is
            // empty.
            if (const char* gap = std::strpbrk(s + 2, " \t"))
                slot.text = std::make_unique<CStr>(gap + 1);
            break;
        }
        case 's':
        case 'l':
            if (CAppl* appl = Appl())
                appl->StartSound(NumberAt(s + 2), soundLibMask_, s[1] == 'l' ? kSoundLooping : kSoundOnce);
            type = kLineSound;
            height = 0;
            break;
        default: type = kLineNothing; break;
        }
    } else if (s[0] != '\0') {
        slot.text = std::move(text);
    }
    slot.font = font;
    slot.type = type;
    return Clamp16(height >= 0 ? height : FontHeight(env, font) + 1);
}

void CScrollTextWnd::AddNextLine(CDrawEnv* env)
{
    const int32_t count = EntryCount();
    if (count < 1 || !env)
        return;
    int16_t slot = 0;
    int32_t line = 0, bottom = 0;
    int16_t font = 0;
    auto nextLine = [&] {
        if (++line >= count) {
            line = 0;
            StopSounds();
        }
    };
    if (slotCount_ == 0) {
        firstTop_ = 0;
    } else {
        const Slot& last = slots_[slotCount_ - 1];
        slot = slotCount_;
        line = last.line;
        bottom = last.bottom;
        font = last.font;
        nextLine();
    }
    // Lines of no height (sounds) could go on for ever: the slots end the fill.
    while (bottom <= fillLimit_ && slot < kSlotCount) {
        bottom = Clamp16(bottom + MakeLine(env, static_cast<int16_t>(line), slot, font));
        font = slots_[slot].font;
        slots_[slot].line = static_cast<int16_t>(line);
        slots_[slot].bottom = static_cast<int16_t>(bottom);
        ++slot;
        nextLine();
    }
    slotCount_ = slot;
}

CRect CScrollTextWnd::LineRect(int16_t i) const
{
    const CRect& drawn = GetDrawnRect();
    const Slot& slot = slots_[i];
    const int16_t bottom = Clamp16(drawn.GetTop() + slot.bottom);
    int32_t top = drawn.GetTop() + (i == 0 ? firstTop_ : slots_[i - 1].bottom + 1);
    if (slot.picture) {
        CRect r;
        slot.picture->GetImageRect(r, 0);
        top = bottom - r.GetHeight();
    }
    return CRect(Clamp16(top), drawn.GetLeft(), bottom, drawn.GetRight());
}

void CScrollTextWnd::DrawLine(CDrawEnv* env, const Slot& slot, const CRect& rect, const CRect& clip)
{
    if (slot.picture) {
        // Bitmap copies are not cut by the environment's clip: the record's source rectangle
        // holds only the part of the picture inside the clip.
        CRect whole, visible;
        slot.picture->GetImageRect(whole, 0);
        whole.Offset(rect.GetLeft(), rect.GetTop());
        if (!whole.Intersect(clip, &visible))
            return;
        CRect source = visible;
        source.Offset(static_cast<int16_t>(-whole.GetLeft()), static_cast<int16_t>(-whole.GetTop()));
        DrawRecord& record = slot.picture->GetRecord();
        record.params[0] = reinterpret_cast<intptr_t>(&source);
        slot.picture->DrawAtPoint(env, visible.TopLeft());
        record.params[0] = 0;
        return;
    }
    const char* text = slot.text->GetText();
    const int32_t length = slot.text->GetLength();
    env->SetFont(slot.font);
    // "~N~" is a tab: what follows the second '~' starts N pixels from the left edge. A single
    // '~' ends the text.
    const char* tab = static_cast<const char*>(std::memchr(text, '~', static_cast<size_t>(length)));
    const int32_t before = tab ? static_cast<int32_t>(tab - text) : length;
    env->DrawTextAt(rect.TopLeft(), text, before, kBkTransparent);
    if (!tab)
        return;
    const char* rest =
        static_cast<const char*>(std::memchr(tab + 1, '~', static_cast<size_t>(text + length - tab - 1)));
    if (!rest)
        return;
    const int16_t indent = static_cast<int16_t>(NumberAt(tab + 1));
    env->DrawTextAt(CPoint(Clamp16(rect.GetLeft() + indent), rect.GetTop()), rest + 1,
                    static_cast<int32_t>(text + length - rest - 1), kBkTransparent);
}

void CScrollTextWnd::DrawContent(CDrawEnv* env, const CRect& clip)
{
    CRect area;
    if (!env || !clip.Intersect(GetDrawnRect(), &area))
        return;
    CClipScope scope(env);
    env->SetClipRect(area);
    const int32_t savedColor = env->GetForeColor();
    const int16_t savedFont = env->GetFontId();
    if (!IsTransparent()) {
        env->SetTextColor(static_cast<int32_t>(GetBackColor()));
        env->FillRect(area);
    }
    env->SetTextColor(static_cast<int32_t>(textColor_));
    if (slotCount_ == 0) {
        AddNextLine(env);
        if (slotCount_ > 0)
            StartTimer(static_cast<uint32_t>(std::max<int16_t>(wait_, 0)), nullptr);
    }
    for (int16_t i = 0; i < slotCount_; ++i) {
        const Slot& slot = slots_[i];
        if ((slot.text || slot.picture) && LineRect(i).Intersects(area))
            DrawLine(env, slot, LineRect(i), area);
    }
    env->SetTextColor(savedColor);
    env->SetFont(savedFont);
}

void CScrollTextWnd::DropFirstSlot()
{
    firstTop_ = static_cast<int16_t>(slots_[0].bottom + 1);
    std::move(slots_ + 1, slots_ + slotCount_, slots_);
    --slotCount_;
    Slot& freed = slots_[slotCount_];
    freed.text.reset();
    freed.picture.reset();
    freed.bottom = kEmptyBottom;
    freed.type = kLineNothing;
}

bool CScrollTextWnd::OnTimer()
{
    // Hidden, its rectangle shows what lies under it: scrolling would move those pixels.
    CDrawEnv* env = GetDrawEnv();
    if (!env || !IsShown())
        return false;
    for (int16_t i = 0; i < slotCount_; ++i)
        slots_[i].bottom = Clamp16(slots_[i].bottom - step_);
    firstTop_ = Clamp16(firstTop_ - step_);
    const CRect& drawn = GetDrawnRect();
    if (!IsTransparent()) {
        CClipScope scope(env);
        env->SetClipRect(drawn);
        env->ScrollRect(drawn, 0, static_cast<int16_t>(-step_));
        // Only the strip the scroll uncovered is drawn.
        CRect strip = drawn;
        strip.SetTop(Clamp16(drawn.GetBottom() - step_));
        DrawContent(env, strip);
    } else {
        UpdateWindow();
    }
    if (slotCount_ > 0 && slots_[0].bottom < 1)
        DropFirstSlot();
    if (slotCount_ > 0 && slots_[slotCount_ - 1].bottom < fillLimit_)
        AddNextLine(env);
    if (CWind* window = GetOwnerWnd(); window && env == window->GetOffScreenEnv())
        window->DrawClipped(drawn);
    return true;
}

CTObj* CScrollTextWnd::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTScrollTextWnd(kind, parser);
}

CBaseObj* CScrollTextWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTScrollTextWnd*>(tpl);
    std::unique_ptr<CTplRec> lines;
    t->GetStrListItem(t->GetStrLibMask(), t->GetStrListId(), -1, &lines, nullptr);
    auto* element =
        new CScrollTextWnd(t->GetId(), t->GetRect(), lines.release(), kAllLibraries, kAllLibraries);
    element->SetTextColor(t->GetTextColor());
    element->SetBackColor(t->GetBackColor());
    element->SetScrollStep(t->GetScrollHeight());
    element->SetWaitTicks(t->GetWaitTicks());
    return element;
}

CTScrollTextWnd::CTScrollTextWnd(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    strListId_ = parser->ReadLong("strlistid");
    strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibid"));
    textColor_ = static_cast<uint32_t>(parser->ReadLong("textcolor"));
    backColor_ = static_cast<uint32_t>(parser->ReadLong("bckcolor"));
    scrollHeight_ = parser->ReadShort("scrollhgt");
    waitTicks_ = parser->ReadShort("waitticks");
    // -1 stands for the defaults: white behind black.
    if (backColor_ == 0xFFFFFFFFu)
        backColor_ = 255;
    if (textColor_ == 0xFFFFFFFFu)
        textColor_ = 0;
}
