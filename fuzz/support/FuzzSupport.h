#pragma once
// What every harness shares: fatal reports turned into exceptions it can catch, and
// temporary folders that honour TMPDIR and are removed when the process ends.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/Fatal.h"

namespace fuzz {

// Installs the throwing fatal hook (once; later calls do nothing), so that a fatal report
// about bad input ends one input, not the whole run.
void CatchFatalReports();

// Forgets the message boxes shown (a fatal report shows one), so that nothing an input made
// outlives it: libFuzzer's leak check after each input stays on only while every input frees
// what it allocates.
void ForgetShownBoxes();

// Runs f with fatal reports caught: bad input may end it early, never the process.
template <typename F> void Guarded(F&& f)
{
    CatchFatalReports();
    try {
        f();
    } catch (const plat::FatalError&) {
    }
    ForgetShownBoxes();
}

// A new empty folder under the temporary folder (TMPDIR when it names a folder, else /tmp) whose name starts
// with `prefix`; it and everything in it are removed when the process exits.
std::filesystem::path MakeTempFolder(const char* prefix);

// The input as a file, for loaders that read files; the file is removed when this goes. Each
// input gets a new file rather than a truncated old one: on some file systems (ext4) cutting
// a written file down makes it reach the disk first, which slows a run a hundredfold.
class InputFile {
public:
    InputFile(std::filesystem::path path, const uint8_t* data, size_t size);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

private:
    std::filesystem::path path_;
};

} // namespace fuzz
