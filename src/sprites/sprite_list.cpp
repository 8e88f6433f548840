#include "sprites/sprite_list.h"

#include <cstring>
#include <type_traits>

#include "host/memory.h"

namespace lw {

SpriteList spriteList;

static_assert(std::is_trivially_copyable_v<SpriteRecord>, "records are copied with memcpy");

namespace {

// Enough for the scene's particles without growing in most frames.
constexpr int kFirstCapacity = 4096;

void growSpriteList() {
    SpriteList& list = spriteList;
    const int capacity = list.capacity == 0 ? kFirstCapacity : 2 * list.capacity;
    auto* grown = static_cast<SpriteRecord*>(alloc16(sizeof(SpriteRecord) * static_cast<std::size_t>(capacity), 0));
    if (list.count != 0) std::memcpy(static_cast<void*>(grown), list.records, sizeof(SpriteRecord) * list.count);
    freeAligned(list.records);
    list.records = grown;
    list.capacity = capacity;
}

}  // namespace

void clearSpriteList() { spriteList.count = 0; }

void appendSprite(const SpriteRecord& sprite) {
    if (spriteList.count == spriteList.capacity) growSpriteList();
    std::memcpy(static_cast<void*>(spriteList.records + spriteList.count++), &sprite, sizeof sprite);
}

void releaseSpriteList() {
    freeAligned(spriteList.records);
    spriteList = SpriteList{};
}

}  // namespace lw
