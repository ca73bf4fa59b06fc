#pragma once
// Every engine object that can be addressed by a message is a CBaseObj: a kind, an id and
// an owner. A plain CBaseObj also serves as an address (a key): -1 as kind or id and a null
// owner match anything.
#include <cstdint>

class CBaseObj {
public:
    // An id of -2 asks for a generated id (-2, -3, -4, ...).
    static constexpr int32_t kNewId = -2;
    static constexpr int32_t kAnyId = -1;
    static constexpr uint32_t kAnyKind = 0xFFFFFFFFu;

    CBaseObj(uint32_t kind, int32_t id, CBaseObj* owner);
    // A copy is always a plain key, whatever the source was.
    CBaseObj(const CBaseObj& other) : kind_(other.kind_), id_(other.id_), owner_(other.owner_) {}
    CBaseObj& operator=(const CBaseObj&) = delete;
    virtual ~CBaseObj() = default;

    virtual void SetOwner(CBaseObj* owner) { owner_ = owner; }

    uint32_t GetKind() const { return kind_; }
    void SetKind(uint32_t kind) { kind_ = kind; }
    int32_t GetId() const { return id_; }
    // -2 takes a new generated id.
    void SetId(int32_t id) { id_ = id == kNewId ? NextId() : id; }
    // Stores the id exactly as given.
    CBaseObj* StoreId(int32_t id)
    {
        id_ = id;
        return this;
    }
    CBaseObj* GetOwner() const { return owner_; }
    bool IsReceiver() const { return receiver_ != 0; }

    // Whether this (live) object is addressed by the key.
    bool Matches(const CBaseObj& key) const;

    // The next generated id: -2, -3, -4, ... never repeating within a run.
    static int32_t NextId();
    static void ResetIdCounter();

protected:
    uint8_t receiver_ = 0;

private:
    uint32_t kind_;
    int32_t id_;
    CBaseObj* owner_;
};
