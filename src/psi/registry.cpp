#include "psi/registry.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "host/memory.h"
#include "host/process.h"

namespace lw {

ParticleSystem* systemSlots[kSystemSlotCount] = {};
int firstSlot = kNoSystem;
int lastSlot = 0;
int currentSlot = 0;
ParticleSystem* currentSystem = nullptr;
int currentParticleIndex = 0;
Particle* currentParticle = nullptr;
int currentLinkIndex = 0;
LinkRule* currentLink = nullptr;
int currentParamSetIndex = 0;
ForceParams* currentParamSet = nullptr;
std::uint8_t keepMask = 0;

// The arrays are zero-filled blocks, so their records must be valid as all-zero bytes.
static_assert(std::is_trivially_copyable_v<Particle> && std::is_trivially_copyable_v<LinkRule> &&
              std::is_trivially_copyable_v<ForceParams> && std::is_trivially_copyable_v<ParticleSystem>);

namespace {

constexpr ForceParams kDefaultParams{40.0, 80.0, 200.0, 1.0, 4.0};

void requireSlot(int slot) {
    if (slot < 0 || slot >= kSystemSlotCount) fatalError(L"PSI: system slot out of range");
}

// Forgets selections that point into a system that is going away.
void dropSelectionOf(const ParticleSystem* system) {
    if (currentSystem != system) return;
    currentSystem = nullptr;
    currentParticle = nullptr;
    currentLink = nullptr;
    currentParamSet = nullptr;
}

void freeSystem(ParticleSystem* system) {
    dropSelectionOf(system);
    freeAligned(system->particles);
    freeAligned(system->paramSets);
    freeAligned(system->links);
    system->~ParticleSystem();
    freeAligned(system);
}

int nextOccupiedAbove(int slot) {
    for (int s = slot + 1; s < kSystemSlotCount; ++s) {
        if (systemSlots[s] != nullptr) return s;
    }
    return kNoSystem;
}

int nextOccupiedBelow(int slot) {
    for (int s = slot - 1; s >= 0; --s) {
        if (systemSlots[s] != nullptr) return s;
    }
    return 0;
}

struct IndexRange {
    std::int64_t lo;
    std::int64_t hi;
};

// -1 as first means the whole table, -1 as last the single entry first, -2 as last the last
// entry. A non-empty range must lie inside the table, since it is written to.
IndexRange resolveRange(int first, int last, std::uint32_t count, const wchar_t* outOfRange) {
    IndexRange r{first, last};
    if (first == -1) {
        r = {0, std::int64_t{count} - 1};
    } else if (last == -1) {
        r.hi = first;
    } else if (last == -2) {
        r.hi = std::int64_t{count} - 1;
    }
    if (r.lo <= r.hi && (r.lo < 0 || r.hi >= count)) fatalError(outOfRange);
    return r;
}

void requireIndex(int i, std::uint32_t count, const wchar_t* outOfRange) {
    if (i < 0 || static_cast<std::uint32_t>(i) >= count) fatalError(outOfRange);
}

constexpr const wchar_t* kParticleOutOfRange = L"PSI: particle index out of range";
constexpr const wchar_t* kLinkOutOfRange = L"PSI: link index out of range";
constexpr const wchar_t* kParamSetOutOfRange = L"PSI: parameter set index out of range";

template <class T>
T* allocTable(int n, const wchar_t* badCount) {
    if (n < 0) fatalError(badCount);
    if (n == 0) return nullptr;
    return static_cast<T*>(alloc16(static_cast<std::size_t>(n) * sizeof(T), 1));
}

void selectLink(int i) {
    ParticleSystem& s = requireCurrentSystem();
    requireIndex(i, s.linkCount, kLinkOutOfRange);
    currentLinkIndex = i;
    currentLink = &s.links[i];
}

LinkRule& requireCurrentLink() {
    requireCurrentSystem();
    if (currentLink == nullptr) fatalError(L"PSI: no link rule selected");
    return *currentLink;
}

}  // namespace

ParticleSystem& requireCurrentSystem() {
    if (currentSystem == nullptr) fatalError(L"PSI: no particle system selected");
    return *currentSystem;
}

void selectSystemSlot(int slot) {
    currentSlot = slot;
    currentSystem = (slot >= 0 && slot < kSystemSlotCount) ? systemSlots[slot] : nullptr;
}

void psiCreate(int slot) {
    requireSlot(slot);
    if (systemSlots[slot] != nullptr) psiDestroySelect(slot);
    // psiDestroySelect keeps a lone system in slot 0; replacing it must not lose its arrays.
    if (systemSlots[slot] != nullptr) psiDestroy(slot);

    auto* system = new (alloc16(sizeof(ParticleSystem), 1)) ParticleSystem{};
    systemSlots[slot] = system;
    currentSystem = system;
    currentSlot = slot;
    currentParticle = nullptr;
    currentLink = nullptr;
    currentParamSet = nullptr;
    if (slot > lastSlot) lastSlot = slot;
    if (slot < firstSlot) firstSlot = slot;
}

int psiDestroy(int slot) {
    requireSlot(slot);
    ParticleSystem* system = systemSlots[slot];
    if (system == nullptr) return 0;
    freeSystem(system);
    systemSlots[slot] = nullptr;

    if (slot == firstSlot) {
        if (slot == lastSlot) {
            firstSlot = kNoSystem;
            lastSlot = 0;
            return 0;
        }
        firstSlot = nextOccupiedAbove(slot);
        return 1;
    }
    if (slot == lastSlot) lastSlot = nextOccupiedBelow(slot);
    return 1;
}

void psiDestroySelect(int code) {
    if (firstSlot == kNoSystem || lastSlot == 0) return;
    switch (code) {
        case -10:
            while (psiDestroy(firstSlot) == 1) {
            }
            break;
        case -4:
            psiDestroy(firstSlot);
            break;
        case -2:
            psiDestroy(lastSlot);
            break;
        default:
            psiDestroy(code);
            break;
    }
}

int psiNext() {
    if (currentSlot == lastSlot) {
        selectSystemSlot(firstSlot);
        return 0;
    }
    const int next = nextOccupiedAbove(currentSlot);
    // Only a walk whose current slot was destroyed meanwhile finds nothing above it.
    if (next == kNoSystem) {
        selectSystemSlot(firstSlot);
        return 0;
    }
    selectSystemSlot(next);
    return 1;
}

void selectParticle(int i) {
    ParticleSystem& s = requireCurrentSystem();
    requireIndex(i, s.particleCount, kParticleOutOfRange);
    currentParticleIndex = i;
    currentParticle = &s.particles[i];
}

void selectParamSet(int i) {
    ParticleSystem& s = requireCurrentSystem();
    requireIndex(i, s.paramSetCount, kParamSetOutOfRange);
    currentParamSetIndex = i;
    currentParamSet = &s.paramSets[i];
}

void allocLinks(int n, int paramSet) {
    ParticleSystem& s = requireCurrentSystem();
    auto* table = allocTable<LinkRule>(n, L"PSI: link count out of range");
    freeAligned(s.links);
    s.links = table;
    s.linkCount = static_cast<std::uint32_t>(n);
    currentLinkIndex = 0;
    currentLink = table;
    if (table == nullptr) return;
    const auto lastParticle = static_cast<std::int32_t>(s.particleCount) - 1;
    table[0] = LinkRule{1, 0, lastParticle, 0, lastParticle, paramSet};
}

void allocParamSets(int n) {
    ParticleSystem& s = requireCurrentSystem();
    auto* table = allocTable<ForceParams>(n, L"PSI: parameter set count out of range");
    freeAligned(s.paramSets);
    s.paramSets = table;
    s.paramSetCount = static_cast<std::uint32_t>(n);
    currentParamSetIndex = 0;
    currentParamSet = table;
    if (table != nullptr) table[0] = kDefaultParams;
}

namespace {
int resolveLinkLast(int first, int last) {
    if (last == -1) return first + 1;
    if (last == -2) return static_cast<int>(requireCurrentSystem().particleCount) - 1;
    return last;
}
}  // namespace

void setLinkRing(int first, int last) {
    LinkRule& rule = requireCurrentLink();
    rule = LinkRule{4, first, resolveLinkLast(first, last), 0, 0, rule.paramSet};
}

void setLinkStride(int step, int first, int last) {
    LinkRule& rule = requireCurrentLink();
    rule = LinkRule{8, first, resolveLinkLast(first, last), step, 0, rule.paramSet};
}

void copyLinks(int src, int first, int last) {
    ParticleSystem& s = requireCurrentSystem();
    const IndexRange r = resolveRange(first, last, s.linkCount, kLinkOutOfRange);
    selectLink(src);
    const LinkRule rule = *currentLink;
    for (std::int64_t i = r.lo; i <= r.hi; ++i) s.links[i] = rule;
    if (r.lo <= r.hi) selectLink(static_cast<int>(r.lo));
}

void copyParamSets(int src, int first, int last) {
    ParticleSystem& s = requireCurrentSystem();
    const IndexRange r = resolveRange(first, last, s.paramSetCount, kParamSetOutOfRange);
    selectParamSet(src);
    const ForceParams params = *currentParamSet;
    for (std::int64_t i = r.lo; i <= r.hi; ++i) s.paramSets[i] = params;
    if (r.lo <= r.hi) selectParamSet(static_cast<int>(r.lo));
}

namespace {
Particle stampedParticle(const Particle& stamp, const Particle& own) {
    Particle p = stamp;
    if (keepMask & KeepPosition) p.position = own.position;
    if (keepMask & KeepVelocity) p.velocity = own.velocity;
    if (keepMask & KeepStyle) p.style = own.style;
    if (keepMask & KeepColour) p.colour = own.colour;
    if (keepMask & KeepLife) {
        p.lifetime = own.lifetime;
        p.ttl = own.ttl;
    }
    return p;
}
}  // namespace

void copyParticleTemplate(int src, int first, int last) {
    ParticleSystem& s = requireCurrentSystem();
    const IndexRange r = resolveRange(first, last, s.particleCount, kParticleOutOfRange);
    selectParticle(src);
    // A copy, so that stamping over a range that holds the template reads it unchanged.
    const Particle stamp = *currentParticle;
    for (std::int64_t i = r.lo; i <= r.hi; ++i) s.particles[i] = stampedParticle(stamp, s.particles[i]);
    if (r.lo <= r.hi) selectParticle(static_cast<int>(r.lo));
}

void resetPsiRegistry() {
    for (auto*& system : systemSlots) {
        if (system != nullptr) freeSystem(system);
        system = nullptr;
    }
    firstSlot = kNoSystem;
    lastSlot = 0;
    currentSlot = 0;
    currentSystem = nullptr;
    currentParticleIndex = 0;
    currentParticle = nullptr;
    currentLinkIndex = 0;
    currentLink = nullptr;
    currentParamSetIndex = 0;
    currentParamSet = nullptr;
    keepMask = 0;
}

}  // namespace lw
