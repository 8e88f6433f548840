#include "psi/link_pairs.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "host/memory.h"
#include "psi/forces.h"
#include "psi/link_patterns.h"
#include "sprites/band_pool.h"

namespace lw {

namespace {

// A job's pairs: small enough that two threads finish close together, large enough that taking
// a job costs little beside it.
constexpr int kPairsPerJob = 2048;
// Fewer pairs than this are done sooner on the worker than handed out.
constexpr std::size_t kFewestSharedPairs = 4096;
// An all-pairs link over thousands of particles would list more pairs than memory should hold
// for them; such links stay with the serial pass.
constexpr std::size_t kMostListedPairs = std::size_t{1} << 20;

struct LinkPair {
    std::uint32_t a;
    std::uint32_t b;
    std::uint32_t paramSet;
};

// A pair that gets a kick. Most pairs of strided links are out of reach and get none, so each job
// keeps only these, in pair order, for the worker to walk.
struct PairWithKick {
    std::uint32_t a;
    std::uint32_t b;
    PairKick kick;
};

// The pairs of the links the list was made from, and what it was made from: the list stands
// while none of that changes.
struct PairList {
    const Particle* particles = nullptr;
    std::uint32_t particleCount = 0;
    std::uint32_t paramSetCount = 0;
    std::uint32_t linkCount = 0;
    LinkRule* rules = nullptr;
    std::uint32_t ruleCapacity = 0;
    bool usable = false;  // false: too many pairs, or a parameter set that does not exist
    LinkPair* pairs = nullptr;
    std::size_t count = 0;
    std::size_t capacity = 0;
    PairWithKick* kicks = nullptr;  // job j's from j x kPairsPerJob on, kickCounts[j] of them
    std::size_t kickCapacity = 0;
    int* kickCounts = nullptr;  // per job
    std::size_t jobCapacity = 0;
};
PairList list;

// The old block goes before the new one is asked for, so that a failed allocation leaves nothing
// for the release to free twice.
template <class T, class Count>
void grow(T*& block, Count& capacity, std::size_t wanted) {
    if (wanted <= capacity) return;
    const std::size_t grown = std::max<std::size_t>(wanted, 2 * static_cast<std::size_t>(capacity));
    freeAligned(block);
    block = nullptr;
    capacity = 0;
    block = static_cast<T*>(alloc16(sizeof(T) * grown, 0));
    capacity = static_cast<Count>(grown);
}

bool madeFrom(const ParticleSystem& system) {
    return list.particles == system.particles && list.particleCount == system.particleCount &&
           list.paramSetCount == system.paramSetCount && list.linkCount == system.linkCount &&
           (system.linkCount == 0 || std::memcmp(list.rules, system.links, sizeof(LinkRule) * system.linkCount) == 0);
}

bool paramSetsExist(const ParticleSystem& system) {
    for (std::uint32_t i = 0; i < system.linkCount; ++i) {
        const std::int32_t set = system.links[i].paramSet;
        if (set < 0 || static_cast<std::uint32_t>(set) >= system.paramSetCount) return false;
    }
    return true;
}

// Grown by copying: the pairs listed so far stay.
void growPairs() {
    const std::size_t grown = std::max(kFewestSharedPairs, 2 * list.capacity);
    auto* pairs = static_cast<LinkPair*>(alloc16(sizeof(LinkPair) * grown, 0));
    if (list.count != 0) std::memcpy(pairs, list.pairs, sizeof(LinkPair) * list.count);
    freeAligned(list.pairs);
    list.pairs = pairs;
    list.capacity = grown;
}

// The pairs the serial pass visits, in its order, without those outside the particle array and
// those of a particle with itself, which it skips.
void listPairs(const ParticleSystem& system) {
    list.count = 0;
    const auto count = static_cast<std::uint64_t>(system.particleCount);
    for (std::uint32_t i = 0; i < system.linkCount && list.usable; ++i) {
        const LinkRule& rule = system.links[i];
        const auto set = static_cast<std::uint32_t>(rule.paramSet);
        forEachLinkPair(rule, [&](linkpatterns::Index a, linkpatterns::Index b) {
            if (!list.usable || static_cast<std::uint64_t>(a) >= count || static_cast<std::uint64_t>(b) >= count || a == b) {
                return;
            }
            if (list.count == kMostListedPairs) {
                list.usable = false;
                return;
            }
            if (list.count == list.capacity) growPairs();
            list.pairs[list.count++] = {static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b), set};
        });
    }
}

std::size_t jobsOf(std::size_t pairs) { return (pairs + kPairsPerJob - 1) / kPairsPerJob; }

void makeList(const ParticleSystem& system) {
    grow(list.rules, list.ruleCapacity, system.linkCount);
    if (system.linkCount != 0) std::memcpy(list.rules, system.links, sizeof(LinkRule) * system.linkCount);
    list.particles = system.particles;
    list.particleCount = system.particleCount;
    list.paramSetCount = system.paramSetCount;
    list.linkCount = system.linkCount;
    list.usable = paramSetsExist(system);
    listPairs(system);
    if (!list.usable) return;
    grow(list.kicks, list.kickCapacity, list.count);
    grow(list.kickCounts, list.jobCapacity, jobsOf(list.count));
}

struct KickJob {
    const Particle* particles;
    const ForceParams* paramSets;
};

// Reads positions and parameters only, and writes only its own pairs' kicks.
void workOutKicks(const void* context, int job) {
    const KickJob& work = *static_cast<const KickJob*>(context);
    const std::size_t first = static_cast<std::size_t>(job) * kPairsPerJob;
    const std::size_t end = std::min(first + kPairsPerJob, list.count);
    PairWithKick* out = list.kicks + first;
    for (std::size_t k = first; k < end; ++k) {
        const LinkPair& pair = list.pairs[k];
        const Vec3 apart = work.particles[pair.b].position - work.particles[pair.a].position;
        const PairKick kick = pairKickAt(apart, length(apart), work.paramSets[pair.paramSet]);
        if (kick.kind != PairKick::None) *out++ = {pair.a, pair.b, kick};
    }
    list.kickCounts[job] = static_cast<int>(out - (list.kicks + first));
}

}  // namespace

bool linkPassOnPool(ParticleSystem& system) {
    if (bandPoolThreads() < 2) return false;
    if (!madeFrom(system)) makeList(system);
    if (!list.usable || list.count < kFewestSharedPairs) return false;
    const KickJob work{system.particles, system.paramSets};
    // The frame's bands follow the link pass soon.
    const int jobs = static_cast<int>(jobsOf(list.count));
    runBands(jobs, workOutKicks, &work);
    Particle* const particles = system.particles;
    for (int job = 0; job < jobs; ++job) {
        const PairWithKick* kicks = list.kicks + static_cast<std::size_t>(job) * kPairsPerJob;
        for (int i = 0; i < list.kickCounts[job]; ++i) applyKick(particles[kicks[i].a], particles[kicks[i].b], kicks[i].kick);
    }
    // As the serial pass leaves them: the last link loaded, the last pair's distance.
    loadLinkOf(system, static_cast<int>(system.linkCount) - 1);
    const LinkPair& last = list.pairs[list.count - 1];
    lastLength = length(particles[last.b].position - particles[last.a].position);
    return true;
}

void releaseLinkPairs() {
    freeAligned(list.rules);
    freeAligned(list.pairs);
    freeAligned(list.kicks);
    freeAligned(list.kickCounts);
    list = PairList{};
}

}  // namespace lw
