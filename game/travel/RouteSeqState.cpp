#include "game/travel/RouteSeqState.h"

#include "engine/framework/Doc.h"

void CRouteSeqState::Reset()
{
    seq = kNone;
    alt = 0;
    lengthA = kNone;
    lengthB = kNone;
    progress = 0;
    visited.fill(kFree);
}

void CRouteSeqState::Save(CDoc& doc) const
{
    doc.WriteShort(seq).WriteByte(alt).WriteShort(lengthA).WriteShort(lengthB).WriteShort(progress);
    for (int16_t e : visited)
        doc.WriteShort(e);
}

void CRouteSeqState::Load(CDoc& doc)
{
    doc.ReadShort(seq).ReadByte(alt).ReadShort(lengthA).ReadShort(lengthB).ReadShort(progress);
    for (int16_t& e : visited)
        doc.ReadShort(e);
}

int32_t CRouteSeqState::CountVisited() const
{
    int32_t n = 0;
    while (n < kVisitedCount && visited[static_cast<size_t>(n)] != kFree)
        ++n;
    return n;
}

bool CRouteSeqState::IsVisited(int16_t e) const
{
    const int32_t n = CountVisited();
    for (int32_t i = 0; i < n; ++i)
        if (visited[static_cast<size_t>(i)] == e)
            return true;
    return false;
}

int16_t CRouteSeqState::LastVisited() const
{
    const int32_t n = CountVisited();
    return n == 0 ? kFree : visited[static_cast<size_t>(n - 1)];
}

bool CRouteSeqState::Record(int16_t e)
{
    const int32_t n = CountVisited();
    if (n >= kVisitedCount)
        return false;
    visited[static_cast<size_t>(n)] = e;
    return true;
}

void CRouteSeqState::StartWith(int16_t e)
{
    visited.fill(kFree);
    visited[0] = e;
}
