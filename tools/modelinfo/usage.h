// The usage text of quillon-modelinfo: printed by --help and made into its
// manual page.
#pragma once

static const char MODELINFO_USAGE[] =
    "Usage: quillon-modelinfo FILE...\n"
    "Prints what the player would load from each model file (.3ds or .3d): its\n"
    "objects with their vertex and face counts and bounds, its materials with\n"
    "their texture maps, or why the file is not a valid model. Exits with status\n"
    "0 when every file was read, 1 when any was not, 2 on a usage error.\n"
    "\n"
    "Options:\n"
    "  --help          show this text and exit\n";
