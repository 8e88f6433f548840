// The pair force of the links: repulsion inside innerRadius, a smoothstep attraction ramp up to
// outerRadius, then an attraction that decays over falloffRange. Forces go straight into the
// velocities; positions only move in the integration step.
#pragma once

#include "psi/registry.h"

namespace lw {

// The rule being applied by the link pass and a copy of its force parameters.
extern LinkRule workingLink;
extern ForceParams workingParams;

// Makes link i of the current system and its parameter set the working rule.
void loadLink(int i);
// The same for any system; a rule naming a parameter set that does not exist is a fatal error.
void loadLinkOf(const ParticleSystem& system, int i);

double falloff(double u, double range);  // 1 / (1 + 9 (u/range)^2)

// Applies the working parameters to a and b: a positive force pulls them together. Two
// coincident particles get opposite kicks along a random direction.
void pairForce(Particle& a, Particle& b);

void resetPsiForces();

}  // namespace lw
