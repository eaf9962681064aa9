// Debug overlays. The font and its two overlays are not drawn yet; this is the
// single place in the frame path where they go.
#include "platform/overlay.h"

void overlay_draw() {}
