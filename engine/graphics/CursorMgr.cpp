#include "engine/graphics/CursorMgr.h"

#include "engine/framework/ApplHooks.h"
#include "engine/graphics/Cursor.h"
#include "engine/resources/LibMgr.h"

namespace {

constexpr int32_t kArrow = 0;
constexpr int32_t kWait = 3;
constexpr int32_t kAllCursors = -1;

CCursorMgr* g_cursorMgr = nullptr;

} // namespace

CCursorMgr::CCursorMgr()
{
    cache_.push_back(std::make_unique<CCursor>(kArrow));
    current_ = cache_.front().get();
    current_->Apply();
    wait_ = std::make_unique<CCursor>(kWait);
}

CCursorMgr::~CCursorMgr()
{
    current_ = nullptr;
    while (!cache_.empty())
        cache_.pop_back();
    wait_.reset();
}

CCursor* CCursorMgr::FindCursor(int32_t id) const
{
    for (const auto& cursor : cache_)
        if (cursor->GetId() == id)
            return cursor.get();
    return nullptr;
}

CCursor* CCursorMgr::FindOrLoadCursor(int32_t id, uint32_t libraryMask)
{
    if (CCursor* cached = FindCursor(id))
        return cached;
    if (cache_.size() >= kCacheLimit)
        DeleteCursors(kAllCursors);
    auto cursor = id < CCursor::kStandardKinds ? std::make_unique<CCursor>(id)
                                               : std::make_unique<CCursor>(id, libraryMask);
    if (!cursor->IsLoaded())
        return nullptr;
    cache_.push_back(std::move(cursor));
    return cache_.back().get();
}

void CCursorMgr::DeleteCursors(int32_t id)
{
    bool lostCurrent = false;
    for (size_t i = cache_.size(); i-- > 1;) {
        if (id != kAllCursors && cache_[i]->GetId() != id)
            continue;
        lostCurrent = lostCurrent || cache_[i].get() == current_;
        cache_.erase(cache_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    // A cursor's destructor puts the arrow on the screen; keep the screen and the current
    // cursor in step.
    if (lostCurrent)
        current_ = cache_.front().get();
    ApplyCurrent();
}

int32_t CCursorMgr::GetCursorId() const { return current_ ? current_->GetId() : 0; }

void CCursorMgr::SetCursorId(int32_t id, uint32_t libraryMask)
{
    if (current_ && current_->GetId() == id)
        return;
    CCursor* cursor = FindOrLoadCursor(id, libraryMask);
    if (!cursor)
        return;
    current_ = cursor;
    if (!waitHeld_)
        current_->Apply();
}

void CCursorMgr::HoldWaitCursor(bool hold)
{
    if (hold == waitHeld_)
        return;
    waitHeld_ = hold;
    ApplyCurrent();
}

void CCursorMgr::ApplyCurrent() const
{
    if (waitHeld_)
        wait_->Apply();
    else if (current_)
        current_->Apply();
}

CCursorMgr* GetCursorList() { return g_cursorMgr; }

CCursorMgr* CreateCursorMgr()
{
    DeleteCursorMgr();
    g_cursorMgr = new CCursorMgr();
    return g_cursorMgr;
}

void DeleteCursorMgr()
{
    delete g_cursorMgr;
    g_cursorMgr = nullptr;
}

CCursor* FindCursor(int32_t id) { return g_cursorMgr ? g_cursorMgr->FindCursor(id) : nullptr; }

CCursor* FindOrLoadCursor(int32_t id, uint32_t libraryMask)
{
    return g_cursorMgr ? g_cursorMgr->FindOrLoadCursor(id, libraryMask) : nullptr;
}

void DeleteCursors(int32_t id)
{
    if (g_cursorMgr)
        g_cursorMgr->DeleteCursors(id);
}

int32_t GetCursorId() { return g_cursorMgr ? g_cursorMgr->GetCursorId() : 0; }

void SetCursorId(int32_t id, uint32_t libraryMask)
{
    if (g_cursorMgr)
        g_cursorMgr->SetCursorId(id, libraryMask);
}

void HoldWaitCursor(bool hold)
{
    if (g_cursorMgr)
        g_cursorMgr->HoldWaitCursor(hold);
}

void InstallCursorHooks()
{
    ApplHooks& hooks = GetApplHooks();
    hooks.createCursorMgr = [] { CreateCursorMgr(); };
    hooks.deleteCursorMgr = [] { DeleteCursorMgr(); };
    hooks.setDefaultCursor = [] { SetCursorId(kArrow, CLibMgr::kAllLibraries); };
}

CBusyCursor::CBusyCursor() : saved_(GetCursorId()) { SetCursorId(kWait, CLibMgr::kAllLibraries); }

CBusyCursor::~CBusyCursor() { SetCursorId(saved_, CLibMgr::kAllLibraries); }
