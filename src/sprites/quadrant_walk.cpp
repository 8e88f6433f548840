#include "sprites/quadrant_walk.h"

#include "host/process.h"
#include "sprites/dispatch.h"

namespace lw {

void requireQuadrantInputs(const wchar_t* message) {
    const SpriteState& s = spriteState;
    const bool imagesThere = s.images[0] && s.images[1] && s.images[2] && s.images[3];
    const bool radiusInTables = s.radius >= 0 && s.radius < kTableSide;
    if (s.divisionRow == nullptr || sphereTable == nullptr || !imagesThere || !radiusInTables) fatalError(message);
}

}  // namespace lw
