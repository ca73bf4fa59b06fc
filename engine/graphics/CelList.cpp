#include "engine/graphics/CelList.h"

#include "engine/graphics/DibSect.h"
#include "engine/graphics/RleDraw.h"
#include "engine/graphics/RleSprite.h"

namespace {

// The block's bytes for the time of one operation.
class LockedBlock {
public:
    explicit LockedBlock(CMemory* block)
        : block_(block), data_(block ? static_cast<const uint8_t*>(block->Lock()) : nullptr)
    {
    }
    ~LockedBlock()
    {
        if (data_)
            block_->Unlock();
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    RleCelTable Table() const
    {
        return RleCelTable(data_, data_ ? static_cast<size_t>(block_->GetSize()) : 0);
    }

private:
    CMemory* block_;
    const uint8_t* data_;
};

} // namespace

CCelList::CCelList(std::unique_ptr<CMemory> block) : block_(std::move(block))
{
    const LockedBlock locked(block_.get());
    count_ = locked.Table().GetCount();
    BuildRowOffsets();
}

CCelList::~CCelList() = default;

void CCelList::BuildRowOffsets()
{
    const LockedBlock locked(block_.get());
    const RleCelTable table = locked.Table();
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
    const LockedBlock locked(block_.get());
    RleCel cel;
    if (locked.Table().GetCel(index, cel)) {
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
