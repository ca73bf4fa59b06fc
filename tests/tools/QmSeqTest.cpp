#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmSeq.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;
using qmtest::ToolRun;

ToolRun QmSeq(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmSeq, args); }

Bytes ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

fs::path Dir() { return qmtest::TempDir(); }

fs::path WriteText(const std::string& name, std::string_view text)
{
    qmtest::WriteFile(Dir() / name, text);
    return Dir() / name;
}

} // namespace

TEST(QmSeq, SequencesAndCelTablesRoundTripByteForByte)
{
    const fs::path seqText = WriteText("walk.txt", "# a walk\n"
                                                   "frame 3 1 -2 0 0 0\n"
                                                   "anim 0 1 4 2\n"
                                                   "\n"
                                                   "frame 4\t5 6 7 8 9   # tabs and comments\n"
                                                   "anim 2 255 6 1\n"
                                                   "frame -32768 32767 0 0 0 -1\n");
    ASSERT_EQ(QmSeq({"seq", seqText.string(), (Dir() / "walk.seq").string()}).status, 0);
    const Bytes seq = ReadBytes(Dir() / "walk.seq");
    // A = 2, the anim lines, F = 3 at byte 18, the frame lines.
    const Bytes expected = {0, 2, 0, 0, 0, 1,   0,   4, 0,   2,   0, 2, 0, 255, 0, 6, 0,   1,  0,
                            3, 0, 3, 0, 1, 255, 254, 0, 0,   0,   0, 0, 0, 0,   4, 0, 5,   0,  6,
                            0, 7, 0, 8, 0, 9,   128, 0, 127, 255, 0, 0, 0, 0,   0, 0, 255, 255};
    EXPECT_EQ(seq, expected);

    const fs::path celText = WriteText("walk-cel.txt", "anchor 3 4\nanchor -5 600\n");
    ASSERT_EQ(QmSeq({"cel", celText.string(), (Dir() / "walk.cel").string()}).status, 0);
    EXPECT_EQ(ReadBytes(Dir() / "walk.cel"), (Bytes{0, 2, 0, 3, 0, 4, 255, 251, 2, 88}));

    qmtest::FolderLibraryWriter lib(Dir() / "lib");
    lib.Add("SEQ", 1200, seq);
    lib.Add("CEL", 1200, ReadBytes(Dir() / "walk.cel"));
    ToolRun shown = QmSeq({"show", lib.Folder().string(), "SEQ", "1200"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, "anim 0 1 4 2\nanim 2 255 6 1\nframe 3 1 -2 0 0 0\nframe 4 5 6 7 8 9\n"
                         "frame -32768 32767 0 0 0 -1\n");
    ASSERT_EQ(
        QmSeq({"seq", WriteText("again.txt", shown.out).string(), (Dir() / "again.seq").string()}).status, 0);
    EXPECT_EQ(ReadBytes(Dir() / "again.seq"), seq);

    shown = QmSeq({"show", lib.Folder().string(), "CEL", "1200"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, "anchor 3 4\nanchor -5 600\n");

    // Empty text: empty tables.
    ASSERT_EQ(
        QmSeq({"seq", WriteText("empty.txt", "# nothing\n").string(), (Dir() / "e.seq").string()}).status, 0);
    EXPECT_EQ(ReadBytes(Dir() / "e.seq"), (Bytes{0, 0, 0, 0}));
}

TEST(QmSeq, BadInputIsOneErrorLineAndLeavesNoFile)
{
    qmtest::FolderLibraryWriter lib(Dir() / "lib");
    lib.Add("SEQ", 1, Bytes{0, 1, 0, 0, 0, 0});                       // one anim, cut short
    lib.Add("SEQ", 2, Bytes{0, 0, 255, 255});                         // F = -1
    lib.Add("SEQ", 3, Bytes{0, 0, 0, 1, 0, 0});                       // one frame, cut short
    lib.Add("SEQ", 4, Bytes{0, 1, 0, 0, 0, 0, 0, 1, 255, 255, 0, 0}); // an anim of -1 frames
    lib.Add("CEL", 5, Bytes{0, 2, 0, 1, 0, 2});                       // two anchors, one held
    lib.Add("CEL", 6, Bytes{128, 0});                                 // N = -32768
    const std::string l = lib.Folder().string();
    const std::string out = (Dir() / "out").string();
    struct Case {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"seq", WriteText("a.txt", "anim 1 2 3\n").string(), out}, "a.txt:1: anim wants 4 values"},
        {{"seq", WriteText("b.txt", "\nframe 1 2 3 4 5 32768\n").string(), out},
         "b.txt:2: dz out of range: 32768"},
        {{"seq", WriteText("c.txt", "frame 1 2 3 4 5 x\n").string(), out}, "c.txt:1: bad dz: x"},
        {{"seq", WriteText("d.txt", "anchor 1 2\n").string(), out}, "d.txt:1: unknown line: anchor"},
        {{"cel", WriteText("e.txt", "anim 0 0 0 0\n").string(), out}, "e.txt:1: unknown line: anim"},
        {{"seq", WriteText("f.txt", "anim 0 0 0 -1\n").string(), out}, "f.txt:1: negative count: -1"},
        {{"cel", WriteText("g.txt", "anchor 1 +2\n").string(), out}, "g.txt:1: bad v: +2"},
        {{"seq", (Dir() / "none.txt").string(), out}, "none.txt: cannot read"},
        {{"show", l, "SEQ", "1"}, "SEQ 1: the block is shorter than its anim count 1"},
        {{"show", l, "SEQ", "2"}, "SEQ 2: negative frame count -1"},
        {{"show", l, "SEQ", "3"}, "SEQ 3: the block is shorter than its frame count 1"},
        {{"show", l, "SEQ", "4"}, "SEQ 4: negative frame count -1 in an anim"},
        {{"show", l, "CEL", "5"}, "CEL 5: the block is shorter than its anchor count 2"},
        {{"show", l, "CEL", "6"}, "CEL 6: negative anchor count -32768"},
        {{"show", l, "SEQ", "9"}, l + ": no resource SEQ 9"},
        {{"show", l, "RLS", "1"}, "type must be SEQ or CEL: RLS"},
        {{"show", l, "SEQ"}, "usage: qmseq"},
        {{"pack", l}, "unknown command: pack"},
    };
    for (const Case& c : cases) {
        const ToolRun r = QmSeq(c.args);
        EXPECT_EQ(r.status, 1) << c.error;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("qmseq: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_FALSE(fs::exists(out)) << c.error;
    }
}
