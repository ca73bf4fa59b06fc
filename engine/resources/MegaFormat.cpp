#include "engine/resources/MegaFormat.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "engine/resources/BigEndian.h"

namespace {

unsigned char Fold(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

constexpr int16_t kStatusOk = 0;
constexpr int16_t kStatusEmpty = 2;
constexpr int16_t kStatusBad = 6;

} // namespace

int CompareMegaTypes(const char* a, const char* b)
{
    for (size_t i = 0; i < kMegaTypeSize; ++i) {
        const unsigned char x = Fold(a[i]);
        const unsigned char y = Fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
    return 0;
}

bool SameMegaType(const char* a, const char* b)
{
    for (size_t i = 0; i < kMegaTypeSize; ++i) {
        if (a[i] != b[i])
            return false;
        if (a[i] == 0)
            return true;
    }
    return true;
}

std::string MegaTypeName(const char* type) { return std::string(type, strnlen(type, kMegaTypeSize)); }

void SetMegaType(char (&out)[kMegaTypeSize], const char* type)
{
    std::memset(out, 0, sizeof out);
    if (type)
        std::memcpy(out, type, strnlen(type, kMegaTypeSize - 1));
}

int16_t MegaDirectory::Read(const MegaReadAt& readAt, uint64_t length)
{
    *this = MegaDirectory();
    fileLength = length;

    uint8_t raw[20] = {};
    if (!readAt(0, raw, 16))
        return kStatusBad;
    BigEndianReader in(raw, sizeof raw);
    in.ReadU16(header.version);
    in.ReadI16(header.typeCount);
    in.ReadI32(header.resourceCount);
    in.ReadU32(header.reserved);
    in.ReadU32(header.dirOffset);
    if (header.version >= kMegaStampVersion) {
        if (!readAt(16, raw + 16, 4))
            return kStatusBad;
        in.ReadU32(header.stamp);
    }

    if (header.typeCount == 0 || header.resourceCount == 0)
        return kStatusEmpty;
    if (header.typeCount < 0 || header.resourceCount < 0)
        return kStatusBad;
    const uint64_t dirBytes = static_cast<uint64_t>(header.resourceCount) * kMegaEntrySize;
    if (header.dirOffset > length || dirBytes > length - header.dirOffset)
        return kStatusBad;

    std::vector<uint8_t> dir(dirBytes);
    if (!readAt(header.dirOffset, dir.data(), dir.size()))
        return kStatusBad;
    BigEndianReader d(dir.data(), dir.size());
    entries.resize(static_cast<size_t>(header.resourceCount));
    for (MegaEntry& e : entries) {
        d.ReadBytes(e.type, kMegaTypeSize);
        d.ReadI32(e.id);
        d.ReadI32(e.size);
        d.ReadI32(e.offset);
    }

    // Each change of the type bytes closes a run. The type table holds at most the header's
    // type count of records; a directory with more runs does not open.
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || !SameMegaType(entries[i].type, types.back().type)) {
            if (types.size() == static_cast<size_t>(header.typeCount)) {
                types.clear();
                entries.clear();
                return kStatusBad;
            }
            MegaTypeRec rec;
            std::memcpy(rec.type, entries[i].type, kMegaTypeSize);
            rec.first = static_cast<int32_t>(i);
            types.push_back(rec);
        }
        ++types.back().count;
    }
    return kStatusOk;
}

int32_t MegaDirectory::FindType(const char* type) const
{
    if (!type)
        return -1;
    char key[kMegaTypeSize] = {};
    std::memcpy(key, type, strnlen(type, kMegaTypeSize));
    int32_t lo = 0;
    int32_t hi = static_cast<int32_t>(types.size()) - 1;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const int c = CompareMegaTypes(types[static_cast<size_t>(mid)].type, key);
        if (c == 0)
            return mid;
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

int32_t MegaDirectory::FindEntryIndex(const char* type, int32_t id) const
{
    const int32_t t = FindType(type);
    if (t < 0)
        return -1;
    const MegaTypeRec& rec = types[static_cast<size_t>(t)];
    int32_t lo = rec.first;
    int32_t hi = rec.first + rec.count - 1;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const int32_t n = entries[static_cast<size_t>(mid)].id;
        if (n == id)
            return mid;
        if (n < id)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

int32_t MegaDirectory::FindEntry(const char* type, int32_t id) const
{
    const int32_t i = FindEntryIndex(type, id);
    return (i >= 0 && IsPresent(entries[static_cast<size_t>(i)])) ? i : -1;
}

bool MegaDirectory::IsPresent(const MegaEntry& e) const
{
    return e.size >= 1 && e.offset >= 0 &&
           static_cast<uint64_t>(e.offset) + static_cast<uint64_t>(e.size) <= fileLength;
}

std::vector<uint8_t> EncodeMegaHeader(const MegaHeader& h)
{
    std::vector<uint8_t> out;
    AppendBigEndian16(out, h.version);
    AppendBigEndian16(out, static_cast<uint16_t>(h.typeCount));
    AppendBigEndian32(out, static_cast<uint32_t>(h.resourceCount));
    AppendBigEndian32(out, h.reserved);
    AppendBigEndian32(out, h.dirOffset);
    if (h.version >= kMegaStampVersion)
        AppendBigEndian32(out, h.stamp);
    return out;
}

void EncodeMegaEntry(const MegaEntry& e, uint8_t (&out)[kMegaEntrySize])
{
    std::memcpy(out, e.type, kMegaTypeSize);
    PutBigEndian32(out + 8, static_cast<uint32_t>(e.id));
    PutBigEndian32(out + 12, static_cast<uint32_t>(e.size));
    PutBigEndian32(out + 16, static_cast<uint32_t>(e.offset));
}

std::vector<uint8_t> BuildMegaLibrary(const std::vector<MegaResource>& resources, uint16_t version,
                                      uint32_t stamp)
{
    constexpr uint64_t kMaxOffset = std::numeric_limits<int32_t>::max();
    MegaHeader h;
    h.version = version;
    h.stamp = version >= kMegaStampVersion ? stamp : 0;
    const size_t headerSize = MegaHeaderSize(version);

    std::vector<MegaEntry> entries;
    uint64_t pos = headerSize;
    int32_t runs = 0;
    for (const MegaResource& r : resources) {
        if (r.type.size() >= kMegaTypeSize || r.type.find('\0') != std::string::npos)
            throw std::invalid_argument("type name longer than 7 characters: " + r.type);
        if (pos + r.data.size() > kMaxOffset)
            throw std::invalid_argument("library larger than 2 GB");
        MegaEntry e;
        SetMegaType(e.type, r.type.c_str());
        e.id = r.id;
        e.size = static_cast<int32_t>(r.data.size());
        e.offset = static_cast<int32_t>(pos);
        if (entries.empty() || !SameMegaType(entries.back().type, e.type))
            ++runs;
        entries.push_back(e);
        pos += r.data.size();
    }
    if (runs > std::numeric_limits<int16_t>::max() || pos + entries.size() * kMegaEntrySize > kMaxOffset)
        throw std::invalid_argument("too many resources for one library");
    h.typeCount = static_cast<int16_t>(runs);
    h.resourceCount = static_cast<int32_t>(entries.size());
    h.dirOffset = static_cast<uint32_t>(pos);

    std::vector<uint8_t> out = EncodeMegaHeader(h);
    out.reserve(pos + entries.size() * kMegaEntrySize);
    for (const MegaResource& r : resources)
        out.insert(out.end(), r.data.begin(), r.data.end());
    for (const MegaEntry& e : entries) {
        uint8_t raw[kMegaEntrySize];
        EncodeMegaEntry(e, raw);
        out.insert(out.end(), raw, raw + kMegaEntrySize);
    }
    return out;
}
