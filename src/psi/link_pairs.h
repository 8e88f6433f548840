// The link pass on every core. The pairs of a system's links are listed once and kept while the
// links stay the same; each pass works out every pair's kick on the band pool, each into its own
// slot, and then the worker applies the kicks in the order of the serial pass. Positions do not
// move during a pass and the kicks are added in the same order, so every velocity comes out the
// same to the last bit as from the serial pass, and so do the random draws of coincident pairs.
#pragma once

#include "psi/registry.h"

namespace lw {

// Applies every link of the system on the band pool. False, with nothing done, when the pool has
// a single thread, when the links have too few pairs to be worth sharing, or when a link names a
// parameter set that does not exist (the serial pass then reports it where it comes).
bool linkPassOnPool(ParticleSystem& system);

// Frees the pair list and the kicks (the end of a scene, tests).
void releaseLinkPairs();

}  // namespace lw
