// The link pass: every link rule of a system applies the pair force to the pairs of its pattern.
#pragma once

#include "psi/registry.h"

namespace lw {

// Runs once every linkPeriod + 1 calls, the first time on the first call. Pairs that reach
// outside the particle array are skipped.
void linkPass(ParticleSystem& system);

}  // namespace lw
