#include "sprites/circle_masks.h"

namespace lw {

int masksBuilt = 0;

// Placeholders until the disc routines bring the masks: nothing is allocated, so nothing is
// freed, and masksBuilt stays 0.
void buildCircleMasks() {}

void releaseCircleMasks() { masksBuilt = 0; }

}  // namespace lw
