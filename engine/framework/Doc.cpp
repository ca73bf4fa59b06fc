#include "engine/framework/Doc.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "engine/framework/ApplHooks.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

// Temporary names tried beside the target before a save gives up.
constexpr int kTempAttempts = 100;

// Makes the bytes of a written file durable before it replaces another.
void SyncToDisk(const fs::path& host)
{
    const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// The document error for a failed replacement of the target, by the system's cause.
int16_t RenameError(int error)
{
    switch (error) {
    case EMFILE:
    case ENFILE: return CDoc::kTooManyOpenFiles;
    case EBADF: return CDoc::kInvalidHandle;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY: return CDoc::kAccessDenied;
    default: return CDoc::kStreamFailure;
    }
}

// Multi-byte values of a document are big-endian, whatever the host.
void StoreBigEndian(uint8_t* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * (bytes - 1 - i)));
}

uint64_t LoadBigEndian(const uint8_t* in, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | in[i];
    return value;
}

} // namespace

CDoc::CDoc(const char* typeDescription, const char* typePattern, const char* name,
           std::unique_ptr<CFileSpec> spec)
    : spec_(std::move(spec)), name_(name ? name : "")
{
    SetTypeDescription(typeDescription);
    SetTypePattern(typePattern);
}

CDoc::~CDoc() { DropSave(); }

void CDoc::SetTypeDescription(const char* text)
{
    if (text)
        typeDescription_ = std::make_unique<CStr>(text);
}

void CDoc::SetTypePattern(const char* text)
{
    if (text)
        typePattern_ = std::make_unique<CStr>(text);
}

std::unique_ptr<CStr> CDoc::GetFileName() const
{
    if (spec_)
        return spec_->GetFileName();
    return std::make_unique<CStr>(name_);
}

int16_t CDoc::SetFileSpec(std::unique_ptr<CFileSpec> spec)
{
    spec_ = std::move(spec);
    return OpenForSave(0, nullptr);
}

void CDoc::ReplaceFileSpec(std::unique_ptr<CFileSpec> spec)
{
    DropSave();
    spec_ = std::move(spec);
}

// ---------------------------------------------------------------------------------------------
// Opening, committing and closing

int16_t CDoc::OpenForLoad()
{
    DropSave();
    error_ = kOk;
    if (spec_) {
        file_ = std::make_unique<CFile>(spec_.get(), CFile::kRead, 0);
        if (file_->GetError() != CFile::kOk || file_->Seek(0) != CFile::kOk) {
            file_.reset();
            error_ = kStreamFailure;
        }
    }
    return error_;
}

int16_t CDoc::OpenForSave(plat::WindowHandle owner, const char* title)
{
    DropSave();
    error_ = kOk;
    byteCount_ = 0;
    if (!spec_) {
        std::unique_ptr<CFileSpec> chosen = RunSaveDialog(owner, title);
        if (!chosen)
            return error_;
        spec_ = std::move(chosen);
    }
    if (!OpenTemporaryFile()) {
        DropSave();
        error_ = kStreamFailure;
    }
    return error_;
}

std::unique_ptr<CFileSpec> CDoc::RunSaveDialog(plat::WindowHandle owner, const char* title)
{
    const std::unique_ptr<CStr> name = GetFileName();
    auto spec =
        name->IsEmpty() ? std::make_unique<CFileSpec>() : std::make_unique<CFileSpec>(name->GetText());
    const bool typed = typeDescription_ && typePattern_;
    const CFileFilter filter{typed ? typeDescription_->GetText() : nullptr,
                             typed ? typePattern_->GetText() : nullptr};
    // The engine's windows stay paused while the dialog runs.
    const ApplHooks& hooks = GetApplHooks();
    if (hooks.pauseAllWindows)
        hooks.pauseAllWindows();
    const int16_t status = spec->SaveDialog(typed ? &filter : nullptr, typed ? 1 : 0, title, owner);
    if (hooks.restoreAllWindows)
        hooks.restoreAllWindows();
    if (status == CFileSpec::kOk)
        return spec;
    error_ = status == CFileSpec::kCancelled ? kNoFileChosen : kStreamFailure;
    return nullptr;
}

bool CDoc::OpenTemporaryFile()
{
    const char* target = spec_->GetPath();
    if (!target)
        return false;
    // A new file beside the target, so that the rename that replaces it stays on one file
    // system; an existing name is never reused.
    for (int i = 0; i < kTempAttempts; ++i) {
        const std::string candidate = std::string(target) + ".~" + std::to_string(i);
        CFileSpec temp(candidate.c_str());
        if (temp.Exists())
            continue;
        temp.Create(true);
        if (temp.GetError() != CFileSpec::kOk) {
            if (temp.Exists())
                continue; // taken by someone else in the meantime
            return false; // no folder, or no room for a file
        }
        tempPath_ = candidate;
        file_ = std::make_unique<CFile>(&temp, CFile::kReadWrite, 0);
        return file_->GetError() == CFile::kOk && file_->Seek(0) == CFile::kOk;
    }
    return false;
}

int16_t CDoc::ReplaceTarget()
{
    const std::optional<fs::path> from = plat::ToHostPath(*tempPath_);
    const std::optional<fs::path> to = spec_ ? spec_->HostPath() : std::nullopt;
    if (!from || !to)
        return kStreamFailure;
    SyncToDisk(*from);
    std::error_code ec;
    fs::rename(*from, *to, ec);
    return ec ? RenameError(ec.value()) : kOk;
}

int16_t CDoc::CommitSave()
{
    file_.reset();
    if (!tempPath_)
        return error_;
    if (error_ == kOk)
        error_ = ReplaceTarget();
    if (error_ == kOk)
        tempPath_.reset(); // it is the target now
    DropSave();
    return error_;
}

void CDoc::CloseFile() { DropSave(); }

void CDoc::DropSave()
{
    file_.reset();
    if (tempPath_) {
        CFileSpec(tempPath_->c_str()).Delete();
        tempPath_.reset();
    }
}

// ---------------------------------------------------------------------------------------------
// Header and raw bytes

int16_t CDoc::ReadHeader(uint32_t type, uint16_t lowest, uint16_t highest)
{
    if (!file_)
        return error_ = kStreamFailure;
    error_ = kOk;
    if (file_->Seek(0) != CFile::kOk)
        return error_ = kStreamFailure;
    uint8_t h[kHeaderSize];
    if (Read(h, kHeaderSize) != kOk)
        return error_;
    const auto magic = static_cast<uint32_t>(LoadBigEndian(h, 4));
    const auto stored = static_cast<uint32_t>(LoadBigEndian(h + 4, 4));
    const auto version = static_cast<uint16_t>(LoadBigEndian(h + 8, 2));
    if (magic != kMagic)
        return error_ = kBadMagic;
    if (stored != type)
        return error_ = kWrongType;
    if (version < lowest || version > highest)
        return error_ = kBadVersion;
    version_ = version;
    return error_;
}

int16_t CDoc::WriteHeader(uint32_t type, uint16_t version)
{
    if (!file_)
        return error_ = kStreamFailure;
    error_ = kOk;
    byteCount_ = kHeaderSize;
    if (!output_)
        return error_;
    uint8_t h[kHeaderSize];
    StoreBigEndian(h, kMagic, 4);
    StoreBigEndian(h + 4, type, 4);
    StoreBigEndian(h + 8, version, 2);
    if (file_->Seek(0) != CFile::kOk || file_->Write(h, kHeaderSize) != CFile::kOk)
        error_ = kStreamFailure;
    return error_;
}

int16_t CDoc::Write(const void* data, int32_t n)
{
    if (error_ != kOk)
        return error_;
    if (n < 0)
        return error_ = kStreamFailure;
    byteCount_ = static_cast<int32_t>(static_cast<uint32_t>(byteCount_) + static_cast<uint32_t>(n));
    if (output_ && (!file_ || file_->Write(data, n) != CFile::kOk))
        error_ = kStreamFailure;
    return error_;
}

int16_t CDoc::Read(void* data, int32_t n)
{
    if (error_ != kOk)
        return error_;
    if (n < 0 || !file_)
        return error_ = kStreamFailure;
    if (n > 0 && (file_->Read(data, n) != CFile::kOk || file_->GetTransferred() != n))
        error_ = kStreamFailure;
    return error_;
}

// ---------------------------------------------------------------------------------------------
// Typed values

CDoc& CDoc::WriteBytes(uint64_t v, int bytes)
{
    uint8_t b[8];
    StoreBigEndian(b, v, bytes);
    Write(b, bytes);
    return *this;
}

CDoc& CDoc::ReadBytes(uint64_t& v, int bytes)
{
    uint8_t b[8];
    if (Read(b, bytes) == kOk)
        v = LoadBigEndian(b, bytes);
    return *this;
}

CDoc& CDoc::WriteByte(uint8_t v) { return WriteBytes(v, 1); }

CDoc& CDoc::ReadByte(uint8_t& v)
{
    uint64_t raw = v;
    ReadBytes(raw, 1);
    v = static_cast<uint8_t>(raw);
    return *this;
}

CDoc& CDoc::WriteShort(int16_t v) { return WriteBytes(static_cast<uint16_t>(v), 2); }

CDoc& CDoc::ReadShort(int16_t& v)
{
    uint64_t raw = static_cast<uint16_t>(v);
    ReadBytes(raw, 2);
    v = static_cast<int16_t>(raw);
    return *this;
}

CDoc& CDoc::WriteLong(int32_t v) { return WriteBytes(static_cast<uint32_t>(v), 4); }

CDoc& CDoc::ReadLong(int32_t& v)
{
    uint64_t raw = static_cast<uint32_t>(v);
    ReadBytes(raw, 4);
    v = static_cast<int32_t>(raw);
    return *this;
}

CDoc& CDoc::WriteDouble(double v)
{
    uint64_t raw;
    std::memcpy(&raw, &v, sizeof raw);
    return WriteBytes(raw, 8);
}

CDoc& CDoc::ReadDouble(double& v)
{
    uint64_t raw;
    std::memcpy(&raw, &v, sizeof raw);
    ReadBytes(raw, 8);
    std::memcpy(&v, &raw, sizeof v);
    return *this;
}

CDoc& CDoc::WriteFloat(float v)
{
    // Stored files keep the widened double with its bytes in little-endian order.
    const double wide = v;
    uint64_t raw;
    std::memcpy(&raw, &wide, sizeof raw);
    return WriteBytes(__builtin_bswap64(raw), 8);
}

CDoc& CDoc::ReadFloat(float& v)
{
    uint64_t raw = 0;
    if (ReadBytes(raw, 8).error_ != kOk)
        return *this;
    raw = __builtin_bswap64(raw);
    double wide;
    std::memcpy(&wide, &raw, sizeof wide);
    // A stored value beyond a float's range becomes an infinity rather than undefined.
    if (std::isfinite(wide) && std::fabs(wide) > FLT_MAX)
        v = wide > 0 ? HUGE_VALF : -HUGE_VALF;
    else
        v = static_cast<float>(wide);
    return *this;
}

CDoc& CDoc::WritePoint(const CPoint& p) { return WriteShort(p.GetH()).WriteShort(p.GetV()); }

CDoc& CDoc::ReadPoint(CPoint& p)
{
    int16_t h = p.GetH();
    int16_t v = p.GetV();
    ReadShort(h).ReadShort(v);
    if (error_ == kOk)
        p.Set(h, v);
    return *this;
}

CDoc& CDoc::WriteRect(const CRect& r)
{
    return WriteShort(r.GetTop()).WriteShort(r.GetLeft()).WriteShort(r.GetBottom()).WriteShort(r.GetRight());
}

CDoc& CDoc::ReadRect(CRect& r)
{
    int16_t top = r.GetTop(), left = r.GetLeft(), bottom = r.GetBottom(), right = r.GetRight();
    ReadShort(top).ReadShort(left).ReadShort(bottom).ReadShort(right);
    if (error_ == kOk)
        r.Set(top, left, bottom, right);
    return *this;
}

CDoc& CDoc::WriteString(const CStr& s) { return WriteCounted(s.GetText(), s.GetLength()); }

CDoc& CDoc::WriteCounted(const void* data, int32_t n)
{
    if (error_ != kOk)
        return *this;
    if (!file_) {
        error_ = kStreamFailure;
        return *this;
    }
    WriteLong(n);
    Write(data, n);
    return *this;
}

CDoc& CDoc::WriteBlock(CMemory& block)
{
    const int32_t n = block.GetSize();
    const void* data = n > 0 ? block.Lock() : nullptr;
    WriteCounted(data, data ? n : 0);
    if (data)
        block.Unlock();
    return *this;
}

int32_t CDoc::Remaining()
{
    const int32_t length = file_ ? file_->GetLength() : -1;
    const int32_t pos = file_ ? file_->GetPos() : -1;
    return length < 0 || pos < 0 || pos > length ? 0 : length - pos;
}

bool CDoc::ReadLength(int32_t capacity, int32_t& n)
{
    if (error_ != kOk)
        return false;
    if (!file_) {
        error_ = kStreamFailure;
        return false;
    }
    n = 0;
    if (ReadLong(n).error_ != kOk)
        return false;
    if (n < 0 || n > capacity || n > Remaining()) {
        error_ = kStreamFailure;
        return false;
    }
    return true;
}

CDoc& CDoc::ReadCounted(void* buffer, int32_t capacity, int32_t* stored)
{
    int32_t n = 0;
    if (ReadLength(capacity, n) && Read(buffer, n) == kOk && stored)
        *stored = n;
    return *this;
}

CDoc& CDoc::ReadString(CStr& s)
{
    int32_t n = 0;
    if (!ReadLength(INT32_MAX, n))
        return *this;
    std::string text(static_cast<size_t>(n), '\0');
    if (Read(text.data(), n) == kOk)
        s = CStr(text.c_str(), n);
    return *this;
}

CDoc& CDoc::ReadBlock(CMemory& block)
{
    int32_t n = 0;
    if (!ReadLength(INT32_MAX, n))
        return *this;
    if (!block.Resize(n)) {
        error_ = kStreamFailure;
        return *this;
    }
    if (n > 0) {
        void* data = block.Lock();
        if (!data)
            error_ = kStreamFailure;
        else
            Read(data, n);
        if (data)
            block.Unlock();
    }
    return *this;
}
