// Stands in for libFuzzer's main where there is no libFuzzer (GCC builds): runs the harness
// once over every file named, or found below a folder named, in name order. A crash, a
// sanitizer report or a fatal report the harness does not catch ends the run with an error,
// so replaying a corpus in the test run keeps a harness and its old failures honest.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> InputsUnder(const std::filesystem::path& path)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(path)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
    } else {
        files.push_back(path);
    }
    return files;
}

bool Replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The bytes sit in a block of exactly their size, so that a read past the end is caught;
    // an empty input still gets a valid pointer, as libFuzzer gives it.
    static const uint8_t none = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::exists(argv[i])) {
            std::fprintf(stderr, "replay: %s does not exist\n", argv[i]);
            return 1;
        }
        for (const auto& file : InputsUnder(argv[i])) {
            if (!Replay(file))
                return 1;
            ++count;
        }
    }
    std::printf("replay: %zu inputs ran clean\n", count);
    return count > 0 ? 0 : 1;
}
