#include "sprites/style.h"

#include <new>

#include "host/memory.h"
#include "host/process.h"

namespace lw {

std::array<PBall*, kStyleCount> styleTable{};
int currentStyleIndex = 0;
PBall* currentStyle = nullptr;

bool hasAllImages(const PBall& style) {
    return style.images[0] && style.images[1] && style.images[2] && style.images[3];
}

void linkDrawError() { fatalError(L"PSI: LinkDraw Error"); }

void freeStyle() {
    PBall*& slot = styleTable[currentStyleIndex];
    if (slot == nullptr) return;
    for (auto*& image : slot->images) {
        freeAligned(image);
        image = nullptr;
    }
    releaseSpotTables(*slot);
    delete slot;
    slot = nullptr;
    currentStyle = nullptr;
}

void newStyle() {
    freeStyle();
    auto* style = new (std::nothrow) PBall{};
    if (style == nullptr) fatalError(kAllocationFailedText);
    styleTable[currentStyleIndex] = style;
    currentStyle = style;
}

void selectStyle(int index) {
    // Callers keep to 0..511; one that does not would write outside the table.
    if (index < 0 || index >= kStyleCount) fatalError(L"PSI: style index out of range");
    currentStyleIndex = index;
    currentStyle = styleTable[index];
    if (currentStyle == nullptr) newStyle();
}

void resetStyleTable() {
    for (int i = 0; i < kStyleCount; ++i) {
        currentStyleIndex = i;
        freeStyle();
    }
    currentStyleIndex = 0;
    currentStyle = nullptr;
}

}  // namespace lw
