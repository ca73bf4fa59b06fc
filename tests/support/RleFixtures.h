#pragma once
// Builds "RLS" run-length sprite resources for tests, fuzz corpora and benchmarks:
//
//   qmtest::RleCelSpec cel{2, 4, {0x83, 1, 2, 3, 4,  0x03, 9}};  // 2 rows of 4 pixels
//   std::vector<uint8_t> rls = qmtest::MakeRls({cel});
//
// MakeRls lays the cels' run data out one after the other behind the table and fills in
// offsets and lengths; the table entries can then be edited to build damaged resources.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CMemory;

namespace qmtest {

struct RleCelSpec {
    int16_t height = 0;
    int16_t width = 0;
    std::vector<uint8_t> runs; // the run data, rows one after the other
};

std::vector<uint8_t> MakeRls(const std::vector<RleCelSpec>& cels);
// A memory block holding the bytes, as a loaded resource reaches the engine.
std::unique_ptr<CMemory> BlockOf(const std::vector<uint8_t>& bytes);

// Writes a big-endian 32-bit value at a position of a resource (to damage a table entry).
void PutBe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);
void PutBe16(std::vector<uint8_t>& bytes, size_t at, uint16_t value);

} // namespace qmtest
