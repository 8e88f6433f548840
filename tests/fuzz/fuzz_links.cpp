// Link rules of any kind, range, step and rows over a small system: the link pass may only ever
// touch particles of the array (AddressSanitizer watches the exact-size array), and only those
// that the rule's own pattern pairs inside it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "host/headless/headless.h"
#include "host/process.h"
#include "psi/link_patterns.h"
#include "psi/links.h"

namespace {

using Index = lw::linkpatterns::Index;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_links: %s\n", what);
    std::abort();
}

// The input read byte by byte; zeros once it runs out.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t next() { return at < size ? data[at++] : 0; }
};

// Mostly indexes around the array, sometimes the special values and the extremes of an int32.
std::int32_t indexField(Bytes& in, int count, bool extremes) {
    const std::uint8_t v = in.next();
    static constexpr std::int32_t kSpecial[] = {-3, -2, -1, 0, std::numeric_limits<std::int32_t>::max(),
                                                std::numeric_limits<std::int32_t>::min()};
    if (v >= 250) return kSpecial[(v - 250) % (extremes ? 6 : 4)];
    return static_cast<std::int32_t>(v % (3 * count + 16)) - count - 8;
}

lw::LinkRule ruleFrom(Bytes& in, int count, int paramSets) {
    lw::LinkRule rule{};
    const std::uint8_t kind = in.next();
    rule.kind = kind < 240 ? kind % 20 : static_cast<std::int32_t>(kind) - 250;
    rule.first = indexField(in, count, false);
    rule.last = indexField(in, count, false);
    // A cross rule walks step..rows for every particle and a stride runs to last - step: extremes
    // there only make the walk take minutes.
    const bool extremes = rule.kind != lw::LinkCross && rule.kind != lw::LinkStride;
    rule.step = indexField(in, count, extremes);
    rule.rows = indexField(in, count, extremes);
    rule.paramSet = static_cast<std::int32_t>(in.next() % (paramSets + 2)) - 1;
    return rule;
}

// Marks the particles that the rule's pattern pairs inside the array: the only ones the pass may
// push. (Patterns may name pairs outside it; a negative stride even reaches before `first`.)
void markPairs(const lw::LinkRule& rule, int count, std::vector<char>& touched) {
    lw::forEachLinkPair(rule, [&](Index a, Index b) {
        if (a >= 0 && b >= 0 && a < count && b < count) touched[a] = touched[b] = 1;
    });
}

struct System {
    lw::ParticleSystem s;
    std::vector<lw::Particle> particles;
    std::vector<lw::LinkRule> links;
    std::vector<lw::ForceParams> params;
};

void fillSystem(System& sys, int count, int paramSets) {
    sys.particles.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        // Some coincide (every fifth shares its place), the rest lie apart on a spiral.
        const double t = i % 5 == 4 ? i - 1 : i;
        sys.particles[i] = lw::Particle{{t, t * 0.5, -t}, {0, 0, 0}, 0.1, 1.0, 1.0, 1.0, 0, 0, 0, 0xFFFFFFFF};
    }
    for (int i = 0; i < paramSets; ++i) sys.params.push_back({4.0 + i, 8.0 + 2 * i, 50.0, 700.0, 900.0});
    sys.s.particleCount = static_cast<std::uint32_t>(count);
    sys.s.linkCount = static_cast<std::uint32_t>(sys.links.size());
    sys.s.paramSetCount = static_cast<std::uint32_t>(paramSets);
    // Exact-size arrays: a pair one past either end is a report, not a write into padding.
    sys.s.particles = sys.particles.data();
    sys.s.links = sys.links.data();
    sys.s.paramSets = sys.params.data();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in{data, size};
    const int count = 1 + in.next() % 48;
    const int paramSets = 1 + in.next() % 3;
    const int ruleCount = 1 + in.next() % 4;
    System sys;
    for (int i = 0; i < ruleCount; ++i) sys.links.push_back(ruleFrom(in, count, paramSets));
    fillSystem(sys, count, paramSets);

    // What the pass may touch: the pairs of every rule up to the first that names no parameters.
    std::vector<char> touched(static_cast<std::size_t>(count), 0);
    bool refused = false;
    for (const auto& rule : sys.links) {
        if (rule.paramSet < 0 || rule.paramSet >= paramSets) {
            refused = true;
            break;
        }
        markPairs(rule, count, touched);
    }
    const std::vector<lw::Particle> before = sys.particles;

    lw::headless::reset();
    lw::resetProcessState();
    bool ended = false;
    try {
        lw::linkPass(sys.s);
    } catch (const lw::headless::WorkerExit&) {
        ended = true;
        const auto boxes = lw::headless::messageBoxes();
        if (boxes.size() != 1 || boxes[0].text != L"PSI: link parameter set out of range") fail("an unexpected fatal end");
    }
    if (ended != refused) fail("a rule without parameters was applied, or a good one refused");
    for (int i = 0; i < count; ++i) {
        if (std::memcmp(&sys.particles[i].position, &before[i].position, sizeof(lw::Vec3)) != 0) fail("a link moved a particle");
        if (!touched[i] && std::memcmp(&sys.particles[i].velocity, &before[i].velocity, sizeof(lw::Vec3)) != 0) {
            fail("the pass pushed a particle that no pair of its rules names");
        }
    }
    return 0;
}
