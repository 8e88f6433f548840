// How the comparison is kept fair:
// - The same list: the records the scene placed in its last frame, after the warm-up, at the size
//   being measured; pixman gets one composite per record, in list order.
// - The same work: each side clears its frame to the background and draws every sprite, nothing
//   else. Ours is drawFrameBands with one band thread (pixman draws on one) and without the screen
//   images (pixman draws none); it includes handing the records to their bands, which is part of
//   how we draw a list. Pixman's pictures, transforms and solid colours are made before any timing,
//   so its timed part is a fill and the composites alone.
// - Warm caches: each side draws a round of repeats in a row, the first one untimed, so that its
//   pictures and frame are in the cache; the rounds alternate, so that a busy spell of the shared
//   machine falls on both. The figures are medians.
// - The same pixels: the frames must agree within what nearest sampling and rounding explain;
//   otherwise the figures compare different work, and the comparison fails.
#include "peer_comparison.h"

#include <cstdlib>

#include "bench_timing.h"
#include "pixman_peer.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "sprites/band_pool.h"
#include "sprites/frame_bands.h"
#include "sprites/sprite_list.h"

namespace lw::bench {

namespace {

// Both frames blend in 8 bits, ours dividing by 256 and pixman by 255, and where a pixel's centre
// falls on the edge between two texels the two may take either one. On the scene at all three
// sizes the mean difference was 0.12 to 0.13 and 99.99 % of the pixels lay within 8; a sprite
// one column off, or its colour without the fog, gave a mean of about 1 and 94 to 96 %.
constexpr double kMostMeanDifference = 0.5;
constexpr double kFewestClose = 0.999;

template <class Draw>
void timeRound(int repeats, Draw draw, std::vector<double>& times) {
    draw();
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        draw();
        times.push_back(millisecondsSince(start));
    }
}

void compareFrames(const PixmanPeer& peer, PeerFigures& figures) {
    const DrawTarget view = viewTarget();
    long long total = 0;
    long long close = 0;
    for (int y = view.top; y <= view.bottom; ++y) {
        for (int x = view.left; x <= view.right; ++x) {
            const Colour ours = view.pixels[view.rows[y] + x];
            const Colour theirs = peer.pixel(x - view.left, y - view.top);
            int worst = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const int difference = std::abs(static_cast<int>((ours >> shift) & 0xFFu) -
                                                static_cast<int>((theirs >> shift) & 0xFFu));
                total += difference;
                worst = std::max(worst, difference);
            }
            if (worst <= kCloseChannels) ++close;
        }
    }
    const double pixelCount = static_cast<double>(view.right - view.left + 1) * (view.bottom - view.top + 1);
    figures.meanDifference = static_cast<double>(total) / (3 * pixelCount);
    figures.closeShare = static_cast<double>(close) / pixelCount;
    figures.compared = true;
    if (figures.meanDifference > kMostMeanDifference || figures.closeShare < kFewestClose) {
        figures.failure = "pixman's frame differs from ours beyond what nearest sampling and rounding explain";
    }
}

}  // namespace

PeerFigures compareWithPeer(int rounds, int repeats) {
    PeerFigures figures;
    figures.sprites = spriteList.count;
    if (smallFrameWanted != 0 || bandPoolThreads() != 1) {
        figures.failure = "the comparison needs the full-size frame and one band thread";
        return figures;
    }
    const DrawTarget view = viewTarget();
    PixmanPeer peer(view.right - view.left + 1, view.bottom - view.top + 1, backgroundColour);
    figures.failure = peer.prepare(spriteList);
    if (!figures.failure.empty()) return figures;

    const Hook overlays = overlayHook;
    overlayHook = nullptr;
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < rounds; ++round) {
        timeRound(repeats, drawFrameBands, ours);
        timeRound(repeats, [&peer] { peer.draw(); }, theirs);
    }
    drawFrameBands();
    overlayHook = overlays;
    figures.oursMs = median(ours);
    figures.pixmanMs = median(theirs);
    compareFrames(peer, figures);
    return figures;
}

}  // namespace lw::bench
