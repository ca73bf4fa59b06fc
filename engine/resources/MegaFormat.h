#pragma once
// The single-file library format as plain data, shared by CMegaLib, the library tool and the
// fuzz harness.
//
// A file starts with a big-endian header (16 bytes below version 20, 20 bytes from version 20
// on, the last four being a time stamp), holds the resources' data anywhere, and ends in
// practice with a directory of 20-byte entries: 8 type bytes, number, size and data offset.
// Entries of one type form a run; runs are in ascending order of their type names with A-Z
// folded to a-z, and numbers ascend within a run. An entry whose size is below 1 is absent.
//
// Nothing read from the file is trusted: counts, the directory's place and every entry's data
// are checked against the file's length before they are used.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr size_t kMegaTypeSize = 8;
constexpr size_t kMegaEntrySize = 20;
constexpr uint16_t kMegaStampVersion = 20; // first version whose header carries a time stamp

inline size_t MegaHeaderSize(uint16_t version) { return version >= kMegaStampVersion ? 20 : 16; }

struct MegaHeader {
    uint16_t version = 0;
    int16_t typeCount = 0;
    int32_t resourceCount = 0;
    uint32_t reserved = 0; // offset 8: kept, not interpreted
    uint32_t dirOffset = 0;
    uint32_t stamp = 0; // 0 below version 20, and 0 when the file's time stands for it
};

struct MegaEntry {
    char type[kMegaTypeSize] = {}; // as stored; need not hold a zero
    int32_t id = 0;
    int32_t size = 0;
    int32_t offset = 0;
};

// One run of the directory: the entries [first, first + count) share the type.
struct MegaTypeRec {
    char type[kMegaTypeSize] = {};
    int32_t count = 0;
    int32_t first = 0;
};

// Type names compare within their 8 bytes, up to a terminating zero.
// Folded: A-Z as a-z, bytes as unsigned values; the order of runs and of type searches.
int CompareMegaTypes(const char* a, const char* b);
// Exact: where one run ends and the next begins.
bool SameMegaType(const char* a, const char* b);
std::string MegaTypeName(const char* type);
void SetMegaType(char (&out)[kMegaTypeSize], const char* type);

// Reads the bytes at a position of the file; false when they cannot all be read.
using MegaReadAt = std::function<bool(uint64_t pos, void* buffer, size_t count)>;

struct MegaDirectory {
    MegaHeader header;
    std::vector<MegaTypeRec> types;
    std::vector<MegaEntry> entries;
    uint64_t fileLength = 0;

    // Reads and checks the header and the directory of a file of the given length. Returns the
    // library's opening status: 0 read, 2 a type or resource count of 0, 6 anything unreadable
    // or out of range (a short header, a negative count, a directory outside the file, more
    // runs of types than the header's type count).
    int16_t Read(const MegaReadAt& readAt, uint64_t length);

    // Binary search of the type table with folded comparison; -1 when absent.
    int32_t FindType(const char* type) const;
    // Binary search of the type's run by number; the entry's index whether present or not,
    // -1 when no entry carries the number.
    int32_t FindEntryIndex(const char* type, int32_t id) const;
    // As FindEntryIndex, but -1 for an absent entry (size below 1, or data outside the file).
    int32_t FindEntry(const char* type, int32_t id) const;
    bool IsPresent(const MegaEntry& e) const;
};

// Header and entry encoders, for write-back and for building files.
std::vector<uint8_t> EncodeMegaHeader(const MegaHeader& h);
void EncodeMegaEntry(const MegaEntry& e, uint8_t (&out)[kMegaEntrySize]);

// One resource of a file to build.
struct MegaResource {
    std::string type;
    int32_t id = 0;
    std::vector<uint8_t> data;
};

// Builds a whole file: the header (offset 8 = 0), the data of every resource in the given
// order without padding, then the directory in the same order. The caller gives the order
// the format asks for. Throws std::invalid_argument for a type longer than 7 characters or
// data beyond the reach of 32-bit offsets.
std::vector<uint8_t> BuildMegaLibrary(const std::vector<MegaResource>& resources, uint16_t version,
                                      uint32_t stamp);
