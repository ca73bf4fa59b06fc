#include "tools/QmSmk.h"

#include <climits>
#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "engine/media/SmkResource.h"
#include "platform/VideoClip.h"
#include "tools/ClipEncoder.h"
#include "tools/EngineLibrary.h"
#include "tools/PngImage.h"
#include "tools/ToolArgs.h"
#include "tools/ToolFiles.h"
#include "tools/ToolMessages.h"
#include "tools/WavFile.h"

namespace {

constexpr uint32_t kAllLibraries = 0xFFFFFFFF;

[[noreturn]] void Usage()
{
    throw std::runtime_error(
        "usage: qmsmk make [--fps N] [--wav IN.wav] [--raw-audio] OUT.smk FRAME.png... | "
        "info SOURCE | decode SOURCE RGB [AUDIO] [--track T] | show SOURCE --frame N OUT.png "
        "(SOURCE: FILE or --lib LIBRARY NUMBER)");
}

ClipFrame FrameFromPng(const std::string& path, int& width, int& height)
{
    const IndexedImage image = ReadIndexedPng(path);
    if (width == 0) {
        width = image.width;
        height = image.height;
    } else if (image.width != width || image.height != height) {
        throw std::runtime_error(path + ": every frame must be " + std::to_string(width) + " x " +
                                 std::to_string(height));
    }
    ClipFrame f;
    f.pixels = image.pixels;
    for (size_t i = 0; i < image.palette.size() && i < 256; ++i) {
        f.palette[i * 3] = image.palette[i].r;
        f.palette[i * 3 + 1] = image.palette[i].g;
        f.palette[i * 3 + 2] = image.palette[i].b;
    }
    if (image.palette.empty()) // a greyscale picture: its values are the shades
        for (int i = 0; i < 256; ++i)
            f.palette[i * 3] = f.palette[i * 3 + 1] = f.palette[i * 3 + 2] = static_cast<uint8_t>(i);
    return f;
}

int Make(const std::vector<std::string>& args)
{
    ClipSource clip;
    size_t i = 1;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        if (args[i] == "--fps" && i + 1 < args.size())
            clip.fps = static_cast<int>(ParseNumber(args[++i], 1, 100, "fps"));
        else if (args[i] == "--wav" && i + 1 < args.size())
            clip.sound = ReadWav(args[++i]);
        else if (args[i] == "--raw-audio")
            clip.rawSound = true;
        else
            throw std::runtime_error("unknown option: " + args[i]);
    }
    if (args.size() < i + 2)
        Usage();
    const std::string out = args[i];
    for (size_t k = i + 1; k < args.size(); ++k)
        clip.frames.push_back(FrameFromPng(args[k], clip.width, clip.height));
    WriteWholeFile(out, EncodeClip(clip));
    return 0;
}

// Opens SOURCE at args[at] (a file, or --lib LIBRARY NUMBER); `next` gets the index after it.
std::unique_ptr<plat::VideoClip> OpenSource(const std::vector<std::string>& args, size_t at, size_t& next,
                                            uint32_t flags)
{
    if (at >= args.size())
        Usage();
    std::string error;
    std::unique_ptr<plat::VideoClip> clip;
    std::string name = args[at];
    if (args[at] == "--lib") {
        if (at + 2 >= args.size())
            Usage();
        const auto id = static_cast<int32_t>(ParseNumber(args[at + 2], INT32_MIN, INT32_MAX, "number"));
        EngineLibrary library(args[at + 1]);
        library.Run([&] {
            const auto where = FindSmkResource(id, kAllLibraries);
            if (!where)
                throw std::runtime_error(args[at + 1] + ": no resource SMK " + std::to_string(id));
            name = where->spec->GetPath();
            clip = plat::VideoClip::OpenRange(where->hostPath, where->offset, where->size, flags, nullptr,
                                              &error);
        });
        next = at + 3;
    } else {
        clip = plat::VideoClip::OpenFile(args[at], flags, nullptr, &error);
        next = at + 1;
    }
    if (!clip)
        throw std::runtime_error(name + ": cannot play the clip: " + error);
    return clip;
}

int Info(const std::vector<std::string>& args, std::ostream& out)
{
    size_t next = 0;
    const auto clip = OpenSource(args, 1, next, plat::kClipAllTracks);
    if (next != args.size())
        Usage();
    const plat::ClipInfo& info = clip->Info();
    out << "width " << info.width << "\nheight " << info.height << "\nframes " << info.frames
        << "\nframe-time " << info.FrameTimeUs() << '\n';
    for (int t = 0; t < 7; ++t)
        if (info.tracks[t].rate)
            out << "track " << t + 1 << ' ' << info.tracks[t].rate << ' ' << info.tracks[t].channels << ' '
                << info.tracks[t].bits << '\n';
    return 0;
}

int Decode(const std::vector<std::string>& args)
{
    std::vector<std::string> rest;
    int track = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--track" && i + 1 < args.size())
            track = static_cast<int>(ParseNumber(args[++i], 1, 7, "track"));
        else
            rest.push_back(args[i]);
    }
    size_t next = 0;
    auto clip = OpenSource(rest, 1, next, plat::kClipAllTracks);
    if (next + 1 != rest.size() && next + 2 != rest.size())
        Usage();
    const plat::ClipInfo& info = clip->Info();
    if (track == 0) {
        for (int t = 7; t >= 1; --t)
            if (info.tracks[t - 1].rate)
                track = t;
    } else if (!info.tracks[track - 1].rate) {
        throw std::runtime_error("the clip has no track " + std::to_string(track));
    }
    std::vector<uint8_t> sound;
    clip->SetSoundTap([&](int t, const uint8_t* data, size_t bytes) {
        if (t == track)
            sound.insert(sound.end(), data, data + bytes);
    });
    std::vector<uint8_t> picture(static_cast<size_t>(info.width) * info.height);
    const plat::ClipTarget target{info.width, info.width, info.height, picture.data(), false};
    clip->SetTarget(&target);
    std::vector<uint8_t> rgb;
    rgb.reserve(picture.size() * 3 * info.frames);
    for (int32_t k = 0; k < info.frames; ++k) {
        const auto palette = clip->Palette();
        clip->DoFrame();
        for (uint8_t p : picture)
            rgb.insert(rgb.end(), {palette[p * 3], palette[p * 3 + 1], palette[p * 3 + 2]});
        clip->NextFrame();
    }
    WriteWholeFile(rest[next], rgb);
    if (next + 2 == rest.size())
        WriteWholeFile(rest[next + 1], sound);
    return 0;
}

int Show(const std::vector<std::string>& args)
{
    size_t next = 0;
    const auto clip = OpenSource(args, 1, next, plat::kClipAllTracks);
    if (next + 3 != args.size() || args[next] != "--frame")
        Usage();
    const plat::ClipInfo& info = clip->Info();
    // Frames count from 0, as qmimg show counts them; the clip layer counts from 1.
    const auto n = static_cast<int32_t>(ParseNumber(args[next + 1], 0, info.frames - 1, "frame"));
    std::vector<uint8_t> picture(static_cast<size_t>(info.width) * info.height);
    const plat::ClipTarget target{info.width, info.width, info.height, picture.data(), false};
    clip->SetTarget(&target);
    clip->GoTo(n + 1);
    const auto palette = clip->Palette();
    clip->DoFrame();
    std::vector<PngColor> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[i] = {palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2]};
    WriteIndexedPng(args[next + 2], info.width, info.height, picture, colors);
    return 0;
}

} // namespace

int RunQmSmk(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "make")
            return Make(args);
        if (command == "info")
            return Info(args, out);
        if (command == "decode")
            return Decode(args);
        if (command == "show")
            return Show(args);
        if (command.empty())
            Usage();
        throw std::runtime_error("unknown command: " + command);
    } catch (const std::exception& e) {
        WriteToolError(err, "qmsmk", e.what());
    }
    return 1;
}
