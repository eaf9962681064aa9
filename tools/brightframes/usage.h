// The usage text of quillon-brightframes: printed by --help and made into
// its manual page.
#pragma once

static const char BRIGHTFRAMES_USAGE[] =
    "Usage: quillon-brightframes [options] [SHOW_DIR]\n"
    "Plays the show in SHOW_DIR (default: the current folder) offline with the\n"
    "quillon beside it, without sound, and lists every stretch longer than half a\n"
    "second in which more than 40 % of the picture inside the letterbox is near\n"
    "white. Stretches the script declares on purpose, in comment lines such as\n"
    "'; white fade 15.5-17: the caption flashes', are listed as allowed; any\n"
    "other makes the exit status 1 (0 when there is none, 2 on a usage error).\n"
    "\n"
    "Options:\n"
    "  --fps N         frames a second to look at (default 2)\n"
    "  --size WxH      the frames' size (default the show's)\n"
    "  --frames DIR    read the frames an earlier capture at that rate left in\n"
    "                  DIR instead of playing the show\n"
    "  --help          show this text and exit\n";
