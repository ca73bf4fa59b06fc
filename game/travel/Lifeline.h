#pragma once
// CLifeline and CWatchedPtr: a pointer that knows when its object is gone. An object that others
// keep pointers to (a party member, a health condition) holds a CLifeline; a CWatchedPtr made
// from the object and its lifeline answers null once the object has been destroyed, so a route
// event never reads a traveller or a condition that the party has already deleted.
#include <memory>

class CLifeline {
public:
    CLifeline() = default;
    // A copied or assigned object is another object: it keeps a lifeline of its own.
    CLifeline(const CLifeline&) : CLifeline() {}
    CLifeline& operator=(const CLifeline&) { return *this; }

    std::weak_ptr<const char> Watch() const { return token_; }

private:
    std::shared_ptr<const char> token_ = std::make_shared<const char>('\0');
};

template <class T> class CWatchedPtr {
public:
    CWatchedPtr() = default;
    // Watches `object` (null: none) through the lifeline it holds.
    explicit CWatchedPtr(T* object) : object_(object)
    {
        if (object)
            alive_ = object->GetLifeline().Watch();
    }

    // The object, or null when none was given or it has been destroyed.
    T* Get() const { return alive_.expired() ? nullptr : object_; }
    // Whether an object was given at all (alive or not).
    bool WasSet() const { return object_ != nullptr; }
    // The pointer as given, alive or not: only for comparing, never for reading through.
    const void* Address() const { return object_; }

private:
    T* object_ = nullptr;
    std::weak_ptr<const char> alive_;
};
