// Benchmark of the script reader on a generated 10,000-line script: a head
// of settings, then sections of every keyword, written once to a temporary
// file and read (and freed) once per iteration.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/script.h"
#include "core/section.h"
#include "show/show_host.h"

namespace {

// Scripts are read as the player reads them.
const int door_opened = (show_host_install(nullptr), 1);

enum { BENCH_SCRIPT_LINES = 10000 };

// The script's text and its line count.
std::string bench_script_text(int* lines) {
    std::string text =
        "; generated benchmark script\n"
        "demoname Benchmark show  \n"
        "gl_width 1024\n"
        "gl_height 576\n"
        "demostart 0.0\n"
        "snd_mp3file data/music.mp3\n";
    int count = 6;
    char line[128];
    for (int i = 0; count + 16 <= BENCH_SCRIPT_LINES - 1; ++i) {
        snprintf(line, sizeof line, "[%s]\nstart %d.25\nend %d.75\nlayer %d\n",
                 i % 2 ? "gen3DS" : "efxFader", i, i + 3, i % 10);
        text += line;
        text += "syncs 3\nsync 1.5\nsync 2.5\nsync 3.5\n";
        text += "param 0.5\nparam -1.25\nparam 3e2\n";
        text += "string models/ship.3ds\nstring textures/metal.jpg\n";
        text += "spline data/splines/camera.spl\nspline data/splines/ship.spl 4.5\n";
        text += "; a comment between sections\n";
        count += 16;
    }
    for (; count < BENCH_SCRIPT_LINES - 1; ++count) text += "\n";
    text += "[EOF]\n";
    *lines = count + 1;
    return text;
}

// Writes `text` to a fresh temporary file and returns its path.
std::string bench_write_temp(const std::string& text) {
    char path[] = "/tmp/quillon-bench-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return "";
    FILE* file = fdopen(fd, "wb");
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
    return path;
}

void BM_read_script(benchmark::State& state) {
    int lines = 0;
    std::string path = bench_write_temp(bench_script_text(&lines));
    if (path.empty()) {
        state.SkipWithError("cannot write the temporary script");
        return;
    }
    int sections = 0;
    for (auto _ : state) {
        read_script_file(path.c_str());
        sections = 0;
        for (section* s = section_list; s; s = s->next) ++sections;
        script_reset();
    }
    state.counters["lines"] = lines;
    state.counters["sections"] = sections;
    state.SetItemsProcessed(state.iterations() * lines);
    unlink(path.c_str());
}
BENCHMARK(BM_read_script)->Unit(benchmark::kMillisecond);

}  // namespace
