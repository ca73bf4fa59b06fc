#include "tools/QmSnd.h"

#include <climits>
#include <ostream>
#include <stdexcept>

#include "engine/media/SndStrm.h"
#include "tools/EngineLibrary.h"
#include "tools/SoundEncoder.h"
#include "tools/ToolArgs.h"
#include "tools/ToolFiles.h"
#include "tools/ToolMessages.h"
#include "tools/WavFile.h"

namespace {

constexpr uint32_t kAllLibraries = 0xFFFFFFFF;
constexpr int32_t kReadBytes = 32768;

[[noreturn]] void Usage()
{
    throw std::runtime_error("usage: qmsnd make IN.wav OUT [--mode M] [--level L] [--seek-every N] "
                             "[--state-width W] | wav LIBRARY NUMBER OUT.wav [--streamed] [--seek POS] | "
                             "info LIBRARY NUMBER");
}

int Make(const std::vector<std::string>& args)
{
    if (args.size() < 3 || args.size() % 2 == 0)
        Usage();
    CsnOptions options;
    for (size_t i = 3; i + 1 < args.size(); i += 2) {
        const std::string& value = args[i + 1];
        if (args[i] == "--mode")
            options.mode = static_cast<int>(ParseNumber(value, 0, 4, "mode"));
        else if (args[i] == "--level")
            options.level = static_cast<int32_t>(ParseNumber(value, 0, 255, "level"));
        else if (args[i] == "--seek-every")
            options.seekEvery = static_cast<int32_t>(ParseNumber(value, 1, INT32_MAX, "seek-every"));
        else if (args[i] == "--state-width")
            options.stateWidth = static_cast<int>(ParseNumber(value, INT32_MIN, INT32_MAX, "state-width"));
        else
            throw std::runtime_error("unknown option: " + args[i]);
    }
    const PcmSound sound = ReadWav(args[1]);
    WriteWholeFile(args[2], EncodeCsn(sound, options));
    return 0;
}

std::string What(int32_t id) { return "CSN " + std::to_string(id); }

// Opens the sound as the engine does; throws when it is missing or cannot be opened.
int32_t OpenSound(CSndStrm& sound, const std::string& library, bool fromFile)
{
    if (!sound.IsFound())
        throw std::runtime_error(library + ": no resource " + What(sound.GetResourceId()));
    const int32_t length = sound.Open(fromFile);
    if (length <= 0)
        throw std::runtime_error(What(sound.GetResourceId()) + " is damaged or cut short");
    return length;
}

// Decodes from the stream's position to the end; throws when the data is damaged.
std::vector<uint8_t> ReadToEnd(CSndStrm& sound, int32_t expected)
{
    std::vector<uint8_t> data;
    std::vector<uint8_t> piece(kReadBytes);
    for (;;) {
        int32_t count = kReadBytes;
        const int16_t status = sound.Read(piece.data(), count);
        if ((status != CDecodeStrm::kOk && status != CDecodeStrm::kEnd) ||
            (status == CDecodeStrm::kOk && count == 0))
            break;
        data.insert(data.end(), piece.begin(), piece.begin() + count);
        if (status == CDecodeStrm::kEnd && static_cast<int32_t>(data.size()) == expected)
            return data;
        if (status == CDecodeStrm::kEnd || static_cast<int32_t>(data.size()) > expected)
            break;
    }
    throw std::runtime_error(What(sound.GetResourceId()) + " is damaged or cut short");
}

int Wav(const std::vector<std::string>& args)
{
    if (args.size() < 4)
        Usage();
    const auto id = static_cast<int32_t>(ParseNumber(args[2], INT32_MIN, INT32_MAX, "number"));
    bool streamed = false;
    int64_t seek = -1;
    for (size_t i = 4; i < args.size(); ++i) {
        if (args[i] == "--streamed")
            streamed = true;
        else if (args[i] == "--seek" && i + 1 < args.size())
            seek = ParseNumber(args[++i], 0, INT32_MAX, "seek position");
        else
            throw std::runtime_error("unknown option: " + args[i]);
    }
    PcmSound pcm;
    EngineLibrary library(args[1]);
    library.Run([&] {
        CSndStrm sound(id, kAllLibraries);
        const int32_t length = OpenSound(sound, args[1], streamed);
        pcm.channels = static_cast<uint16_t>(sound.GetChannels());
        pcm.bits = static_cast<uint16_t>(sound.GetBitsPerSample());
        pcm.rate = static_cast<uint32_t>(sound.GetSampleRate());
        int32_t from = 0;
        if (seek >= 0) {
            if (seek > length || seek % pcm.FrameBytes() != 0)
                throw std::runtime_error("seek position " + std::to_string(seek) + " (whole frames of " +
                                         std::to_string(pcm.FrameBytes()) + " bytes, at most " +
                                         std::to_string(length) + ")");
            from = sound.Seek(static_cast<int32_t>(seek));
        }
        pcm.data = ReadToEnd(sound, length - from);
    });
    WriteWholeFile(args[3], WavBytes(pcm));
    return 0;
}

int Info(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.size() != 3)
        Usage();
    const auto id = static_cast<int32_t>(ParseNumber(args[2], INT32_MIN, INT32_MAX, "number"));
    EngineLibrary library(args[1]);
    library.Run([&] {
        CSndStrm sound(id, kAllLibraries);
        const int32_t length = OpenSound(sound, args[1], false);
        out << "channels " << sound.GetChannels() << "\nbits " << sound.GetBitsPerSample() << "\nrate "
            << sound.GetSampleRate() << "\nmode " << sound.GetDecodeMode() << "\nstate-width "
            << sound.GetStateWidth() << "\nlevel " << sound.GetLevel() << "\nlength " << length
            << "\nseek-points " << sound.GetSeekCount() << '\n';
    });
    return 0;
}

} // namespace

int RunQmSnd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "make")
            return Make(args);
        if (command == "wav")
            return Wav(args);
        if (command == "info")
            return Info(args, out);
        if (command.empty())
            Usage();
        throw std::runtime_error("unknown command: " + command);
    } catch (const std::exception& e) {
        WriteToolError(err, "qmsnd", e.what());
    }
    return 1;
}
