#include "engine/graphics/CelList.h"

#include "engine/graphics/DibSect.h"
#include "engine/graphics/RleDraw.h"
#include "engine/graphics/RleSprite.h"

namespace {

// The cel table over a locked block.
RleCelTable CelTable(const CMemoryLock& locked) { return RleCelTable(locked.Data(), locked.Size()); }

} // namespace

CCelList::CCelList(std::unique_ptr<CMemory> block) : block_(std::move(block))
{
    const CMemoryLock locked(block_.get());
    count_ = CelTable(locked).GetCount();
    BuildRowOffsets();
}

CCelList::~CCelList() = default;

void CCelList::BuildRowOffsets()
{
    const CMemoryLock locked(block_.get());
    const RleCelTable table = CelTable(locked);
    auto offsets = std::make_unique<RowOffsets>(static_cast<size_t>(count_));
    for (int16_t i = 0; i < count_; ++i)
        BuildRleRowOffsets(table, i, (*offsets)[static_cast<size_t>(i)]);
    rowOffsets_ = std::move(offsets);
}

bool CCelList::CelSize(int16_t index, int16_t& width, int16_t& height)
{
    width = height = 0;
    if (index < 0 || index >= count_)
        return false;
    const CMemoryLock locked(block_.get());
    RleCel cel;
    if (CelTable(locked).GetCel(index, cel)) {
        width = cel.width;
        height = cel.height;
    }
    return true;
}

void CCelList::GetEntrySize(CPoint& size, int16_t index)
{
    int16_t width, height;
    if (CelSize(index, width, height))
        size.Set(width, height);
}

void CCelList::GetCelRect(CRect& rect, int16_t index)
{
    int16_t width, height;
    if (CelSize(index, width, height))
        rect.Set(0, 0, height, width);
}

std::unique_ptr<CDibSect> CCelList::MakeBitmap(int16_t index)
{
    CRect rect;
    GetCelRect(rect, index);
    if (rect.GetWidth() <= 0 || rect.GetHeight() <= 0)
        return nullptr;
    auto bitmap = std::make_unique<CDibSect>(rect, 8, 0xFF);
    DrawRecord record{DrawRleCel, {index, reinterpret_cast<intptr_t>(&rect)}, 0};
    DrawRleCel(block_.get(), bitmap.get(), rect, &record);
    return bitmap;
}

int32_t CCelList::GetByteSize() { return block_ ? block_->GetSize() : 0; }
