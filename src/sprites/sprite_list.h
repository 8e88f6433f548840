// The sprite list of a frame: the records the render loop places, in the order they are drawn
// (the cache's depth order, each particle's style chain in turn). Grown on the worker, in memory
// blocks, and only read while the bands are drawn.
#pragma once

#include "sprites/sprite_record.h"

namespace lw {

// The first and last view row of a record's box, kept beside the records so that cutting the
// list into bands reads a few bytes a record instead of the record.
struct SpriteRows {
    int first;
    int last;
};

struct SpriteList {
    SpriteRecord* records = nullptr;
    SpriteRows* rows = nullptr;
    int count = 0;
    int capacity = 0;
};

extern SpriteList spriteList;

// Empties the list, keeping its memory for the next frame.
void clearSpriteList();
// Doubles the list's memory; a failed allocation is fatal.
void growSpriteList();

// The record past the end of the list, to be written in place: it joins the list with
// commitSprite, and a placement that gives up leaves it to the next one.
inline SpriteRecord& spriteSlot() {
    if (spriteList.count == spriteList.capacity) growSpriteList();
    return spriteList.records[spriteList.count];
}
inline void commitSprite(int firstRow, int lastRow) {
    spriteList.rows[spriteList.count] = {firstRow, lastRow};
    ++spriteList.count;
}

// Frees the list's memory (the end of a scene, tests).
void releaseSpriteList();

}  // namespace lw
