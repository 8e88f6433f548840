// The threads that help the worker draw a frame's bands (and, handed out the same way, fill the
// frame's new spot tables). Started once per scene and joined at its
// end; between frames they sleep. A frame hands out its bands through one atomic counter, so the
// threads take them in any order while each band is drawn by exactly one thread. A lock is taken
// only to wake the helpers for a frame and to report its last band, never while drawing.
#pragma once

namespace lw {

// Draws band `band` of the frame described by `context`.
using BandJob = void (*)(const void* context, int band);

// The most bands one frame can hand out; callers make their bands tall enough.
constexpr int kMaxBands = 65535;

// The thread count a scene asks for: LW_THREADS from the environment when it is a number from 1
// up, else the machine's hardware threads (at least 1).
int wantedThreadCount();

// Starts threads - 1 helpers beside the calling thread (after stopping any earlier ones). Helpers
// that cannot be started are done without: at worst everything is drawn by the calling thread.
void startBandPool(int threads);
// Wakes and joins the helpers. Harmless when none run.
void stopBandPool();
// The threads that draw a frame: the helpers and the caller.
int bandPoolThreads();
// Which of them is calling: 1 .. bandPoolThreads() - 1 on a helper, 0 on any other thread.
int bandThreadIndex();

// Runs job for bands 0..count-1 (count <= kMaxBands) on the helpers and the calling thread, and
// returns when every band is done. Only the worker calls it, never two at once.
void runBands(int count, BandJob job, const void* context);

}  // namespace lw
