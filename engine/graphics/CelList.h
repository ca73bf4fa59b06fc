#pragma once
// CCelList: the cels of a run-length sprite ("RLS") over its resource block, which it owns,
// with one row offset table per cel (where each row's runs start) built once for the scaled
// drawing. The block is read through RleCelTable and never rewritten.
#include <memory>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/framework/Rect.h"
#include "engine/graphics/RsrcColl.h"

class CCelList : public CRsrcColl {
public:
    // Row offset tables, one per cel: height + 1 offsets from the block's start (empty for a
    // cel the table refuses).
    using RowOffsets = std::vector<std::vector<uint32_t>>;

    explicit CCelList(std::unique_ptr<CMemory> block);
    ~CCelList() override;

    // (width, height) of a cel; (0, 0) when the block yields no data or the cel is damaged;
    // nothing is written for an index out of range.
    void GetEntrySize(CPoint& size, int16_t index) override;
    // A new bitmap of the cel's size filled with 255, the cel drawn into it with index 0
    // transparent; null for a cel that cannot be drawn.
    std::unique_ptr<CDibSect> MakeBitmap(int16_t index) override;
    // The size of the resource block.
    int32_t GetByteSize() override;

    // (0, 0, height, width) of a cel, with the same rules as GetEntrySize.
    void GetCelRect(CRect& rect, int16_t index);
    CMemory* GetBlock() const { return block_.get(); }
    const RowOffsets* GetRowOffsets() const { return rowOffsets_.get(); }
    void SetRowOffsets(std::unique_ptr<RowOffsets> offsets) { rowOffsets_ = std::move(offsets); }

private:
    // The cel's width and height; false when it has none to give.
    bool CelSize(int16_t index, int16_t& width, int16_t& height);
    void BuildRowOffsets();

    std::unique_ptr<CMemory> block_;
    std::unique_ptr<RowOffsets> rowOffsets_;
};
