#include "psi/emission.h"

#include <algorithm>
#include <cstddef>

#include "host/memory.h"
#include "host/process.h"
#include "host/random.h"
#include "psi/registry.h"

namespace lw {

namespace {

// r·(2j)·(1/32767) − j, rounded half up and truncated toward zero: the integer jitter of
// lifetimes and colour channels. Always draws.
std::int64_t intOffset(std::int32_t j) {
    const double r = rand15();
    return static_cast<std::int64_t>(r * (2.0 * j) * kRandScale + (-static_cast<double>(j)) + 0.5);
}

std::uint32_t jitterChannel(std::uint32_t c, int shift, std::int32_t j) {
    const std::int64_t v = static_cast<std::int64_t>((c >> shift) & 0xFFu) + intOffset(j);
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(v, 0, 255));
}

std::int32_t drawStyle(std::int32_t styleFirst, std::int32_t styleLast) {
    if (styleLast != 0) {
        if (styleFirst == styleLast) return styleFirst;
        const double r = rand15();
        return static_cast<std::int32_t>(r * static_cast<double>(styleLast - styleFirst) * kRandScale + styleFirst + 0.5);
    }
    if (styleFirst == 0) return 0;
    const double r = rand15();
    return static_cast<std::int32_t>(r * styleFirst * kRandScale + 0.5);
}

void fillParticle(const ParticleSystem& s, Particle& p) {
    double speed = s.speed;
    if (s.speedJitter != 0.0) speed += randSym(s.speedJitter);
    p.velocity = Vec3{speed, speed, speed};
    p.position = randInBox(s.emitCentre, s.emitExtent);
}

void fillLife(const ParticleSystem& s, Particle& p) {
    p.size = 1.0;
    p.lifetime = p.ttl = jitterInt(s.lifetime, s.lifetimeJitter);
    p.colour = jitterColour(s.baseColour, s.colourJitter);
    p.timeScale = 1.0;
    p.damping = 0.1;
    p.forceScale = 0.3;
}

}  // namespace

double randSym(double a) {
    const double width = 2.0 * a;
    if (width == 0.0) return 0.0;
    const double r = rand15();
    return r * width * kRandScale + (-a);
}

double jitterReal(double a, double j) { return j == 0.0 ? a : a + randSym(j); }

std::int32_t jitterInt(std::int32_t a, std::int32_t j) {
    if (j == 0) return a;
    return static_cast<std::int32_t>(a + intOffset(j));
}

std::uint32_t jitterColour(std::uint32_t c, std::int32_t j) {
    if (j == 0) return c;
    const std::uint32_t blue = jitterChannel(c, 0, j);
    const std::uint32_t green = jitterChannel(c, 8, j);
    const std::uint32_t red = jitterChannel(c, 16, j);
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

Vec3 randCube(double a) {
    const double x = randSym(a);
    const double y = randSym(a);
    const double z = randSym(a);
    return {x, y, z};
}

Vec3 randInBox(const Vec3& centre, const Vec3& extent) {
    const double z = centre.z + randSym(extent.z);
    const double y = centre.y + randSym(extent.y);
    const double x = centre.x + randSym(extent.x);
    return {x, y, z};
}

Vec3 randDirection(double speed, double jitter) {
    // No component of randCube(1) is ever exactly 0, so the length is never 0 either.
    const Vec3 d = normalized(randCube(1.0));
    return jitterReal(speed, jitter) * d;
}

void emit(int count, std::int32_t styleFirst, std::int32_t styleLast, int randomStyle) {
    ParticleSystem& s = requireCurrentSystem();
    if (count < 0) fatalError(L"PSI: particle count out of range");
    freeAligned(s.particles);
    s.particles = nullptr;
    s.particleCount = 0;
    currentParticle = nullptr;
    // Even no particles get an array: an emitted system is complete, and stepping, linking and
    // caching an empty one does nothing.
    s.particles = static_cast<Particle*>(alloc16(static_cast<std::size_t>(count) * sizeof(Particle), 1));
    s.particleCount = static_cast<std::uint32_t>(count);

    std::int32_t cursor = styleFirst;
    for (int j = 0; j < count; ++j) {
        Particle& p = s.particles[j];
        currentParticleIndex = j;
        currentParticle = &p;
        fillParticle(s, p);
        if (randomStyle != 0) {
            p.style = drawStyle(styleFirst, styleLast);
        } else {
            p.style = cursor;
            cursor = static_cast<std::int32_t>(static_cast<std::uint32_t>(cursor) + 1u);
            if (static_cast<std::uint32_t>(cursor) > static_cast<std::uint32_t>(styleLast)) cursor = styleFirst;
        }
        fillLife(s, p);
    }
}

}  // namespace lw
