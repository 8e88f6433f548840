// The particle engine's records and the registry of systems in 256 numbered slots. Everything
// works on a selection: the building operations act on the current system, particle, link and
// parameter set, and the per-particle callbacks find their particle through currentParticle.
#pragma once

#include <cstdint>

#include "view/vec3.h"

namespace lw {

struct Particle {
    Vec3 position;        // in the frame of the system's camera
    Vec3 velocity;        // forces are added here directly
    double damping;       // each step scales velocity by 1 - forceScale * damping
    double forceScale;    // inverse mass
    double timeScale;     // position advance per step is timeScale * velocity
    double size;
    std::int32_t style;
    std::int32_t ttl;       // frames left in the current life
    std::int32_t lifetime;  // 0: the particle never respawns
    std::uint32_t colour;   // 0xAARRGGBB
};

struct LinkRule {
    std::int32_t kind;
    std::int32_t first;
    std::int32_t last;
    std::int32_t step;  // stride, row width or first partner, by kind
    std::int32_t rows;  // row count or last partner, by kind
    std::int32_t paramSet;
    bool operator==(const LinkRule&) const = default;
};

struct ForceParams {
    double innerRadius;
    double outerRadius;
    double falloffRange;  // equal to outerRadius: no attraction at all
    double attraction;
    double repulsion;
    bool operator==(const ForceParams&) const = default;
};

// The callbacks take no arguments: they read currentParticle (and currentSystem).
using ForceCallback = Vec3 (*)();
using BounceCallback = double (*)();
using FadeCallback = double (*)();
using RespawnCallback = int (*)();

enum RespawnFlag : std::int32_t { RespawnPosition = 1, RespawnVelocity = 2, RespawnColour = 4 };

struct ParticleSystem {
    std::uint32_t particleCount = 0;
    std::uint32_t linkCount = 0;
    std::uint32_t paramSetCount = 0;
    std::int32_t linkPeriod = 0;  // frames skipped between link passes
    std::int32_t cameraSlot = 0;  // 0: positions are already in view space
    std::uint32_t baseColour = 0xFFFFFFFFu;
    std::int32_t colourJitter = 0;
    Vec3 emitCentre{0.0, 0.0, 0.0};
    Vec3 emitExtent{500.0, 500.0, 500.0};  // half-size per axis
    double speed = 100.0;
    double speedJitter = 50.0;
    std::int32_t lifetime = 0;
    std::int32_t lifetimeJitter = 0;
    std::int32_t rearmLifetime = 1;
    std::int32_t fadeCurve = 1002;
    std::int32_t respawnFlags = 0;
    ForceCallback externalForce = nullptr;
    BounceCallback bounceFactor = nullptr;
    FadeCallback fadeHook = nullptr;
    RespawnCallback respawnHook = nullptr;
    Particle* particles = nullptr;
    LinkRule* links = nullptr;
    ForceParams* paramSets = nullptr;
    std::int32_t linkCountdown = 0;
};

inline constexpr int kSystemSlotCount = 256;
inline constexpr int kNoSystem = kSystemSlotCount;  // firstSlot while the registry is empty

// Bits of keepMask: the fields copyParticleTemplate leaves alone.
enum KeepBit : std::uint8_t { KeepPosition = 1, KeepVelocity = 2, KeepStyle = 4, KeepColour = 8, KeepLife = 16 };

extern ParticleSystem* systemSlots[kSystemSlotCount];
extern int firstSlot;
extern int lastSlot;
extern int currentSlot;
extern ParticleSystem* currentSystem;
extern int currentParticleIndex;
extern Particle* currentParticle;
extern int currentLinkIndex;
extern LinkRule* currentLink;
extern int currentParamSetIndex;
extern ForceParams* currentParamSet;
extern std::uint8_t keepMask;

// Slots must lie in 0..255; another value is a fatal error.
void psiCreate(int slot);
int psiDestroy(int slot);  // 1 while other systems remain
// -10 all (a lone system in slot 0 stays), -4 the first, -2 the last, otherwise that slot.
void psiDestroySelect(int code);
int psiNext();  // 0 when the walk wrapped round to firstSlot
// Makes slot the current system (none when it is empty or outside the table).
void selectSystemSlot(int slot);

void selectParticle(int i);
void selectParamSet(int i);
void allocLinks(int n, int paramSet);
void allocParamSets(int n);
void setLinkRing(int first, int last);
void setLinkStride(int step, int first, int last);
void copyLinks(int src, int first, int last);
void copyParamSets(int src, int first, int last);
void copyParticleTemplate(int src, int first, int last);

// Frees every system and puts the registry's start values back.
void resetPsiRegistry();

// Internal to the engine: the current system, or a fatal error when there is none.
ParticleSystem& requireCurrentSystem();

}  // namespace lw
