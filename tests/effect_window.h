// A window on real Mesa for the post-processing effects' GL tests: the video
// opened from a script head written by the test, hand-built section records,
// helpers to paint a known picture into the render target and to read it
// back.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/script.h"
#include "core/settings.h"
#include "platform/video.h"
#include "show/engine.h"
#include "show/section_table.h"
#include "tests/test_support.h"

struct rgb {
    int r, g, b;
};

struct effect_window : ::testing::Test {
    temp_dir dir;
    working_folder in_dir{dir.path};
    std::vector<std::unique_ptr<section>> sections;

    void TearDown() override {
        current_section = nullptr;
        shut_down();
        script_reset();
    }
    // Opens the window (800 x 600 unless `head` says otherwise) and prepares
    // the render target as a frame does.
    void open(const std::string& head = "") {
        dir.write("data/script.txt", "gl_fullscreen 0\ngl_info 0\n" + head + "[EOF]\n");
        read_script_file("data/script.txt");
        video_start();
        frame_begin();
    }
    // A section record of type `type` from `start` to `end`, made current,
    // its values record filled as loading fills it.
    section& add_section(int type, float start, float end, std::initializer_list<float> params,
                         std::initializer_list<float> syncs = {}) {
        sections.emplace_back(new section());
        section& s = *sections.back();
        s.type = type;
        s.line = 1;
        s.start = start;
        s.end = end;
        s.duration = end - start;
        for (float p : params) s.params[s.param_count++] = p;
        if (syncs.size()) {
            s.syncs = syncs_storage.emplace_back(syncs).data();
            s.sync_count = static_cast<int>(syncs.size());
        }
        section_values_fill(&s);
        current_section = &s;
        return s;
    }
    std::vector<std::vector<float>> syncs_storage;

    // The whole colour buffer in one colour.
    static void clear_to(float r, float g, float b) {
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }
    // A rectangle of the colour buffer (window pixels, y up) in one colour.
    static void fill_rect(int x, int y, int w, int h, float r, float g, float b) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, w, h);
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
        glDisable(GL_SCISSOR_TEST);
    }
    static rgb pixel_at(int x, int y) {
        unsigned char p[4] = {0, 0, 0, 0};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    // The render target's pixels, RGBA, rows from the bottom.
    static std::vector<unsigned char> read_target() {
        std::vector<unsigned char> pixels(static_cast<size_t>(gl_rttWidth) * gl_rttHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, gl_rttWidth, gl_rttHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return pixels;
    }
    // The pixels brighter than `level` in some channel (or in `channel`
    // alone): how many, their mean column and row, the brightest channel
    // value among them, and the sums of their red, green and blue.
    struct lit_pixels {
        double count = 0, x = 0, y = 0;
        int peak = 0;
        double sum[3] = {0, 0, 0};
    };
    static lit_pixels lit(int level = 24, int channel = -1) {
        std::vector<unsigned char> p = read_target();
        lit_pixels l;
        for (size_t i = 0; i < p.size() / 4; ++i) {
            const unsigned char* c = &p[i * 4];
            int top = channel >= 0 ? c[channel] : std::max({c[0], c[1], c[2]});
            if (top <= level) continue;
            l.count += 1;
            l.x += static_cast<double>(i % gl_rttWidth);
            l.y += static_cast<double>(i / gl_rttWidth);
            l.peak = std::max(l.peak, top);
            for (int k = 0; k < 3; ++k) l.sum[k] += c[k];
        }
        if (l.count > 0) l.x /= l.count, l.y /= l.count;
        return l;
    }
    static GLint integer_state(GLenum which) {
        GLint value = -1;
        glGetIntegerv(which, &value);
        return value;
    }
};

// A colour read back within `tolerance` of (r, g, b) in every channel.
inline ::testing::AssertionResult rgb_near(rgb got, int r, int g, int b, int tolerance) {
    if (std::abs(got.r - r) <= tolerance && std::abs(got.g - g) <= tolerance && std::abs(got.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "read (" << got.r << ", " << got.g << ", " << got.b << "), not (" << r
                                         << ", " << g << ", " << b << ") within " << tolerance;
}
#define EXPECT_RGB_NEAR(got, R, G, B, tolerance) EXPECT_TRUE(rgb_near((got), (R), (G), (B), (tolerance)))
