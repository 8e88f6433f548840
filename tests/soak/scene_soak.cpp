// A long run of the real scene on the headless worker: resident memory must stay put, no particle
// may drift to NaN or infinity, and the time per frame should stay flat. Also the small runner
// that valgrind watches (a few hundred frames).
//
//   lw_soak [--frames N] [--size WxH] [--check-every N]
//
// Prints its figures and exits 0 when memory and particles are sound; timing alone is reported,
// never failed on, since a shared machine makes it noisy.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../scene_on_worker.h"
#include "psi/registry.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int frames = 100000;
    int width = 320;
    int height = 240;
    int checkEvery = 1000;
};

// Everything below is written by the worker's frame listener and read after the worker ends.
struct Figures {
    // Written in full before the run: recording then neither allocates nor makes pages resident,
    // which would read as growth.
    std::vector<float> frameMs;
    std::size_t recorded = 0;
    Clock::time_point last;
    double residentAfterWarmUp = 0;  // MiB, after frame kWarmUpFrames
    double residentAtEnd = 0;        // MiB, after the last frame, before the scene's teardown
    int checks = 0;
    int badPositions = 0;
    int firstBadFrame = 0;
};
Figures figures;
Options options;
constexpr int kWarmUpFrames = 1000;

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
    const auto now = Clock::now();
    if (frame > 1 && figures.recorded < figures.frameMs.size()) {
        figures.frameMs[figures.recorded++] = std::chrono::duration<float, std::milli>(now - figures.last).count();
    }
    if (frame == kWarmUpFrames) figures.residentAfterWarmUp = residentMiB();
    if (frame % options.checkEvery == 0 || frame == options.frames) checkParticles(frame);
    if (frame == options.frames) figures.residentAtEnd = residentMiB();
    // Measured from here, so the listener's own checks are not counted in the next frame.
    figures.last = Clock::now();
}

double medianMs(std::size_t from, std::size_t to) {
    std::vector<float> part(figures.frameMs.begin() + static_cast<std::ptrdiff_t>(from),
                            figures.frameMs.begin() + static_cast<std::ptrdiff_t>(to));
    if (part.empty()) return 0;
    std::nth_element(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(part.size() / 2), part.end());
    return part[part.size() / 2];
}

bool parseArguments(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--frames") {
            options.frames = std::atoi(value);
        } else if (option == "--check-every") {
            options.checkEvery = std::atoi(value);
        } else if (option == "--size") {
            if (std::sscanf(value, "%dx%d", &options.width, &options.height) != 2) return false;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.frames >= 1 && options.checkEvery >= 1 && options.width >= 16 &&
           options.height >= 16 && options.width <= 4096 && options.height <= 4096;
}

// Prints the figures; true when memory and particles held.
bool report(int shown, double seconds) {
    bool sound = shown == options.frames && lw::headless::messageBoxes().empty() && figures.badPositions == 0;
    std::printf("soak: %d of %d frames at %dx%d in %.1f s, %d messages\n", shown, options.frames, options.width,
                options.height, seconds, static_cast<int>(lw::headless::messageBoxes().size()));
    std::printf("soak: particles: %d checks of every position and velocity, %d not finite%s\n", figures.checks,
                figures.badPositions, figures.badPositions ? (" from frame " + std::to_string(figures.firstBadFrame)).c_str() : "");
    if (options.frames >= 2 * kWarmUpFrames) {
        const double growth = figures.residentAtEnd - figures.residentAfterWarmUp;
        sound = sound && growth < 1.0;
        std::printf("soak: resident memory %.2f MiB after frame %d, %.2f MiB at the end (%+.2f MiB, limit 1 MiB)\n",
                    figures.residentAfterWarmUp, kWarmUpFrames, figures.residentAtEnd, growth);
        const std::size_t n = figures.recorded;
        const double early = medianMs(kWarmUpFrames - 1, 2 * kWarmUpFrames - 1);
        const double late = medianMs(n - kWarmUpFrames, n);
        const double ratio = early > 0 ? late / early : 0;
        std::printf("soak: median frame %.3f ms (frames 1000-2000), %.3f ms (last 1000), ratio %.2f%s\n", early, late,
                    ratio, ratio > 1.5 ? " -- SLOWER by more than 1.5 (not failed: timing on a shared machine)" : "");
        // A steady climb would point at something that grows; a step, at the scene settling.
        std::printf("soak: median frame by tenths of the run, ms:");
        for (int tenth = 0; tenth < 10; ++tenth) std::printf(" %.3f", medianMs(n * tenth / 10, n * (tenth + 1) / 10));
        std::printf("\n");
    }
    return sound;
}

}  // namespace

int main(int argc, char** argv) {
    if (!parseArguments(argc, argv)) {
        std::fprintf(stderr, "usage: lw_soak [--frames N] [--size WxH] [--check-every N]\n");
        return 2;
    }
    figures.frameMs.assign(static_cast<std::size_t>(options.frames), 0.0f);
    lw::test::sceneworker::onFrame = onFrame;
    const auto start = Clock::now();
    figures.last = start;
    const int shown = lw::test::runSceneOnWorker({options.frames, options.width, options.height, 1});
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const bool sound = report(shown, seconds);
    lw::test::tearDownScene();
    lw::headless::reset();
    std::printf("soak: %s\n", sound ? "sound" : "FAILED");
    return sound ? 0 : 1;
}
