// The integration step: one frame of every particle system. There is no time variable; every
// quantity is per step and one step runs per frame.
#pragma once

#include "psi/registry.h"

namespace lw {

// Share of the speed lost by a reflection; at 1.0 a reflected particle stops.
extern double bounceLoss;

// Link pass, then step, for every system in slot order. With no system at all, nothing happens.
void psiStepAll();
// External force, reflection, move, damping and the end of life of every particle. The
// callbacks find their particle through currentParticle.
void psiStep(ParticleSystem& system);

void resetPsiStep();

}  // namespace lw
