// Edit-mode transport: pause, seek, step, loop, the section starts, the keys
// and the control commands that drive them, and the music that follows them
// to the sample.
#include <GL/gl.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/edit_local.h"
#include "app/edit_mode.h"
#include "app/output_file.h"
#include "app/soak.h"
#include "core/clock.h"
#include "core/fatal.h"
#include "core/file_read.h"
#include "core/nearest.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "resources/texture.h"

namespace {

std::vector<unsigned char> music_bytes;
file_stamp music_stamp;

[[noreturn]] void music_failed() { fatal_error("%s: %s", sound_error_text(sound_error()), snd_mp3file); }

// No file where the script names its soundtrack, and no music of that name
// held: the show plays without sound, said once on standard error and in
// the window for as long as it lasts; the watch opens the show again when
// the file comes.
void music_missing() {
    edit_music_close();
    if (edit.music_note.empty()) {
        edit.music_note = std::string("the soundtrack ") + snd_mp3file + " is missing: the show plays without sound";
        std::fprintf(stderr, "Edit: %s\n", edit.music_note.c_str());
        std::fflush(stderr);
    }
}

// The stream over the script's MP3, opened again only when the file changed:
// its stamp, like a picture's in the texture cache, tells, without reading
// megabytes at every seek. Only an opening looks at the file: the transport
// (`reread` 0) plays the soundtrack held, so a broken save (which the
// opening reports) never stops it.
void music_open_file(int reread) {
    bool held = edit.music && snd_mp3file && edit.music_path == snd_mp3file;
    if (!reread && held) return;
    file_stamp stamp = {-1, -1};
    bool there = snd_mp3file && file_stamp_of(snd_mp3file, &stamp);
    if (there && held && stamp == music_stamp) return;
    if (snd_mp3file && !there && !held) {
        music_missing();
        return;
    }
    edit.music_note.clear();
    std::vector<unsigned char> bytes;
    music_read_file(&bytes);
    if (!edit.sound_open) {
        if (!sound_init(SOUND_RATE, SOUND_MAX_CHANNELS, 0)) fatal_error("%s", sound_error_text(sound_error()));
        edit.sound_open = 1;
    }
    // A file that does not open leaves the stream that played: the opening
    // from the last good versions finds it still there, by its stamp.
    sound_stream* stream = sound_stream_open_memory(bytes.data(), bytes.size());
    if (!stream) music_failed();
    edit_music_close();
    music_bytes.swap(bytes);  // the stream reads the same buffer, now held here
    music_stamp = stamp;
    edit.music = stream;
    edit.music_path = snd_mp3file;
    edit.music_channel = sound_stream_play(edit.music, true);
    if (edit.music_channel < 0) fatal_error("%s", sound_error_text(sound_error()));
}

void music_follow(int reread) {
    if (!snd_enable) {
        edit_music_close();
        edit.music_note.clear();
        return;
    }
    music_open_file(reread);
    if (!edit.music) return;
    long long frame = std::llround(static_cast<double>(demo_time) * SOUND_RATE);
    sound_set_paused(edit.music_channel, true);
    if (!sound_stream_set_frame(edit.music, frame < 0 ? 0 : frame)) music_failed();
    if (!edit.paused) sound_set_paused(edit.music_channel, false);
}

}  // namespace

void edit_music_start() { music_follow(1); }

void edit_music_follow() { music_follow(0); }

void edit_music_close() {
    sound_stream_close(edit.music);
    edit.music = nullptr;
    edit.music_channel = -1;
    edit.music_path.clear();
}

long long edit_music_position() { return edit.music ? sound_stream_position(edit.music) : -1; }

void edit_set_paused(int paused) {
    if (edit.paused == paused) return;
    edit.paused = paused;
    if (!paused) clock_resume();
    if (!paused && !edit.music_note.empty()) {
        std::fprintf(stderr, "Edit: play: %s\n", edit.music_note.c_str());
        std::fflush(stderr);
    }
    if (edit.music && !edit.replay) edit_music_follow();  // else once the exact frame is shown
}

void edit_seek(float t) { edit_open_at(t); }

// Forward: frames drawn one step apart, as playing would draw them, up to
// the show's end; the edit loop draws them one at a time (edit_step_frame),
// so the window keeps answering. Back: the show opened again that many steps
// earlier.
void edit_step(int frames) {
    edit_set_paused(1);
    if (frames < 0) {
        edit_open_at(demo_time + static_cast<float>(frames) * edit_frame_step());
        return;
    }
    double left = std::ceil((static_cast<double>(edit.show_end) - demo_time) / edit_frame_step());
    edit.steps_left = static_cast<int>(std::max(0.0, std::min<double>(frames, left)));
}

void edit_step_frame() {
    if (!edit.paused) {
        edit.steps_left = 0;
        return;
    }
    edit_replay_finish();
    if (edit.frame_due) {
        edit_draw_now();
        return;
    }
    if (edit.step_fps) {
        clock_tick();
    } else {
        frame_delta = edit_frame_step();
        demo_time += frame_delta;
        frame_number += 1;
    }
    edit.steps_left -= 1;
    edit_draw_now();
    if (edit.steps_left == 0 && edit.music) edit_music_follow();
}

void edit_set_loop(float in, float out) {
    float from = std::max(in, edit.show_start), to = std::min(out, edit.show_end);
    if (!(to > from)) {
        std::fprintf(stderr,
                     "Edit: the loop from %.3f s to %.3f s is empty within the show (%.3f to %.3f s); the loop is "
                     "unchanged\n",
                     in, out, edit.show_start, edit.show_end);
        std::fflush(stderr);
        return;
    }
    in = from;
    out = to;
    edit.has_loop = 1;
    edit.loop_in = in;
    edit.loop_out = out;
    if (demo_time < in || demo_time >= out) edit_seek(in);
}

float edit_section_start_near(float t, int direction) {
    float best = t;
    for (const section* s = section_list; s; s = s->next) {
        float start = s->start < edit.show_start ? edit.show_start : s->start;
        if (direction < 0 && start < t - 0.01f && (best == t || start > best)) best = start;
        if (direction > 0 && start > t + 0.01f && (best == t || start < best)) best = start;
    }
    return best;
}

// ---------------------------------------------------------------------------
// Control commands and keys
// ---------------------------------------------------------------------------

namespace {

// The window as presented (the frame and the engine's overlay), as a capture
// would write it; with `shown`, with edit mode's drawing over it, as the
// window shows it now.
void write_still(const std::string& name, int shown) {
    const char* verb = shown ? "shot" : "still";
    std::string path = name[0] == '/' ? name : edit.start_folder + "/" + name;
    std::string error = output_file_check(path);
    bool replaced = false;
    if (error.empty()) {
        edit_draw_exact();
        if (shown) edit_view_show_again();
        edit_view_write_still(path.c_str(), shown, &error, &replaced);
        if (shown) frame_swap();
    }
    if (!error.empty())
        std::fprintf(stderr, "Edit: %s %s %s\n", verb, name.c_str(), error.c_str());
    else if (replaced)
        std::fprintf(stderr, "Edit: %s %s replaced the file of that name\n", verb, name.c_str());
    std::fflush(stderr);
}

// Queues the key NAME (as SDL names it, without spaces: "p", "]", "pageup",
// after any of "shift+", "ctrl+", "alt+" in that order) as if pressed, for
// the event loop to take as it takes the keyboard's.
void press_key(const std::string& name) {
    static const struct { const char* prefix; SDLMod mod; } mods[] = {
        {"shift+", KMOD_LSHIFT}, {"ctrl+", KMOD_LCTRL}, {"alt+", KMOD_LALT}};
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const auto& m : mods)
        if (key.size() > std::strlen(m.prefix) && key.compare(0, std::strlen(m.prefix), m.prefix) == 0) {
            event.key.keysym.mod = static_cast<SDLMod>(event.key.keysym.mod | m.mod);
            key.erase(0, std::strlen(m.prefix));
        }
    std::vector<std::string> known_names;
    for (int sym = SDLK_FIRST + 1; sym < SDLK_LAST && !event.key.keysym.sym; ++sym) {
        std::string known = SDL_GetKeyName(static_cast<SDLKey>(sym));
        known.erase(std::remove(known.begin(), known.end(), ' '), known.end());
        if (known == "unknownkey") continue;
        if (known == key) event.key.keysym.sym = static_cast<SDLKey>(sym);
        known_names.push_back(known);
    }
    if (!event.key.keysym.sym) {
        std::vector<const char*> names;
        for (const std::string& known : known_names) names.push_back(known.c_str());
        std::fprintf(stderr, "Edit: unknown key '%s' (in 'key %s')%s\n", name.c_str(), name.c_str(),
                     nearest_hint(key.c_str(), names.data(), static_cast<int>(names.size())).c_str());
    }
    else if (SDL_PushEvent(&event) != 0)
        std::fprintf(stderr, "Edit: key %s cannot be queued: %s\n", name.c_str(), SDL_GetError());
}

// Texture names the driver knows, counted by asking it.
int driver_textures() {
    int count = 0;
    for (GLuint name = 1; name < 65536; ++name) count += glIsTexture(name) ? 1 : 0;
    return count;
}

void print_status() {
    std::printf("status time %.6f frame %d paused %d sound %lld textures %d gl_textures %d rss_kb %ld open_ms %.1f frame_ms %.1f "
                "loop %s%.3f %.3f error %d exact %d exact_ms %.1f\n",
                demo_time, frame_number, edit.paused, edit_music_position(), texture_count, driver_textures(),
                soak_measure().end_kb, edit.last_open_ms, edit.last_frame_ms, edit.has_loop ? "" : "off ", edit.loop_in, edit.loop_out,
                edit.error.empty() ? 0 : 1, edit.step_fps && !edit.replay, edit.last_exact_ms);
    std::fflush(stdout);
}

}  // namespace

int edit_run_command(const std::string& line) {
    edit_command c = edit_command_parse(line, {bpm, beat_offset});
    switch (c.kind) {
    case EDIT_NONE: break;
    case EDIT_BAD:
        std::fprintf(stderr, "Edit: %s (in %s)\n", c.error.c_str(), edit_quote(line).c_str());
        std::fflush(stderr);
        break;
    case EDIT_SEEK: edit_seek(c.a); break;
    case EDIT_PAUSE: edit_set_paused(1); break;
    case EDIT_PLAY: edit_set_paused(0); break;
    case EDIT_STEP: edit_step(c.frames); break;
    case EDIT_LOOP: edit_set_loop(c.a, c.b); break;
    case EDIT_LOOP_OFF: edit.has_loop = 0; break;
    case EDIT_RELOAD: edit_open_at(demo_time); break;
    case EDIT_STILL: write_still(c.text, 0); break;
    case EDIT_SHOT: write_still(c.text, 1); break;
    case EDIT_KEY: press_key(c.text); break;
    case EDIT_TRACK:
    case EDIT_TRACK_KEY:
    case EDIT_TRACK_UNKEY: edit_track_command(c); break;
    case EDIT_STATUS:
        if (edit.frame_due) edit_draw_now();
        print_status();
        break;
    case EDIT_TIMELINE: edit.timeline_shown = !edit.timeline_shown; break;
    case EDIT_QUIT: return 0;
    }
    return 1;
}

int edit_key(int sym, int mod) {
    float big = (mod & KMOD_SHIFT) ? 10.0f : 1.0f;
    switch (sym) {
    case SDLK_p: edit_set_paused(!edit.paused); break;
    case SDLK_LEFTBRACKET: edit_seek(demo_time - big); break;
    case SDLK_RIGHTBRACKET: edit_seek(demo_time + big); break;
    case SDLK_COMMA: edit_step(-1); break;
    case SDLK_PERIOD: edit_step(1); break;
    case SDLK_PAGEUP: edit_seek(edit_section_start_near(demo_time, -1)); break;
    case SDLK_PAGEDOWN: edit_seek(edit_section_start_near(demo_time, 1)); break;
    case SDLK_i: edit_set_loop(demo_time, edit.has_loop ? edit.loop_out : edit.show_end); break;
    case SDLK_o: edit_set_loop(edit.has_loop ? edit.loop_in : edit.show_start, demo_time); break;
    case SDLK_l: edit.has_loop = 0; break;
    case SDLK_LEFT:
    case SDLK_RIGHT: {
        // A bar back or forward; with Shift a beat.
        int beats = (mod & KMOD_SHIFT) ? 1 : 4;
        if (!(bpm > 0)) std::fprintf(stderr, "Edit: the script sets no bpm: there are no bars to seek by\n");
        edit_seek(edit_grid_step(demo_time, sym == SDLK_RIGHT ? 1 : -1, beats, bpm, beat_offset));
        break;
    }
    case SDLK_HOME: edit_seek(edit.show_start); break;
    case SDLK_r: edit_open_at(demo_time); break;
    case SDLK_TAB: edit.timeline_shown = !edit.timeline_shown; break;
    default: return 0;
    }
    return 1;
}
