#include "platform/VideoReference.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace plat {

std::optional<PlainClipDecode> DecodeClipPlainly(const std::filesystem::path& path, bool keepPictures)
{
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return std::nullopt;
    PlainClipDecode out;
    std::vector<AVCodecContext*> codecs(format->nb_streams, nullptr);
    std::vector<int> track(format->nb_streams, 0);
    int nextTrack = 1;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVCodecParameters* par = format->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_AUDIO)
            track[i] = nextTrack++;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        codecs[i] = codec ? avcodec_alloc_context3(codec) : nullptr;
        if (codecs[i] && (avcodec_parameters_to_context(codecs[i], par) < 0 ||
                          avcodec_open2(codecs[i], codec, nullptr) < 0))
            avcodec_free_context(&codecs[i]);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    while (av_read_frame(format, packet) >= 0) {
        AVCodecContext* ctx = codecs[packet->stream_index];
        if (ctx && avcodec_send_packet(ctx, packet) >= 0) {
            while (avcodec_receive_frame(ctx, frame) >= 0) {
                if (ctx->codec_type == AVMEDIA_TYPE_VIDEO) {
                    ++out.frames;
                    out.width = frame->width;
                    out.height = frame->height;
                    if (keepPictures) {
                        std::vector<uint8_t> picture(static_cast<size_t>(frame->width) * frame->height);
                        for (int y = 0; y < frame->height; ++y)
                            std::memcpy(picture.data() + static_cast<size_t>(y) * frame->width,
                                        frame->data[0] + static_cast<ptrdiff_t>(y) * frame->linesize[0],
                                        static_cast<size_t>(frame->width));
                        out.pictures.push_back(std::move(picture));
                        std::array<uint8_t, 768> palette{};
                        const auto* argb = reinterpret_cast<const uint32_t*>(frame->data[1]);
                        for (int c = 0; c < 256; ++c) {
                            palette[c * 3] = static_cast<uint8_t>(argb[c] >> 16);
                            palette[c * 3 + 1] = static_cast<uint8_t>(argb[c] >> 8);
                            palette[c * 3 + 2] = static_cast<uint8_t>(argb[c]);
                        }
                        out.palettes.push_back(palette);
                    }
                } else if (track[packet->stream_index] < 8) {
                    const auto fmt = static_cast<AVSampleFormat>(frame->format);
                    const size_t bytes = static_cast<size_t>(frame->nb_samples) *
                                         frame->ch_layout.nb_channels * av_get_bytes_per_sample(fmt);
                    auto& sound = out.sound[track[packet->stream_index]];
                    sound.insert(sound.end(), frame->data[0], frame->data[0] + bytes);
                }
                av_frame_unref(frame);
            }
        }
        av_packet_unref(packet);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    for (auto* c : codecs)
        avcodec_free_context(&c);
    avformat_close_input(&format);
    return out;
}

} // namespace plat
