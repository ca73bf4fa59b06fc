#pragma once
// What the lower layers of the game ask of modules above them. Each such module implements a
// small interface here; the asker takes the module from its module manager slot and casts it to
// the interface, so it never includes the module's own header.
#include <cstdint>

class CBaseObj;

// The travel module (slot 10), as the module manager and the main window see it.
class CTravelLink {
public:
    // The landmark the party is at; a switch to the landmark module shows a message for some.
    virtual int32_t GetLandmarkId() const = 0;
    // Throws the trip away and starts a new one (the start-over question answered yes).
    virtual void StartOver(CBaseObj* sender) = 0;
    // The landmark number of the party's current route node; -1 before the trip reaches the
    // route. The control bar keeps the trail's elements over the trip status at landmark 4.
    virtual int32_t GetNodeLandmark() const = 0;

protected:
    ~CTravelLink() = default;
};

// The landmark module (slot 9), as the travel screen's trade sees it.
class CLandmarkLink {
public:
    // A trade with one of the landmark's traders begins: the landmark's characters are told.
    virtual void NotifyCharacters() = 0;

protected:
    ~CLandmarkLink() = default;
};
