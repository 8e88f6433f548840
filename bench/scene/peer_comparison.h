// Our band drawing of one frame's sprite list beside pixman drawing the same list.
#pragma once

#include <string>

namespace lw::bench {

struct PeerFigures {
    int sprites = 0;
    double oursMs = 0;    // medians
    double pixmanMs = 0;
    bool compared = false;      // both drew, and the frames were compared
    double meanDifference = 0;  // of a colour channel between the two frames, 0..255
    double closeShare = 0;      // of the pixels whose channels all lie within kCloseChannels
    std::string failure;        // empty when both did the same work
};

constexpr int kCloseChannels = 8;

// Draws the sprite list the scene placed last, both ways, in rounds of repeats, and compares the
// two frames. The band pool must have one thread: pixman draws on one.
PeerFigures compareWithPeer(int rounds, int repeats);

}  // namespace lw::bench
