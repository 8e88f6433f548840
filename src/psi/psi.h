// The particle engine in one include, and the one call that puts all of its state back.
#pragma once

#include "psi/cache.h"
#include "psi/emission.h"
#include "psi/forces.h"
#include "psi/links.h"
#include "psi/registry.h"
#include "psi/step.h"

namespace lw {

inline void resetPsiState() {
    resetPsiRegistry();
    resetPsiForces();
    resetPsiStep();
    resetParticleCache();
}

}  // namespace lw
