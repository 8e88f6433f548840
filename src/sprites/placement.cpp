// The checks that a style's routines will find what they read: made while the frame is placed,
// where a missing table or image can still end the program clearly, so that drawing cannot fail.
#include "host/process.h"
#include "raster/depth_buffer.h"
#include "sprites/circle_masks.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_tables.h"

namespace lw {

void requireInputs(const PBall& style) {
    const std::uint32_t kind = spriteKindOf(style.kind);
    const bool images = hasAllImages(style) && divisionTable != nullptr;
    if (kind == SpriteKind::Spot) {
        if (!images) fatalError(L"PSI: spot drawn without its images or division table");
    } else if (kind == SpriteKind::Ball) {
        if (!images || sphereTable == nullptr || depthBuffer == nullptr) {
            fatalError(L"PSI: ball drawn without its images, sprite tables or depth buffer");
        }
    } else if (style.images[0] != nullptr) {
        if (!images || sphereTable == nullptr) fatalError(L"PSI: textured disc drawn without its images or sprite tables");
    } else {
        // A release since the style's set-up has freed the masks; build them again before drawing.
        buildCircleMasks();
    }
}

}  // namespace lw
