// The game data's pictures are what qmimg makes from the committed art (data/game-art), so
// the art stays the source of truth.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestEnv.h"
#include "tools/QmImg.h"
#include "tools/QmSmk.h"
#include "tools/QmSnd.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(GameData, PicturesAreMadeFromTheArt)
{
    const fs::path art = qmtest::SourceDir() / "data" / "game-art";
    const fs::path data = qmtest::SourceDir() / "data" / "game" / "QM3Data";
    struct Case {
        const char* command;
        const char* png;
        const char* resource;
    };
    for (const Case& c :
         {Case{"clt", "palette.png", "CLT/001008.CLT"}, Case{"cbm", "opening.png", "CBM/004000.CBM"},
          Case{"cbm", "ctrlbar.png", "CBM/005000.CBM"}, Case{"cbm", "message.png", "CBM/000318.CBM"},
          Case{"cbm", "panel.png", "CBM/005400.CBM"}, Case{"cbm", "captions-on.png", "CBM/000265.CBM"},
          Case{"cbm", "captions-off.png", "CBM/000266.CBM"}, Case{"cbm", "sound-on.png", "CBM/000270.CBM"},
          Case{"cbm", "sound-off.png", "CBM/000271.CBM"}, Case{"cbm", "music-on.png", "CBM/000275.CBM"},
          Case{"cbm", "music-off.png", "CBM/000276.CBM"}}) {
        const fs::path made = qmtest::TempDir() / "made";
        std::ostringstream out, err;
        ASSERT_EQ(RunQmImg({c.command, (art / c.png).string(), made.string()}, out, err), 0) << err.str();
        EXPECT_EQ(FileBytes(made), FileBytes(data / c.resource)) << c.resource;
    }
}

// The game controls' pictures: the check marks and spin arrows (six images each) and the
// twelve random pictures.
TEST(GameData, ControlPicturesAreMadeFromTheArt)
{
    const fs::path art = qmtest::SourceDir() / "data" / "game-art" / "controls";
    const fs::path data = qmtest::SourceDir() / "data" / "game" / "QM3Data" / "CBM";
    std::vector<std::pair<std::vector<std::string>, std::string>> cases;
    for (const char* set : {"check", "arrow"}) {
        std::vector<std::string> pngs;
        for (int i = 0; i < 6; ++i)
            pngs.push_back((art / (std::string(set) + "-" + std::to_string(i) + ".png")).string());
        cases.emplace_back(pngs, set == std::string("check") ? "003400.CBM" : "003401.CBM");
    }
    for (int id = 4230; id <= 4340; id += 10)
        cases.emplace_back(
            std::vector<std::string>{(art / ("picture-" + std::to_string(id) + ".png")).string()},
            "00" + std::to_string(id) + ".CBM");
    for (const auto& [pngs, resource] : cases) {
        const fs::path made = qmtest::TempDir() / "made";
        std::vector<std::string> args{"cbm"};
        args.insert(args.end(), pngs.begin(), pngs.end());
        args.push_back(made.string());
        std::ostringstream out, err;
        ASSERT_EQ(RunQmImg(args, out, err), 0) << err.str();
        EXPECT_EQ(FileBytes(made), FileBytes(data / resource)) << resource;
    }
}

// The opening screen's attract movie and title music: what qmsmk and qmsnd make from the
// frames and the tune that attract/make-attract.py writes.
TEST(GameData, TheAttractMovieAndTitleMusicAreMadeFromTheirSources)
{
    const fs::path art = qmtest::SourceDir() / "data" / "game-art" / "attract";
    const fs::path data = qmtest::SourceDir() / "data" / "game";
    const fs::path movie = qmtest::TempDir() / "movie";
    std::vector<std::string> args{"make", "--fps", "6", movie.string()};
    for (int f = 0; f < 12; ++f)
        args.push_back((art / ((f < 10 ? "frame-0" : "frame-") + std::to_string(f) + ".png")).string());
    std::ostringstream out, err;
    ASSERT_EQ(RunQmSmk(args, out, err), 0) << err.str();
    EXPECT_EQ(FileBytes(movie), FileBytes(data / "Disc1" / "SMK" / "210000.SMK"));
    const fs::path music = qmtest::TempDir() / "music";
    ASSERT_EQ(RunQmSnd({"make", (art / "title-music.wav").string(), music.string()}, out, err), 0)
        << err.str();
    EXPECT_EQ(FileBytes(music), FileBytes(data / "QM3Data" / "CSN" / "000621.CSN"));
}

// The stop scenes' pictures that scenes/make-scenes.py draws.
TEST(GameData, ScenePicturesAreMadeFromTheArt)
{
    const fs::path art = qmtest::SourceDir() / "data" / "game-art" / "scenes";
    const fs::path data = qmtest::SourceDir() / "data" / "game" / "QM3Data" / "CBM";
    for (const char* id : {"20100", "20200", "20300", "20500", "20600"}) {
        const fs::path made = qmtest::TempDir() / "made";
        std::ostringstream out, err;
        ASSERT_EQ(RunQmImg({"cbm", (art / ("scene-" + std::string(id) + ".png")).string(), made.string()},
                           out, err),
                  0)
            << err.str();
        EXPECT_EQ(FileBytes(made), FileBytes(data / (std::string("0") + id + ".CBM"))) << id;
    }
}

} // namespace
