// quillon-brightframes [--fps N] [--size WxH] [--frames DIR] [SHOW_DIR]:
// plays the show in SHOW_DIR offline (quillon --capture, 2 frames a second
// unless --fps says otherwise, without sound; or reads the frames an earlier
// capture at that rate left in DIR), then lists every stretch longer than half a
// second in which more than 40 % of the picture inside the letterbox is near
// white. Stretches the script declares on purpose, with comment lines such as
//   ; white fade 15.5-17: the caption flashes into the gears
// are listed as allowed; any other stretch makes the exit status 1.
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/script.h"
#include "tools/brightframes/usage.h"
#include "core/settings.h"
#include "platform/video.h"

namespace {

const float BRIGHT_SHARE = 0.4f;     // of the band's pixels
const int NEAR_WHITE = 230;          // every channel at least this
const float LONGEST_FLASH = 0.5f;    // seconds; longer stretches are listed

struct fade {
    float from, to;
};

struct stretch {
    float from, to;   // first frame's time, and the time after the last frame
    float peak;       // largest share of near-white pixels
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "quillon-brightframes: %s\n", what.c_str());
    std::exit(2);
}

std::string shell_word(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The share of near-white pixels in the rows of the 16:9 or 4:3 band.
float bright_share(const std::string& path, float aspect) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) fail(path + ": " + png.message);
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) fail(path + ": " + png.message);
    int w = static_cast<int>(png.width), h = static_cast<int>(png.height);
    int band = video_present_height(w, aspect);
    if (band > h) band = h;
    int top = h - band - video_present_y(h, band);   // rows are stored from the top
    long bright = 0;
    for (int y = top; y < top + band; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            if (p[0] >= NEAR_WHITE && p[1] >= NEAR_WHITE && p[2] >= NEAR_WHITE) ++bright;
        }
    return band > 0 && w > 0 ? static_cast<float>(bright) / (static_cast<float>(band) * w) : 0;
}

std::vector<fade> declared_fades(const std::string& script) {
    std::vector<fade> fades;
    std::ifstream in(script);
    std::string line;
    while (std::getline(in, line)) {
        fade f;
        if (std::sscanf(line.c_str(), "; white fade %f-%f", &f.from, &f.to) == 2) fades.push_back(f);
    }
    return fades;
}

// A stretch is allowed when it lies inside a declared fade, give or take one
// frame.
const fade* allowing(const stretch& s, const std::vector<fade>& fades, float frame) {
    for (const fade& f : fades)
        if (s.from >= f.from - frame && s.to <= f.to + frame) return &f;
    return nullptr;
}

struct options {
    int fps = 2;
    std::string size, frames, show = ".";
};

options parse(int argc, char** argv) {
    options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--fps" && i + 1 < argc) o.fps = std::atoi(argv[++i]);
        else if (a == "--size" && i + 1 < argc) o.size = argv[++i];
        else if (a == "--frames" && i + 1 < argc) o.frames = argv[++i];
        else if (a == "--help") {
            std::fputs(BRIGHTFRAMES_USAGE, stdout);
            std::exit(0);
        } else if (a[0] == '-') fail("unknown option " + a + "\nTry 'quillon-brightframes --help' for the options.");
        else o.show = a;
    }
    if (o.fps < 1) fail("--fps needs a whole number of frames a second, at least 1");
    return o;
}

// Plays the show offline into `folder`, with the player built beside this
// tool.
void capture(const options& o, const std::string& folder) {
    std::string here = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    std::string command = shell_word(here + "/quillon") + " --mute --fps " + std::to_string(o.fps) +
                          (o.size.empty() ? "" : " --size " + shell_word(o.size)) + " --capture " +
                          shell_word(folder) + " " + shell_word(o.show) + " > /dev/null";
    if (std::system(command.c_str()) != 0) fail("the capture failed: " + command);
}

std::vector<float> frame_shares(const std::string& folder, float aspect) {
    std::vector<float> shares;
    for (int k = 0;; ++k) {
        char name[64];
        std::snprintf(name, sizeof name, "/frame_%06d.png", k);
        std::string path = folder + name;
        if (!std::filesystem::exists(path)) break;
        shares.push_back(bright_share(path, aspect));
    }
    return shares;
}

// Runs of frames over the bright share lasting longer than a flash; frame k
// shows the clock at start + k * frame.
std::vector<stretch> bright_stretches(const std::vector<float>& shares, float start, float frame) {
    std::vector<stretch> found;
    for (size_t k = 0; k < shares.size(); ++k) {
        if (!(shares[k] > BRIGHT_SHARE)) continue;
        size_t end = k;
        float peak = 0;
        for (; end < shares.size() && shares[end] > BRIGHT_SHARE; ++end)
            if (shares[end] > peak) peak = shares[end];
        stretch s = {start + k * frame, start + end * frame, peak};
        if (s.to - s.from > LONGEST_FLASH) found.push_back(s);
        k = end;
    }
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    options o = parse(argc, argv);
    char scratch[] = "/tmp/quillon-brightframes-XXXXXX";
    std::string frames = o.frames;
    if (frames.empty()) {
        if (!mkdtemp(scratch)) fail("cannot make a scratch folder");
        frames = scratch;
        capture(o, frames);
    }
    frames = std::filesystem::absolute(frames).string();
    if (chdir(o.show.c_str()) != 0) fail("cannot enter " + o.show);
    read_script_file("data/script.txt");
    std::vector<float> shares = frame_shares(frames, gl_panoramic ? 16.0f / 9.0f : 4.0f / 3.0f);
    if (frames == scratch) std::filesystem::remove_all(scratch);

    float frame = 1.0f / static_cast<float>(o.fps);
    std::vector<stretch> found = bright_stretches(shares, demostart, frame);
    std::vector<fade> fades = declared_fades("data/script.txt");
    int unexpected = 0;
    std::printf("%zu frames at %d a second; stretches over %.1f s with more than %.0f %% near white:\n",
                shares.size(), o.fps, LONGEST_FLASH, BRIGHT_SHARE * 100);
    for (const stretch& s : found) {
        const fade* f = allowing(s, fades, frame);
        std::printf("  %7.2f - %7.2f s  peak %3.0f %%  %s\n", s.from, s.to, s.peak * 100,
                    f ? "declared white fade" : "NOT DECLARED");
        if (!f) ++unexpected;
    }
    if (found.empty()) std::printf("  none\n");
    return unexpected ? 1 : 0;
}
