#pragma once
// CLibMgr: the one place through which the engine and the game find resources. It owns an
// ordered list of open libraries and answers every request by a resource key (type, number,
// library mask): it walks the libraries in list order, asks each open library whose mask
// shares a bit with the request's mask, and takes the first that succeeds. Asked with the
// report flag, a request that nothing answers ends the program with the fatal report naming
// engine message 6, the type and the number.
//
// The status of the last operation is read back with GetStatus: 0 the library consulted last
// succeeded, 1 AddLibrary was given no library, 2 nothing done yet, 3 the list is empty or no
// library was consulted, 9 an unsupported operation; otherwise the status of the last library
// consulted.
#include <cstdint>
#include <memory>

#include "engine/resources/ResLib.h"

// One node of the manager's list; the manager owns the node and its library.
struct CLibNode {
    std::unique_ptr<CResLib> library;
    CLibNode* next = nullptr;
    CLibNode* prev = nullptr;
};

class CLibMgr {
public:
    // The mask that asks every open library.
    static constexpr uint32_t kAllLibraries = 0xFFFFFFFFu;

    CLibMgr() = default;
    CLibMgr(const CLibMgr&) = delete;
    CLibMgr& operator=(const CLibMgr&) = delete;
    // Destroys every library, from the last to the first.
    virtual ~CLibMgr();

    virtual CResLib* GetFirstLibrary() const;
    virtual CResLib* GetLastLibrary() const;
    virtual CResLib* GetLibraryAt(int16_t index) const;
    virtual CResLib* FindLibraryById(int32_t id) const;
    virtual bool DeleteResource(CRsrcBlock* block, uint32_t mask);
    virtual bool DeleteResource(const char* type, int32_t id, uint32_t mask);
    virtual bool HasResource(const char* type, int32_t id, uint32_t mask);
    // Takes ownership in every case. A library whose non-zero id is already in the list
    // replaces the older one in its place when its version is greater, and is destroyed
    // otherwise; any other library is appended.
    virtual void AddLibrary(std::unique_ptr<CResLib> library);
    virtual int16_t GetStatus() const { return status_; }
    // An operation this manager does not support: status 9, -1.
    virtual int32_t UnsupportedOperation(int32_t, int32_t);
    // The mask of the library at a position; 0 for a position with no library.
    virtual uint32_t GetLibraryMask(int16_t index) const;
    virtual uint32_t GetMask(const CResLib* library) const;
    virtual int16_t ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                                 uint32_t mask, bool report);
    virtual std::unique_ptr<CRsrcBlock> LoadResource(const char* type, int32_t id, uint32_t mask,
                                                     bool report);
    virtual std::unique_ptr<CFile> OpenResourceFile(const char* type, int32_t id, int32_t* offset,
                                                    int32_t* size, uint32_t mask, bool report);
    virtual std::unique_ptr<CFileSpec> GetResourceFileSpec(const char* type, int32_t id, uint32_t mask);
    virtual int32_t GetResourceSize(const char* type, int32_t id, uint32_t mask);
    virtual uint32_t GetResourceTime(CRsrcBlock* block, uint32_t mask);
    virtual uint32_t GetResourceTime(const char* type, int32_t id, uint32_t mask);
    virtual void MoveToFront(CResLib* library);
    virtual void MoveToFront(int16_t index);
    virtual void MoveToBack(CResLib* library);
    virtual void MoveToBack(int16_t index);
    virtual int16_t WriteResource(CRsrcBlock* block, uint32_t mask, bool report);
    virtual int16_t WriteResource(const char* type, int32_t id, const void* data, int32_t size, uint32_t mask,
                                  bool report);
    // Takes the library out of the list and hands it back to the caller; null when absent.
    virtual std::unique_ptr<CResLib> RemoveLibrary(CResLib* library);
    virtual std::unique_ptr<CResLib> RemoveLibraryByIndex(int16_t index);
    virtual int16_t SetResourceTime(CRsrcBlock* block, int32_t time, uint32_t mask);
    virtual int16_t SetResourceTime(const char* type, int32_t id, int32_t time, uint32_t mask);
    virtual void SwapLibraries(CResLib* a, CResLib* b);
    virtual void SwapLibraries(int16_t a, int16_t b);

    int16_t GetCount() const { return count_; }
    // The node at a 0-based position; null when out of range.
    CLibNode* GetLibrary(int16_t index) const;
    CLibNode* FindNode(const CResLib* library) const;
    CLibNode* GetFirstNode() const { return first_; }
    CLibNode* GetLastNode() const { return last_; }
    // Takes a node out of the list without freeing it.
    void UnlinkLibrary(CLibNode* node);

private:
    enum class Need { Any, Write, Delete };
    // Asks each library that the mask selects, in list order, until one leaves status 0.
    // Returns the library that succeeded, or null. Status 3 when none was consulted.
    template <typename Ask> CResLib* Consult(uint32_t mask, Need need, Ask&& ask);
    void Append(CLibNode* node);
    void InsertFront(CLibNode* node);

    CLibNode* first_ = nullptr;
    CLibNode* last_ = nullptr;
    int16_t count_ = 0;
    int16_t status_ = kLibNotOpen;
};

// The global library manager; an empty one is made on first use.
CLibMgr* GetLibMgr();
// Installs a manager in place of the current one, which is destroyed.
void SetLibMgr(std::unique_ptr<CLibMgr> manager);
