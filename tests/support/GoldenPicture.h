#pragma once
// Compares a picture a test made (an 8-bit indexed PNG) with its golden picture, the indices
// and their colours alike. With QM_UPDATE_GOLDEN=1 in the environment the made picture
// replaces the golden one first.
#include <filesystem>

namespace qmtest {

void ExpectGoldenPicture(const std::filesystem::path& made, const std::filesystem::path& golden);

} // namespace qmtest
