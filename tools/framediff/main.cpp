// quillon-framediff RECORDED_DIR NEW_DIR: measures every frame_NNNNNN.png of
// an earlier capture against the frame of the same name in a new one and
// prints, for each frame that differs, the largest difference on any channel
// (in levels of 255) and the share of pixels that differ at all. A frame is
// within tolerance when no channel differs by more than one level and at most
// half a percent of its pixels differ; the exit status is 1 when any frame is
// beyond it, is missing from either capture or changed size, 2 on bad use.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const int MOST_LEVELS = 1;             // largest allowed difference on a channel
const double MOST_SHARE = 0.005;       // largest allowed share of differing pixels

struct picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

struct difference {
    int largest = 0;     // levels, on the worst channel of the worst pixel
    long differing = 0;  // pixels with any channel unequal
    long pixels = 0;
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "quillon-framediff: %s\n", what.c_str());
    std::exit(2);
}

int read_picture(const std::string& path, picture* out) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return 0;
    png.format = PNG_FORMAT_RGB;
    out->rgb.resize(PNG_IMAGE_SIZE(png));
    out->width = static_cast<int>(png.width);
    out->height = static_cast<int>(png.height);
    return png_image_finish_read(&png, nullptr, out->rgb.data(), 0, nullptr) ? 1 : 0;
}

difference compare(const picture& a, const picture& b) {
    difference d;
    d.pixels = static_cast<long>(a.width) * a.height;
    for (long i = 0; i < d.pixels; ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            int step = std::abs(a.rgb[i * 3 + c] - b.rgb[i * 3 + c]);
            if (step > worst) worst = step;
        }
        if (worst > 0) ++d.differing;
        if (worst > d.largest) d.largest = worst;
    }
    return d;
}

int within_tolerance(const difference& d) {
    return d.largest <= MOST_LEVELS && static_cast<double>(d.differing) <= MOST_SHARE * d.pixels;
}

std::vector<std::string> frame_names(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("frame_", 0) == 0 && entry.path().extension() == ".png") names.push_back(name);
    }
    if (error) fail(folder + ": " + error.message());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) fail("usage: quillon-framediff RECORDED_DIR NEW_DIR");
    std::string recorded = argv[1], fresh = argv[2];
    std::vector<std::string> names = frame_names(recorded);
    if (names.empty()) fail("no frame_NNNNNN.png in " + recorded);
    size_t fresh_count = frame_names(fresh).size();
    long identical = 0, close = 0, beyond = 0;
    for (const std::string& name : names) {
        picture a, b;
        if (!read_picture(recorded + "/" + name, &a)) fail(recorded + "/" + name + ": not a readable PNG");
        if (!read_picture(fresh + "/" + name, &b)) {
            std::printf("%s  missing or unreadable in %s  BEYOND\n", name.c_str(), fresh.c_str());
            ++beyond;
            continue;
        }
        if (a.width != b.width || a.height != b.height) {
            std::printf("%s  %dx%d, was %dx%d  BEYOND\n", name.c_str(), b.width, b.height, a.width, a.height);
            ++beyond;
            continue;
        }
        difference d = compare(a, b);
        if (d.differing == 0) {
            ++identical;
            continue;
        }
        int ok = within_tolerance(d);
        std::printf("%s  largest %3d  pixels %7.3f %%  %s\n", name.c_str(), d.largest,
                    100.0 * static_cast<double>(d.differing) / static_cast<double>(d.pixels),
                    ok ? "within" : "BEYOND");
        ++(ok ? close : beyond);
    }
    int count_differs = fresh_count != names.size();
    if (count_differs) std::printf("frame count differs: %zu recorded, %zu now\n", names.size(), fresh_count);
    std::printf("%zu frames: %ld identical, %ld within tolerance (at most %d level in %.1f %% of pixels), "
                "%ld beyond\n",
                names.size(), identical, close, MOST_LEVELS, MOST_SHARE * 100, beyond);
    return beyond || count_differs ? 1 : 0;
}
