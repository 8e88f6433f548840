// The program's two overlays: the logo for the whole run and the controls strip for the first
// ten seconds (until the first tick of user timer 0).
#pragma once

#include "overlay/screen_image.h"

namespace lw {

extern ScreenImage* logo;
extern ScreenImage* controlsStrip;

void installOverlays();
void drawOverlays();
void removeOverlays();

}  // namespace lw
