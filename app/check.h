// quillon --check: the whole show read and loaded without playing it, every
// fault listed; and --list-types.
#pragma once

struct cmdline;

// Reads the script (script_path, in the show folder already entered),
// applies the command line, opens a GL context and runs every loading step
// of every section, whatever demostart and demoend say, plus the engine's
// own files (the debug font, the soundtrack when the show plays one). Prints
// one "Error: ..." line per fault on standard error, and warnings for values
// that read as no number and for sections no run between demostart and
// demoend plays. Returns the exit status: 255 after any fault, else 0.
int check_show(const cmdline* options);

// Prints the section type names, one a line, in table order.
void check_list_types();
