// A 50,000-face model (one rippled sheet, 25,326 vertices) written with the
// asset generator's model writer: parsing plus normals, and one sphere-mapped
// draw into the render target at 800 x 600 (needs a display: run under Xvfb).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <cmath>
#include <vector>

#include "core/settings.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/texture.h"
#include "assetlib/model_writer.h"

static const int COLUMNS = 200, ROWS = 125;  // 2 x 200 x 125 = 50,000 faces

static std::vector<unsigned char> sheet_file() {
    mesh_object sheet;
    sheet.name = "sheet";
    for (int r = 0; r <= ROWS; ++r)
        for (int c = 0; c <= COLUMNS; ++c) {
            const float x = c * 4.0f / COLUMNS - 2, z = r * 4.0f / ROWS - 2;
            sheet.vertices.push_back({x, 0.2f * std::sin(3 * x) * std::cos(2 * z), z});
        }
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLUMNS; ++c) {
            const int a = r * (COLUMNS + 1) + c, b = a + 1, d = a + COLUMNS + 1, e = d + 1;
            sheet.triangles.push_back({a, d, e});
            sheet.triangles.push_back({a, e, b});
        }
    mesh_model m;
    m.objects.push_back(sheet);
    return model_writer_encode(m, "sheet.3ds");
}

static void BM_model_parse_and_normals(benchmark::State& state) {
    const std::vector<unsigned char> bytes = sheet_file();
    for (auto _ : state) {
        model* m = model_parse(bytes.data(), bytes.size(), nullptr);
        model_compute_normals(m);
        benchmark::DoNotOptimize(m->objects[0].vertices[100].ny);
        model_free(m);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes.size());
}
BENCHMARK(BM_model_parse_and_normals)->Unit(benchmark::kMillisecond);

static bool model_bench_window(benchmark::State& state) {
    if (!SDL_GetVideoSurface()) {
        settings_reset();
        gl_fullscreen = 0;
        gl_info = 0;
        video_start();
    }
    if (SDL_GetVideoSurface()) return true;
    state.SkipWithError("no window");
    return false;
}

static void BM_model_draw_sphere_mapped(benchmark::State& state) {
    if (!model_bench_window(state)) return;
    const std::vector<unsigned char> bytes = sheet_file();
    model* m = model_parse(bytes.data(), bytes.size(), nullptr);
    model_compute_normals(m);
    int map = texture_create_empty(64, 64, GL_RGB, 3);
    texture_upload(map);
    texture_bind(map);
    camera* cam = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_position(cam, 0, 3, 4);
    camera_set_perspective(cam, 60, 4.0f / 3);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    for (auto _ : state) {
        frame_begin();
        camera_apply_projection(cam);
        camera_apply_view(cam);
        model_draw_sphere_mapped(m);
        glFinish();
    }
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    model_free(m);
}
BENCHMARK(BM_model_draw_sphere_mapped)->Unit(benchmark::kMillisecond);
