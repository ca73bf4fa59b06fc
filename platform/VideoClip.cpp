#include "platform/VideoClip.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/Clock.h"
#include "platform/SoundDevice.h"
#include "platform/VideoSource.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace plat {

namespace {

constexpr int64_t kDefaultFrameUs = 100000;
constexpr int kMaxPacketsPerFrame = 16;
constexpr uint32_t kRingSeconds = 2;

struct CodecDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

CodecPtr OpenDecoder(const AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return nullptr;
    CodecPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx || avcodec_parameters_to_context(ctx.get(), stream->codecpar) < 0 ||
        avcodec_open2(ctx.get(), codec, nullptr) < 0)
        return nullptr;
    return ctx;
}

// Hundredths of a decibel for a gain of 0..1 (-10000 for silence).
int32_t GainToVolume(double gain)
{
    if (gain <= 0.0001)
        return -10000;
    return std::max<int32_t>(-10000,
                             static_cast<int32_t>(std::lround(2000.0 * std::log10(std::min(gain, 1.0)))));
}

// Sound decoded with a frame's packets, waiting for the frame to be shown.
struct PendingSound {
    std::vector<uint8_t> bytes;
    SoundFormat format;
};

// One track's voice on the sound device: a ring written as the frames bring sound.
struct Voice {
    std::unique_ptr<SoundBuffer> buffer;
    uint32_t writeAt = 0;
    bool written = false;
};

} // namespace

int64_t ClipInfo::FrameTimeUs() const
{
    if (frameTimeField > 0)
        return int64_t{frameTimeField} * 1000;
    return -int64_t{frameTimeField} * 10;
}

struct VideoClip::State {
    std::unique_ptr<ClipBytes> source;
    int64_t ioPos = 0;
    uint32_t flags = 0;
    SoundDevice* device = nullptr;
    ClipInfo info;

    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    int videoStream = -1;
    std::array<int, 16> trackOfStream{}; // 1-7, 0 for none
    CodecPtr video;
    std::array<CodecPtr, 8> audio;
    PacketPtr packet{av_packet_alloc()};
    PacketPtr held{av_packet_alloc()};
    bool hasHeld = false;
    FramePtr frame{av_frame_alloc()};

    int32_t current = 0;
    int32_t lastRead = -1;
    int32_t decoded = -1;

    std::vector<uint8_t> picture; // the clip's own indices, last good decode
    std::vector<uint8_t> shown;   // what the last DoFrame wrote (after the remap)
    std::array<uint8_t, 768> clipPalette{};
    std::array<uint8_t, 768> palette{};
    bool newPalette = true;
    bool wholeRect = true;
    std::optional<Rect> pendingRect;
    std::optional<ClipTarget> target;

    std::optional<std::vector<uint8_t>> remapTo;
    std::array<uint8_t, 256> remap{};
    bool remapIdentity = true;
    std::vector<uint8_t> scratch; // the next picture, swapped with `shown`
    bool remapStale = true;

    bool timed = false;
    int64_t lastDueUs = 0;

    std::array<PendingSound, 8> pendingSound;
    std::array<Voice, 8> voices;
    std::array<int32_t, 8> trackVolume{};
    std::array<int32_t, 8> trackPan{};
    bool soundOn = true;
    SoundTap tap;

    ~State() { CloseFormat(); }

    void CloseFormat()
    {
        video.reset();
        for (auto& a : audio)
            a.reset();
        if (format)
            avformat_close_input(&format);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }

    static int ReadIo(void* opaque, uint8_t* buf, int size)
    {
        auto* s = static_cast<State*>(opaque);
        const int n = s->source->Read(s->ioPos, buf, size);
        s->ioPos += n;
        return n > 0 ? n : AVERROR_EOF;
    }
    static int64_t SeekIo(void* opaque, int64_t offset, int whence)
    {
        auto* s = static_cast<State*>(opaque);
        const int64_t size = s->source->Size();
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE: return size;
        case SEEK_SET: break;
        case SEEK_CUR: offset += s->ioPos; break;
        case SEEK_END: offset += size; break;
        default: return -1;
        }
        if (offset < 0)
            return -1;
        s->ioPos = offset;
        return offset;
    }

    // Opens the demuxer and fresh decoders at the clip's start.
    bool OpenFormat(std::string& error)
    {
        CloseFormat();
        ioPos = 0;
        constexpr int kIoBuffer = 32768;
        auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBuffer));
        if (!buffer)
            return false;
        io = avio_alloc_context(buffer, kIoBuffer, 0, this, &ReadIo, nullptr, &SeekIo);
        if (!io) {
            av_free(buffer);
            return false;
        }
        format = avformat_alloc_context();
        if (!format)
            return false;
        format->pb = io;
        format->flags |= AVFMT_FLAG_CUSTOM_IO;
        if (avformat_open_input(&format, nullptr, av_find_input_format("smk"), nullptr) < 0) {
            format = nullptr; // freed by the failed open
            error = "the decoder does not read it as a clip";
            return false;
        }
        trackOfStream.fill(0);
        videoStream = -1;
        size_t nextTrack = 0;
        for (unsigned i = 0; i < format->nb_streams && i < trackOfStream.size(); ++i) {
            AVStream* st = format->streams[i];
            if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && videoStream < 0) {
                videoStream = static_cast<int>(i);
                continue;
            }
            while (nextTrack < info.tracks.size() && info.tracks[nextTrack].rate == 0)
                ++nextTrack;
            const int track = nextTrack < info.tracks.size() ? static_cast<int>(++nextTrack) : 0;
            st->discard = AVDISCARD_ALL;
            if (track == 0 || !(flags & ClipTrackBit(track)))
                continue;
            audio[track] = OpenDecoder(st);
            if (audio[track]) {
                trackOfStream[i] = track;
                st->discard = AVDISCARD_DEFAULT;
            }
        }
        if (videoStream < 0 || !(video = OpenDecoder(format->streams[videoStream]))) {
            error = "its picture trees are damaged";
            return false;
        }
        lastRead = -1;
        decoded = -1;
        hasHeld = false;
        return true;
    }

    void Rewind()
    {
        std::string error;
        bool ok = av_seek_frame(format, -1, 0, AVSEEK_FLAG_BACKWARD) >= 0;
        if (ok) {
            // Fresh decoders: the picture decoder keeps its last picture for unchanged blocks.
            for (unsigned i = 0; i < format->nb_streams && i < trackOfStream.size(); ++i)
                if (trackOfStream[i])
                    audio[trackOfStream[i]] = OpenDecoder(format->streams[i]);
            video = OpenDecoder(format->streams[videoStream]);
            ok = video != nullptr;
        }
        if (!ok)
            OpenFormat(error);
        lastRead = -1;
        decoded = -1;
        hasHeld = false;
    }

    // Reads the next frame's packets: its video packet is held for decoding and, with
    // `withSound`, its sound is decoded and kept until the frame is shown. A frame the
    // demuxer cannot read leaves nothing held.
    void ReadNext(bool withSound)
    {
        ++lastRead;
        hasHeld = false;
        for (auto& p : pendingSound)
            p.bytes.clear();
        for (int n = 0; n < kMaxPacketsPerFrame; ++n) {
            av_packet_unref(packet.get());
            if (av_read_frame(format, packet.get()) < 0)
                return;
            const int index = packet->stream_index;
            if (index == videoStream) {
                av_packet_unref(held.get());
                av_packet_move_ref(held.get(), packet.get());
                hasHeld = true;
                TakePalette();
                return;
            }
            if (index >= 0 && index < static_cast<int>(trackOfStream.size()) && trackOfStream[index] &&
                withSound)
                DecodeSound(trackOfStream[index]);
        }
    }

    // Hands the sound read with the frame now shown to the voices.
    void FeedPending()
    {
        for (int t = 1; t < 8; ++t) {
            PendingSound& p = pendingSound[t];
            if (p.bytes.empty())
                continue;
            if (tap)
                tap(t, p.bytes.data(), p.bytes.size());
            Feed(t, p.bytes.data(), p.bytes.size(), p.format);
            p.bytes.clear();
        }
    }

    void TakePalette()
    {
        if (held->size < 769)
            return;
        if (held->data[0] & 1 || lastRead == 0) {
            std::memcpy(clipPalette.data(), held->data + 1, clipPalette.size());
            palette = clipPalette;
            newPalette = true;
            remapStale = true;
        }
    }

    // Decodes the held packet (reading it first when needed) into the picture.
    void DecodeNext(bool feed)
    {
        if (lastRead <= decoded)
            ReadNext(feed);
        ++decoded;
        if (feed)
            FeedPending();
        if (!hasHeld)
            return;
        hasHeld = false;
        if (avcodec_send_packet(video.get(), held.get()) < 0)
            return;
        if (avcodec_receive_frame(video.get(), frame.get()) < 0)
            return;
        if (frame->format == AV_PIX_FMT_PAL8 && frame->width == info.width && frame->height == info.height) {
            for (int y = 0; y < info.height; ++y)
                std::memcpy(picture.data() + static_cast<size_t>(y) * info.width,
                            frame->data[0] + static_cast<ptrdiff_t>(y) * frame->linesize[0],
                            static_cast<size_t>(info.width));
        }
        av_frame_unref(frame.get());
    }

    void DecodeSound(int track)
    {
        AVCodecContext* ctx = audio[track].get();
        if (!ctx || avcodec_send_packet(ctx, packet.get()) < 0)
            return;
        while (avcodec_receive_frame(ctx, frame.get()) >= 0) {
            const auto fmt = static_cast<AVSampleFormat>(frame->format);
            const int channels = frame->ch_layout.nb_channels;
            if ((fmt == AV_SAMPLE_FMT_U8 || fmt == AV_SAMPLE_FMT_S16) && channels >= 1 && channels <= 2) {
                const size_t bytes =
                    static_cast<size_t>(frame->nb_samples) * channels * av_get_bytes_per_sample(fmt);
                PendingSound& p = pendingSound[track];
                p.bytes.insert(p.bytes.end(), frame->data[0], frame->data[0] + bytes);
                p.format = {static_cast<uint16_t>(channels), static_cast<uint32_t>(frame->sample_rate),
                            static_cast<uint16_t>(fmt == AV_SAMPLE_FMT_U8 ? 8 : 16)};
            }
            av_frame_unref(frame.get());
        }
    }

    void Feed(int track, const uint8_t* data, size_t bytes, const SoundFormat& format)
    {
        if (!device || bytes == 0 || format.rate == 0)
            return;
        Voice& v = voices[track];
        if (!v.buffer) {
            const uint32_t frameBytes = uint32_t{format.channels} * (format.bits / 8u);
            v.buffer = device->CreateBuffer(format, format.rate * frameBytes * kRingSeconds);
            if (!v.buffer)
                return;
            ApplyVolume(track);
        }
        const uint32_t size = v.buffer->GetSize();
        bytes = std::min<size_t>(bytes, size);
        SoundRegion a, b;
        if (v.buffer->Lock(v.writeAt, static_cast<uint32_t>(bytes), a, b) != SoundResult::Ok)
            return;
        std::memcpy(a.data, data, a.bytes);
        if (b.data)
            std::memcpy(b.data, data + a.bytes, b.bytes);
        v.buffer->Unlock(a, b);
        v.writeAt = static_cast<uint32_t>((v.writeAt + bytes) % size);
        if (!v.written && soundOn)
            v.buffer->Play(true);
        v.written = true;
    }

    void ApplyVolume(int track)
    {
        Voice& v = voices[track];
        if (!v.buffer)
            return;
        const double p = trackPan[track];
        const double left = trackVolume[track] / 32768.0 * std::min(1.0, (65536.0 - p) / 32768.0);
        const double right = trackVolume[track] / 32768.0 * std::min(1.0, p / 32768.0);
        const double loud = std::max(left, right);
        v.buffer->SetVolume(GainToVolume(loud));
        int32_t pan = 0; // hundredths of a decibel off the quieter side
        if (loud > 0 && right < loud)
            pan = GainToVolume(right / loud);
        else if (loud > 0 && left < loud)
            pan = -GainToVolume(left / loud);
        v.buffer->SetPan(pan);
    }

    void BuildRemap()
    {
        remapStale = false;
        remapIdentity = true;
        for (int i = 0; i < 256; ++i)
            remap[i] = static_cast<uint8_t>(i);
        if (!remapTo)
            return;
        const auto& to = *remapTo;
        const int count = static_cast<int>(to.size() / 3);
        for (int i = 0; i < 256; ++i) {
            int best = -1;
            int bestDistance = 0;
            for (int j = 0; j < count; ++j) {
                const int dr = to[j * 3] - clipPalette[i * 3];
                const int dg = to[j * 3 + 1] - clipPalette[i * 3 + 1];
                const int db = to[j * 3 + 2] - clipPalette[i * 3 + 2];
                const int d = dr * dr + dg * dg + db * db;
                if (best < 0 || d < bestDistance || (d == bestDistance && j == i)) {
                    best = j;
                    bestDistance = d;
                }
            }
            remap[i] = static_cast<uint8_t>(std::max(best, 0));
            remapIdentity = remapIdentity && remap[i] == i;
        }
    }

    void WriteTarget()
    {
        if (!target || !target->pixels)
            return;
        const int w = std::min(target->width, info.width);
        const int h = std::min(target->height, info.height);
        for (int y = 0; y < h; ++y) {
            uint8_t* row =
                target->pixels +
                static_cast<ptrdiff_t>(target->bottomUp ? target->height - 1 - y : y) * target->pitch;
            std::memcpy(row, shown.data() + static_cast<size_t>(y) * info.width, static_cast<size_t>(w));
        }
    }

    Rect ChangedRect(const std::vector<uint8_t>& next) const
    {
        Rect r{info.width, info.height, 0, 0};
        for (int y = 0; y < info.height; ++y) {
            const uint8_t* a = next.data() + static_cast<size_t>(y) * info.width;
            const uint8_t* b = shown.data() + static_cast<size_t>(y) * info.width;
            if (std::memcmp(a, b, static_cast<size_t>(info.width)) == 0)
                continue;
            int x0 = 0;
            while (a[x0] == b[x0])
                ++x0;
            int x1 = info.width - 1;
            while (a[x1] == b[x1])
                --x1;
            r = {std::min(r.left, x0), std::min(r.top, y), std::max(r.right, x1 + 1), y + 1};
        }
        return r;
    }
};

namespace {

// Reads what the frame needs of the header and counts the complete frames, trusting no size.
bool ReadHeader(ClipBytes& src, ClipInfo& info, std::string& error)
{
    uint8_t h[104];
    if (src.Read(0, h, sizeof h) != static_cast<int>(sizeof h) ||
        (std::memcmp(h, "SMK2", 4) != 0 && std::memcmp(h, "SMK4", 4) != 0)) {
        error = "not a clip";
        return false;
    }
    auto le = [&](int at) {
        return uint32_t{h[at]} | uint32_t{h[at + 1]} << 8 | uint32_t{h[at + 2]} << 16 |
               uint32_t{h[at + 3]} << 24;
    };
    const uint32_t width = le(4), height = le(8);
    uint64_t frames = le(12);
    if (le(20) & 1)
        ++frames;
    if (width == 0 || height == 0 || width > 4096 || height > 4096) {
        error = "its picture is " + std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    const uint64_t treeSize = le(52);
    const int64_t size = src.Size();
    if (frames > 0xFFFFFF || 104 + frames * 5 + treeSize > static_cast<uint64_t>(size)) {
        error = "its frame table runs past its end";
        return false;
    }
    std::vector<uint8_t> table(frames * 4);
    if (src.Read(104, table.data(), static_cast<int>(table.size())) != static_cast<int>(table.size())) {
        error = "cannot read its frame table";
        return false;
    }
    uint64_t at = 104 + frames * 5 + treeSize;
    int32_t complete = 0;
    for (uint64_t k = 0; k < frames; ++k) {
        const uint32_t v = uint32_t{table[k * 4]} | uint32_t{table[k * 4 + 1]} << 8 |
                           uint32_t{table[k * 4 + 2]} << 16 | uint32_t{table[k * 4 + 3]} << 24;
        at += v & ~3u;
        if (at > static_cast<uint64_t>(size))
            break;
        ++complete;
    }
    if (complete == 0) {
        error = "it holds no complete frame";
        return false;
    }
    info.width = static_cast<int32_t>(width);
    info.height = static_cast<int32_t>(height);
    info.frames = complete;
    info.frameTimeField = static_cast<int32_t>(le(16));
    for (int t = 0; t < 7; ++t) {
        const uint32_t field = le(72 + 4 * t);
        const uint32_t rate = field & 0xFFFFFF;
        if (rate)
            info.tracks[t] = {rate, field & 0x10000000 ? 2 : 1, field & 0x20000000 ? 16 : 8};
    }
    return true;
}

} // namespace

std::unique_ptr<VideoClip> OpenClip(std::unique_ptr<ClipBytes> source, uint32_t flags, SoundDevice* device,
                                    std::string* error)
{
    std::string why;
    auto fail = [&]() -> std::unique_ptr<VideoClip> {
        if (error)
            *error = why;
        return nullptr;
    };
    if (!source) {
        why = "cannot open it";
        return fail();
    }
    av_log_set_level(AV_LOG_QUIET);
    auto s = std::make_unique<VideoClip::State>();
    s->source = std::move(source);
    s->flags = flags;
    s->device = device;
    if (!ReadHeader(*s->source, s->info, why) || !s->OpenFormat(why))
        return fail();
    const size_t pixels = static_cast<size_t>(s->info.width) * s->info.height;
    s->picture.assign(pixels, 0);
    s->shown.assign(pixels, 0);
    s->trackVolume.fill(32768);
    s->trackPan.fill(32768);
    s->ReadNext(true);
    return std::make_unique<VideoClip>(std::move(s));
}

VideoClip::VideoClip(std::unique_ptr<State> state) : s_(std::move(state)) {}
VideoClip::~VideoClip() = default;

std::unique_ptr<VideoClip> VideoClip::OpenFile(const std::filesystem::path& path, uint32_t flags,
                                               SoundDevice* device, std::string* error)
{
    return OpenClip(OpenFileSource(path, 0, -1), flags, device, error);
}

std::unique_ptr<VideoClip> VideoClip::OpenRange(const std::filesystem::path& path, int64_t offset,
                                                int64_t size, uint32_t flags, SoundDevice* device,
                                                std::string* error)
{
    return OpenClip(OpenFileSource(path, offset, size), flags, device, error);
}

std::unique_ptr<VideoClip> VideoClip::OpenMemory(std::vector<uint8_t> bytes, uint32_t flags,
                                                 SoundDevice* device, std::string* error)
{
    return OpenClip(std::make_unique<MemorySource>(std::move(bytes)), flags, device, error);
}

const ClipInfo& VideoClip::Info() const { return s_->info; }
int32_t VideoClip::CurrentFrame() const { return s_->current; }
bool VideoClip::NewPalette() const { return s_->newPalette; }
void VideoClip::SetNewPalette(bool changed) { s_->newPalette = changed; }
std::array<uint8_t, 768>& VideoClip::Palette() { return s_->palette; }

void VideoClip::SetTarget(const ClipTarget* target)
{
    if (target)
        s_->target = *target;
    else
        s_->target.reset();
}

void VideoClip::DoFrame()
{
    State& s = *s_;
    while (s.decoded < s.current)
        s.DecodeNext(s.decoded + 1 == s.current);
    if (s.remapStale)
        s.BuildRemap();
    std::vector<uint8_t>& next = s.scratch;
    next.resize(s.picture.size());
    if (s.remapIdentity)
        std::memcpy(next.data(), s.picture.data(), next.size());
    else
        for (size_t i = 0; i < next.size(); ++i)
            next[i] = s.remap[s.picture[i]];
    const Rect whole{0, 0, s.info.width, s.info.height};
    const Rect changed = s.wholeRect || s.newPalette ? whole : s.ChangedRect(next);
    s.wholeRect = false;
    if (changed.Empty())
        s.pendingRect.reset();
    else
        s.pendingRect = changed;
    std::swap(s.shown, next);
    s.WriteTarget();

    const int64_t nowUs = static_cast<int64_t>(GetClock().NowMs()) * 1000;
    const int64_t frameUs = s.info.FrameTimeUs() > 0 ? s.info.FrameTimeUs() : kDefaultFrameUs;
    if (!s.timed || nowUs < s.lastDueUs + frameUs || nowUs - (s.lastDueUs + frameUs) > frameUs)
        s.lastDueUs = nowUs;
    else
        s.lastDueUs += frameUs;
    s.timed = true;
}

void VideoClip::NextFrame()
{
    State& s = *s_;
    if (s.current + 1 >= s.info.frames)
        return;
    s.newPalette = false;
    ++s.current;
    while (s.decoded < s.current - 1)
        s.DecodeNext(false);
    if (s.lastRead < s.current)
        s.ReadNext(true);
}

void VideoClip::GoTo(int32_t n)
{
    State& s = *s_;
    const int32_t target = std::clamp(n, 1, s.info.frames) - 1;
    if (target < s.decoded)
        s.Rewind();
    while (s.decoded < target - 1)
        s.DecodeNext(false);
    s.current = target;
    if (s.lastRead < target)
        s.ReadNext(false);
    s.newPalette = true;
    s.wholeRect = true;
}

bool VideoClip::NextRect(Rect& rect)
{
    if (!s_->pendingRect)
        return false;
    rect = *s_->pendingRect;
    s_->pendingRect.reset();
    return true;
}

bool VideoClip::Wait()
{
    const State& s = *s_;
    if (!s.timed)
        return false;
    const int64_t frameUs = s.info.FrameTimeUs() > 0 ? s.info.FrameTimeUs() : kDefaultFrameUs;
    return static_cast<int64_t>(GetClock().NowMs()) * 1000 < s.lastDueUs + frameUs;
}

void VideoClip::ColorRemap(const uint8_t* palette, int count)
{
    count = std::clamp(count, 0, 256);
    s_->remapTo = std::vector<uint8_t>(palette, palette + count * 3);
    s_->remapStale = true;
    s_->wholeRect = true;
}

void VideoClip::SoundCheck()
{
    for (auto& v : s_->voices)
        if (v.buffer && (v.buffer->GetStatus() & kSoundStatusLost)) {
            v.buffer->Restore();
            if (s_->soundOn && v.written)
                v.buffer->Play(true);
        }
}

void VideoClip::SoundOnOff(bool on)
{
    s_->soundOn = on;
    for (auto& v : s_->voices) {
        if (!v.buffer || !v.written)
            continue;
        if (on)
            v.buffer->Play(true);
        else
            v.buffer->Stop();
    }
}

void VideoClip::VolumePan(uint32_t trackMask, int32_t volume, int32_t pan)
{
    for (int t = 1; t <= 7; ++t)
        if (trackMask & ClipTrackBit(t)) {
            s_->trackVolume[t] = std::clamp(volume, 0, 32768);
            s_->trackPan[t] = std::clamp(pan, 0, 65536);
            s_->ApplyVolume(t);
        }
}

void VideoClip::SetSoundTap(SoundTap tap) { s_->tap = std::move(tap); }

} // namespace plat
