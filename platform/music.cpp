// Music stream. Sound output is not built yet: the show plays silently.
#include "platform/music.h"

void music_open() {}
void music_play() {}
void music_close() {}
float music_cpu_usage() { return 0.0f; }
