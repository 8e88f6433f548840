#include "sprites/styles.h"

#include <cstring>
#include <cwchar>

#include "host/memory.h"
#include "host/process.h"
#include "sprites/circle_masks.h"
#include "sprites/draw_routines.h"
#include "sprites/sprite_images.h"

namespace lw {

namespace {

std::uint32_t* newImage(int fill) { return static_cast<std::uint32_t*>(allocAligned(kImageBytes, kImageAlignment, fill)); }

void freeImages(PBall& style) {
    for (auto*& image : style.images) {
        freeAligned(image);
        image = nullptr;
    }
}

bool named(const wchar_t* name, const wchar_t* expected) { return std::wcscmp(name, expected) == 0; }

void requireSlotIndex(int index) {
    if (index < 0 || index >= kStyleCount) fatalError(L"PSI: style index out of range");
}

}  // namespace

void selectDrawRoutines(PBall& style) {
    const bool hasImages = style.images[0] != nullptr;
    const DrawPair pair = drawRoutinesFor(style.kind, hasImages);
    style.drawClipped = pair.clipped;
    style.drawUnclipped = pair.unclipped;
    if (spriteKindOf(style.kind) == SpriteKind::Disc && !hasImages) buildCircleMasks();
}

bool allocateStyleImages(PBall& style, std::uint32_t kindCode, std::uint32_t colour, bool imageNamed) {
    style.kind = kindCode;
    style.colour = colour;
    freeImages(style);
    releaseSpotTables(style);
    const std::uint32_t kind = spriteKindOf(kindCode);
    if (kind == SpriteKind::Point || (kind == SpriteKind::Disc && !imageNamed)) {
        selectDrawRoutines(style);
        return true;
    }
    // White is what a multiply leaves unchanged, so the empty parts of its images must be white.
    const bool whiteFill = kind != SpriteKind::Disc && blendModeOf(kindCode) == BlendMode::Multiply;
    for (auto*& image : style.images) image = newImage(whiteFill ? 255 : 1);
    selectDrawRoutines(style);
    return false;
}

void setupStyle(PBall& style, std::uint32_t kindCode, std::uint32_t colour, const wchar_t* imageName) {
    const bool imageNamed = imageName != nullptr && imageName[0] != L'\0';
    if (allocateStyleImages(style, kindCode, colour, imageNamed)) return;
    const std::uint32_t kind = spriteKindOf(kindCode);
    if (imageNamed) {
        if (named(imageName, L"compBALL")) {
            buildBallImages(style);
        } else if (named(imageName, L"compSPOT")) {
            buildSpotImages(style);
        } else {
            loadTextureImages(style, imageName);
        }
    } else if (kind == SpriteKind::Ball) {
        buildBallImages(style);
    } else if (kind == SpriteKind::Spot) {
        buildSpotImages(style);
    }
    if (kind == SpriteKind::Spot) keepSpotTables(style);
}

void copyStyle(int source, int target) {
    requireSlotIndex(source);
    const PBall* from = styleTable[source];
    if (from == nullptr) fatalError(L"PSI: PBall not defined");
    selectStyle(target);
    if (from == currentStyle) return;
    PBall& to = *currentStyle;
    const auto kept = to.images;
    releaseSpotTables(to);
    to = *from;
    to.images = kept;
    to.spotTables = nullptr;
    // The target ends with exactly the source's buffers: reused where it has one, made where it
    // has none (its copied routines read them), freed where the source has none.
    for (int i = 0; i < 4; ++i) {
        if (from->images[i] == nullptr) {
            freeAligned(to.images[i]);
            to.images[i] = nullptr;
            continue;
        }
        if (to.images[i] == nullptr) to.images[i] = newImage(0);
        std::memcpy(to.images[i], from->images[i], kImageBytes);
    }
    if (from->spotTables != nullptr) keepSpotTables(to);
    selectStyle(target);
}

}  // namespace lw
