#include "tests/support/GoldenPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tools/PngImage.h"

namespace qmtest {

void ExpectGoldenPicture(const std::filesystem::path& made, const std::filesystem::path& golden)
{
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1') {
        std::filesystem::create_directories(golden.parent_path());
        std::filesystem::copy_file(made, golden, std::filesystem::copy_options::overwrite_existing);
    }
    const IndexedImage got = ReadIndexedPng(made);
    const IndexedImage want = ReadIndexedPng(golden);
    EXPECT_EQ(got.palette, want.palette) << golden.filename();
    EXPECT_TRUE(got.width == want.width && got.height == want.height && got.pixels == want.pixels)
        << made << " differs from its golden picture " << golden;
}

} // namespace qmtest
