// quillon_peer_frames [PRESET_DIR] [SOUNDTRACK.mp3]: the frame cost of a
// music visualiser library drawing into the same offscreen frame that
// `quillon --bench` measures: an 800x600 pbuffer from platform/offscreen, a
// 32x24 warp mesh and a 512x512 texture, 12 presets taken evenly from the
// sorted .milk files of PRESET_DIR, fed the show's soundtrack at 60 frames a
// second. Each frame is timed as the bench times its floor, from the start of
// the frame to the end of glFinish; the first frames of a preset (shader
// compilation) are left out. Prints the mean, median and 95th percentile of
// all timed frames and of each preset.
#include <GL/gl.h>
#include <libprojectM/projectM.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/bench_report.h"
#include "core/file_read.h"
#include "platform/offscreen.h"
#include "platform/sound.h"

namespace {

const int WIDTH = 800, HEIGHT = 600;
const int PRESETS = 12;
const int WARM_FRAMES = 10;    // per preset, not timed
const int TIMED_FRAMES = 120;  // per preset
const int RATE = 44100, FPS = 60;

using wall_clock = std::chrono::steady_clock;

std::vector<std::string> chosen_presets(const std::string& folder) {
    std::vector<std::string> all;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".milk") all.push_back(entry.path().string());
    std::sort(all.begin(), all.end());
    std::vector<std::string> chosen;
    for (int i = 0; i < PRESETS && !all.empty(); ++i) chosen.push_back(all[all.size() * i / PRESETS]);
    return chosen;
}

// Stereo 16-bit samples of the whole soundtrack; silence when it cannot be read.
std::vector<int16_t> soundtrack_samples(const std::string& path) {
    std::vector<unsigned char> mp3;
    std::vector<int16_t> samples;
    if (!file_read_all(path.c_str(), &mp3)) return samples;
    sound_stream* stream = sound_stream_open_memory(mp3.data(), mp3.size());
    if (!stream) return samples;
    std::vector<int16_t> block(2 * 4096);
    int got;
    while ((got = sound_decode(stream, block.data(), 4096)) > 0)
        samples.insert(samples.end(), block.begin(), block.begin() + 2 * got);
    sound_stream_close(stream);
    return samples;
}

void print_row(const std::string& name, const std::vector<double>& ms) {
    std::printf("%-60.60s %5zu %9.2f %9.2f %9.2f\n", name.c_str(), ms.size(), bench_mean(ms),
                bench_percentile(ms, 50), bench_percentile(ms, 95));
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "/usr/share/projectM/presets/presets_stock";
    std::string music = argc > 2 ? argv[2] : QUILLON_SOURCE_DIR "/data/music/soundtrack.mp3";
    std::vector<std::string> presets = chosen_presets(folder);
    if (presets.size() < PRESETS) {
        std::fprintf(stderr, "quillon_peer_frames: fewer than %d presets in %s\n", PRESETS, folder.c_str());
        return 2;
    }
    char why[256];
    if (!offscreen_open(WIDTH, HEIGHT, why, sizeof why)) {
        std::fprintf(stderr, "quillon_peer_frames: %s\n", why);
        return 2;
    }
    std::vector<int16_t> sound = soundtrack_samples(music);
    if (sound.empty()) std::fprintf(stderr, "quillon_peer_frames: %s unreadable; drawing to silence\n", music.c_str());

    projectM::Settings settings;
    settings.meshX = 32;
    settings.meshY = 24;
    settings.fps = FPS;
    settings.textureSize = 512;
    settings.windowWidth = WIDTH;
    settings.windowHeight = HEIGHT;
    settings.presetDuration = 100000;  // the harness changes presets itself
    settings.smoothPresetDuration = 0;
    settings.hardcutEnabled = false;
    settings.shuffleEnabled = false;
    settings.datadir = std::filesystem::path(folder).parent_path().parent_path().string();
    settings.presetURL = folder;
    // Made and destroyed while the frame's context is current: it frees its
    // GL objects on the way out.
    auto* visualiser = new projectM(settings, projectM::FLAG_DISABLE_PLAYLIST_LOAD);
    for (const std::string& path : presets)
        visualiser->addPresetURL(path, std::filesystem::path(path).stem().string(), RatingList(1, 3));

    const size_t per_frame = RATE / FPS;
    size_t played = 0;
    std::vector<double> all;
    std::printf("%d presets of %s, %dx%d, 32x24 mesh, %d frames each after %d untimed\n\n", PRESETS,
                folder.c_str(), WIDTH, HEIGHT, TIMED_FRAMES, WARM_FRAMES);
    std::printf("%-60s %5s %9s %9s %9s\n", "preset", "n", "mean ms", "median ms", "p95 ms");
    for (int p = 0; p < PRESETS; ++p) {
        visualiser->selectPreset(static_cast<unsigned>(p), true);
        std::vector<double> ms;
        for (int f = 0; f < WARM_FRAMES + TIMED_FRAMES; ++f) {
            if (sound.size() >= 2 * per_frame) {
                if (2 * (played + per_frame) > sound.size()) played = 0;
                visualiser->pcm()->addPCM16Data(&sound[2 * played], static_cast<short>(per_frame));
                played += per_frame;
            }
            wall_clock::time_point began = wall_clock::now();
            visualiser->renderFrame();
            glFinish();
            double elapsed = std::chrono::duration<double, std::milli>(wall_clock::now() - began).count();
            if (f >= WARM_FRAMES) ms.push_back(elapsed);
        }
        print_row(std::filesystem::path(presets[p]).stem().string(), ms);
        all.insert(all.end(), ms.begin(), ms.end());
    }
    print_row("all presets", all);
    delete visualiser;
    offscreen_close();
    return 0;
}
