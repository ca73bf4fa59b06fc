#pragma once
// The program's mouse cursors. The cursor manager keeps a cache of cursors by id (entry 0 is
// always the arrow), the current cursor and a separate wait cursor. Code selects cursors by
// id only, through SetCursorId and GetCursorId: ids 0-7 are the standard kinds (3 is the
// wait cursor), 8 and above name "CRS" resources.
//
// While the wait cursor is held (HoldWaitCursor) it shows on the screen and changes of the
// current cursor are remembered without being shown. CBusyCursor puts the wait cursor up for
// the life of a scope.
#include <cstdint>
#include <memory>
#include <vector>

class CCursor;

class CCursorMgr {
public:
    // The cache holds at most this many cursors before it is emptied down to the arrow.
    static constexpr size_t kCacheLimit = 50;

    // Makes the cache with the arrow, makes the arrow current and shows it, then makes the
    // wait cursor.
    CCursorMgr();
    // Deletes the cached cursors from the last to the first, then the wait cursor.
    virtual ~CCursorMgr();
    CCursorMgr(const CCursorMgr&) = delete;
    CCursorMgr& operator=(const CCursorMgr&) = delete;

    // The first cached cursor with that id, or null.
    CCursor* FindCursor(int32_t id) const;
    // The cached cursor, or one loaded and cached now; null when it cannot be loaded.
    CCursor* FindOrLoadCursor(int32_t id, uint32_t libraryMask);
    // Deletes the cached cursors with that id (every one for -1), never the arrow in entry 0.
    // When the current cursor goes, the arrow becomes current again.
    void DeleteCursors(int32_t id);
    int32_t GetCursorId() const;
    void SetCursorId(int32_t id, uint32_t libraryMask);
    void HoldWaitCursor(bool hold);
    bool IsWaitHeld() const { return waitHeld_; }
    CCursor* GetCurrent() const { return current_; }
    CCursor* GetWaitCursor() const { return wait_.get(); }
    size_t GetCount() const { return cache_.size(); }
    // Shows the cursor that belongs on the screen now: the wait cursor while it is held,
    // else the current one.
    void ApplyCurrent() const;

private:
    std::vector<std::unique_ptr<CCursor>> cache_;
    CCursor* current_ = nullptr;
    std::unique_ptr<CCursor> wait_;
    bool waitHeld_ = false;
};

// The program's cursor manager; null when none exists.
CCursorMgr* GetCursorList();
// Makes the program's cursor manager, in place of any earlier one.
CCursorMgr* CreateCursorMgr();
// Deletes the program's cursor manager (the application's shut-down, and tests).
void DeleteCursorMgr();

// The functions the rest of the program uses. Without a cursor manager they do nothing and
// GetCursorId answers 0.
CCursor* FindCursor(int32_t id);
CCursor* FindOrLoadCursor(int32_t id, uint32_t libraryMask);
void DeleteCursors(int32_t id);
int32_t GetCursorId();
void SetCursorId(int32_t id, uint32_t libraryMask);
void HoldWaitCursor(bool hold);

// Fills the application's cursor hooks: the manager is made with the application and
// deleted with it, and the default cursor is the arrow.
void InstallCursorHooks();

// Shows the wait cursor (id 3) for its lifetime, then restores the cursor that was current
// when it was made. Nested busy cursors restore in reverse order.
class CBusyCursor {
public:
    CBusyCursor();
    ~CBusyCursor();
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;

private:
    int32_t saved_;
};
