#pragma once
// Video clips: "SMK2"/"SMK4" files decoded by FFmpeg, behind the operations the engine's video
// frame needs. FFmpeg's demuxer reads the clip in order and can only go back to its start,
// so going back to a frame rewinds and decodes forward to it.
//
// A clip has a current frame (0-based; FrameCount() - 1 at the last). Its video packet is
// read as soon as it becomes current, so its palette (and the new-palette flag) are known
// before DoFrame decodes it; the sound stored with it goes to the tracks' voices then.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace plat {

class SoundDevice;

// Open flags. The tracks to play: all, or track n (1-7) alone.
constexpr uint32_t kClipAllTracks = 0xFE000;
constexpr uint32_t ClipTrackBit(int n) { return 0x2000u << (n - 1); }
// Frames are never dropped here: the flag is accepted and changes nothing.
constexpr uint32_t kClipNoSkip = 0x400;

// Where DoFrame writes the picture: rows of `pitch` bytes, `height` of them, the last row
// first when bottomUp. A target smaller than the clip gets the part that fits.
struct ClipTarget {
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* pixels = nullptr;
    bool bottomUp = false;
};

// What the clip's header says of a sound track (rate 0: no track).
struct ClipTrack {
    uint32_t rate = 0;
    int channels = 0;
    int bits = 0;
};

struct ClipInfo {
    int32_t width = 0;
    int32_t height = 0;
    int32_t frames = 0;         // complete frames in the data (never more than the header says)
    int32_t frameTimeField = 0; // as stored: v > 0 milliseconds, v < 0 units of 10 microseconds
    std::array<ClipTrack, 7> tracks{};

    // The frame time in microseconds (v x 1000 or -v x 10).
    int64_t FrameTimeUs() const;
};

class VideoClip {
public:
    struct State;

    // Opens a whole file, a byte range of a file, or bytes in memory. Null when the clip
    // cannot be played: not a clip, a width or height of 0 or over 4096, no complete frame,
    // trees the decoder refuses. `error` (optional) gets the reason.
    static std::unique_ptr<VideoClip> OpenFile(const std::filesystem::path& path, uint32_t flags,
                                               SoundDevice* device, std::string* error = nullptr);
    static std::unique_ptr<VideoClip> OpenRange(const std::filesystem::path& path, int64_t offset,
                                                int64_t size, uint32_t flags, SoundDevice* device,
                                                std::string* error = nullptr);
    static std::unique_ptr<VideoClip> OpenMemory(std::vector<uint8_t> bytes, uint32_t flags,
                                                 SoundDevice* device, std::string* error = nullptr);
    ~VideoClip();
    VideoClip(const VideoClip&) = delete;
    VideoClip& operator=(const VideoClip&) = delete;

    const ClipInfo& Info() const;
    int32_t Width() const { return Info().width; }
    int32_t Height() const { return Info().height; }
    int32_t FrameCount() const { return Info().frames; }
    int32_t CurrentFrame() const;

    // The current frame brings a palette (always after opening and after GoTo).
    bool NewPalette() const;
    void SetNewPalette(bool changed);
    // 256 x red, green, blue of the current frame (the stored 6-bit v shown as v x 4 + v / 16).
    // Callers may overwrite it; the clip's own colours stay in use for ColorRemap.
    std::array<uint8_t, 768>& Palette();

    // null: decode only.
    void SetTarget(const ClipTarget* target);
    // Decodes the current frame into the target; the frame last decoded writes the same
    // picture again. A frame that fails to decode leaves the picture as it was.
    void DoFrame();
    void NextFrame();
    // Goes to frame n (1-based; below 1 is 1, past the count the last).
    void GoTo(int32_t n);
    // The changed rectangle of the last DoFrame: the bounding box of the pixels that changed,
    // the whole frame after opening, GoTo or a palette change; false when none is left.
    bool NextRect(Rect& rect);

    // True while the next frame is not yet due on the platform clock.
    bool Wait();

    // From now on the picture's colours are those of the clip's palette nearest to each
    // colour in `palette` (count entries of red, green, blue), the same index winning ties.
    void ColorRemap(const uint8_t* palette, int count);

    // Sound: keeps the voices fed; pauses or resumes them; volume 0..32768 (gain v / 32768)
    // and pan 0..65536 for the tracks in the mask.
    void SoundCheck();
    void SoundOnOff(bool on);
    void VolumePan(uint32_t trackMask, int32_t volume, int32_t pan);
    // Every block of samples handed to a track's voice, as it goes (also without a device).
    using SoundTap = std::function<void(int track, const uint8_t* data, size_t bytes)>;
    void SetSoundTap(SoundTap tap);

    explicit VideoClip(std::unique_ptr<State> state);

private:
    std::unique_ptr<State> s_;
};

} // namespace plat
