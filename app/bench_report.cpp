// Bench report texts: per-section render times, frame totals and loading
// steps, as an aligned table and as JSON.
#include "app/bench_report.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

double bench_mean(const std::vector<double>& values) {
    if (values.empty()) return 0;
    double sum = 0;
    for (double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

double bench_percentile(std::vector<double> values, double percent) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    // percent * n first: 95 % of 20 values is rank 19 exactly, not 19.000001.
    double rank = std::ceil(percent * static_cast<double>(values.size()) / 100.0);
    size_t index = rank < 1 ? 0 : static_cast<size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

double bench_ratio(double ms, double floor_ms) { return floor_ms > 0 ? ms / floor_ms : 0; }

double bench_floor(const bench_report& report) { return bench_percentile(report.floor_ms, 50); }

static std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

static std::string format(const char* pattern, ...) {
    char text[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

static std::string timing_columns(const std::vector<double>& ms, double floor) {
    if (ms.empty()) return format("%8d %9s %9s", 0, "-", "-");
    double mean = bench_mean(ms), p95 = bench_percentile(ms, 95);
    std::string out = format("%8zu %9.3f %9.3f", ms.size(), mean, p95);
    if (floor > 0) out += format(" %10.2f %10.2f", bench_ratio(mean, floor), bench_ratio(p95, floor));
    return out;
}

static double total_loading_ms(const bench_report& report) {
    double total = 0;
    for (const bench_step& step : report.loading) total += step.ms;
    return total;
}

std::string bench_table(const bench_report& report) {
    std::string out = format("Bench: %zu frames at %d fps, demo time %.3f to %.3f s\n\n", report.frame_ms.size(),
                             report.fps, report.first_time, report.last_time);
    double floor = bench_floor(report);
    if (floor > 0)
        out += format("Floor: the bare present path at %dx%d, %zu frames: median %.3f ms, mean %.3f ms, p95 %.3f ms; "
                      "time/floor = time / floor median\n\n",
                      report.width, report.height, report.floor_ms.size(), floor, bench_mean(report.floor_ms),
                      bench_percentile(report.floor_ms, 95));
    out += format("%-24s %5s %8s %9s %9s", "section", "line", "frames", "mean ms", "p95 ms");
    out += floor > 0 ? format(" %10s %10s\n", "mean/floor", "p95/floor") : "\n";
    for (const bench_section& s : report.sections)
        out += format("%-24s %5d ", s.type.c_str(), s.line) + timing_columns(s.render_ms, floor) + "\n";
    out += format("%-24s %5s ", "whole frame", "") + timing_columns(report.frame_ms, floor) + "\n";
    if (floor > 0) out += format("%-24s %5s ", "floor", "") + timing_columns(report.floor_ms, floor) + "\n";
    out += "\n";
    out += format("%-24s %5s %9s\n", "loading step", "line", "ms");
    for (const bench_step& step : report.loading) {
        std::string name = step.kind + " " + step.type;
        std::string line = step.kind == "init" ? format("%d", step.line) : "";
        out += format("%-24s %5s %9.3f\n", name.c_str(), line.c_str(), step.ms);
    }
    out += format("%-24s %5s %9.3f\n", "all steps", "", total_loading_ms(report));
    return out;
}

// Type names are script words, but quote them properly all the same.
static std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (u < 0x20) out += format("\\u%04x", u);
        else out += c;
    }
    return out + "\"";
}

static std::string json_timing(const std::vector<double>& ms, double floor) {
    double mean = bench_mean(ms), p95 = bench_percentile(ms, 95);
    std::string out = format("\"frames\": %zu, \"mean_ms\": %.4f, \"p95_ms\": %.4f", ms.size(), mean, p95);
    if (floor > 0 && !ms.empty())
        out += format(", \"mean_floors\": %.4f, \"p95_floors\": %.4f", bench_ratio(mean, floor), bench_ratio(p95, floor));
    return out;
}

std::string bench_json(const bench_report& report) {
    std::string out = "{\n";
    out += format("  \"fps\": %d,\n  \"first_time\": %.4f,\n  \"last_time\": %.4f,\n", report.fps,
                  report.first_time, report.last_time);
    double floor = bench_floor(report);
    if (floor > 0)
        out += format("  \"floor\": {\"width\": %d, \"height\": %d, \"median_ms\": %.4f, ", report.width,
                      report.height, floor) +
               json_timing(report.floor_ms, floor) + "},\n";
    out += "  \"frame\": {" + json_timing(report.frame_ms, floor) + "},\n";
    out += "  \"sections\": [";
    for (size_t i = 0; i < report.sections.size(); ++i) {
        const bench_section& s = report.sections[i];
        out += i ? ",\n    " : "\n    ";
        out += "{\"type\": " + json_string(s.type) + format(", \"line\": %d, ", s.line) + json_timing(s.render_ms, floor) +
               "}";
    }
    out += report.sections.empty() ? "],\n" : "\n  ],\n";
    out += "  \"loading\": [";
    for (size_t i = 0; i < report.loading.size(); ++i) {
        const bench_step& step = report.loading[i];
        out += i ? ",\n    " : "\n    ";
        out += "{\"step\": " + json_string(step.kind) + ", \"type\": " + json_string(step.type);
        if (step.kind == "init") out += format(", \"line\": %d", step.line);
        out += format(", \"ms\": %.4f}", step.ms);
    }
    out += report.loading.empty() ? "],\n" : "\n  ],\n";
    out += format("  \"loading_ms\": %.4f\n}\n", total_loading_ms(report));
    return out;
}
