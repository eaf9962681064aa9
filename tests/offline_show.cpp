#include "tests/offline_show.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

const std::string data_dir = std::string(QUILLON_SOURCE_DIR) + "/data";

struct stream_decoder {
    AVCodecContext* codec = nullptr;
    int index = -1;
};

bool open_decoder(AVFormatContext* file, AVMediaType type, stream_decoder* out) {
    const AVCodec* codec = nullptr;
    out->index = av_find_best_stream(file, type, -1, -1, &codec, 0);
    if (out->index < 0) return false;
    out->codec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(out->codec, file->streams[out->index]->codecpar);
    out->codec->pkt_timebase = file->streams[out->index]->time_base;
    return avcodec_open2(out->codec, codec, nullptr) >= 0;
}

// RGB as a player shows it: the matrix and range the frame is tagged with.
png_pixels to_rgb(const AVFrame* frame) {
    png_pixels out;
    out.width = frame->width;
    out.height = frame->height;
    out.rgb.resize(static_cast<size_t>(3 * out.width * out.height));
    SwsContext* sws = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                     frame->width, frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr,
                                     nullptr);
    int space = frame->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
    sws_setColorspaceDetails(sws, sws_getCoefficients(space), frame->color_range == AVCOL_RANGE_JPEG,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    uint8_t* planes[1] = {out.rgb.data()};
    int strides[1] = {3 * out.width};
    sws_scale(sws, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(sws);
    return out;
}

void take_samples(decoded_video* out, SwrContext** swr, AVFrame* frame) {
    if (!*swr) {
        AVChannelLayout stereo;
        av_channel_layout_default(&stereo, 2);
        swr_alloc_set_opts2(swr, &stereo, AV_SAMPLE_FMT_S16, frame->sample_rate, &frame->ch_layout,
                            static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
        swr_init(*swr);
    }
    size_t had = out->samples.size();
    out->samples.resize(had + 2 * static_cast<size_t>(frame->nb_samples));
    uint8_t* planes[1] = {reinterpret_cast<uint8_t*>(out->samples.data() + had)};
    swr_convert(*swr, planes, frame->nb_samples, const_cast<const uint8_t**>(frame->extended_data),
                frame->nb_samples);
}

double seconds_of(const AVFrame* frame, AVRational base) {
    return frame->best_effort_timestamp == AV_NOPTS_VALUE ? 0 : frame->best_effort_timestamp * av_q2d(base);
}

// Feeds one packet (null: the end) and takes every frame that comes out.
void drain(AVFormatContext* file, stream_decoder* d, const AVPacket* packet, AVFrame* frame, decoded_video* out,
           SwrContext** swr) {
    avcodec_send_packet(d->codec, packet);
    while (avcodec_receive_frame(d->codec, frame) >= 0) {
        double at = seconds_of(frame, file->streams[d->index]->time_base);
        if (d->codec->codec_type == AVMEDIA_TYPE_VIDEO) {
            if (out->frames.empty()) out->video_start = at;
            out->frames.push_back(to_rgb(frame));
        } else {
            if (out->samples.empty()) out->audio_start = at;
            take_samples(out, swr, frame);
        }
    }
}

}  // namespace

void offline_show_write(const temp_dir& dir, const std::string& sections) {
    dir.write("show/data/script.txt",
              "gl_fullscreen 1\ngl_width 640\ngl_height 480\ngl_info 0\ngl_rttWidth 64\ngl_rttHeight 64\n"
              "snd_enable 1\nsnd_mp3file " + data_dir + "/music/soundtrack.mp3\n"
              "[loading]\nstart 0\nend 0.01\nstring " + data_dir + "/loading/back.jpg\nstring " + data_dir +
              "/loading/front.jpg\nparam 1\nparam 1\nparam 1\nparam 1\n" + sections + "[EOF]\n");
    dir.add_font("show/");
}

std::string offline_colour_block(const char* end, const char* r, const char* g, const char* b) {
    std::string colour = std::string("param ") + r + "\nparam " + g + "\nparam " + b + "\nparam 1\n";
    return std::string("[efxFader]\nstart 0\nend ") + end + "\nlayer 5\n" + colour + colour;
}

std::string offline_command(const temp_dir& dir, const std::string& options) {
    return "cd " + dir.path + " && exec env -u DISPLAY " + built_binary("quillon") + " " + options + " show";
}

int offline_run(const temp_dir& dir, const std::string& options, std::string* output) {
    return run_command(offline_command(dir, options), output);
}

void picture_mean(const png_pixels& picture, double mean[3]) {
    double sum[3] = {0, 0, 0};
    for (size_t i = 0; i < picture.rgb.size(); ++i) sum[i % 3] += picture.rgb[i];
    double pixels = picture.rgb.empty() ? 1 : static_cast<double>(picture.rgb.size() / 3);
    for (int c = 0; c < 3; ++c) mean[c] = sum[c] / pixels;
}

decoded_video decode_video(const std::string& path) {
    decoded_video out;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0) return out;
    stream_decoder video, audio;
    if (avformat_find_stream_info(file, nullptr) >= 0 && open_decoder(file, AVMEDIA_TYPE_VIDEO, &video)) {
        out.opened = true;
        out.width = video.codec->width;
        out.height = video.codec->height;
        out.fps_num = file->streams[video.index]->avg_frame_rate.num;
        out.fps_den = file->streams[video.index]->avg_frame_rate.den;
        if (open_decoder(file, AVMEDIA_TYPE_AUDIO, &audio)) {
            out.sample_rate = audio.codec->sample_rate;
            out.audio_frame_size = audio.codec->frame_size;
        }
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        SwrContext* swr = nullptr;
        while (av_read_frame(file, packet) >= 0) {
            stream_decoder* d = packet->stream_index == video.index   ? &video
                                : packet->stream_index == audio.index ? &audio
                                                                      : nullptr;
            if (d) drain(file, d, packet, frame, &out, &swr);
            av_packet_unref(packet);
        }
        drain(file, &video, nullptr, frame, &out, &swr);
        if (audio.codec) drain(file, &audio, nullptr, frame, &out, &swr);
        swr_free(&swr);
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
    avcodec_free_context(&video.codec);
    avcodec_free_context(&audio.codec);
    avformat_close_input(&file);
    return out;
}
