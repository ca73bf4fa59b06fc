#pragma once
// Objects deleted while a dispatch is still on the stack. A handler may close a window,
// quit or switch screens, and so delete objects whose own handlers are among its callers.
// Such an object is taken out of everything at once by its owner (no message, timer or
// input reaches it any more); DeleteWhenSafe then frees its memory only when the outermost
// dispatch has returned, so the callers below it never touch freed memory.
//
// A dispatch is anything that calls into handlers: a pump pass, a window procedure call.
// Each holds a CDispatchScope while it runs.
#include <cstdint>

class CBaseObj;

class CDispatchScope {
public:
    CDispatchScope();
    // The outermost scope frees the objects deferred while it ran.
    ~CDispatchScope();
    CDispatchScope(const CDispatchScope&) = delete;
    CDispatchScope& operator=(const CDispatchScope&) = delete;
};

// Deletes the object now when no dispatch runs, else when the outermost one has returned.
// An object handed in twice is deleted once.
void DeleteWhenSafe(CBaseObj* object);
// Whether the object waits to be freed.
bool IsDeletePending(const CBaseObj* object);
int32_t GetDispatchDepth();
// Frees every waiting object and sets the depth back to 0 (tests start from here).
void ResetDeferredDeletes();
