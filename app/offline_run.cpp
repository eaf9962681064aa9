// Offline runs (--capture, --video, --bench). All put the clock on a fixed
// step, draw offscreen (or in a window with --windowed) and silent, and
// report progress on standard error. Capture installs the frame sink that
// reads each presented frame back and writes it as a PNG file, and decodes
// the soundtrack into audio.wav at the end; video hands the same frames and
// the soundtrack to the video writer. SIGINT and SIGTERM stop a run as
// Escape stops the player: what was written so far is finished. Bench
// puts its timers around the section type table's slots (bench_timers.h),
// times the bare present path before and after the show as the report's
// floor, and prints the report at the end.
#include "app/offline_run.h"

#include <GL/gl.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/bench_report.h"
#include "app/bench_timers.h"
#include "app/capture.h"
#include "app/cmdline.h"
#include "app/frame_writer.h"
#include "app/output_file.h"
#include "app/piece_run.h"
#include "app/progress.h"
#include "app/soak.h"
#include "app/soundtrack.h"
#include "app/video_writer.h"
#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/video.h"
#include "show/engine.h"
#include "show/loading.h"
#include "show/timeline.h"

namespace fs = std::filesystem;

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
static std::vector<uint8_t> pixels;
static section_callback loading_own_render;  // the loading section's own render
static section_callback loaded_render;       // its slot once loading is over
static int soak_passes = 0;                 // 0: a single pass, no memory figures
static std::vector<section*> soak_schedule; // the pending list after loading
static std::vector<soak_pass> soak_figures;

// ---------------------------------------------------------------------------
// Progress and the frame sink
// ---------------------------------------------------------------------------

// The loading screen as the show draws it, and the same fraction on stderr.
static void loading_render_with_progress() {
    if (stop_signal) quit_requested = 1;
    loading_own_render();
    progress_report(&report, loading_fraction(), progress_loading_text(loading_fraction()));
}

static void report_frame() {
    if (stop_signal) quit_requested = 1;
    wall_clock::time_point now = wall_clock::now();
    if (mode == OFFLINE_BENCH) bench.frame_ms.push_back(bench_ms_since(last_frame_at, now));
    last_frame_at = now;
    if (frames_drawn == 0) bench.first_time = demo_time;
    bench.last_time = demo_time;
    frames_drawn += 1;
    double seconds = bench_ms_since(loaded_at, now) / 1000.0;
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
                    video_writer_failure().c_str());
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
    readback_s += bench_ms_since(began, wall_clock::now()) / 1000.0;
    std::string path = mode == OFFLINE_VIDEO ? video.shown : capture_path + "/" + capture_frame_name(frames_drawn);
    if (!frame_writer_submit(path, frames_drawn, gl_width, gl_height, &pixels)) writer_failed();
    report_frame();
    if (piece_run_active() && frames_drawn >= piece_run_count()) quit_requested = 1;
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
    if (video_writer_frames_written() == 0 || piece_run_active()) return video_writer_discard();
    std::string error;
    bool replaced = false;
    if (video_writer_close(&replaced, &error))
        std::fprintf(stderr, "%s holds the %d frames written before the error below and plays\n",
                     video.shown.c_str(), video_writer_frames_written());
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
    if (!video_writer_open(video, &error)) fatal_error("%s", error.c_str());
    video_opened = 1;
    frame_writer_use(video_writer_encode_frame);
    fatal_set_hook(finish_video_on_fatal);
    std::string note = video_writer_padding_note(video_format_for(video.shown.c_str(), video.lossless), gl_width, gl_height);
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
    if (mode != OFFLINE_BENCH) soundtrack_read(&soundtrack);
    video_offscreen = offscreen;
    snd_enable = 0;  // the picture must not wait for, nor follow, a sound card
    clock_set_fixed_step(step_fps);
    if (piece_run_active()) piece_run_begin(video, step_fps, gl_width, gl_height);
    loading_own_render = section_types[0].render;
    if (mode == OFFLINE_BENCH) bench_timers_install(&bench);
    loaded_render = section_types[0].render;
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
    section_types[0].render = loaded_render;
    float last_end = demostart;
    soak_schedule.clear();
    for (section* s = pending_head; s; s = s->pending_next) {
        if (s->end > last_end) last_end = s->end;
        if (mode == OFFLINE_BENCH) bench_timers_row(s);
        soak_schedule.push_back(s);
    }
    show_end = capture_show_end(demoend, last_end);
    if (mode == OFFLINE_BENCH) bench_timers_floor();
    if (soak_passes) soak_reset_peak();
    loaded_at = last_frame_at = wall_clock::now();
}

int offline_next_pass() {
    if (mode != OFFLINE_BENCH) return 0;
    if (soak_passes == 0) {
        bench_timers_floor();
        return 0;
    }
    progress_report_end(&report);
    soak_figures.push_back(soak_measure());
    int pass = static_cast<int>(soak_figures.size());
    std::printf("%s\n", soak_pass_text(pass, soak_passes, soak_figures.back()).c_str());
    std::fflush(stdout);
    if (pass >= soak_passes) {
        bench_timers_floor();
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
    if (with_audio) soundtrack_write_wav(soundtrack, capture_path, capture_dir, frames_drawn, step_fps);
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
        video_writer_discard();
        if (!stop_signal)
            fatal_error("Piece %s: the show ended after %d of its %d frames; nothing was kept", video.shown.c_str(),
                        frames_drawn, piece_run_count());
        std::printf("Piece %s stopped after %d of its %d frames: nothing was kept\n", video.shown.c_str(),
                    frames_drawn, piece_run_count());
        return;
    }
    std::string error;
    if (!video_writer_close(nullptr, &error)) fatal_error("%s", error.c_str());
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
        video_writer_discard();
        std::printf("No frame was drawn: %s was not written\n", video.shown.c_str());
        return;
    }
    std::string error;
    bool replaced = false;
    if (!video_writer_close(&replaced, &error)) fatal_error("%s", error.c_str());
    const video_format* format = video_format_for(video.shown.c_str(), video.lossless);
    std::error_code ignored;
    double megabytes = static_cast<double>(fs::file_size(video.path, ignored)) / 1e6;
    std::printf("Wrote %s: %d frames of %dx%d at %d fps (demo time %.3f to %.3f s), %s%s%s, %.1f MB\n",
                video.shown.c_str(), frames_drawn, gl_width, gl_height, step_fps, bench.first_time, bench.last_time,
                format->video_name, video.sound ? " and " : "", video.sound ? format->audio_name : "", megabytes);
    if (replaced) std::printf("(%s replaced the file of that name)\n", video.shown.c_str());
    double total = bench_ms_since(loaded_at, wall_clock::now()) / 1000.0, waited = frame_writer_wait_seconds();
    std::printf("Time: %.1f s drawing, %.1f s reading back, %.1f s waiting for the encoder; its thread: %s\n",
                total - readback_s - waited, readback_s, waited, video_writer_time_report().c_str());
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
