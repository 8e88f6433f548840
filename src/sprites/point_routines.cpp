#include "sprites/point_routines.h"

namespace lw {

void plotPoint(const SpriteRecord& s, const DrawTarget& t) {
    if (!t.holds(s.centreX, s.centreY)) return;
    const Colour colour =
        s.depthCue == 255 ? s.tint : lerpColour(t.background, s.tint, static_cast<unsigned>(s.depthCue));
    t.pixels[t.rows[s.centreY] + s.centreX] = colour;
}

}  // namespace lw
