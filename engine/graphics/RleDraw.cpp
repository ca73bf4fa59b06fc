#include "engine/graphics/RleDraw.h"

#include "engine/framework/Memory.h"
#include "engine/graphics/RleSprite.h"

namespace {

// The transparent colour DrawRleCel takes from parameter 3: the low byte when below 128.
int32_t CelTransparent(intptr_t param)
{
    const auto low = static_cast<uint8_t>(param);
    return low < 128 ? low : -1;
}

RleDrawOptions CommonOptions(const DrawRecord& record)
{
    RleDrawOptions options;
    options.clip = reinterpret_cast<const CRect*>(record.params[1]);
    options.mirror = static_cast<int32_t>(record.params[2]) != 0;
    return options;
}

// True when the position's rows miss the clip rectangle (the destination's rectangle without
// one): its top at or below the clip's bottom, or its bottom above the clip's top.
bool MissesClipRows(const CRect& position, const CRect* clip, const CDibSect& dest)
{
    const CRect bounds = clip ? *clip : CRect(0, 0, dest.GetRect().GetHeight(), dest.GetRect().GetWidth());
    return position.GetTop() >= bounds.GetBottom() || position.GetBottom() < bounds.GetTop();
}

// Draws with the source, the destination and the mask (when given) locked for the time of
// the draw; nothing when one of them yields no memory.
void LockedDraw(void* source, CDibSect* dest, const CRect& position, int32_t cel, RleDrawOptions options,
                CDibSect* mask)
{
    auto* block = static_cast<CMemory*>(source);
    if (!block || !dest || MissesClipRows(position, options.clip, *dest))
        return;
    const auto* data = static_cast<const uint8_t*>(block->Lock());
    uint8_t* pixels = data ? dest->LockBits() : nullptr;
    uint8_t* maskPixels = pixels && mask ? mask->LockBits() : nullptr;
    if (pixels && (!mask || maskPixels)) {
        const PixelRows maskRows = maskPixels ? mask->GetPixelRows() : PixelRows{};
        options.mask = maskPixels ? &maskRows : nullptr;
        const RleCelTable table(data, static_cast<size_t>(block->GetSize()));
        DrawRleCelPixels(table, cel, dest->GetPixelRows(), position.GetTop(), position.GetLeft(), options);
    }
    if (maskPixels)
        mask->UnlockBits();
    if (pixels)
        dest->UnlockBits();
    if (data)
        block->Unlock();
}

} // namespace

void DrawRleCel(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    if (!record)
        return;
    RleDrawOptions options = CommonOptions(*record);
    options.transparent = CelTransparent(record->params[3]);
    LockedDraw(source, dest, position, static_cast<int32_t>(record->params[0]), options, nullptr);
}

void DrawRleCelMasked(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    auto* mask = record ? reinterpret_cast<CDibSect*>(record->params[4]) : nullptr;
    if (!mask)
        return; // the priority mask is required
    RleDrawOptions options = CommonOptions(*record);
    options.transparent = (options.mirror || static_cast<int32_t>(record->params[3]) >= 0) ? 0 : -1;
    options.priority = static_cast<int16_t>(record->params[5]);
    LockedDraw(source, dest, position, static_cast<int32_t>(record->params[0]), options, mask);
}
