#include "psi/step.h"

#include "host/process.h"
#include "psi/emission.h"
#include "psi/links.h"

namespace lw {

double bounceLoss = 1.0;

namespace {

void applyCallbacks(const ParticleSystem& s, Particle& p) {
    if (s.externalForce != nullptr) p.velocity = p.velocity + s.externalForce() * p.forceScale;
    if (s.bounceFactor != nullptr) {
        const double k = s.bounceFactor();
        const Vec3& v = p.velocity;
        if (k * (v.x + v.y + v.z) > 0.0) {
            const Vec3 direction = normalized(v);
            const double speed = lastLength;
            p.velocity = ((1.0 - bounceLoss) * speed) * reflect(direction, Vec3{k, k, k});
        }
    }
}

void rearm(const ParticleSystem& s, Particle& p) {
    if (s.rearmLifetime != 0) p.lifetime = p.ttl = jitterInt(s.lifetime, s.lifetimeJitter);
}

void respawn(const ParticleSystem& s, Particle& p) {
    if (s.respawnHook != nullptr) {
        if (s.respawnHook() == 0) return;
        rearm(s, p);
        p.position = p.position + p.velocity * p.timeScale;
        return;
    }
    if (s.respawnFlags & RespawnPosition) p.position = randInBox(s.emitCentre, s.emitExtent);
    if (s.respawnFlags & RespawnVelocity) p.velocity = randDirection(s.speed, s.speedJitter);
    if (s.respawnFlags & RespawnColour) p.colour = jitterColour(s.baseColour, s.colourJitter);
    rearm(s, p);
}

}  // namespace

void psiStep(ParticleSystem& system) {
    if (system.particles == nullptr) fatalError(L"PSI: Update is not complete");
    for (std::uint32_t i = 0; i < system.particleCount; ++i) {
        Particle& p = system.particles[i];
        currentParticleIndex = static_cast<int>(i);
        currentParticle = &p;
        applyCallbacks(system, p);
        p.position = p.position + p.velocity * p.timeScale;
        p.velocity = p.velocity * (1.0 - p.forceScale * p.damping);
        if (p.ttl != 0) {
            --p.ttl;
        } else if (p.lifetime != 0) {
            respawn(system, p);
        }
    }
}

void psiStepAll() {
    if (firstSlot == kNoSystem) return;
    selectSystemSlot(firstSlot);
    do {
        if (currentSystem == nullptr) break;
        ParticleSystem& system = *currentSystem;
        linkPass(system);
        psiStep(system);
    } while (psiNext() == 1);
}

void resetPsiStep() { bounceLoss = 1.0; }

}  // namespace lw
