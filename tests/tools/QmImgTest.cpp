#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <memory>
#include <random>

#include "engine/graphics/Palette.h"
#include "engine/graphics/RleSprite.h"
#include "engine/resources/FrameStrip.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/PngImage.h"
#include "tools/QmImg.h"

namespace fs = std::filesystem;

namespace {

using qmtest::ToolRun;

ToolRun QmImg(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmImg, args); }

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<PngColor> GreyPalette()
{
    std::vector<PngColor> p;
    for (int i = 0; i < 256; ++i)
        p.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
    return p;
}

// Writes a PNG through libpng's simple writer, which picks the smallest bit depth for a small
// colour map: greyscale without a colour map, else palette entries of (i, i, i).
void WriteSimplePng(const fs::path& path, int width, int height, const std::vector<uint8_t>& pixels,
                    int mapEntries)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = mapEntries ? PNG_FORMAT_RGB_COLORMAP : PNG_FORMAT_GRAY;
    image.colormap_entries = static_cast<png_uint_32>(mapEntries);
    std::vector<uint8_t> colormap;
    for (int i = 0; i < mapEntries; ++i)
        colormap.insert(colormap.end(),
                        {static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), width,
                                        mapEntries ? colormap.data() : nullptr));
}

// A picture that exercises every way of coding a tile: flat areas (fills, repeated fills),
// a tile pattern that repeats (copies), tiles of a few colours (selections), noise (the whole
// map) and index 0 in all of them; its size is not a multiple of 8.
struct Picture {
    int width, height;
    std::vector<uint8_t> pixels;
    Picture(int w, int h, uint32_t seed) : width(w), height(h), pixels(static_cast<size_t>(w * h))
    {
        std::mt19937 random(seed);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t v;
                if (y < h / 4)
                    v = 0;
                else if (x < w / 4)
                    v = static_cast<uint8_t>(40 + (y / 8) % 2);
                else if (y < h / 2)
                    v = static_cast<uint8_t>((x % 8) * 3 + (y % 8 < 4 ? 0 : 100));
                else if (x < w / 2)
                    v = static_cast<uint8_t>(random() % 5 == 0 ? 0 : 200 + random() % 4);
                else
                    v = static_cast<uint8_t>(random() % 256);
                pixels[static_cast<size_t>(y * w + x)] = v;
            }
    }
    uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
};

fs::path WritePng(const std::string& name, const Picture& p)
{
    const fs::path path = qmtest::TempDir() / name;
    WriteIndexedPng(path, p.width, p.height, p.pixels, GreyPalette());
    return path;
}

// The frame as the engine's frame strip decodes it into a top-down bitmap of its own size.
std::vector<uint8_t> DecodeFrame(CFrameStrip& strip, int32_t i, bool masked,
                                 std::vector<uint8_t>* into = nullptr)
{
    CPoint size;
    EXPECT_EQ(strip.GetFrameSize(size, i), CFrameStrip::kOk);
    std::vector<uint8_t> local(static_cast<size_t>(size.GetH() * size.GetV()), 0xEE);
    std::vector<uint8_t>& pixels = into ? *into : local;
    CRect updated;
    EXPECT_EQ(strip.DecodeFrame({pixels.data(), size.GetH(), size.GetV(), size.GetH(), false}, i,
                                masked ? &updated : nullptr),
              CFrameStrip::kOk);
    return pixels;
}

std::unique_ptr<CMemory> Block(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    return block;
}

} // namespace

TEST(QmImg, PictureStripFramesDecodeToTheirPictures)
{
    const Picture a(37, 29, 1), b(64, 8, 2), c(1, 1, 3);
    const ToolRun r = QmImg({"cbm", WritePng("a.png", a).string(), WritePng("b.png", b).string(),
                             WritePng("c.png", c).string(), (qmtest::TempDir() / "out.cbm").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    CFrameStrip strip(Block(ReadBytes(qmtest::TempDir() / "out.cbm")));
    ASSERT_EQ(strip.GetFrameCount(), 3);
    EXPECT_EQ(DecodeFrame(strip, 0, false), a.pixels);
    EXPECT_EQ(DecodeFrame(strip, 1, false), b.pixels);
    EXPECT_EQ(DecodeFrame(strip, 2, false), c.pixels);
}

TEST(QmImg, ImageStripLaterFramesHoldOnlyTheChangedTiles)
{
    Picture f0(40, 24, 4);
    Picture f1 = f0;
    for (int y = 8; y < 16; ++y)
        for (int x = 16; x < 24; ++x)
            f1.At(x, y) = 0; // a tile that changes to all zero must not read as "unchanged"
    f1.At(39, 23) = 77;      // a change in the last, partial tile column
    Picture f2 = f1;
    f2.At(0, 0) = 5;
    std::vector<std::string> args{"imv"};
    for (const auto& [name, p] : {std::pair{"f0.png", &f0}, {"f1.png", &f1}, {"f2.png", &f2}})
        args.push_back(WritePng(name, *p).string());
    args.push_back((qmtest::TempDir() / "out.imv").string());
    const ToolRun r = QmImg(args);
    ASSERT_EQ(r.status, 0) << r.err;

    const std::vector<uint8_t> bytes = ReadBytes(qmtest::TempDir() / "out.imv");
    CFrameStrip strip(Block(bytes));
    ASSERT_EQ(strip.GetFrameCount(), 3);
    // Replaying: frame 0 whole, then each later frame masked over it.
    std::vector<uint8_t> screen(f0.pixels.size(), 0xEE);
    DecodeFrame(strip, 0, false, &screen);
    EXPECT_EQ(screen, f0.pixels);
    DecodeFrame(strip, 1, true, &screen);
    EXPECT_EQ(screen, f1.pixels);
    DecodeFrame(strip, 2, true, &screen);
    EXPECT_EQ(screen, f2.pixels);
    // Frame 2 changes one tile: decoded alone, it writes only that tile.
    std::vector<uint8_t> alone(f0.pixels.size(), 0xEE);
    DecodeFrame(strip, 2, true, &alone);
    EXPECT_EQ(alone[0], 5);
    EXPECT_EQ(alone[static_cast<size_t>(f0.width * 9 + 20)], 0xEE);
}

TEST(QmImg, SpriteCelsDrawToTheirPicturesWithIndexZeroTransparent)
{
    const Picture a(23, 17, 5), b(300, 2, 6);
    const ToolRun r = QmImg({"rls", WritePng("a.png", a).string(), WritePng("b.png", b).string(),
                             (qmtest::TempDir() / "out.rls").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<uint8_t> rls = ReadBytes(qmtest::TempDir() / "out.rls");
    const RleCelTable table(rls.data(), rls.size());
    ASSERT_EQ(table.GetCount(), 2);
    int i = 0;
    for (const Picture* p : {&a, &b}) {
        std::vector<uint8_t> canvas(p->pixels.size(), 255);
        RleDrawOptions options;
        options.transparent = 0;
        DrawRleCelPixels(table, i, {canvas.data(), p->width, p->height, p->width, false}, 0, 0, options);
        std::vector<uint8_t> expected = p->pixels;
        for (uint8_t& v : expected)
            v = v == 0 ? 255 : v;
        EXPECT_EQ(canvas, expected) << "cel " << i;

        // Index 0 never appears in a literal run.
        RleCel cel;
        ASSERT_TRUE(table.GetCel(i, cel));
        for (size_t at = cel.offset; at < cel.offset + cel.length;) {
            const uint8_t control = rls[at];
            if (control < 128) {
                at += 2;
                continue;
            }
            for (int k = 1; k <= control - 127; ++k)
                ASSERT_NE(rls[at + static_cast<size_t>(k)], 0) << "literal at " << at;
            at += 1 + static_cast<size_t>(control - 127);
        }
        ++i;
    }
}

TEST(QmImg, ColourTableFromThePalette)
{
    struct Case {
        size_t colours;
        std::string note;
    };
    const Case cases[] = {
        {256, ""},
        {200, "200 colours: the engine places them at palette indices 10-209"},
        {236, "236 colours: the engine places them at palette indices 10-245"},
        {240, "240 colours: the engine places them at palette indices 0-239, and the system colours replace "
              "indices 0-9 and 246-255"},
    };
    for (const Case& k : cases) {
        const fs::path png = qmtest::TempDir() / "palette.png";
        const fs::path out = qmtest::TempDir() / "out.clt";
        // A PNG of k.colours palette entries: libpng writes the palette it is given.
        std::vector<PngColor> palette;
        for (size_t i = 0; i < k.colours; ++i)
            palette.push_back(
                {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3)});
        WriteIndexedPng(png, 1, 1, {0}, palette);
        const ToolRun r = QmImg({"clt", png.string(), out.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, k.note.empty()
                             ? ""
                             : png.string() + ": " + k.note +
                                   (k.colours <= 236 ? "; pixels must use those indices" : "") + "\n");
        const std::vector<uint8_t> table = ReadBytes(out);
        ASSERT_EQ(table.size(), 2 + 4 * k.colours);
        EXPECT_EQ(table[0], k.colours - 1);
        EXPECT_EQ(table[1], 0);
        for (size_t i = 0; i < k.colours; ++i) {
            EXPECT_EQ(table[2 + 4 * i], palette[i].r);
            EXPECT_EQ(table[3 + 4 * i], palette[i].g);
            EXPECT_EQ(table[4 + 4 * i], palette[i].b);
            EXPECT_EQ(table[5 + 4 * i], 0);
        }
    }
}

TEST(QmImg, ErrorsAreOneLine)
{
    const fs::path dir = qmtest::TempDir();
    const Picture small(8, 8, 7), other(9, 8, 8);
    const std::string a = WritePng("a.png", small).string(), b = WritePng("b.png", other).string();
    {
        std::ofstream rgb(dir / "text.png");
        rgb << "not a png";
    }
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{}, "qmimg: usage: "},
        {{"paint"}, "qmimg: unknown command: paint"},
        {{"cbm", (dir / "x.cbm").string()}, "qmimg: usage: "},
        {{"rls", (dir / "missing.png").string(), (dir / "x.rls").string()},
         "qmimg: " + (dir / "missing.png").string() + ": cannot open"},
        {{"cbm", (dir / "text.png").string(), (dir / "x.cbm").string()},
         "qmimg: " + (dir / "text.png").string() + ": not a readable PNG"},
        {{"imv", a, b, (dir / "x.imv").string()}, "qmimg: " + b + ": not the size of the first frame (8x8)"},
        {{"cbm", a, (dir / "no" / "such" / "x.cbm").string()},
         "qmimg: " + (dir / "no" / "such" / "x.cbm").string() + ": cannot write"},
        {{"clt", a}, "qmimg: usage: "},
    };
    for (const Case& k : cases) {
        const ToolRun r = QmImg(k.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(k.err, 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(QmImg, ReadsLowBitDepthPalettesAndGreyscale)
{
    // Two colours make a 1-bit palette PNG, read as one byte per pixel.
    const fs::path two = qmtest::TempDir() / "two.png";
    WriteSimplePng(two, 9, 2, {0, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}, 2);
    const IndexedImage bits = ReadIndexedPng(two);
    EXPECT_EQ(bits.width, 9);
    EXPECT_EQ(bits.pixels, (std::vector<uint8_t>{0, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(bits.palette.size(), 2u);

    // A greyscale PNG is read as indices; it has no palette for a colour table.
    const fs::path grey = qmtest::TempDir() / "grey.png";
    WriteSimplePng(grey, 3, 2, {0, 1, 2, 200, 254, 255}, 0);
    const IndexedImage image = ReadIndexedPng(grey);
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{0, 1, 2, 200, 254, 255}));
    const ToolRun r = QmImg({"clt", grey.string(), (qmtest::TempDir() / "x.clt").string()});
    EXPECT_EQ(r.err, "qmimg: " + grey.string() + ": has no palette\n");
}

namespace {

// Makes a resource with qmimg into a folder library and shows it again through the engine.
class QmImgShow : public ::testing::Test {
protected:
    fs::path Library() const { return qmtest::TempDir() / "lib"; }

    void Make(const std::string& command, const std::string& type, int32_t id,
              const std::vector<const Picture*>& pictures)
    {
        std::vector<std::string> args{command};
        int n = 0;
        for (const Picture* p : pictures)
            args.push_back(WritePng("in" + std::to_string(n++) + ".png", *p).string());
        const fs::path made = qmtest::TempDir() / "made.bin";
        args.push_back(made.string());
        const ToolRun r = QmImg(args);
        ASSERT_EQ(r.status, 0) << r.err;
        qmtest::FolderLibraryWriter(Library()).Add(type, id, ReadBytes(made));
    }

    // The shown picture, or an empty one (and the error in `err`) when show fails.
    IndexedImage Show(std::vector<std::string> options, std::string* err = nullptr)
    {
        const fs::path out = qmtest::TempDir() / "shown.png";
        fs::remove(out);
        std::vector<std::string> args{"show", Library().string()};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(out.string());
        const ToolRun r = QmImg(args);
        if (err)
            *err = r.err;
        if (r.status != 0)
            return {};
        EXPECT_EQ(r.err, "");
        return ReadIndexedPng(out);
    }
};

} // namespace

TEST_F(QmImgShow, EveryKindRoundTripsPixelForPixel)
{
    const Picture a(37, 29, 11), b(16, 40, 12), c(5, 3, 13);
    Picture a1 = a, a2 = a;
    a1.At(0, 0) = 9;
    for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            a2.At(x, y) = 0;
    Make("cbm", "CBM", 5, {&a, &b, &c});
    Make("imv", "IMV", 6, {&a, &a1, &a2});
    Make("rls", "RLS", 7, {&c, &b});

    EXPECT_EQ(Show({"CBM", "5"}).pixels, a.pixels);
    const IndexedImage second = Show({"cbm", "5", "--frame", "1"});
    EXPECT_EQ(second.width, 16);
    EXPECT_EQ(second.height, 40);
    EXPECT_EQ(second.pixels, b.pixels);
    EXPECT_EQ(Show({"CBM", "5", "--frame", "2"}).pixels, c.pixels);

    EXPECT_EQ(Show({"IMV", "6", "--frame", "2"}).pixels, a2.pixels) << "frames 0 to 2 replayed";
    EXPECT_EQ(Show({"IMV", "6", "--frame", "1"}).pixels, a1.pixels);
    EXPECT_EQ(Show({"IMV", "6"}).pixels, a.pixels);

    // A cel is drawn into a picture of 255: its pixels of index 0 stay 255.
    const IndexedImage cel = Show({"RLS", "7", "--frame", "1"});
    std::vector<uint8_t> expected = b.pixels;
    for (uint8_t& v : expected)
        v = v == 0 ? 255 : v;
    EXPECT_EQ(cel.pixels, expected);
    // Without a palette, a grey ramp.
    ASSERT_EQ(cel.palette.size(), 256u);
    EXPECT_EQ(cel.palette[77], (PngColor{77, 77, 77}));
}

TEST_F(QmImgShow, SpriteCelsStretchedPixelForPixel)
{
    Picture cel(2, 3, 1);
    cel.pixels = {1, 2, 0, 4, 5, 6}; // index 0 is transparent
    const Picture other(4, 4, 2);
    Make("rls", "RLS", 7, {&other, &cel});
    // Two columns grown to five: counts 1 and 3, the rightmost column left at 255.
    const IndexedImage grown = Show({"RLS", "7", "--frame", "1", "--stretch", "5", "3"});
    EXPECT_EQ(grown.width, 5);
    EXPECT_EQ(grown.height, 3);
    EXPECT_EQ(grown.pixels, (std::vector<uint8_t>{1, 2, 2, 2, 255, 255, 4, 4, 4, 255, 5, 6, 6, 6, 255}));
    // Mirrored, the first column lands on the right edge; the rows shrink from 3 to 2.
    const IndexedImage mirrored = Show({"RLS", "7", "--frame", "1", "--stretch", "5", "2", "--mirror"});
    EXPECT_EQ(mirrored.pixels, (std::vector<uint8_t>{255, 2, 2, 2, 1, 255, 6, 6, 6, 5}));

    const std::pair<std::vector<std::string>, std::string> errors[] = {
        {{"RLS", "7", "--stretch", "0", "3"}, "width out of range: 0"},
        {{"RLS", "7", "--stretch", "5", "4097"}, "height out of range: 4097"},
        {{"RLS", "7", "--stretch", "5"}, "usage:"},
        {{"RLS", "7", "--mirror"}, "--mirror goes with --stretch"},
        {{"RLS", "7", "--frame", "2", "--stretch", "5", "3"}, "RLS 7 has no frame 2 (it has 2)"},
    };
    for (const auto& [options, message] : errors) {
        std::string err;
        EXPECT_TRUE(Show(options, &err).pixels.empty());
        EXPECT_NE(err.find(message), std::string::npos) << err;
    }
    Make("cbm", "CBM", 8, {&other});
    std::string err;
    EXPECT_TRUE(Show({"CBM", "8", "--stretch", "5", "3"}, &err).pixels.empty());
    EXPECT_NE(err.find("--stretch draws RLS sprites only"), std::string::npos) << err;
}

TEST_F(QmImgShow, ThePaletteIsTheEnginesBuiltFromTheColourTable)
{
    const Picture a(8, 8, 14);
    Make("cbm", "CBM", 1, {&a});
    // A table of 236 colours: brightened, at indices 10-245.
    std::vector<PngColor> colours;
    for (int i = 0; i < 236; ++i)
        colours.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i / 2), 200});
    const fs::path png = qmtest::TempDir() / "palette.png";
    WriteIndexedPng(png, 1, 1, {0}, colours);
    ASSERT_EQ(QmImg({"clt", png.string(), (qmtest::TempDir() / "clt").string()}).status, 0);
    qmtest::FolderLibraryWriter(Library()).Add("CLT", 3, ReadBytes(qmtest::TempDir() / "clt"));

    const IndexedImage shown = Show({"CBM", "1", "--palette", "3"});
    ASSERT_EQ(shown.palette.size(), 256u);
    for (int i : {0, 1, 64, 128, 235})
        EXPECT_EQ(shown.palette[static_cast<size_t>(10 + i)],
                  (PngColor{CPalette::Brighten(static_cast<uint8_t>(i)),
                            CPalette::Brighten(static_cast<uint8_t>(i / 2)), CPalette::Brighten(200)}))
            << i;
    EXPECT_EQ(shown.pixels, a.pixels);
}

TEST_F(QmImgShow, ErrorsAreOneLine)
{
    const Picture a(8, 8, 15);
    Make("cbm", "CBM", 1, {&a});
    struct Case {
        std::vector<std::string> options;
        std::string err;
    };
    const Case cases[] = {
        {{"CBM", "2"}, "no resource CBM 2"},
        {{"CBM", "1", "--frame", "1"}, "CBM 1 has no frame 1 (it has 1)"},
        {{"CBM", "1", "--frame", "-1"}, "frame out of range: -1"},
        {{"CBM", "1", "--palette", "4"}, "no resource CLT 4"},
        {{"CBM", "1", "--zoom", "2"}, "unknown option: --zoom"},
        {{"STR", "1"}, "cannot show STR resources (CBM, IMV or RLS)"},
        {{"CBM", "x"}, "bad number: x"},
    };
    for (const Case& k : cases) {
        std::string err;
        EXPECT_TRUE(Show(k.options, &err).pixels.empty());
        EXPECT_NE(err.find(k.err), std::string::npos) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    }
    const ToolRun r = QmImg({"show", (qmtest::TempDir() / "nothing").string(), "CBM", "1", "out.png"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open the library"), std::string::npos) << r.err;
}

TEST_F(QmImgShow, DamagedResourcesAreShownOrRefusedWithoutHarm)
{
    const Picture a(20, 12, 16);
    Make("cbm", "CBM", 1, {&a});
    Make("rls", "RLS", 2, {&a});
    const std::vector<uint8_t> cbm = ReadBytes(Library() / "CBM" / "000001.CBM");
    const std::vector<uint8_t> rls = ReadBytes(Library() / "RLS" / "000002.RLS");
    // Resources cut in the table, in the first image and near the end: the tool answers, with
    // a picture or one error line (the decoders' own tests cut at every length).
    for (const auto& [type, bytes] : {std::pair{"CBM", cbm}, {"RLS", rls}})
        for (size_t n : {size_t{1}, size_t{13}, bytes.size() / 2, bytes.size() - 1}) {
            qmtest::FolderLibraryWriter(Library()).Add(
                type, 9, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n)));
            std::string err;
            const IndexedImage shown = Show({type, "9"}, &err);
            EXPECT_TRUE(!shown.pixels.empty() || (!err.empty() && err.find('\n') == err.size() - 1))
                << type << " " << n;
        }
}
