// Video files through libavformat, libavcodec, libswscale and libswresample.
//
// Pictures: the RGB frame read back from GL (bottom row first) is turned the
// right way up and converted by libswscale, into 4:2:0 BT.709 limited-range
// YUV for the lossy codecs (tagged so, so players show the colours of the
// PNG frames) or into packed RGB for FFV1, whose pictures are the exact
// frames. Frame k carries timestamp k in a time base of 1 / fps.
//
// Sound: the show's MP3 from demostart, decoded like the player does,
// converted by libswresample to the encoder's sample format and rate, and
// queued in a FIFO from which the encoder takes frames of its own size.
// After each picture the sound is fed up to that picture's end, so the two
// streams interleave as they are written; at the end the FIFO is cut or
// padded with silence to exactly the pictures' span and drained. Encoder
// delay is left to the encoders and the containers (an edit list in MP4,
// the codec delay in WebM), so the first sample plays with the first frame.
#include "app/video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "app/soundtrack.h"
#include "app/output_file.h"
#include "platform/sound.h"

namespace {

const video_format formats[] = {
    {".mp4", "mp4", "libx264", "H.264", "aac", "AAC", 0, 20},
    {".mkv", "matroska", "libx264", "H.264", "flac", "FLAC", 0, 20},
    {".webm", "webm", "libvpx-vp9", "VP9", "libopus", "Opus", 0, 32},
    {".mkv", "matroska", "ffv1", "FFV1", "flac", "FLAC", 1, -1},
};

enum { SOURCE_CHUNK = 4096, CONVERTED_MAX = 2 * SOURCE_CHUNK };

// One stream of the file and its encoder.
struct track {
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
};

struct writer {
    video_request request;
    const video_format* format = nullptr;
    output_file out;                 // the temporary the container is written to
    AVIOContext* io = nullptr;       // the container's writes, onto out.fd
    AVFormatContext* container = nullptr;
    AVPacket* packet = nullptr;
    track picture, sound;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    SwrContext* resampler = nullptr;
    AVAudioFifo* fifo = nullptr;
    AVFrame* sound_frame = nullptr;
    uint8_t** converted = nullptr;   // CONVERTED_MAX samples per channel
    sound_stream* music = nullptr;
    int64_t source_frames = 0;       // sample frames taken from the music
    int64_t sound_pts = 0;           // samples handed to the sound encoder
    int sound_frame_size = 0;        // samples per encoder frame
    int frames = 0;
    const AVCodecParameters* copy = nullptr;  // pictures come encoded (a join)
    std::string failure;             // what went wrong on the writer thread
    double convert_s = 0, encode_s = 0, sound_s = 0;
};

writer w;

typedef std::chrono::steady_clock wall_clock;

double seconds_since(wall_clock::time_point from) {
    return std::chrono::duration<double>(wall_clock::now() - from).count();
}

std::string av_text(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

bool ends_with(const char* text, const char* tail) {
    size_t n = std::strlen(text), m = std::strlen(tail);
    return n > m && strcasecmp(text + n - m, tail) == 0;
}

int even(int side) { return side + (side & 1); }

// The container writes through these onto the temporary's descriptor, so
// the file is the one output_file created and nothing is opened by name.
int io_write(void* opaque, uint8_t* data, int size) {
    std::string error;
    if (output_file_write(static_cast<output_file*>(opaque), data, static_cast<size_t>(size), &error)) return size;
    return AVERROR(errno ? errno : EIO);
}

int64_t io_seek(void* opaque, int64_t offset, int whence) {
    int fd = static_cast<output_file*>(opaque)->fd;
    if (whence & AVSEEK_SIZE) {
        struct stat info;
        return fstat(fd, &info) == 0 ? info.st_size : AVERROR(errno);
    }
    off_t at = lseek(fd, offset, whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : at;
}

// Flushes what the container buffered; 0 when a write failed.
int close_io() {
    if (!w.io) return 1;
    avio_flush(w.io);
    int ok = w.io->error == 0;
    if (!ok) w.failure = av_text(w.io->error);
    av_freep(&w.io->buffer);
    avio_context_free(&w.io);
    return ok;
}

// Frees the libraries' state; the counts and timings stay for the report.
void free_all() {
    if (w.music) sound_stream_close(w.music);
    w.music = nullptr;
    if (w.converted) av_freep(&w.converted[0]);
    av_freep(&w.converted);
    if (w.fifo) av_audio_fifo_free(w.fifo);
    w.fifo = nullptr;
    swr_free(&w.resampler);
    sws_freeContext(w.scaler);
    w.scaler = nullptr;
    av_frame_free(&w.frame);
    av_frame_free(&w.sound_frame);
    avcodec_free_context(&w.picture.codec);
    avcodec_free_context(&w.sound.codec);
    av_packet_free(&w.packet);
    close_io();
    if (w.container) w.container->pb = nullptr;
    avformat_free_context(w.container);
    w.container = nullptr;
    w.picture = w.sound = track();
}

// Sends one frame (null: the end) and writes every packet that comes out.
int encode(track* t, AVFrame* frame) {
    int status = avcodec_send_frame(t->codec, frame);
    while (status >= 0) {
        status = avcodec_receive_packet(t->codec, w.packet);
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) return 1;
        if (status < 0) break;
        av_packet_rescale_ts(w.packet, t->codec->time_base, t->stream->time_base);
        w.packet->stream_index = t->stream->index;
        status = av_interleaved_write_frame(w.container, w.packet);
    }
    w.failure = av_text(status);
    return 0;
}

// An encoder of the installed libraries, with the stream it fills.
bool add_track(track* t, const char* name, const char* label, std::string* error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec) {
        *error = "the installed FFmpeg libraries have no " + std::string(label) + " encoder (" + name + ")";
        return false;
    }
    t->codec = avcodec_alloc_context3(codec);
    t->stream = avformat_new_stream(w.container, nullptr);
    if (!t->codec || !t->stream) {
        *error = "out of memory";
        return false;
    }
    if (w.container->oformat->flags & AVFMT_GLOBALHEADER) t->codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return true;
}

bool start_track(track* t, AVDictionary** options, const char* label, std::string* error) {
    int status = avcodec_open2(t->codec, t->codec->codec, options);
    if (status >= 0) status = avcodec_parameters_from_context(t->stream->codecpar, t->codec);
    if (status < 0) {
        *error = "the " + std::string(label) + " encoder cannot be opened: " + av_text(status);
        return false;
    }
    t->stream->time_base = t->codec->time_base;
    return true;
}

void set_picture_options(AVCodecContext* c, AVDictionary** options) {
    const video_request& r = w.request;
    if (w.format->lossless) {
        // Every frame a key frame in slices coded in parallel: a cut-off
        // archive still plays up to its last whole frame.
        c->gop_size = 1;
        c->level = 3;
        av_dict_set(options, "slices", "4", 0);
        av_dict_set(options, "slicecrc", "1", 0);
        c->colorspace = AVCOL_SPC_RGB;
        c->color_range = AVCOL_RANGE_JPEG;
        return;
    }
    c->gop_size = 2 * r.fps;
    c->color_primaries = AVCOL_PRI_BT709;
    c->color_trc = AVCOL_TRC_BT709;
    c->colorspace = AVCOL_SPC_BT709;
    c->color_range = AVCOL_RANGE_MPEG;
    int crf = r.crf >= 0 ? r.crf : w.format->default_crf;
    av_dict_set_int(options, "crf", crf, 0);
    if (std::strcmp(w.format->video_codec, "libx264") == 0) {
        // The renderer already keeps the processor busy: the fastest preset
        // that still deblocks and codes arithmetically costs less per frame
        // than a PNG file, for a file about twenty times smaller.
        av_dict_set(options, "preset", "superfast", 0);
    } else {
        // Quality alone sets the rate. The encoder's realtime mode is about
        // ten times faster than its good mode for a slightly larger file.
        c->bit_rate = 0;
        av_dict_set(options, "deadline", "realtime", 0);
        av_dict_set(options, "cpu-used", "8", 0);
        av_dict_set(options, "row-mt", "1", 0);
    }
}

bool open_picture(std::string* error) {
    const video_request& r = w.request;
    if (!add_track(&w.picture, w.format->video_codec, w.format->video_name, error)) return false;
    AVCodecContext* c = w.picture.codec;
    c->width = w.format->lossless ? r.width : even(r.width);
    c->height = w.format->lossless ? r.height : even(r.height);
    c->pix_fmt = w.format->lossless ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_YUV420P;
    c->time_base = AVRational{1, r.fps};
    c->framerate = AVRational{r.fps, 1};
    c->thread_count = 0;
    AVDictionary* options = nullptr;
    set_picture_options(c, &options);
    bool ok = start_track(&w.picture, &options, w.format->video_name, error);
    av_dict_free(&options);
    if (!ok) return false;
    w.picture.stream->avg_frame_rate = c->framerate;
    w.frame = av_frame_alloc();
    if (!w.frame) return false;
    w.frame->format = c->pix_fmt;
    w.frame->width = c->width;
    w.frame->height = c->height;
    if (av_frame_get_buffer(w.frame, 0) < 0) return false;
    w.scaler = sws_getContext(r.width, r.height, AV_PIX_FMT_RGB24, r.width, r.height, c->pix_fmt,
                              w.format->lossless ? SWS_POINT : SWS_BILINEAR, nullptr, nullptr,
                              nullptr);
    if (!w.scaler) return false;
    if (!w.format->lossless)
        sws_setColorspaceDetails(w.scaler, sws_getCoefficients(SWS_CS_DEFAULT), 1, sws_getCoefficients(SWS_CS_ITU709),
                                 0, 0, 1 << 16, 1 << 16);
    return true;
}

// The encoder's rate: the music's own when it takes it, else 48 kHz (Opus).
int sound_rate(const AVCodec* codec) {
    if (!codec->supported_samplerates) return SOUND_RATE;
    for (const int* rate = codec->supported_samplerates; *rate; ++rate)
        if (*rate == SOUND_RATE) return SOUND_RATE;
    return 48000;
}

bool open_sound(std::string* error) {
    const video_request& r = w.request;
    if (!add_track(&w.sound, w.format->audio_codec, w.format->audio_name, error)) return false;
    AVCodecContext* c = w.sound.codec;
    c->sample_fmt = c->codec->sample_fmts ? c->codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->sample_rate = sound_rate(c->codec);
    av_channel_layout_default(&c->ch_layout, 2);
    c->time_base = AVRational{1, c->sample_rate};
    if (std::strcmp(w.format->audio_codec, "flac") != 0) c->bit_rate = 192000;
    if (!start_track(&w.sound, nullptr, w.format->audio_name, error)) return false;
    AVChannelLayout stereo;
    av_channel_layout_default(&stereo, 2);
    int frame_size = w.sound_frame_size = c->frame_size > 0 ? c->frame_size : 1024;
    if (swr_alloc_set_opts2(&w.resampler, &c->ch_layout, c->sample_fmt, c->sample_rate, &stereo, AV_SAMPLE_FMT_S16,
                            SOUND_RATE, 0, nullptr) < 0 ||
        swr_init(w.resampler) < 0)
        return false;
    w.fifo = av_audio_fifo_alloc(c->sample_fmt, 2, 2 * frame_size);
    w.sound_frame = av_frame_alloc();
    if (!w.fifo || !w.sound_frame ||
        av_samples_alloc_array_and_samples(&w.converted, nullptr, 2, CONVERTED_MAX, c->sample_fmt, 0) < 0)
        return false;
    w.sound_frame->format = c->sample_fmt;
    w.sound_frame->sample_rate = c->sample_rate;
    w.sound_frame->nb_samples = frame_size;
    av_channel_layout_copy(&w.sound_frame->ch_layout, &c->ch_layout);
    if (av_frame_get_buffer(w.sound_frame, 0) < 0) return false;
    w.music = sound_stream_open_memory(r.sound, r.sound_size);
    if (!w.music) {
        *error = std::string("the music cannot be decoded: ") + sound_error_text(sound_error());
        return false;
    }
    sound_stream_set_time(w.music, r.sound_start_ms);
    return true;
}

// A stream that takes the pieces' packets as they are.
bool open_copied_picture(std::string* error) {
    const AVCodecParameters* in = w.copy;
    const AVCodec* encoder = avcodec_find_encoder_by_name(w.format->video_codec);
    if (!encoder || encoder->id != in->codec_id) {
        const AVCodecDescriptor* what = avcodec_descriptor_get(in->codec_id);
        *error = std::string("cannot hold ") + (what ? what->long_name : "these") + " pictures";
        return false;
    }
    w.picture.stream = avformat_new_stream(w.container, nullptr);
    if (!w.picture.stream || avcodec_parameters_copy(w.picture.stream->codecpar, in) < 0) return false;
    w.picture.stream->codecpar->codec_tag = 0;  // the container picks its own
    w.picture.stream->time_base = AVRational{1, w.request.fps};
    w.picture.stream->avg_frame_rate = AVRational{w.request.fps, 1};
    return true;
}

bool open_file(std::string* error) {
    enum { IO_BUFFER = 1 << 16 };
    unsigned char* buffer = static_cast<unsigned char*>(av_malloc(IO_BUFFER));
    w.io = buffer ? avio_alloc_context(buffer, IO_BUFFER, 1, &w.out, nullptr, io_write, io_seek) : nullptr;
    if (!w.io) {
        av_free(buffer);
        return false;
    }
    w.container->pb = w.io;
    AVDictionary* options = nullptr;
    // The index first, so a player can start before the whole file is there.
    // (Moving it reads the file back by the container's name, the temporary.)
    if (std::strcmp(w.format->muxer, "mp4") == 0) av_dict_set(&options, "movflags", "+faststart", 0);
    int status = avformat_write_header(w.container, &options);
    av_dict_free(&options);
    if (status < 0) {
        *error = "cannot be written: " + av_text(status);
        return false;
    }
    return true;
}

// The format of the file: by its extension, and for a join by the pieces'
// codec too (an .mkv of FFV1 or of H.264).
const video_format* format_of_file() {
    if (!w.copy) return video_format_for(w.request.shown.c_str(), w.request.lossless);
    for (int lossless = 0; lossless < 2; ++lossless) {
        const video_format* f = video_format_for(w.request.shown.c_str(), lossless);
        const AVCodec* encoder = f ? avcodec_find_encoder_by_name(f->video_codec) : nullptr;
        if (encoder && encoder->id == w.copy->codec_id) return f;
    }
    return video_format_for(w.request.shown.c_str(), 0);
}

// Reads the finished temporary back: it must hold every stream written.
std::string verify_file() {
    AVFormatContext* read = nullptr;
    int status = avformat_open_input(&read, w.out.part_path.c_str(), nullptr, nullptr);
    if (status >= 0) status = avformat_find_stream_info(read, nullptr);
    std::string fault;
    unsigned want = w.request.sound ? 2 : 1;
    if (status < 0) fault = "it cannot be read back: " + av_text(status);
    else if (read->nb_streams != want) fault = "it reads back with " + std::to_string(read->nb_streams) + " streams, not " + std::to_string(want);
    avformat_close_input(&read);
    return fault;
}

bool open_all(std::string* error) {
    w.format = format_of_file();
    if (!w.format) {
        if (w.request.lossless && video_format_for(w.request.shown.c_str(), 0)) {
            *error = "--lossless writes .mkv files only";
        } else {
            *error = "the extension names no container this program writes (use " +
                     video_extensions(w.request.lossless) + ")";
        }
        return false;
    }
    std::string fault = output_file_check(w.request.path);
    if (!fault.empty()) {
        *error = fault;
        return false;
    }
    if (!output_file_open(&w.out, w.request.path, error)) return false;
    if (avformat_alloc_output_context2(&w.container, nullptr, w.format->muxer, w.out.part_path.c_str()) < 0 ||
        !(w.packet = av_packet_alloc())) {
        *error = "the " + std::string(w.format->muxer) + " container is not available";
        return false;
    }
    if (!(w.copy ? open_copied_picture(error) : open_picture(error))) return false;
    if (w.request.sound && !open_sound(error)) return false;
    return open_file(error);
}

// An odd side is padded by repeating the last luma column or row; the
// chroma planes already cover it.
void pad_edges() {
    const video_request& r = w.request;
    uint8_t* luma = w.frame->data[0];
    int stride = w.frame->linesize[0];
    if (r.width != w.frame->width)
        for (int y = 0; y < r.height; ++y) luma[y * stride + r.width] = luma[y * stride + r.width - 1];
    if (r.height != w.frame->height)
        std::memcpy(luma + r.height * stride, luma + (r.height - 1) * stride, static_cast<size_t>(w.frame->width));
}

int encode_sound_frame(int samples) {
    if (av_frame_make_writable(w.sound_frame) < 0) return 0;
    w.sound_frame->nb_samples = samples;
    av_audio_fifo_read(w.fifo, reinterpret_cast<void**>(w.sound_frame->data), samples);
    w.sound_frame->pts = w.sound_pts;
    w.sound_pts += samples;
    return encode(&w.sound, w.sound_frame);
}

int queue_converted(const uint8_t** input, int frames) {
    int got = swr_convert(w.resampler, w.converted, CONVERTED_MAX, input, frames);
    if (got < 0) return 0;
    return av_audio_fifo_write(w.fifo, reinterpret_cast<void**>(w.converted), got) == got;
}

// The music up to sample frame `until` of the source, and every whole
// encoder frame it fills.
int feed_sound(int64_t until) {
    int16_t samples[2 * SOURCE_CHUNK];
    while (w.source_frames < until) {
        int want = static_cast<int>(std::min<int64_t>(SOURCE_CHUNK, until - w.source_frames));
        int got = std::max(0, sound_decode(w.music, samples, want));
        std::fill(samples + 2 * got, samples + 2 * want, int16_t(0));  // silence past the music's end
        const uint8_t* input[1] = {reinterpret_cast<const uint8_t*>(samples)};
        if (!queue_converted(input, want)) return 0;
        w.source_frames += want;
    }
    while (av_audio_fifo_size(w.fifo) >= w.sound_frame_size)
        if (!encode_sound_frame(w.sound_frame_size)) return 0;
    return 1;
}

// The resampler's tail, then exactly the pictures' span of sound: what
// runs over is dropped, what is missing is silence.
int finish_sound() {
    for (;;) {
        int got = swr_convert(w.resampler, w.converted, CONVERTED_MAX, nullptr, 0);
        if (got < 0 || av_audio_fifo_write(w.fifo, reinterpret_cast<void**>(w.converted), got) != got) return 0;
        if (got == 0) break;
    }
    int64_t left = soundtrack_frames(w.frames, w.request.fps, w.sound.codec->sample_rate) - w.sound_pts;
    av_samples_set_silence(w.converted, 0, CONVERTED_MAX, 2, w.sound.codec->sample_fmt);
    while (av_audio_fifo_size(w.fifo) < left) {
        int n = static_cast<int>(std::min<int64_t>(CONVERTED_MAX, left - av_audio_fifo_size(w.fifo)));
        if (av_audio_fifo_write(w.fifo, reinterpret_cast<void**>(w.converted), n) != n) return 0;
    }
    for (; left > 0; left -= w.sound_frame_size)
        if (!encode_sound_frame(static_cast<int>(std::min<int64_t>(w.sound_frame_size, left)))) return 0;
    av_audio_fifo_reset(w.fifo);
    return encode(&w.sound, nullptr);
}

}  // namespace

const video_format* video_format_for(const char* path, int lossless) {
    for (const video_format& f : formats)
        if (f.lossless == (lossless ? 1 : 0) && ends_with(path, f.extension)) return &f;
    return nullptr;
}

std::string video_extensions(int lossless) { return lossless ? ".mkv" : ".mp4, .mkv or .webm"; }

std::string video_writer_padding_note(const video_format* format, int width, int height) {
    if (format->lossless || (width % 2 == 0 && height % 2 == 0)) return "";
    char text[160];
    std::snprintf(text, sizeof text,
                  "%dx%d is padded to %dx%d, since %s's 4:2:0 pictures need even sides "
                  "(the last column or row is repeated)",
                  width, height, even(width), even(height), format->video_name);
    return text;
}

static bool open_writer(const video_request& request, const AVCodecParameters* copy, std::string* error) {
    w = writer();
    w.request = request;
    w.copy = copy;
    av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are not for the user
    if (!request.sound || request.sound_size == 0) w.request.sound = nullptr;
    std::string why;
    if (open_all(&why)) return true;
    free_all();
    output_file_abandon(&w.out);
    if (why.empty()) why = "out of memory";
    *error = "Video file " + request.shown + (why.rfind("cannot", 0) == 0 ? " " : ": ") + why;
    return false;
}

bool video_writer_open(const video_request& request, std::string* error) { return open_writer(request, nullptr, error); }

bool video_writer_open_copy(const video_request& request, const AVCodecParameters* pictures, std::string* error) {
    return open_writer(request, pictures, error);
}

// The sound up to the end of the pictures written so far.
static int follow_with_sound() {
    if (!w.request.sound) return 1;
    wall_clock::time_point sound_began = wall_clock::now();
    int ok = feed_sound(soundtrack_frames(w.frames, w.request.fps, SOUND_RATE));
    w.sound_s += seconds_since(sound_began);
    return ok;
}

int video_writer_copy_packet(AVPacket* picture) {
    picture->duration = 1;
    av_packet_rescale_ts(picture, AVRational{1, w.request.fps}, w.picture.stream->time_base);
    picture->stream_index = w.picture.stream->index;
    int status = av_interleaved_write_frame(w.container, picture);
    if (status < 0) {
        w.failure = av_text(status);
        return 0;
    }
    w.frames += 1;
    return follow_with_sound();
}

int video_writer_encode_frame(const char*, int, int width, int height, const uint8_t* rgb_bottom_up) {
    wall_clock::time_point began = wall_clock::now();
    if (av_frame_make_writable(w.frame) < 0) {
        w.failure = "out of memory";
        return 0;
    }
    const int stride = 3 * width;
    const uint8_t* rows[1] = {rgb_bottom_up + static_cast<size_t>(height - 1) * static_cast<size_t>(stride)};
    const int strides[1] = {-stride};  // read from the top row up
    sws_scale(w.scaler, rows, strides, 0, height, w.frame->data, w.frame->linesize);
    pad_edges();
    w.frame->pts = w.frames;
    wall_clock::time_point converted = wall_clock::now();
    w.convert_s += std::chrono::duration<double>(converted - began).count();
    if (!encode(&w.picture, w.frame)) return 0;
    w.frames += 1;
    w.encode_s += seconds_since(converted);
    return follow_with_sound();
}

bool video_writer_close(bool* replaced, std::string* error) {
    int ok = (w.copy || encode(&w.picture, nullptr)) && (!w.request.sound || finish_sound());
    int status = ok ? av_write_trailer(w.container) : -1;
    if (status < 0 && ok) w.failure = av_text(status);
    if (!close_io()) status = -1;
    free_all();
    std::string fault = status >= 0 ? verify_file() : w.failure;
    if (fault.empty() && output_file_commit(&w.out, replaced, error)) {
        *error = "";
        return true;
    }
    if (!fault.empty()) {
        output_file_abandon(&w.out);
        *error = "cannot be finished (" + fault + "); the unfinished file was removed";
    }
    *error = "Video file " + w.request.shown + " " + *error;
    return false;
}

void video_writer_discard() {
    free_all();
    output_file_abandon(&w.out);
}

int video_writer_frames_written() { return w.frames; }

std::string video_writer_failure() { return w.failure; }

std::string video_writer_time_report() {
    char text[160];
    std::snprintf(text, sizeof text, "converting %.1f s, encoding %.1f s, sound %.1f s", w.convert_s, w.encode_s,
                  w.sound_s);
    return text;
}
