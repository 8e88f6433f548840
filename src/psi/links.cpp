#include "psi/links.h"

#include <algorithm>

#include "host/process.h"
#include "psi/forces.h"
#include "psi/link_patterns.h"

namespace lw {

namespace linkpatterns {

GridShape gridShapeOf(std::int32_t kind) {
    switch (kind) {
        case LinkGridRingRows: return {Rows::Ring, false, false, Layers::None};
        case LinkGridRingMesh: return {Rows::Ring, true, false, Layers::None};
        case LinkGridLayersWrapped: return {Rows::Open, true, false, Layers::Wrapped};
        case LinkGridTorus: return {Rows::Ring, false, true, Layers::None};
        case LinkGridMesh: return {Rows::Open, true, false, Layers::None};
        case LinkGridLattice: return {Rows::Open, true, false, Layers::Lattice};
        case LinkGridLayers: return {Rows::Open, true, false, Layers::Plain};
        case LinkGridTwisted: return {Rows::Twisted, true, false, Layers::None};
        default: return {};
    }
}

Index gridBlockRows(const LinkRule& rule) {
    if (rule.kind == LinkGridLattice) return rule.step;
    // The torus reads "unlimited" as one block over the whole range, so that it can wrap.
    if (rule.kind == LinkGridTorus && (rule.rows == -2 || rule.rows == kUnlimitedRows)) {
        return (Index{rule.last} - rule.first + 1) / rule.step;
    }
    if (rule.rows == -3) return rule.step;
    if (rule.rows == -2) return kUnlimitedRows;
    return rule.rows;
}

}  // namespace linkpatterns

void linkPass(ParticleSystem& system) {
    if (system.linkCountdown > 0) {
        --system.linkCountdown;
        return;
    }
    // A negative period would count down without end instead of skipping frames.
    system.linkCountdown = std::max(system.linkPeriod, 0);
    if (system.links == nullptr || system.paramSets == nullptr) return;
    if (system.particles == nullptr) fatalError(L"PSI: Update is not complete");

    Particle* const particles = system.particles;
    const auto count = static_cast<std::uint64_t>(system.particleCount);
    auto applyInside = [particles, count](linkpatterns::Index a, linkpatterns::Index b) {
        // A negative index turns into a huge unsigned one, so one comparison per side suffices.
        if (static_cast<std::uint64_t>(a) < count && static_cast<std::uint64_t>(b) < count) {
            pairForce(particles[a], particles[b]);
        }
    };
    for (std::uint32_t i = 0; i < system.linkCount; ++i) {
        loadLinkOf(system, static_cast<int>(i));
        forEachLinkPair(workingLink, applyInside);
    }
}

}  // namespace lw
