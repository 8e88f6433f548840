#include "psi/forces.h"

#include "host/process.h"
#include "psi/emission.h"
#include "psi/link_pairs.h"

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

PairKick pairKickAt(const Vec3& apart, double dist, const ForceParams& f) {
    PairKick kick;
    if (dist == 0.0) {
        kick.kind = PairKick::Random;
        return kick;
    }
    double c = 1.0;
    if (!forceAt(dist, f, c) || c == 0.0) return kick;
    // The unit vector normalized() gives, made only where a force acts (most strided pairs are
    // beyond reach).
    kick.kind = PairKick::Push;
    kick.push = unitOf(apart, dist) * c;
    return kick;
}

void applyKick(Particle& a, Particle& b, const PairKick& kick) {
    if (kick.kind == PairKick::None) return;
    // A random direction has the force 1.
    const Vec3 push = kick.kind == PairKick::Random ? randCube(1.0) * 1.0 : kick.push;
    a.velocity = a.velocity + push * a.forceScale;
    b.velocity = b.velocity - push * b.forceScale;
}

void pairForce(Particle& a, Particle& b) {
    if (&a == &b) return;
    const Vec3 apart = b.position - a.position;
    const double dist = length(apart);
    lastLength = dist;
    applyKick(a, b, pairKickAt(apart, dist, workingParams));
}

void resetPsiForces() {
    releaseLinkPairs();
    workingLink = LinkRule{};
    workingParams = ForceParams{};
}

}  // namespace lw
