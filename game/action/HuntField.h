#pragma once
// CHuntField: everything that lives on the hunting screen: up to three scenery strips that
// together make an endless horizontal panorama (far, near and an extra one), and the animals
// grouped by kind (animal ids 5601-5616, kind k = id - 5601). It places new animals, moves
// them every tick along a curved path that makes them recede as they walk away, turns them at
// the view's edges and at obstacles, decides whether a shot hits, frightens the others, lets
// some kinds charge the hunter, gives the meat of a kill and scrolls the panorama.
//
// Positions: the strips and animals are children of the module frame; the field width W is
// the far strip's width, and every panorama position wraps at W. The view offset (0..W - 1)
// is the panorama position at the view's left edge; an animal's panorama position is its
// h + its wrap offset + the view offset. Scrolling by +d moves the view right: strips and
// animals move d to the left on screen.
//
// An animal walks a path around its path centre X: at distance d = position - X its depth is
// z = (400 - b) + d² / 4900 and its line v = 400 - z, so it comes nearest (v = b, its near
// line) where it crosses X and vanishes at its far line a.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/action/HuntTarget.h"

class CFrame;
class CImgSet;
class CPanoramaStrip;
class CSndObj;

// What the field asks of the hunting module.
class CHuntFieldHost {
public:
    // An animal was made (+1) or removed (-1).
    virtual void ChangeLiveCount(int16_t delta) = 0;
    // The charge of an animal ended the hunt with the code (10, 50, 78 or 80).
    virtual void EndHuntByCharge(int16_t code) = 0;

protected:
    ~CHuntFieldHost() = default;
};

class CHuntField {
public:
    static constexpr int16_t kFirstAnimal = 5601;
    static constexpr int16_t kKinds = 16;
    static constexpr int16_t kHerdAnimal = 5605;
    static constexpr int32_t kMsgCharge = 525;
    static constexpr int32_t kCursor = 690002;
    // Spawning gives up after this many blocked draws.
    static constexpr int32_t kMaxDraws = 100;
    // Object ids: the strips at field id + 100, 200, 300; animals from field id + 1000.
    static constexpr int32_t kAnimalIds = 1000;
    static constexpr int32_t kIdsPerKind = 100;

    // Fades every playing sound out; the view offset starts at 0.
    CHuntField(int32_t id, CFrame* moduleFrame, CHuntFieldHost* host);
    // Takes the animals and strips off the module frame and deletes them, and the kinds'
    // images and sounds.
    ~CHuntField();
    CHuntField(const CHuntField&) = delete;
    CHuntField& operator=(const CHuntField&) = delete;

    // The far, near and extra strips of those "RLES" ids (the extra one may be 0); the far
    // strip takes "PAN" far, the near and extra strips their ids as depth records. False when
    // the far strip makes no panorama (width 0).
    bool BuildScenery(int32_t farId, int32_t nearId, int32_t extraId);
    // Places a new animal of the id by its kind's rule (initial: made with the field); false
    // when the kind makes no animal here (kinds 5603, 5604 and 5610, ids outside the kinds, a
    // bad record, a spot not found free in 100 draws, a later animal in herd mode).
    bool Spawn(int16_t animalId, bool initial, bool herd);
    // Makes the animal at (h, line y; y 0: a later animal, at its far line) and takes one
    // animal step. Null when the kind's record is bad or the step removed the animal.
    CHuntTarget* AddAnimal(int16_t animalId, int16_t h, int16_t y, bool herd);
    bool IsBlocked(int32_t h, int16_t depth, int16_t& hint) const;
    // Whether the shot at the animal of the object id hits (a hit animal shows its hit
    // animation, a missed one may charge); then every other animal is frightened. An id that
    // names no live animal is a shot at nothing: only the frightening.
    bool ShootAt(int32_t objectId, int32_t mode);
    int16_t GetMeat(int32_t objectId) const;
    // One step of every animal: its path, its turns, and its removal beyond its far line.
    void UpdateAnimals();
    // Direction 1 moves the view left by the step, any other right.
    void Scroll(int32_t direction, int16_t step);
    // Ends the hunt through the host when an animal charges.
    void EndCharge();

    // The kind's charge sound, made anew for another sound id; null when it cannot play.
    CSndObj* StartKindSound(int16_t animalId, int32_t soundId);
    void StopKindSound(int16_t animalId);
    CSndObj* GetKindSound(int16_t animalId) const;

    CHuntTarget* FindAnimal(int32_t objectId) const;
    const std::vector<CHuntTarget*>& GetAnimals(int16_t animalId) const;
    int32_t GetAnimalCount() const;
    int32_t GetWidth() const { return width_; }
    int32_t GetViewOffset() const { return viewOffset_; }
    CHuntTarget* GetCharger() const { return charger_; }
    CPanoramaStrip* GetStrip(int32_t i) const { return strips_[static_cast<size_t>(i)].get(); }
    const CPoint& GetHerdPoint() const { return herdPoint_; }
    int32_t GetId() const { return id_; }
    // The animals' code for a charge of the animal id.
    static int16_t ChargeCode(int16_t animalId);

private:
    struct Kind {
        std::vector<CHuntTarget*> animals;
        CPoint spawn;
        std::unique_ptr<CImgSet> image;
        HuntAnimalRecord record;
        bool loaded = false;
        bool valid = false;
        std::unique_ptr<CSndObj> sound;
        int32_t soundId = 0;
        int32_t made = 0;
    };

    // The kind of the animal id (null outside the kinds); its image and record are loaded on
    // first use.
    Kind* KindOf(int16_t animalId);
    const Kind* KindOf(int16_t animalId) const;
    // A free object id of the kind.
    int32_t NextAnimalId(int32_t k, Kind& kind);
    // Draws h (and, with `line`, y) until the spot is free; false after kMaxDraws.
    bool DrawFreeSpot(int16_t& h, int16_t& y, bool drawLine, int32_t lineLo, int32_t lineHi);
    void PlaceOnPath(CHuntTarget& animal);
    void QueueTurn(CHuntTarget& animal, int32_t k);
    void Remove(int32_t k, CHuntTarget* animal);
    void Frighten();

    int32_t id_;
    CFrame* frame_;
    CHuntFieldHost* host_;
    std::array<Kind, kKinds> kinds_;
    std::array<std::unique_ptr<CPanoramaStrip>, 3> strips_;
    int32_t width_ = 0;
    int32_t viewOffset_ = 0;
    CHuntTarget* charger_ = nullptr;
    CPoint herdPoint_{-1, -1};
};
