// quillon-manual PROGRAM: writes the manual page of quillon,
// quillon-modelinfo or quillon-brightframes on stdout; the build installs what it writes.
#include <cstdio>
#include <cstring>

#include "app/manual.h"
#include "tools/brightframes/usage.h"
#include "tools/modelinfo/usage.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "quillon") == 0) {
        manual_write_quillon(stdout);
    } else if (argc == 2 && std::strcmp(argv[1], "quillon-modelinfo") == 0) {
        manual_write(stdout, "quillon-modelinfo", "describe the model files the player reads", MODELINFO_USAGE,
                     ".SH SEE ALSO\n.BR quillon (1)\n");
    } else if (argc == 2 && std::strcmp(argv[1], "quillon-brightframes") == 0) {
        manual_write(stdout, "quillon-brightframes", "find the washed-out stretches of a show", BRIGHTFRAMES_USAGE,
                     ".SH SEE ALSO\n.BR quillon (1)\n");
    } else {
        std::fputs("Usage: quillon-manual quillon|quillon-modelinfo|quillon-brightframes\n", stderr);
        return 2;
    }
    return 0;
}
