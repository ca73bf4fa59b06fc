#include "engine/graphics/RleHitTest.h"

#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/CelList.h"
#include "engine/graphics/RleDraw.h"
#include "engine/graphics/RleImgSet.h"

int32_t RleRunColourAt(const RleCelTable& table, int32_t cel, int32_t x, int32_t y)
{
    RleCel entry;
    std::vector<uint32_t> rows;
    if (!table.GetCel(cel, entry) || x < 0 || y < 0 || x >= entry.width || y >= entry.height ||
        !BuildRleRowOffsets(table, cel, rows))
        return -1;
    const uint8_t* data = table.Data();
    size_t pos = rows[static_cast<size_t>(y)];
    const size_t end = rows[static_cast<size_t>(y) + 1];
    int32_t column = 0;
    while (pos < end && column < entry.width) {
        const uint8_t control = data[pos];
        const int32_t run = control < 0x80 ? control + 1 : control - 127;
        if (pos + 1 >= end)
            return -1; // the run's colour lies past the data
        if (x < column + run)
            return data[pos + 1];
        column += run;
        pos += control < 0x80 ? 2 : 1 + static_cast<size_t>(run);
    }
    return -1;
}

bool CRleImgSet::ContainsPoint(const CPoint& point, int16_t index)
{
    if (!CImgSet::ContainsPoint(point, index))
        return false;
    // Only the plain sprite drawing says which pixels are transparent.
    CCelList* cels = GetCelList();
    if (GetDrawProc() != &DrawRleCel || !cels || !cels->GetBlock())
        return true;
    const DrawRecord& record = GetRecord();
    const auto transparent = static_cast<uint8_t>(record.params[3]);
    const int16_t cel = ResolveIndex(index);
    CRect rect;
    GetImageRect(rect, cel);
    int32_t x = point.GetH();
    if (record.params[2] != 0)
        x = rect.GetWidth() - 1 - x;
    const CMemoryLock bytes(cels->GetBlock());
    const RleCelTable table(bytes.Data(), bytes.Size());
    const int32_t colour = RleRunColourAt(table, cel, x, point.GetV());
    return colour >= 0 && (transparent >= 128 || colour != transparent);
}
