// Saving and loading a game with a 64 KB diary, beside writing and reading the same bytes in
// one call each (the save's file is made durable the same way, with fsync, before it
// replaces the slot).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/base/save/QM3Doc.h"
#include "platform/Files.h"

#include "bench/References.h"

namespace {

constexpr size_t kDiaryBytes = 64 * 1024;

// A folder of the run's own as drive C:, removed when the run ends.
struct BenchFolder {
    BenchFolder()
        : path(std::filesystem::temp_directory_path() / ("qm-savebench-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(path);
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
    }
    ~BenchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

const std::filesystem::path& Folder()
{
    static const BenchFolder folder;
    return folder.path;
}

// A game on disc 0 (which needs no data to switch to) with a diary of 64 KB of lines.
std::unique_ptr<CQM3Doc> MakeGame()
{
    Folder();
    auto doc = std::make_unique<CQM3Doc>("Bench");
    doc->SetDisc(0);
    std::string diary;
    while (diary.size() + 32 <= kDiaryBytes)
        diary += "Monday, April 3, 1848\r\nRested.\r\n";
    diary.resize(kDiaryBytes, '.');
    doc->GetDiary()->SetText(CStr(diary.c_str()));
    doc->SetFileSpec(std::make_unique<CFileSpec>("C:\\bench.qm3"));
    return doc;
}

std::vector<uint8_t> FileBytes()
{
    std::vector<uint8_t> bytes(std::filesystem::file_size(Folder() / "bench.qm3"));
    const int fd = open((Folder() / "bench.qm3").c_str(), O_RDONLY);
    benchmark::DoNotOptimize(read(fd, bytes.data(), bytes.size()));
    close(fd);
    return bytes;
}

// The reference of a save: writing the saved file's bytes to a file of their own, synced.
void WriteOnce(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
    fsync(fd);
    close(fd);
}

// The reference of a load: reading the saved file's bytes.
void ReadOnce(const std::string& path, std::vector<uint8_t>& buffer)
{
    const int fd = open(path.c_str(), O_RDONLY);
    benchmark::DoNotOptimize(read(fd, buffer.data(), buffer.size()));
    close(fd);
}

void BM_SaveGame(benchmark::State& state)
{
    const std::unique_ptr<CQM3Doc> doc = MakeGame();
    doc->Save(0, nullptr);
    const std::vector<uint8_t> bytes = FileBytes();
    const std::string plain = (Folder() / "plain.bin").string();
    benchref::RunAgainst(
        state, "x_write", [&] { benchmark::DoNotOptimize(doc->Save(0, nullptr)); },
        [&] { WriteOnce(plain, bytes); });
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_SaveGame);

void BM_LoadGame(benchmark::State& state)
{
    MakeGame()->Save(0, nullptr);
    std::vector<uint8_t> buffer(FileBytes().size());
    const std::string saved = (Folder() / "bench.qm3").string();
    benchref::RunAgainst(
        state, "x_read",
        [] {
            CQM3Doc doc(std::make_unique<CFileSpec>("C:\\bench.qm3"));
            benchmark::DoNotOptimize(doc.Load());
        },
        [&] { ReadOnce(saved, buffer); });
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(buffer.size()));
}
BENCHMARK(BM_LoadGame);

} // namespace
