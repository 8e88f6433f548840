// A long run of the real scene on the headless worker: resident memory must stay put, beside the
// spot tables, which fill up to their bound as the scene meets new sprite sizes, and no particle
// may drift to NaN or infinity. Also the small runner that valgrind watches (a few
// hundred frames). Speed is the benchmarks' business.
//
//   lw_soak [--frames N] [--size WxH] [--seed S] [--check-every N]
//
// Prints its figures and exits 0 when memory and particles are sound.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "../scene_on_worker.h"
#include "psi/registry.h"
#include "sprites/spot_tables.h"

namespace {

// Written by the worker's frame listener and read after the worker ends.
struct Figures {
    double residentAfterWarmUp = 0;  // MiB, after frame kWarmUpFrames
    double residentAtEnd = 0;        // MiB, after the last frame, before the scene's teardown
    double tablesAfterWarmUp = 0;    // MiB of spot tables at the same two moments
    double tablesAtEnd = 0;
    int checks = 0;
    int badPositions = 0;
    int firstBadFrame = 0;
};
Figures figures;
lw::test::SceneRunOptions options{100000, 320, 240, 1};
int checkEvery = 1000;
constexpr int kWarmUpFrames = 1000;

double mebibytes(std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

bool finite(const lw::Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void checkParticles(int frame) {
    figures.checks += 1;
    for (const lw::ParticleSystem* system : lw::systemSlots) {
        if (system == nullptr || system->particles == nullptr) continue;
        for (std::uint32_t i = 0; i < system->particleCount; ++i) {
            const lw::Particle& p = system->particles[i];
            if (finite(p.position) && finite(p.velocity)) continue;
            if (figures.badPositions == 0) figures.firstBadFrame = frame;
            figures.badPositions += 1;
        }
    }
}

void onFrame(int frame) {
    if (frame == kWarmUpFrames) {
        figures.residentAfterWarmUp = residentMiB();
        figures.tablesAfterWarmUp = mebibytes(lw::spotTableBytes());
    }
    if (frame % checkEvery == 0 || frame == options.frames) checkParticles(frame);
    if (frame == options.frames) {
        figures.residentAtEnd = residentMiB();
        figures.tablesAtEnd = mebibytes(lw::spotTableBytes());
    }
}

// Prints the figures; true when memory and particles held.
bool report(int shown) {
    bool sound = shown == options.frames && lw::headless::messageBoxes().empty() && figures.badPositions == 0;
    std::printf("soak: %d of %d frames at %dx%d, %d messages\n", shown, options.frames, options.width,
                options.height, static_cast<int>(lw::headless::messageBoxes().size()));
    std::printf("soak: particles: %d checks of every position and velocity, %d not finite%s\n", figures.checks,
                figures.badPositions, figures.badPositions ? (" from frame " + std::to_string(figures.firstBadFrame)).c_str() : "");
    if (options.frames >= 2 * kWarmUpFrames) {
        const double tableGrowth = figures.tablesAtEnd - figures.tablesAfterWarmUp;
        const double growth = figures.residentAtEnd - figures.residentAfterWarmUp - tableGrowth;
        const double budget = mebibytes(lw::spotTableBudget);
        sound = sound && growth < 1.0 && figures.tablesAtEnd <= budget;
        std::printf("soak: resident memory %.2f MiB after frame %d, %.2f MiB at the end; spot tables %.2f MiB, then "
                    "%.2f MiB (bound %.0f MiB); the rest %+.2f MiB (limit 1 MiB)\n",
                    figures.residentAfterWarmUp, kWarmUpFrames, figures.residentAtEnd, figures.tablesAfterWarmUp,
                    figures.tablesAtEnd, budget, growth);
    }
    return sound;
}

}  // namespace

int main(int argc, char** argv) {
    if (!lw::test::readRunnerArguments(argc, argv, options, "--check-every", checkEvery) || checkEvery < 1) {
        std::fprintf(stderr, "usage: lw_soak [--frames N] [--size WxH] [--seed S] [--check-every N]\n");
        return 2;
    }
    lw::test::sceneworker::onFrame = onFrame;
    const int shown = lw::test::runSceneOnWorker(options);
    const bool sound = report(shown);
    lw::test::tearDownScene();
    lw::headless::reset();
    std::printf("soak: %s\n", sound ? "sound" : "FAILED");
    return sound ? 0 : 1;
}
