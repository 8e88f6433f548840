#include "sprites/sprite_list.h"

#include <cstring>
#include <type_traits>

#include "host/memory.h"

namespace lw {

SpriteList spriteList;

static_assert(std::is_trivially_copyable_v<SpriteRecord>, "a grown list copies its records with memcpy");

namespace {

// Enough for the scene's particles without growing in most frames.
constexpr int kFirstCapacity = 4096;

}  // namespace

void growSpriteList() {
    SpriteList& list = spriteList;
    const int capacity = list.capacity == 0 ? kFirstCapacity : 2 * list.capacity;
    // One block: the records, then their rows.
    const auto n = static_cast<std::size_t>(capacity);
    auto* grown = static_cast<SpriteRecord*>(alloc16((sizeof(SpriteRecord) + sizeof(SpriteRows)) * n, 0));
    auto* grownRows = reinterpret_cast<SpriteRows*>(grown + n);
    if (list.count != 0) {
        std::memcpy(static_cast<void*>(grown), list.records, sizeof(SpriteRecord) * list.count);
        std::memcpy(grownRows, list.rows, sizeof(SpriteRows) * list.count);
    }
    freeAligned(list.records);
    list.records = grown;
    list.rows = grownRows;
    list.capacity = capacity;
}

void clearSpriteList() { spriteList.count = 0; }

void releaseSpriteList() {
    freeAligned(spriteList.records);  // the rows too
    spriteList = SpriteList{};
}

}  // namespace lw
