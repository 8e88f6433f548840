#include "psi/forces.h"

#include "host/process.h"
#include "psi/emission.h"

namespace lw {

LinkRule workingLink{};
ForceParams workingParams{};

void loadLinkOf(const ParticleSystem& system, int i) {
    if (i < 0 || static_cast<std::uint32_t>(i) >= system.linkCount) fatalError(L"PSI: link index out of range");
    const LinkRule& rule = system.links[i];
    if (rule.paramSet < 0 || static_cast<std::uint32_t>(rule.paramSet) >= system.paramSetCount) {
        fatalError(L"PSI: link parameter set out of range");
    }
    workingLink = rule;
    workingParams = system.paramSets[rule.paramSet];
}

void loadLink(int i) { loadLinkOf(requireCurrentSystem(), i); }

double falloff(double u, double range) {
    const double q = u / range;
    return 1.0 / (1.0 + 9.0 * q * q);
}

namespace {

// The force along the unit direction at distance dist > 0; false when there is none at all.
bool forceAt(double dist, const ForceParams& f, double& c) {
    if (dist < f.innerRadius) {
        const double t = 1.0 - dist / f.innerRadius;
        c = -(3.0 - 2.0 * t) * f.repulsion * t * t;
        return true;
    }
    if (f.falloffRange == f.outerRadius) return false;
    if (dist < f.outerRadius) {
        const double t = (dist - f.innerRadius) / (f.outerRadius - f.innerRadius);
        c = (3.0 - 2.0 * t) * f.attraction * t * t;
        return true;
    }
    c = falloff(dist - f.outerRadius, f.falloffRange - f.outerRadius) * f.attraction;
    return true;
}

}  // namespace

void pairForce(Particle& a, Particle& b) {
    if (&a == &b) return;
    const Vec3 apart = b.position - a.position;
    const double dist = length(apart);
    lastLength = dist;
    double c = 1.0;
    Vec3 dir;
    if (dist == 0.0) {
        dir = randCube(1.0);
    } else if (!forceAt(dist, workingParams, c)) {
        return;
    } else {
        // The unit vector normalized() gives, made only where a force acts (most strided pairs
        // are beyond reach).
        dir = unitOf(apart, dist);
    }
    if (c == 0.0) return;
    const Vec3 push = dir * c;
    a.velocity = a.velocity + push * a.forceScale;
    b.velocity = b.velocity - push * b.forceScale;
}

void resetPsiForces() {
    workingLink = LinkRule{};
    workingParams = ForceParams{};
}

}  // namespace lw
