#include "app/capture.h"

#include <cstdio>

std::string capture_frame_name(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", frame);
    return name;
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
