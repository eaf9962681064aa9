// Bitmap font. Not drawn yet: the overlays that use it come later.
#include "platform/font.h"

void font_start() {}
