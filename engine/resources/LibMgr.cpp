#include "engine/resources/LibMgr.h"

#include <utility>

#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"

namespace {

constexpr const char* kSource = "libmgr";

std::unique_ptr<CLibMgr>& Global()
{
    static std::unique_ptr<CLibMgr> manager;
    return manager;
}

} // namespace

CLibMgr* GetLibMgr()
{
    if (!Global())
        Global() = std::make_unique<CLibMgr>();
    return Global().get();
}

void SetLibMgr(std::unique_ptr<CLibMgr> manager) { Global() = std::move(manager); }

CLibMgr::~CLibMgr()
{
    while (last_) {
        CLibNode* node = last_;
        last_ = node->prev;
        delete node;
    }
}

// --- the list ---------------------------------------------------------------------------

CLibNode* CLibMgr::GetLibrary(int16_t index) const
{
    if (index < 0 || index > count_)
        return nullptr;
    CLibNode* node = first_;
    for (int16_t i = 0; node && i < index; ++i)
        node = node->next;
    return node;
}

CLibNode* CLibMgr::FindNode(const CResLib* library) const
{
    if (!library)
        return nullptr;
    for (CLibNode* node = first_; node; node = node->next)
        if (node->library.get() == library)
            return node;
    return nullptr;
}

void CLibMgr::UnlinkLibrary(CLibNode* node)
{
    if (!node)
        return;
    if (node->prev)
        node->prev->next = node->next;
    else
        first_ = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        last_ = node->prev;
    node->next = node->prev = nullptr;
}

void CLibMgr::Append(CLibNode* node)
{
    node->prev = last_;
    node->next = nullptr;
    if (last_)
        last_->next = node;
    else
        first_ = node;
    last_ = node;
}

void CLibMgr::InsertFront(CLibNode* node)
{
    node->next = first_;
    node->prev = nullptr;
    if (first_)
        first_->prev = node;
    else
        last_ = node;
    first_ = node;
}

CResLib* CLibMgr::GetFirstLibrary() const { return first_ ? first_->library.get() : nullptr; }

CResLib* CLibMgr::GetLastLibrary() const { return last_ ? last_->library.get() : nullptr; }

CResLib* CLibMgr::GetLibraryAt(int16_t index) const
{
    const CLibNode* node = GetLibrary(index);
    return node ? node->library.get() : nullptr;
}

CResLib* CLibMgr::FindLibraryById(int32_t id) const
{
    for (CLibNode* node = first_; node; node = node->next)
        if (node->library->GetId() == id)
            return node->library.get();
    return nullptr;
}

void CLibMgr::AddLibrary(std::unique_ptr<CResLib> library)
{
    if (!library) {
        status_ = kLibBadRange;
        return;
    }
    status_ = kLibOk;
    if (library->GetId() != 0) {
        for (CLibNode* node = first_; node; node = node->next) {
            if (node->library->GetId() != library->GetId())
                continue;
            // Two versions of one library never stand together: the greater version keeps
            // the older one's place; on equal versions the one already listed stays.
            if (library->GetVersion() > node->library->GetVersion())
                node->library = std::move(library);
            return;
        }
    }
    Append(new CLibNode{std::move(library), nullptr, nullptr});
    ++count_;
}

std::unique_ptr<CResLib> CLibMgr::RemoveLibrary(CResLib* library)
{
    CLibNode* node = FindNode(library);
    if (!node)
        return nullptr;
    UnlinkLibrary(node);
    std::unique_ptr<CResLib> out = std::move(node->library);
    delete node;
    --count_;
    return out;
}

std::unique_ptr<CResLib> CLibMgr::RemoveLibraryByIndex(int16_t index)
{
    const CLibNode* node = GetLibrary(index);
    return node ? RemoveLibrary(node->library.get()) : nullptr;
}

void CLibMgr::MoveToFront(CResLib* library)
{
    CLibNode* node = FindNode(library);
    if (!node || node == first_)
        return;
    UnlinkLibrary(node);
    InsertFront(node);
}

void CLibMgr::MoveToFront(int16_t index)
{
    if (index > 0 && index < count_)
        MoveToFront(GetLibraryAt(index));
}

void CLibMgr::MoveToBack(CResLib* library)
{
    CLibNode* node = FindNode(library);
    if (!node || node == last_)
        return;
    UnlinkLibrary(node);
    Append(node);
}

void CLibMgr::MoveToBack(int16_t index)
{
    if (index >= 0 && index < count_)
        MoveToBack(GetLibraryAt(index));
}

void CLibMgr::SwapLibraries(CResLib* a, CResLib* b)
{
    CLibNode* na = FindNode(a);
    CLibNode* nb = FindNode(b);
    if (na && nb && na != nb)
        std::swap(na->library, nb->library);
}

void CLibMgr::SwapLibraries(int16_t a, int16_t b) { SwapLibraries(GetLibraryAt(a), GetLibraryAt(b)); }

uint32_t CLibMgr::GetLibraryMask(int16_t index) const
{
    const CResLib* library = GetLibraryAt(index);
    return library ? library->GetMask() : 0;
}

uint32_t CLibMgr::GetMask(const CResLib* library) const { return library ? library->GetMask() : 0; }

int32_t CLibMgr::UnsupportedOperation(int32_t, int32_t)
{
    status_ = kLibUnsupported;
    return -1;
}

// --- resource requests ------------------------------------------------------------------

template <typename Ask> CResLib* CLibMgr::Consult(uint32_t mask, Need need, Ask&& ask)
{
    status_ = kLibNotFound;
    for (CLibNode* node = first_; node; node = node->next) {
        CResLib& library = *node->library;
        if ((mask & library.GetMask()) == 0 || !library.IsOpen())
            continue;
        if ((need == Need::Write && !library.CanWrite()) || (need == Need::Delete && !library.CanDelete()))
            continue;
        ask(library);
        status_ = library.GetStatus();
        if (status_ == kLibOk)
            return &library;
    }
    return nullptr;
}

std::unique_ptr<CRsrcBlock> CLibMgr::LoadResource(const char* type, int32_t id, uint32_t mask, bool report)
{
    std::unique_ptr<CRsrcBlock> block;
    Consult(mask, Need::Any, [&](CResLib& lib) { block = lib.LoadResource(type, id, false); });
    if (report && (status_ != kLibOk || !block))
        ReportMissingResource(type, id, kSource, 437);
    return block;
}

int16_t CLibMgr::ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                              uint32_t mask, bool report)
{
    Consult(mask, Need::Any, [&](CResLib& lib) { lib.ReadResource(type, id, buffer, offset, count, false); });
    if (report && status_ != kLibOk)
        ReportMissingResource(type, id, kSource, 386);
    return status_;
}

std::unique_ptr<CFile> CLibMgr::OpenResourceFile(const char* type, int32_t id, int32_t* offset, int32_t* size,
                                                 uint32_t mask, bool report)
{
    std::unique_ptr<CFile> file;
    Consult(mask, Need::Any,
            [&](CResLib& lib) { file = lib.OpenResourceFile(type, id, offset, size, false); });
    if (status_ != kLibOk)
        file.reset();
    if (report && !file)
        ReportMissingResource(type, id, kSource, 493);
    return file;
}

std::unique_ptr<CFileSpec> CLibMgr::GetResourceFileSpec(const char* type, int32_t id, uint32_t mask)
{
    std::unique_ptr<CFileSpec> spec;
    Consult(mask, Need::Any, [&](CResLib& lib) { spec = lib.GetResourceFileSpec(type, id); });
    if (status_ != kLibOk)
        spec.reset();
    return spec;
}

int32_t CLibMgr::GetResourceSize(const char* type, int32_t id, uint32_t mask)
{
    int32_t size = -1;
    Consult(mask, Need::Any, [&](CResLib& lib) { size = lib.GetResourceSize(type, id); });
    return status_ == kLibOk ? size : -1;
}

uint32_t CLibMgr::GetResourceTime(const char* type, int32_t id, uint32_t mask)
{
    uint32_t time = 0;
    Consult(mask, Need::Any, [&](CResLib& lib) { time = lib.GetResourceTime(type, id); });
    return status_ == kLibOk ? time : 0;
}

uint32_t CLibMgr::GetResourceTime(CRsrcBlock* block, uint32_t mask)
{
    return block ? GetResourceTime(block->GetType(), block->GetId(), mask) : 0;
}

bool CLibMgr::HasResource(const char* type, int32_t id, uint32_t mask)
{
    for (CLibNode* node = first_; node; node = node->next) {
        CResLib& library = *node->library;
        if ((mask & library.GetMask()) != 0 && library.IsOpen() && library.HasResource(type, id))
            return true;
    }
    return false;
}

bool CLibMgr::DeleteResource(const char* type, int32_t id, uint32_t mask)
{
    bool deleted = false;
    Consult(mask, Need::Delete, [&](CResLib& lib) { deleted = lib.DeleteResource(type, id); });
    return deleted && status_ == kLibOk;
}

bool CLibMgr::DeleteResource(CRsrcBlock* block, uint32_t mask)
{
    return block && DeleteResource(block->GetType(), block->GetId(), mask);
}

int16_t CLibMgr::WriteResource(const char* type, int32_t id, const void* data, int32_t size, uint32_t mask,
                               bool report)
{
    Consult(mask, Need::Write, [&](CResLib& lib) { lib.WriteResource(type, id, data, size, false, 6); });
    if (report && status_ != kLibOk)
        ReportMissingResource(type, id, kSource, 816);
    return status_;
}

int16_t CLibMgr::WriteResource(CRsrcBlock* block, uint32_t mask, bool report)
{
    if (!block) {
        status_ = kLibBadRange;
        return status_;
    }
    void* data = block->GetSize() > 0 ? block->Lock() : nullptr;
    const int16_t status =
        WriteResource(block->GetType(), block->GetId(), data, block->GetSize(), mask, report);
    if (data)
        block->Unlock();
    return status;
}

int16_t CLibMgr::SetResourceTime(const char* type, int32_t id, int32_t time, uint32_t mask)
{
    // With no library consulted nothing was set: "not found", never success.
    int16_t result = kLibNotFound;
    Consult(mask, Need::Any, [&](CResLib& lib) { result = lib.SetResourceTime(type, id, time); });
    return result;
}

int16_t CLibMgr::SetResourceTime(CRsrcBlock* block, int32_t time, uint32_t mask)
{
    return block ? SetResourceTime(block->GetType(), block->GetId(), time, mask) : kLibNotFound;
}
