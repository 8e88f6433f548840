// The sprite list of a frame: the records the render loop places, in the order they are drawn
// (the cache's depth order, each particle's style chain in turn). Grown on the worker, in memory
// blocks, and only read while the bands are drawn.
#pragma once

#include "sprites/sprite_record.h"

namespace lw {

struct SpriteList {
    SpriteRecord* records = nullptr;
    int count = 0;
    int capacity = 0;
};

extern SpriteList spriteList;

// Empties the list, keeping its memory for the next frame.
void clearSpriteList();
// A copy of the record at the end of the list; a failed allocation is fatal.
void appendSprite(const SpriteRecord& sprite);
// Frees the list's memory (the end of a scene, tests).
void releaseSpriteList();

}  // namespace lw
