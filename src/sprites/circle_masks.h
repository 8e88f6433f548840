// Circle masks: the anti-aliased quarter discs that the untextured disc routines read. Only the
// interface that the style set-up needs lives here yet; the masks themselves come with the disc
// routines, which replace these two functions.
#pragma once

namespace lw {

extern int masksBuilt;

// Builds the masks once; does nothing while masksBuilt is set.
void buildCircleMasks();
// Frees the built masks and clears masksBuilt, so a later scene builds them again instead of
// reading freed blocks.
void releaseCircleMasks();

}  // namespace lw
