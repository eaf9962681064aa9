#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <png.h>

#include "core/fatal.h"
#include "show/show_host.h"

namespace fs = std::filesystem;

// Every test binary reads scripts and meets fatal errors as the player does.
static const int door_opened = (show_host_install(nullptr), 1);

static void throwing_hook(const char* message) { throw fatal_exception(message); }

// Guards nest: the hook stays until the outermost one ends.
static int catch_depth = 0;
catch_fatal::catch_fatal() {
    if (catch_depth++ == 0) fatal_set_hook(throwing_hook);
}

std::string fatal_message(const std::function<void()>& call) {
    catch_fatal guard;
    try {
        call();
    } catch (const fatal_exception& e) {
        return e.what();
    }
    return "";
}
catch_fatal::~catch_fatal() {
    if (--catch_depth == 0) fatal_set_hook(nullptr);
}

temp_dir::temp_dir() {
    char pattern[] = "/tmp/quillon-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) throw std::runtime_error("mkdtemp failed");
    path = made;
}

temp_dir::~temp_dir() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

std::string temp_dir::write(const std::string& name, const std::string& content) const {
    std::string full = file(name);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream out(full, std::ios::binary);
    out << content;
    return full;
}

void temp_dir::add_font(const std::string& show) const {
    write(show + "data/fonts/font.tga", read_file(std::string(QUILLON_SOURCE_DIR) + "/data/fonts/font.tga"));
}

std::vector<std::string> folder_names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

working_folder::working_folder(const std::string& path) {
    old = fs::current_path().string();
    fs::current_path(path);
}

working_folder::~working_folder() {
    std::error_code ignored;
    fs::current_path(old, ignored);
}

int run_command(const std::string& command, std::string* output) {
    std::string full = command + " 2>&1";
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
    int status = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// QUILLON_PLAYER_DIR, when set, names another build of the player (one under
// the sanitizers) for the end-to-end tests to run.
std::string built_binary(const std::string& name) {
    const char* player = std::getenv("QUILLON_PLAYER_DIR");
    if (name == "quillon" && player && *player) return std::string(player) + "/" + name;
    return std::string(QUILLON_BINARY_DIR) + "/" + name;
}

std::string e2e_show(const std::string& sections, const std::string& sound) {
    std::string data = std::string(QUILLON_SOURCE_DIR) + "/data/loading/";
    return "gl_fullscreen 0\ngl_width 640\ngl_height 480\ngl_rttWidth 256\ngl_rttHeight 256\n" + sound +
           "[loading]\nstart 0\nend 1\nstring " + data + "back.jpg\nstring " + data + "front.jpg\n"
           "param 1\nparam 1\nparam 1\nparam 1\n" + sections + "[EOF]\n";
}

std::string e2e_params(int count, const char* value) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string("param ") + value + "\n";
    return text;
}

std::string e2e_strings(std::initializer_list<std::string> names) {
    std::string text;
    for (const std::string& name : names) text += "string " + name + "\n";
    return text;
}

std::string e2e_syncs(std::initializer_list<const char*> times) {
    std::string text = "syncs " + std::to_string(times.size()) + "\n";
    for (const char* t : times) text += std::string("sync ") + t + "\n";
    return text;
}

void e2e_expect_errors(const std::vector<e2e_error_case>& cases, bool in_source) {
    for (const e2e_error_case& c : cases) {
        SCOPED_TRACE(c.name);
        temp_dir dir;
        std::string output, arguments;
        if (in_source) {
            arguments = "--script " + dir.write("script.txt", e2e_show(c.sections)) + " " + QUILLON_SOURCE_DIR;
        } else {
            dir.add_font();
            dir.write("data/script.txt", e2e_show(c.sections));
            arguments = dir.path;
        }
        EXPECT_EQ(e2e_play(arguments, &output), 255) << output;
        EXPECT_HAS(output, c.message);
    }
}

int e2e_play(const std::string& arguments, std::string* output) {
    return run_command("SDL_AUDIODRIVER=dummy " + built_binary("quillon") + " " + arguments, output);
}

cmdline parse_command_line(std::vector<std::string> args) {
    static std::vector<std::string> storage;
    static std::vector<char*> argv;
    storage = std::move(args);
    storage.insert(storage.begin(), "quillon");
    argv.clear();
    for (std::string& a : storage) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    return cmdline_parse(static_cast<int>(storage.size()), argv.data());
}

png_pixels read_png(const std::string& path) {
    png_pixels out;
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return out;
    png.format = PNG_FORMAT_RGB;
    out.rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, out.rgb.data(), 0, nullptr)) return png_pixels{};
    out.width = static_cast<int>(png.width);
    out.height = static_cast<int>(png.height);
    return out;
}
