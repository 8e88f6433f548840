#include "psi/emission.h"
#include "sprites/styles.h"

namespace lw {

int textureStyleFirst = 0;
int textureStyleLast = -1;
std::uint32_t textureKind = SpriteKind::Spot;
std::uint32_t textureColour = 0xFFFFFF;
int textureColourJitter = 0;
double textureSizeScale = 1.0;

int addTextureStyle(const wchar_t* resourceName) {
    textureStyleLast += 1;
    if (textureStyleLast != textureStyleFirst) {
        copyStyle(textureStyleFirst, textureStyleLast);
    } else {
        selectStyle(textureStyleLast);
    }
    setupStyle(*currentStyle, textureKind, jitterColour(textureColour, textureColourJitter), resourceName);
    return textureStyleLast;
}

void buildTextureStyles() {
    textureStyleLast = textureStyleFirst - 1;
    selectStyle(textureStyleFirst);
    currentStyle->sizeScale = textureSizeScale;
    // KOR_21 to KOR_30 are not used.
    for (int n = 1; n <= 43; ++n) {
        if (n > 20 && n < 31) continue;
        wchar_t name[] = L"KOR_00";
        name[4] = static_cast<wchar_t>(L'0' + n / 10);
        name[5] = static_cast<wchar_t>(L'0' + n % 10);
        addTextureStyle(name);
    }
}

void resetTextureStyleState() {
    textureStyleFirst = 0;
    textureStyleLast = -1;
    textureKind = SpriteKind::Spot;
    textureColour = 0xFFFFFF;
    textureColourJitter = 0;
    textureSizeScale = 1.0;
}

}  // namespace lw
