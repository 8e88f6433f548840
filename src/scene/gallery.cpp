#include "scene/gallery.h"

#include <array>
#include <cmath>

#include "psi/psi.h"
#include "raster/frame_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/style.h"
#include "sprites/styles.h"

namespace lw {

namespace {

struct GalleryRow {
    std::uint32_t kind;
    const wchar_t* image;
    double innerRatio;  // rings only
};

constexpr std::array<GalleryRow, kGalleryRows> kRows = {{
    {SpriteKind::Point, L"", 0.0},
    {SpriteKind::Ball, L"", 0.0},
    {SpriteKind::Spot, L"", 0.0},         // the procedural spot
    {SpriteKind::Spot, L"KOR_12", 0.0},   // a texture
    {SpriteKind::Disc, L"KOR_31", 0.0},   // a textured disc
    {SpriteKind::Disc, L"", 0.0},         // a flat disc
    {SpriteKind::Disc, L"", 0.55},        // a ring
}};

// Particle colours of a cluster: a few hues, so tints show.
constexpr std::array<std::uint32_t, kGalleryClusterSize> kClusterColours = {
    0xFFFFFFFF, 0xFFFFB060, 0xFF60C0FF, 0xFFFF6090, 0xFF90FF90, 0xFFFFFF80, 0xFFC090FF};
// Offsets of a cluster's particles from the cell centre, in cell halves, and their view depth.
struct ClusterPlace {
    double dx, dy, z;
};
constexpr std::array<ClusterPlace, kGalleryClusterSize> kCluster = {{
    {0.0, 0.0, 0.0},
    {-0.3, -0.18, 30.0},
    {0.3, -0.15, -20.0},
    {-0.26, 0.2, -35.0},
    {0.26, 0.22, 45.0},
    {0.0, -0.3, 15.0},
    {0.04, 0.3, -50.0},
}};

int styleSlot(int row, int column) { return 1 + row * kGalleryColumns + column; }

// A point is one pixel: its cells get a spiral of many points instead of a small cluster.
constexpr int kPointsPerCell = 60;
int particlesOf(int row) { return kRows[row].kind == SpriteKind::Point ? kPointsPerCell : kGalleryClusterSize; }

ClusterPlace placeInCell(int row, int k) {
    if (kRows[row].kind != SpriteKind::Point) return kCluster[k];
    const double turn = 0.55 * k;
    const double reach = 0.4 * k / kPointsPerCell;
    return {reach * std::cos(turn), reach * std::sin(turn), 30.0 - k};
}

void makeStyles() {
    for (int row = 0; row < kGalleryRows; ++row) {
        for (int column = 0; column < kGalleryColumns; ++column) {
            selectStyle(styleSlot(row, column));
            const GalleryRow& kind = kRows[row];
            setupStyle(*currentStyle, kind.kind | static_cast<std::uint32_t>(column), 0xFFE8E0FF, kind.image);
            currentStyle->innerRatio1 = kind.innerRatio;
            // Normal-mode flat discs and points take the style colour; a little transparency
            // shows the overlap.
            if (column == static_cast<int>(BlendMode::Normal)) currentStyle->colour = 0xD0E8E0FF;
            if (kind.kind == SpriteKind::Point) currentStyle->colour = 0xFFFFFFFF;
        }
    }
}

// Places every particle so that it lands at its cell's spot on the screen after projection.
void placeParticles(int width, int height) {
    const double cellWidth = static_cast<double>(width) / kGalleryColumns;
    const double cellHeight = static_cast<double>(height) / kGalleryRows;
    const double spread = cellHeight < cellWidth ? cellHeight : cellWidth;
    int count = 0;
    for (int row = 0; row < kGalleryRows; ++row) {
        for (int column = 0; column < kGalleryColumns; ++column) count += galleryCellDraws(row, column) ? particlesOf(row) : 0;
    }
    emit(count, 0, 0, 0);
    Particle* particle = currentSystem->particles;
    for (int row = 0; row < kGalleryRows; ++row) {
        for (int column = 0; column < kGalleryColumns; ++column) {
            if (!galleryCellDraws(row, column)) continue;
            // Outer cells are pushed a quarter cell outward, across the frame's edge.
            const double pushX = column == 0 ? -0.25 : column == kGalleryColumns - 1 ? 0.25 : 0.0;
            const double pushY = row == 0 ? -0.25 : row == kGalleryRows - 1 ? 0.25 : 0.0;
            const double centreX = (column + 0.5 + pushX) * cellWidth;
            const double centreY = (row + 0.5 + pushY) * cellHeight;
            for (int k = 0; k < particlesOf(row); ++k, ++particle) {
                const ClusterPlace place = placeInCell(row, k);
                const double factor = projectionFactor(place.z);
                const double screenX = centreX + place.dx * spread - width / 2.0;
                const double screenY = centreY + place.dy * spread - height / 2.0;
                particle->position = {screenX / (viewScale * factor), screenY / (viewScale * factor), place.z};
                particle->velocity = {};
                // A sprite about a third of the cell across, whatever the frame's size.
                particle->size = 0.7 * spread / (400.0 * factor * viewScale);
                particle->style = styleSlot(row, column);
                particle->colour = kClusterColours[k % kGalleryClusterSize];
                particle->ttl = 0;
                particle->lifetime = 0;
            }
        }
    }
}

}  // namespace

bool galleryCellDraws(int row, int column) {
    const std::uint32_t kind = kRows[row].kind;
    // Points and balls have routines for the default and normal modes only.
    if (kind == SpriteKind::Point || kind == SpriteKind::Ball) return column <= static_cast<int>(BlendMode::Normal);
    return true;
}

void drawGallery(int width, int height) {
    setFrameSize(width, height);
    backgroundColour = 0xFFA08CF0;
    borderColour = 0xFF000000;
    zoom = 1.0;
    minSpriteSize = 2;
    setProjection(-80, -1);
    setFog(350, -100, 1001);
    initStyles();
    makeStyles();
    placeParticles(width, height);
    renderFrame();
}

void releaseGallery() { releaseSpriteTables(); }

}  // namespace lw
