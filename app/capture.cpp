// Offline runs (--capture, --video, --bench). All put the clock on a fixed
// step, draw offscreen (or in a window with --windowed) and silent, and
// report progress on standard error. Capture installs the frame sink that
// reads each presented frame back and writes it as a PNG file, and decodes
// the soundtrack into audio.wav at the end; video hands the same frames and
// the soundtrack to the video writer. SIGINT and SIGTERM stop a run as
// Escape stops the player: what was written so far is finished. Bench
// wraps the section type table's load, init and render slots with timers
// (render between two glFinish calls, so the figure is the GPU's work too),
// times the bare present path after the show as the report's floor, and
// prints the report at the end.
#include "app/capture.h"

#include <GL/gl.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "app/bench_report.h"
#include "app/cmdline.h"
#include "app/frame_writer.h"
#include "app/output_file.h"
#include "app/piece_run.h"
#include "app/progress.h"
#include "app/soak.h"
#include "app/video_writer.h"
#include "app/wav.h"
#include "core/clock.h"
#include "core/fatal.h"
#include "core/file_read.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "show/engine.h"
#include "show/loading.h"
#include "show/timeline.h"

namespace fs = std::filesystem;
typedef std::chrono::steady_clock wall_clock;

// ---------------------------------------------------------------------------
// Pure pieces
// ---------------------------------------------------------------------------

std::string capture_frame_name(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", frame);
    return name;
}

int64_t capture_audio_frames(int frames, int fps, int rate) {
    if (frames <= 0 || fps <= 0) return 0;
    return (static_cast<int64_t>(frames) * rate + fps / 2) / fps;
}

float capture_show_end(float demoend, float last_section_end) {
    return demoend > 0 && demoend < last_section_end ? demoend : last_section_end;
}

std::string capture_shell_word(const std::string& word) {
    if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_./%+,:-") ==
                             std::string::npos)
        return word;
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

static std::string video_path_beside(const std::string& dir) {
    std::string trimmed = dir;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) return "show.mp4";
    return trimmed.substr(0, slash + 1) + "show.mp4";
}

std::string capture_ffmpeg_line(const std::string& dir, int fps, int width, int height, int with_audio) {
    std::string base = dir;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    std::string line =
        "ffmpeg -y -framerate " + std::to_string(fps) + " -i " + capture_shell_word(base + "/frame_%06d.png");
    if (with_audio) line += " -i " + capture_shell_word(base + "/audio.wav");
    if (width % 2 || height % 2) line += " -vf 'pad=ceil(iw/2)*2:ceil(ih/2)*2'";
    line += " -c:v libx264 -pix_fmt yuv420p";
    if (with_audio) line += " -c:a aac -shortest";
    return line + " " + capture_shell_word(video_path_beside(dir));
}

// Writes the PNG stream; false when libpng or the file fails.
static bool write_png_stream(FILE* file, int width, int height, const uint8_t* rgb_bottom_up) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    // Fast compression and one cheap row filter: a long capture writes
    // thousands of frames. No time chunk is written, so equal pictures give
    // equal files.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = height - 1; y >= 0; --y)
        png_write_row(png, const_cast<png_bytep>(rgb_bottom_up + static_cast<size_t>(y) * stride));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file) == 0 && !std::ferror(file);
}

// The file is written under a temporary name and takes its own only when
// whole, so no cut-off frame is ever left behind.
int capture_write_png(const char* path, int width, int height, const uint8_t* rgb_bottom_up, std::string* error,
                      bool* replaced) {
    std::string why;
    output_file out;
    if (!output_file_open(&out, path, &why)) {
        if (error) *error = why;
        return 0;
    }
    int fd = dup(out.fd);
    FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!file && fd >= 0) close(fd);
    bool written = file && write_png_stream(file, width, height, rgb_bottom_up);
    int saved = errno;
    if (file && std::fclose(file) != 0) written = false;
    if (!written) {
        output_file_abandon(&out);
        if (error) *error = std::string("cannot be written: ") + std::strerror(saved ? saved : EIO);
        return 0;
    }
    if (output_file_commit(&out, replaced, &why)) return 1;
    if (error) *error = why;
    return 0;
}

// ---------------------------------------------------------------------------
// Run state
// ---------------------------------------------------------------------------

enum offline_mode { OFFLINE_NONE, OFFLINE_CAPTURE, OFFLINE_BENCH, OFFLINE_VIDEO };

static offline_mode mode = OFFLINE_NONE;
static int step_fps = 0;
static int offscreen = 0;
static video_request video;       // --video: the file and how to encode it
static int video_opened = 0;
static double readback_s = 0;     // seconds spent reading frames back
static volatile sig_atomic_t stop_signal = 0;
static std::string capture_dir;   // as given, for the messages and the ffmpeg line
static std::string capture_path;  // absolute, since the player changes folder
static std::string json_path;     // absolute; empty: no JSON report
static std::vector<unsigned char> soundtrack;  // the MP3 file; empty: no sound
static float show_end = 0;
static int frames_drawn = 0;
static progress report;
static wall_clock::time_point loaded_at, last_frame_at;
static bench_report bench;
static std::map<const section*, size_t> bench_rows;
static std::vector<uint8_t> pixels;
static section_callback saved_load[SECTION_TYPE_COUNT];
static section_callback saved_init[SECTION_TYPE_COUNT];
static section_callback saved_render[SECTION_TYPE_COUNT];
static int soak_passes = 0;                 // 0: a single pass, no memory figures
static std::vector<section*> soak_schedule; // the pending list after loading
static std::vector<soak_pass> soak_figures;

static double ms_since(wall_clock::time_point from, wall_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// ---------------------------------------------------------------------------
// Bench timers around the section type table's slots
// ---------------------------------------------------------------------------

static void timed_step(const char* kind, int type, int line, section_callback callback) {
    wall_clock::time_point began = wall_clock::now();
    callback();
    bench.loading.push_back({kind, section_types[type].name, line, ms_since(began, wall_clock::now())});
}

// `load` concerns no section, so each row gets its own timer that knows it.
template <int T>
static void timed_load() {
    timed_step("load", T, 0, saved_load[T]);
}

template <size_t... I>
static std::array<section_callback, sizeof...(I)> timed_load_slots(std::index_sequence<I...>) {
    return {{timed_load<static_cast<int>(I)>...}};
}

static void timed_init() {
    const section* s = current_section;
    timed_step("init", s->type, s->line, saved_init[s->type]);
}

static bench_section& bench_row(const section* s) {
    auto found = bench_rows.find(s);
    if (found != bench_rows.end()) return bench.sections[found->second];
    bench_rows[s] = bench.sections.size();
    bench.sections.push_back({section_types[s->type].name, s->line, {}});
    return bench.sections.back();
}

static void timed_render() {
    const section* s = current_section;
    glFinish();
    wall_clock::time_point began = wall_clock::now();
    saved_render[s->type]();
    glFinish();
    bench_row(s).render_ms.push_back(ms_since(began, wall_clock::now()));
}

// The floor of the report: the present path with no section, at the run's
// window size, timed from the start of a frame to the end of its swap. Half
// its frames run before the show and half after, so a machine that is busier
// at one end of the run sways the floor less.
static void time_floor() {
    enum { FLOOR_FRAMES = 30 };
    bench.width = gl_width;
    bench.height = gl_height;
    for (int i = 0; i < FLOOR_FRAMES; ++i) {
        wall_clock::time_point began = wall_clock::now();
        frame_begin();
        frame_present();
        frame_swap();
        bench.floor_ms.push_back(ms_since(began, wall_clock::now()));
    }
}

static void install_bench_timers() {
    std::array<section_callback, SECTION_TYPE_COUNT> loads =
        timed_load_slots(std::make_index_sequence<SECTION_TYPE_COUNT>{});
    // Row 0's load runs before the counted steps and is empty; it is not a step.
    for (int type = 1; type < SECTION_TYPE_COUNT; ++type) section_types[type].load = loads[type];
    for (section_type& row : section_types) {
        row.init = timed_init;
        row.render = timed_render;
    }
}

// ---------------------------------------------------------------------------
// Progress and the frame sink
// ---------------------------------------------------------------------------

// The loading screen as the show draws it, and the same fraction on stderr.
static void loading_render_with_progress() {
    if (stop_signal) quit_requested = 1;
    saved_render[0]();
    progress_report(&report, loading_fraction(), progress_loading_text(loading_fraction()));
}

static void report_frame() {
    if (stop_signal) quit_requested = 1;
    wall_clock::time_point now = wall_clock::now();
    if (mode == OFFLINE_BENCH) bench.frame_ms.push_back(ms_since(last_frame_at, now));
    last_frame_at = now;
    if (frames_drawn == 0) bench.first_time = demo_time;
    bench.last_time = demo_time;
    frames_drawn += 1;
    double seconds = ms_since(loaded_at, now) / 1000.0;
    float rate = seconds > 0 ? static_cast<float>(frames_drawn / seconds) : 0;
    float span = show_end - demostart;
    float fraction = span > 0 ? (demo_time - demostart) / span : 1;
    progress_report(&report, fraction,
                    progress_frame_text(frames_drawn - 1, demo_time, show_end, rate,
                                        progress_seconds_left(demo_time, show_end, step_fps, rate)));
}

// A frame file could not be written (the writer removed what it had begun).
[[noreturn]] static void writer_failed() {
    int frame = frame_writer_failed();
    if (mode == OFFLINE_VIDEO)
        fatal_error("Video file %s: frame %d cannot be encoded or written: %s", video.shown.c_str(), frame,
                    video_failure().c_str());
    fatal_error("Capture: frame %s/%s cannot be written; the %d frames before it are complete",
                capture_dir.c_str(), capture_frame_name(frame).c_str(), frame);
}

// What the window shows, read back before the swap: the letterboxed frame
// and the overlay, at the window's size.
static void capture_frame() {
    glFinish();  // the renderer's own work counts as drawing, not reading back
    wall_clock::time_point began = wall_clock::now();
    pixels.resize(static_cast<size_t>(gl_width) * static_cast<size_t>(gl_height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!offscreen) glReadBuffer(GL_BACK);  // offscreen, the frame is the only buffer
    glReadPixels(0, 0, gl_width, gl_height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    readback_s += ms_since(began, wall_clock::now()) / 1000.0;
    std::string path = mode == OFFLINE_VIDEO ? video.shown : capture_path + "/" + capture_frame_name(frames_drawn);
    if (!frame_writer_submit(path, frames_drawn, gl_width, gl_height, &pixels)) writer_failed();
    report_frame();
    if (piece_run_active() && frames_drawn >= piece_run_count()) quit_requested = 1;
}

// ---------------------------------------------------------------------------
// Soundtrack
// ---------------------------------------------------------------------------

static void read_soundtrack() {
    soundtrack.clear();
    if (!snd_enable || !snd_mp3file) return;
    if (!file_read_all(snd_mp3file, &soundtrack)) fatal_error("Capture: music file %s cannot be opened", snd_mp3file);
    sound_stream* stream = sound_stream_open_memory(soundtrack.data(), soundtrack.size());
    if (!stream) fatal_error("Capture: music file %s: %s", snd_mp3file, sound_error_text(sound_error()));
    sound_stream_close(stream);
}

// The sound from demostart for as long as the frames last; silence past the
// music's end, so the two tracks of the video have one length.
static void write_soundtrack() {
    std::string path = capture_path + "/audio.wav";
    sound_stream* stream = sound_stream_open_memory(soundtrack.data(), soundtrack.size());
    if (!stream) fatal_error("Capture: music file %s: %s", snd_mp3file, sound_error_text(sound_error()));
    sound_stream_set_time(stream, static_cast<int>(demostart * 1000.0f + 0.5f));
    wav_writer wav;
    if (!wav_open(&wav, path.c_str(), SOUND_RATE, 2)) fatal_error("Capture: %s/audio.wav cannot be written", capture_dir.c_str());
    enum { CHUNK_FRAMES = 4096 };
    std::vector<int16_t> samples(2 * CHUNK_FRAMES);
    for (int64_t left = capture_audio_frames(frames_drawn, step_fps, SOUND_RATE); left > 0;) {
        int want = left < CHUNK_FRAMES ? static_cast<int>(left) : CHUNK_FRAMES;
        int got = sound_decode(stream, samples.data(), want);
        if (got < 0) got = 0;
        std::fill(samples.begin() + 2 * got, samples.begin() + 2 * want, 0);
        wav_write(&wav, samples.data(), want);
        left -= want;
    }
    sound_stream_close(stream);
    if (!wav_close(&wav)) fatal_error("Capture: %s/audio.wav cannot be written", capture_dir.c_str());
}

// ---------------------------------------------------------------------------
// The run
// ---------------------------------------------------------------------------

static std::string make_capture_folder(const char* dir) {
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir))
        fatal_error("Capture folder %s cannot be created: %s", dir,
                    error ? error.message().c_str() : "a file of that name is in the way");
    if (access(dir, W_OK) != 0) fatal_error("Capture folder %s cannot be written", dir);
    return fs::absolute(dir).lexically_normal().string();
}

// A second signal ends the run at once.
static void on_stop_signal(int number) {
    stop_signal = number;
    std::signal(number, SIG_DFL);
}

// Quit was asked for (a signal, Escape) while sections were still to come.
static int stopped_early() { return (pending_head || active_head) && !(demoend > 0 && clock_reached(demoend)); }

// A fatal error during --video: the frames encoded so far are finished into
// a file that plays, unless there are none.
static void finish_video_on_fatal(const char*) {
    fatal_set_hook(nullptr);
    if (!video_opened) return;
    video_opened = 0;
    frame_writer_finish();
    progress_report_end(&report);
    // Part of a piece is no piece: nothing is kept.
    if (video_frames_written() == 0 || piece_run_active()) return video_discard();
    std::string error;
    bool replaced = false;
    if (video_close(&replaced, &error))
        std::fprintf(stderr, "%s holds the %d frames written before the error below and plays\n",
                     video.shown.c_str(), video_frames_written());
    else
        std::fprintf(stderr, "%s\n", error.c_str());
}

static void open_video() {
    video.width = gl_width;
    video.height = gl_height;
    video.fps = step_fps;
    // A piece is pictures only: the join adds the sound once for the run.
    video.sound = soundtrack.empty() || piece_run_active() ? nullptr : soundtrack.data();
    video.sound_size = soundtrack.size();
    video.sound_start_ms = static_cast<int>(demostart * 1000.0f + 0.5f);
    std::string error;
    if (!video_open(video, &error)) fatal_error("%s", error.c_str());
    video_opened = 1;
    frame_writer_use(video_write_frame);
    fatal_set_hook(finish_video_on_fatal);
    std::string note = video_padding_note(video_format_for(video.shown.c_str(), video.lossless), gl_width, gl_height);
    if (!note.empty()) std::fprintf(stderr, "Note: %s: %s\n", video.shown.c_str(), note.c_str());
}

void offline_prepare(const cmdline* options) {
    mode = options->capture_dir ? OFFLINE_CAPTURE
           : options->bench     ? OFFLINE_BENCH
           : options->video     ? OFFLINE_VIDEO
                                : OFFLINE_NONE;
    step_fps = options->offline_fps;
    soak_passes = options->passes;
    offscreen = cmdline_offscreen(options);
    if (mode == OFFLINE_VIDEO) {
        video = video_request();
        video.shown = options->video;
        video.path = fs::absolute(options->video).lexically_normal().string();
        video.crf = options->crf;
        video.lossless = options->lossless;
        // Before anything is drawn: a path that cannot take the file fails now.
        std::string fault = output_file_check(video.path);
        if (!fault.empty()) fatal_error("Video file %s %s", video.shown.c_str(), fault.c_str());
        piece_run_prepare(options);
    }
    if (mode == OFFLINE_CAPTURE) {
        capture_dir = options->capture_dir;
        capture_path = make_capture_folder(options->capture_dir);
    }
    if (options->json) {
        FILE* file = std::fopen(options->json, "w");
        if (!file) fatal_error("Bench report %s cannot be written", options->json);
        std::fclose(file);
        json_path = fs::absolute(options->json).string();
    }
}

// The span the sections that play cover, refused before anything is drawn
// when it holds more frames than an offline run draws: a run that ends is
// never a run that fills a disk.
static void refuse_endless_span() {
    float last_end = demostart;
    for (const section* s = section_list; s; s = s->next)
        if (loading_section_plays(s) && s->end > last_end) last_end = s->end;
    float end = capture_show_end(demoend, last_end);
    double frames = (static_cast<double>(end) - demostart) * step_fps;
    if (frames > OFFLINE_FRAMES_MAX)
        fatal_error("The show from %.3f to %.3f s is %.0f frames at %d fps, more than the %d an offline run draws: "
                    "end it sooner (--end, demoend) or lower --fps",
                    demostart, end, frames, step_fps, OFFLINE_FRAMES_MAX);
}

void offline_begin() {
    if (mode == OFFLINE_NONE) return;
    if (mode != OFFLINE_BENCH) read_soundtrack();
    video_offscreen = offscreen;
    snd_enable = 0;  // the picture must not wait for, nor follow, a sound card
    clock_set_fixed_step(step_fps);
    if (piece_run_active()) piece_run_begin(video, step_fps, gl_width, gl_height);
    for (int type = 0; type < SECTION_TYPE_COUNT; ++type) {
        saved_load[type] = section_types[type].load;
        saved_init[type] = section_types[type].init;
        saved_render[type] = section_types[type].render;
    }
    if (mode == OFFLINE_BENCH) install_bench_timers();
    section_types[0].render = loading_render_with_progress;
    frame_sink = mode == OFFLINE_BENCH ? report_frame : capture_frame;
    refuse_endless_span();
    if (mode == OFFLINE_VIDEO) open_video();
    std::signal(SIGINT, on_stop_signal);
    std::signal(SIGTERM, on_stop_signal);
    progress_begin(&report, isatty(STDERR_FILENO));
}

void offline_loaded() {
    if (mode == OFFLINE_NONE) return;
    progress_report_end(&report);
    section_types[0].render = mode == OFFLINE_BENCH ? timed_render : saved_render[0];
    float last_end = demostart;
    soak_schedule.clear();
    for (section* s = pending_head; s; s = s->pending_next) {
        if (s->end > last_end) last_end = s->end;
        if (mode == OFFLINE_BENCH) bench_row(s);
        soak_schedule.push_back(s);
    }
    show_end = capture_show_end(demoend, last_end);
    if (mode == OFFLINE_BENCH) time_floor();
    if (soak_passes) soak_reset_peak();
    loaded_at = last_frame_at = wall_clock::now();
}

int offline_next_pass() {
    if (mode != OFFLINE_BENCH) return 0;
    if (soak_passes == 0) {
        time_floor();
        return 0;
    }
    progress_report_end(&report);
    soak_figures.push_back(soak_measure());
    int pass = static_cast<int>(soak_figures.size());
    std::printf("%s\n", soak_pass_text(pass, soak_passes, soak_figures.back()).c_str());
    std::fflush(stdout);
    if (pass >= soak_passes) {
        time_floor();
        return 0;
    }
    // Back in the order loading left them: each inserted at the head, since
    // every later one starts no earlier.
    timeline_reset();
    for (auto s = soak_schedule.rbegin(); s != soak_schedule.rend(); ++s) schedule_section(*s);
    clock_start();
    clock_reset();
    quit_requested = 0;
    soak_reset_peak();
    return 1;
}

// The verdict of a soak run, after its report: a fatal error when memory
// kept growing after the first pass.
static void finish_soak() {
    if (soak_passes == 0) return;
    int growing = soak_growing_pass(soak_figures, SOAK_TOLERANCE_KB);
    if (growing)
        fatal_error("Soak: peak resident memory rose from %ld kB in pass 1 to %ld kB in pass %d "
                    "(more than %d kB)",
                    soak_figures[0].peak_kb, soak_figures[growing - 1].peak_kb, growing, SOAK_TOLERANCE_KB);
    std::printf("Soak: %d passes, peak resident memory within %d kB of pass 1\n",
                static_cast<int>(soak_figures.size()), SOAK_TOLERANCE_KB);
}

static void finish_capture() {
    if (!frame_writer_finish()) writer_failed();
    if (frames_drawn == 0) return;
    int with_audio = !soundtrack.empty();
    if (with_audio) write_soundtrack();
    std::printf("Captured %d frames of %dx%d at %d fps (demo time %.3f to %.3f s) to %s%s\n", frames_drawn, gl_width,
                gl_height, step_fps, bench.first_time, bench.last_time, capture_dir.c_str(),
                with_audio ? ", with audio.wav" : "");
    std::printf("Make a video with:\n  %s\n",
                capture_ffmpeg_line(capture_dir, step_fps, gl_width, gl_height, with_audio).c_str());
    std::printf("Or in one step: the same quillon command with --video FILE.mp4 in place of --capture DIR\n");
}

static void finish_bench() {
    bench.fps = step_fps;
    std::stable_sort(bench.sections.begin(), bench.sections.end(),
                     [](const bench_section& a, const bench_section& b) { return a.line < b.line; });
    std::fputs(bench_table(bench).c_str(), stdout);
    if (json_path.empty()) return;
    FILE* file = std::fopen(json_path.c_str(), "w");
    std::string text = bench_json(bench);
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fclose(file) != 0)
        fatal_error("Bench report %s cannot be written", json_path.c_str());
}

// A piece cut short is removed; a whole one gets its manifest.
static void finish_piece() {
    if (frames_drawn < piece_run_count()) {
        video_discard();
        if (!stop_signal)
            fatal_error("Piece %s: the show ended after %d of its %d frames; nothing was kept", video.shown.c_str(),
                        frames_drawn, piece_run_count());
        std::printf("Piece %s stopped after %d of its %d frames: nothing was kept\n", video.shown.c_str(),
                    frames_drawn, piece_run_count());
        return;
    }
    std::string error;
    if (!video_close(nullptr, &error)) fatal_error("%s", error.c_str());
    piece_run_finish();
    std::printf("Wrote piece %s: %s frames of %dx%d at %d fps, %s\n", video.shown.c_str(),
                piece_run_summary().c_str(), gl_width, gl_height, step_fps,
                video_format_for(video.shown.c_str(), video.lossless)->video_name);
}

static void finish_video() {
    if (!frame_writer_finish()) writer_failed();
    video_opened = 0;
    if (piece_run_active()) {
        finish_piece();
        return;
    }
    if (frames_drawn == 0) {
        video_discard();
        std::printf("No frame was drawn: %s was not written\n", video.shown.c_str());
        return;
    }
    std::string error;
    bool replaced = false;
    if (!video_close(&replaced, &error)) fatal_error("%s", error.c_str());
    const video_format* format = video_format_for(video.shown.c_str(), video.lossless);
    std::error_code ignored;
    double megabytes = static_cast<double>(fs::file_size(video.path, ignored)) / 1e6;
    std::printf("Wrote %s: %d frames of %dx%d at %d fps (demo time %.3f to %.3f s), %s%s%s, %.1f MB\n",
                video.shown.c_str(), frames_drawn, gl_width, gl_height, step_fps, bench.first_time, bench.last_time,
                format->video_name, video.sound ? " and " : "", video.sound ? format->audio_name : "", megabytes);
    if (replaced) std::printf("(%s replaced the file of that name)\n", video.shown.c_str());
    double total = ms_since(loaded_at, wall_clock::now()) / 1000.0, waited = frame_writer_wait_seconds();
    std::printf("Time: %.1f s drawing, %.1f s reading back, %.1f s waiting for the encoder; its thread: %s\n",
                total - readback_s - waited, readback_s, waited, video_time_report().c_str());
}

int offline_end() {
    if (mode == OFFLINE_NONE) return 0;
    progress_report_end(&report);
    if (mode == OFFLINE_CAPTURE) finish_capture();
    else if (mode == OFFLINE_VIDEO) finish_video();
    else finish_bench();
    if (stopped_early() && !piece_run_active())
        std::printf("Stopped by %s after %d frames (demo time %.3f s); what was written is complete\n",
                    stop_signal == SIGINT ? "SIGINT" : stop_signal ? "SIGTERM" : "Escape", frames_drawn, bench.last_time);
    std::fflush(stdout);
    if (mode == OFFLINE_BENCH) finish_soak();
    // A run stopped by a signal ends as one, so a calling script sees it.
    return stop_signal ? 128 + stop_signal : 0;
}
