// The door from the program: installs what the program lends the runtime.
#include "show/show_host.h"

#include "core/fatal.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "show/engine.h"
#include "show/section_table.h"

// A fatal error once the runtime is in: the window and the sound close first,
// so the message is seen after full-screen play.
[[noreturn]] static void end_on_fatal(const char* message) {
    shut_down();
    platform_error_box("Error", message);
    platform_exit(255);
}

void show_host_install(const show_host* host) {
    static const show_host nothing_lent = {};
    if (!host) host = &nothing_lent;
    section_table_install();
    fatal_set_ending(end_on_fatal);
    frame_sink = host->frame_sink;
}
