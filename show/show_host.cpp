// The door from the program: keeps what the program lends the runtime and
// hands the parts that live below the runtime to their modules.
#include "show/show_host.h"

#include "platform/platform.h"
#include "platform/video.h"
#include "show/engine.h"
#include "show/loading.h"
#include "show/section_table.h"

static show_host lent = {};

// A fatal error once the runtime is in: the window and the sound close first,
// so the message is seen after full-screen play.
[[noreturn]] static void end_on_fatal(const char* message) {
    shut_down();
    platform_error_box("Error", message);
    platform_exit(255);
}

void show_host_install(const show_host* host) {
    lent = host ? *host : show_host{};
    section_table_install();
    fatal_set_ending(end_on_fatal);
    fatal_set_hook(lent.fatal);
    file_set_hooks(lent.file_read, lent.file_stamp);
    loading_quiet = lent.quiet_loading;
    video_offscreen = lent.offscreen;
}

const show_host& show_host_lent() { return lent; }
