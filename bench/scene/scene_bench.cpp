// Times the whole scene frame (step, cache and sort, clears, drawing, doubling, overlays) at
// the common screen sizes, with one thread and with every hardware thread, beside the memory
// floor of each size: one clear of the frame and one copy of it to another buffer. Prints one
// line per size and thread count, one line with our drawing of a frame's sprite list beside
// pixman's, and the worst ratio with one thread. Exits with 1 when pixman could not draw the
// same list or drew it differently.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "peer_comparison.h"
#include "host/headless/headless.h"
#include "overlay/overlays.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "sprites/band_pool.h"
#include "sprites/frame_bands.h"
#include "sprites/styles.h"

namespace {

using lw::bench::Clock;
using lw::bench::median;
using lw::bench::millisecondsSince;

int fixedBandRows = 0;
constexpr int kPeerRounds = 8;
constexpr int kPeerRepeats = 5;

// With a peer to fill, the scene's last frame is also drawn beside pixman (one thread only).
double sceneFrameMs(int width, int height, int threads, int warmUp, int measured, lw::bench::PeerFigures* peer) {
    lw::headless::reset();
    lw::headless::setScreenSize(width, height);
    lw::headless::setTickCount(1);
    // As on a desktop with one window: the window is all that reads the frame's rows.
    lw::headless::setWindowOnly(true);
    lw::setFrameSize(lw::kScreenSize, 1024);
    lw::backgroundColour = 0xFFA08CF0;
    lw::installOverlays();
    lw::sceneSetUp();
    lw::startBandPool(threads);
    lw::setBandRows(fixedBandRows);
    for (int i = 0; i < warmUp; ++i) lw::sceneFrame();
    std::vector<double> times;
    for (int i = 0; i < measured; ++i) {
        const auto start = Clock::now();
        lw::sceneFrame();  // the host's clock is simulated: the pacing sleeps cost nothing
        times.push_back(millisecondsSince(start));
    }
    if (peer != nullptr) *peer = lw::bench::compareWithPeer(kPeerRounds, kPeerRepeats);
    lw::releaseSpriteTables();
    lw::removeOverlays();
    lw::resetScene();
    return median(times);
}

double memoryFloorMs(int width, int height, int repeats) {
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::vector<std::uint32_t> frame(count), copy(count);
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        lw::fillPixels(frame.data(), count, 0xFFA08CF0u);
        std::memcpy(copy.data(), frame.data(), count * 4);
        times.push_back(millisecondsSince(start));
    }
    if (copy[count / 2] != 0xFFA08CF0u) std::puts("memory floor: copy went wrong");
    return median(times);
}

// The figures on stdout, what the check saw on stderr; false when the comparison failed.
bool reportPeer(int width, int height, const lw::bench::PeerFigures& peer) {
    std::printf("peer %dx%d sprites=%d ours_ms=%.3f pixman_ms=%.3f\n", width, height, peer.sprites, peer.oursMs,
                peer.pixmanMs);
    std::fflush(stdout);
    if (peer.compared) {
        std::fprintf(stderr, "peer check %dx%d: mean channel difference %.3f, %.3f %% of pixels within %d\n", width,
                     height, peer.meanDifference, 100 * peer.closeShare, lw::bench::kCloseChannels);
    }
    if (peer.failure.empty()) return true;
    std::fprintf(stderr, "peer %dx%d FAILED: %s\n", width, height, peer.failure.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int warmUp = 300;
    int measured = 200;
    int bandRows = 0;  // 0: as the program chooses
    std::vector<std::array<int, 2>> sizes = {{1280, 720}, {1920, 1080}, {3840, 2160}};
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--warm-up") == 0) warmUp = std::max(0, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--frames") == 0) measured = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--band-rows") == 0) bandRows = std::max(0, std::atoi(argv[i + 1]));
        int width = 0;
        int height = 0;
        if (std::strcmp(argv[i], "--size") == 0 && std::sscanf(argv[i + 1], "%dx%d", &width, &height) == 2 &&
            width > 0 && height > 0 && width <= 16384 && height <= 16384) {
            sizes = {{width, height}};
        }
    }
    fixedBandRows = bandRows;
    std::vector<int> threadCounts = {1};
    if (lw::wantedThreadCount() > 1) threadCounts.push_back(lw::wantedThreadCount());
    double worst = 0;
    bool peerFailed = false;
    for (const auto& size : sizes) {
        const double floor = memoryFloorMs(size[0], size[1], 50);
        lw::bench::PeerFigures peer;
        for (const int threads : threadCounts) {
            lw::bench::PeerFigures* const peerOfRun = threads == 1 ? &peer : nullptr;
            const double frame = sceneFrameMs(size[0], size[1], threads, warmUp, measured, peerOfRun);
            const double ratio = frame / floor;
            if (threads == 1) worst = std::max(worst, ratio);
            std::printf("%dx%d threads=%d frame_ms=%.3f floor_ms=%.3f ratio=%.2f\n", size[0], size[1], threads, frame,
                        floor, ratio);
            std::fflush(stdout);
        }
        peerFailed = !reportPeer(size[0], size[1], peer) || peerFailed;
    }
    std::printf("worst_ratio=%.2f\n", worst);
    return peerFailed ? 1 : 0;
}
