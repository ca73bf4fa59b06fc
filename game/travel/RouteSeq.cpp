#include "game/travel/RouteSeq.h"

#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"

namespace {

// Reads a string list line by line.
class LineCursor {
public:
    explicit LineCursor(const CTplRec& lines) : lines_(lines) {}

    bool AtEnd() const { return next_ >= lines_.GetEntryCount(); }
    char FirstChar() const
    {
        const CStr* line = lines_.GetEntry(next_);
        return line ? line->FirstChar() : '\0';
    }
    // Moves onto the next line that begins with c; false at the end of the list.
    bool SkipTo(char c)
    {
        while (!AtEnd() && FirstChar() != c)
            ++next_;
        return !AtEnd();
    }
    const CStr* Take() { return AtEnd() ? nullptr : lines_.GetEntry(next_++); }
    // The next line as a number; false at the end of the list.
    bool TakeNumber(int32_t& out)
    {
        const CStr* line = Take();
        if (!line)
            return false;
        line->ToLong(&out); // a bad character ends the number, as the data's author expects
        return true;
    }
    bool TakeNumbers(int32_t* out, int n)
    {
        for (int i = 0; i < n; ++i)
            if (!TakeNumber(out[i]))
                return false;
        return true;
    }

private:
    const CTplRec& lines_;
    int32_t next_ = 0;
};

// A coordinate from the data plus the origin, wrapping in 16 bits as every screen coordinate.
int16_t Plus(int32_t value, int16_t origin)
{
    return static_cast<int16_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(origin));
}

CPoint At(int32_t h, int32_t v, const CPoint& origin)
{
    return CPoint(Plus(h, origin.GetH()), Plus(v, origin.GetV()));
}

void ReadEntries(LineCursor& cursor, CRouteSeq& seq, const RouteFrameCounter& frames)
{
    while (!cursor.AtEnd() && cursor.FirstChar() != '.') {
        int32_t n[5];
        if (!cursor.TakeNumbers(n, 5))
            return;
        CRouteSeqEntry entry;
        entry.index = static_cast<int32_t>(seq.entries.size());
        entry.spriteId = n[0];
        entry.position = At(n[1], n[2], seq.origin);
        entry.place = At(n[3], n[4], seq.origin);
        entry.frameCount = frames ? frames(entry.spriteId) : 0;
        entry.frameShown = static_cast<int16_t>(entry.frameCount - 1);
        seq.entries.push_back(entry);
    }
}

} // namespace

bool CRouteHotspot::Contains(const CPoint& p) const
{
    return p.GetH() >= rect.GetLeft() && p.GetH() <= rect.GetRight() && p.GetV() >= rect.GetTop() &&
           p.GetV() <= rect.GetBottom();
}

CRouteSeqEntry* CRouteSeq::Entry(int32_t e)
{
    return e >= 0 && e < static_cast<int32_t>(entries.size()) ? &entries[static_cast<size_t>(e)] : nullptr;
}

CRouteHotspot* CRouteSeq::HotspotAt(const CPoint& p)
{
    for (CRouteHotspot& h : hotspots)
        if (h.Contains(p))
            return &h;
    return nullptr;
}

std::vector<CRouteHotspot> ReadRouteHotspots(const CTplRec& lines, const CPoint& origin)
{
    std::vector<CRouteHotspot> out;
    LineCursor cursor(lines);
    while (cursor.SkipTo('[')) {
        const std::string heading = cursor.Take()->GetText();
        int32_t n[7];
        if (!cursor.TakeNumbers(n, 7))
            break;
        CRouteHotspot h;
        const size_t close = heading.find(']');
        h.name = heading.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        h.captionTemplateId = n[0];
        const CPoint topLeft = At(n[1], n[2], origin);
        const CPoint bottomRight = At(n[3], n[4], origin);
        h.rect = CRect(topLeft.GetV(), topLeft.GetH(), bottomRight.GetV(), bottomRight.GetH());
        h.captionPoint = At(n[5], n[6], origin);
        out.push_back(std::move(h));
    }
    return out;
}

std::vector<std::unique_ptr<CRouteSeq>>
ReadRouteSequences(const CTplRec& lines, const RouteHotspotSource& hotspots, const RouteFrameCounter& frames)
{
    std::vector<std::unique_ptr<CRouteSeq>> out;
    LineCursor cursor(lines);
    while (cursor.SkipTo('[')) {
        cursor.Take();
        int32_t header[4];
        if (!cursor.TakeNumbers(header, 4))
            break;
        auto seq = std::make_unique<CRouteSeq>();
        seq->backgroundId = header[0];
        seq->hotspotListId = header[1];
        seq->origin = CPoint(static_cast<int16_t>(header[2]), static_cast<int16_t>(header[3]));
        ReadEntries(cursor, *seq, frames);
        if (hotspots)
            if (std::unique_ptr<CTplRec> list = hotspots(seq->hotspotListId))
                seq->hotspots = ReadRouteHotspots(*list, seq->origin);
        out.push_back(std::move(seq));
    }
    return out;
}
