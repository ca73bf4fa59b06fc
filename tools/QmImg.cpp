#include "tools/QmImg.h"

#include <cctype>
#include <climits>
#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "engine/graphics/BitmapSet.h"
#include "engine/graphics/CelList.h"
#include "engine/graphics/FrameSet.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/RleStretchDraw.h"
#include "engine/resources/LibMgr.h"
#include "tools/EngineLibrary.h"
#include "tools/ImageEncoder.h"
#include "tools/PngImage.h"
#include "tools/SpriteEncoder.h"
#include "tools/ToolArgs.h"
#include "tools/ToolFiles.h"
#include "tools/ToolMessages.h"

namespace fs = std::filesystem;

namespace {

// A colour table of up to this many entries lands at palette index 10 on; a longer one
// starts at index 0. Indices 0-9 and 246-255 always hold the system's fixed colours.
constexpr size_t kMaxMiddleColours = 236;

[[noreturn]] void Usage()
{
    throw std::runtime_error(
        "usage: qmimg clt PALETTE.png OUT | cbm IN.png... OUT | imv IN.png... OUT | "
        "rls IN.png... OUT | show LIBRARY TYPE NUMBER [--frame N] [--stretch W H [--mirror]] "
        "[--palette ID] OUT.png");
}

PictureView View(const IndexedImage& image)
{
    return {image.pixels.data(), image.width, image.height, image.width};
}

// The input pictures of a strip or sprite command: every argument between the command and
// the output.
std::vector<IndexedImage> ReadInputs(const std::vector<std::string>& args)
{
    if (args.size() < 3)
        Usage();
    std::vector<IndexedImage> images;
    for (size_t i = 1; i + 1 < args.size(); ++i) {
        images.push_back(ReadIndexedPng(args[i]));
        if (images.back().width < 1 || images.back().height < 1)
            throw std::runtime_error(args[i] + ": an empty picture");
    }
    return images;
}

// Where the engine puts the colours of a table with fewer than 256 entries.
std::string Placement(size_t colours)
{
    if (colours <= kMaxMiddleColours)
        return std::to_string(colours) + " colours: the engine places them at palette indices 10-" +
               std::to_string(10 + colours - 1) + "; pixels must use those indices";
    return std::to_string(colours) + " colours: the engine places them at palette indices 0-" +
           std::to_string(colours - 1) + ", and the system colours replace indices 0-9 and 246-255";
}

int Clt(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.size() != 3)
        Usage();
    const IndexedImage image = ReadIndexedPng(args[1]);
    if (image.palette.empty())
        throw std::runtime_error(args[1] + ": has no palette");
    // Entry count - 1, a byte not read, then red, green, blue and an unused byte per entry.
    std::vector<uint8_t> table{static_cast<uint8_t>(image.palette.size() - 1), 0};
    for (const PngColor& c : image.palette)
        table.insert(table.end(), {c.r, c.g, c.b, 0});
    WriteWholeFile(args[2], table);
    if (image.palette.size() < 256)
        out << args[1] << ": " << Placement(image.palette.size()) << '\n';
    return 0;
}

int Cbm(const std::vector<std::string>& args)
{
    std::vector<StripFrame> frames;
    for (const IndexedImage& image : ReadInputs(args))
        frames.push_back({static_cast<int16_t>(image.width), static_cast<int16_t>(image.height),
                          EncodeBlockImage(View(image))});
    WriteWholeFile(args.back(), BuildFrameStrip(frames));
    return 0;
}

int Imv(const std::vector<std::string>& args)
{
    const std::vector<IndexedImage> images = ReadInputs(args);
    std::vector<StripFrame> frames;
    for (size_t i = 0; i < images.size(); ++i) {
        const IndexedImage& image = images[i];
        if (image.width != images[0].width || image.height != images[0].height)
            throw std::runtime_error(args[i + 1] + ": not the size of the first frame (" +
                                     std::to_string(images[0].width) + "x" +
                                     std::to_string(images[0].height) + ")");
        const PictureView previous = i > 0 ? View(images[i - 1]) : PictureView{};
        frames.push_back({static_cast<int16_t>(image.width), static_cast<int16_t>(image.height),
                          EncodeBlockImage(View(image), i > 0 ? &previous : nullptr)});
    }
    WriteWholeFile(args.back(), BuildFrameStrip(frames));
    return 0;
}

int Rls(const std::vector<std::string>& args)
{
    std::vector<SpriteCel> cels;
    for (const IndexedImage& image : ReadInputs(args))
        cels.push_back({static_cast<int16_t>(image.width), static_cast<int16_t>(image.height),
                        EncodeRleCel(View(image))});
    WriteWholeFile(args.back(), BuildRls(cels));
    return 0;
}

// What show writes: a picture and its 256 colours.
struct Shown {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::vector<PngColor> palette;
};

// The bitmap's picture as top-down rows of exactly its width.
void TakePixels(CDibSect* bitmap, Shown& shown)
{
    if (!bitmap || !bitmap->LockBits())
        throw std::runtime_error("the frame is damaged: it decodes to no picture");
    const PixelRows rows = bitmap->GetPixelRows();
    shown.width = rows.width;
    shown.height = rows.rows;
    for (int32_t y = 0; y < rows.rows; ++y)
        shown.pixels.insert(shown.pixels.end(), rows.Row(y), rows.Row(y) + rows.width);
    bitmap->UnlockBits();
}

void CheckFrame(const std::string& what, int64_t frame, int16_t count)
{
    if (frame >= count)
        throw std::runtime_error(what + " has no frame " + std::to_string(frame) + " (it has " +
                                 std::to_string(count) + ")");
}

// What show is asked for besides the resource.
struct ShowOptions {
    int16_t frame = 0;
    int32_t paletteId = 0;
    bool withPalette = false;
    // A sprite cel stretched into a picture of width x height (0: drawn at its own size).
    int32_t width = 0;
    int32_t height = 0;
    bool mirror = false;
};

constexpr int64_t kMaxStretched = 4096;

// The options between the resource number and the output file.
ShowOptions ParseShowOptions(const std::vector<std::string>& args)
{
    ShowOptions options;
    bool mirror = false;
    const size_t end = args.size() - 1;
    const auto value = [&](size_t& i) -> const std::string& {
        if (++i >= end)
            Usage();
        return args[i];
    };
    for (size_t i = 4; i < end; ++i) {
        if (args[i] == "--frame") {
            options.frame = static_cast<int16_t>(ParseNumber(value(i), 0, INT16_MAX, "frame"));
        } else if (args[i] == "--palette") {
            options.paletteId = static_cast<int32_t>(ParseNumber(value(i), INT32_MIN, INT32_MAX, "palette"));
            options.withPalette = true;
        } else if (args[i] == "--stretch") {
            options.width = static_cast<int32_t>(ParseNumber(value(i), 1, kMaxStretched, "width"));
            options.height = static_cast<int32_t>(ParseNumber(value(i), 1, kMaxStretched, "height"));
        } else if (args[i] == "--mirror") {
            mirror = true;
        } else {
            throw std::runtime_error("unknown option: " + args[i]);
        }
    }
    if (mirror && options.width == 0)
        throw std::runtime_error("--mirror goes with --stretch");
    options.mirror = mirror;
    return options;
}

// Cel n of a sprite drawn by the stretched draw into a picture of 255, its index 0
// transparent.
void StretchShown(std::unique_ptr<CMemory> block, const ShowOptions& options, const std::string& what,
                  Shown& shown)
{
    CCelList cels(std::move(block));
    CheckFrame(what, options.frame, cels.GetCount());
    const CRect position(0, 0, static_cast<int16_t>(options.height), static_cast<int16_t>(options.width));
    CDibSect picture(position, CPoint(0, 0), 8, 0xFF);
    DrawRecord record{DrawRleStretched, {options.frame, 0, options.mirror ? 1 : 0, 0}, 0};
    DrawRleStretched(cels.GetBlock(), &picture, position, &record);
    TakePixels(&picture, shown);
}

// Decodes frame (or cel) n of the resource as the engine does.
void DecodeShown(const std::string& type, std::unique_ptr<CMemory> block, int16_t frame,
                 const std::string& what, Shown& shown)
{
    if (type == "CBM") {
        CBitmapSet set(std::move(block));
        CheckFrame(what, frame, set.GetCount());
        TakePixels(set.GetEntry(frame), shown);
    } else if (type == "IMV") {
        CFrameSet set(std::move(block));
        CheckFrame(what, frame, set.GetCount());
        set.GoToFrame(frame); // replays frames 0 to n
        TakePixels(set.GetBitmap(), shown);
    } else {
        CCelList cels(std::move(block));
        CheckFrame(what, frame, cels.GetCount());
        TakePixels(cels.MakeBitmap(frame).get(), shown); // filled with 255, index 0 transparent
    }
}

// The engine's palette built from "CLT" id, or a grey ramp without one.
void ShownPalette(int64_t id, bool given, const std::string& library, Shown& shown)
{
    if (!given) {
        for (int i = 0; i < 256; ++i)
            shown.palette.push_back(
                {static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
        return;
    }
    std::unique_ptr<CRsrcBlock> table =
        GetLibMgr()->LoadResource("CLT", static_cast<int32_t>(id), 0xFFFFFFFF, false);
    if (!table)
        throw std::runtime_error(library + ": no resource CLT " + std::to_string(id));
    const CPalette palette(table.release());
    for (int i = 0; i < 256; ++i) {
        PngColor c;
        palette.GetEntry(i, &c.r, &c.g, &c.b);
        shown.palette.push_back(c);
    }
}

int Show(const std::vector<std::string>& args)
{
    if (args.size() < 5)
        Usage();
    std::string type = args[2];
    for (char& c : type)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (type != "CBM" && type != "IMV" && type != "RLS")
        throw std::runtime_error("cannot show " + args[2] + " resources (CBM, IMV or RLS)");
    const auto id = static_cast<int32_t>(ParseNumber(args[3], INT32_MIN, INT32_MAX, "number"));
    const ShowOptions options = ParseShowOptions(args);
    if (options.width && type != "RLS")
        throw std::runtime_error("--stretch draws RLS sprites only");
    const std::string what = type + " " + std::to_string(id);
    Shown shown;
    EngineLibrary library(args[1]);
    library.Run([&] {
        std::unique_ptr<CRsrcBlock> block = GetLibMgr()->LoadResource(type.c_str(), id, 0xFFFFFFFF, false);
        if (!block)
            throw std::runtime_error(args[1] + ": no resource " + what);
        if (options.width)
            StretchShown(std::move(block), options, what, shown);
        else
            DecodeShown(type, std::move(block), options.frame, what, shown);
        ShownPalette(options.paletteId, options.withPalette, args[1], shown);
    });
    if (shown.width < 1 || shown.height < 1)
        throw std::runtime_error(what + ": frame " + std::to_string(options.frame) + " is empty");
    WriteIndexedPng(args.back(), shown.width, shown.height, shown.pixels, shown.palette);
    return 0;
}

} // namespace

int RunQmImg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "clt")
            return Clt(args, out);
        if (command == "cbm")
            return Cbm(args);
        if (command == "imv")
            return Imv(args);
        if (command == "rls")
            return Rls(args);
        if (command == "show")
            return Show(args);
        if (command.empty())
            Usage();
        throw std::runtime_error("unknown command: " + command);
    } catch (const std::exception& e) {
        WriteToolError(err, "qmimg", e.what());
    }
    return 1;
}
