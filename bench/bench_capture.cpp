// The PNG encoding of one captured 800 x 600 frame, the part of a capture
// that runs on the CPU after the read-back. The picture is a smooth gradient
// with a little grain, as the show's frames have.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/png_file.h"
#include "core/random.h"

static void BM_capture_png_encode_800x600(benchmark::State& state) {
    const int width = 800, height = 600;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            int grain = static_cast<int>(rand_next() % 4);
            p[0] = static_cast<uint8_t>((x * 160) / width + grain);
            p[1] = static_cast<uint8_t>((y * 90) / height + grain / 2);
            p[2] = static_cast<uint8_t>(120 + grain);
        }
    std::string path = "/tmp/quillon-bench-" + std::to_string(getpid()) + ".png";
    for (auto _ : state) benchmark::DoNotOptimize(png_file_write(path.c_str(), width, height, rgb.data()));
    unlink(path.c_str());
}
BENCHMARK(BM_capture_png_encode_800x600)->Unit(benchmark::kMillisecond);
