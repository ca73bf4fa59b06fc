#pragma once
// CRouteSeqState: the part of the route map that is saved with the trip. It names the map
// sequence on show, which of the current route node's two map codes is in use, the lengths
// of the current route segment for both codes, the distance covered on it, and the entries
// of the sequence reached so far, in the order they were reached. Everything else the map
// shows is rebuilt from the data library each time.
#include <array>
#include <cstdint>

class CDoc;

class CRouteSeqState {
public:
    // "None yet" for the sequence and the two lengths.
    static constexpr int16_t kNone = 9999;
    static constexpr int32_t kVisitedCount = 32;
    // A free slot of the visited list.
    static constexpr int16_t kFree = -1;
    // Bytes of the saved record.
    static constexpr int32_t kRecordSize = 73;

    CRouteSeqState() { Reset(); }

    // The values of a new trip: no sequence, alternative 0, no lengths, no progress, no
    // entries.
    void Reset();

    // Field order, big-endian: seq, alt (a byte), lengthA, lengthB, progress, 32 visited.
    void Save(CDoc& doc) const;
    // A short or failed read leaves the document's error set; the fields read so far stay.
    void Load(CDoc& doc);

    // The number of recorded entries (the slots before the first free one).
    int32_t CountVisited() const;
    // Whether entry e is among the recorded entries.
    bool IsVisited(int16_t e) const;
    // The last recorded entry, or kFree when none is recorded.
    int16_t LastVisited() const;
    // Records e in the first free slot; false when all 32 are taken.
    bool Record(int16_t e);
    // Forgets every entry and records e alone.
    void StartWith(int16_t e);

    int16_t seq = kNone;
    uint8_t alt = 0;
    int16_t lengthA = kNone;
    int16_t lengthB = kNone;
    int16_t progress = 0;
    std::array<int16_t, kVisitedCount> visited{};
};
