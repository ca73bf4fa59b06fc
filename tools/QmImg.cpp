#include "tools/QmImg.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>

#include "tools/ImageEncoder.h"
#include "tools/PngImage.h"
#include "tools/SpriteEncoder.h"

namespace fs = std::filesystem;

namespace {

// A colour table of up to this many entries lands at palette index 10 on; a longer one
// starts at index 0. Indices 0-9 and 246-255 always hold the system's fixed colours.
constexpr size_t kMaxMiddleColours = 236;

[[noreturn]] void Usage()
{
    throw std::runtime_error(
        "usage: qmimg clt PALETTE.png OUT | cbm IN.png... OUT | imv IN.png... OUT | "
        "rls IN.png... OUT | show LIBRARY TYPE NUMBER [--frame N] [--palette ID] OUT.png");
}

void WriteWholeFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error(path.string() + ": cannot write");
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
        if (command.empty())
            Usage();
        throw std::runtime_error("unknown command: " + command);
    } catch (const std::exception& e) {
        err << "qmimg: " << e.what() << '\n';
    }
    return 1;
}
