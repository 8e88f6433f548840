// Giving brush styles their meaning: kind, blend mode, colour, images and draw routines, the
// copying of styles, the texture styles made from the JPEG resources, the sprite tables of a
// scene and the per-frame render loop.
#pragma once

#include <cstdint>

#include "sprites/style.h"

namespace lw {

// --- Set-up of one style ------------------------------------------------------------------------
// Chooses both routines from the kind, the blend mode and whether the style has images; an
// untextured Disc also makes sure the circle masks exist.
void selectDrawRoutines(PBall& style);
// Sets kind and colour and gives the style fresh image buffers, or none for a Point and for a
// Disc without an image name. True when it has no images.
bool allocateStyleImages(PBall& style, std::uint32_t kindCode, std::uint32_t colour, bool imageNamed);
// The one way to give a style its kind, colour and images. imageName "compBALL" and "compSPOT"
// are the procedural images, any other non-empty name a JPEG resource; an empty (or null) name
// takes the kind's default images. The sphereTable must exist for every style with images.
void setupStyle(PBall& style, std::uint32_t kindCode, std::uint32_t colour, const wchar_t* imageName);
// Makes the target slot a copy of the source style, with image buffers of its own, and leaves
// it selected. The source slot must hold a style.
void copyStyle(int source, int target);

// --- Texture styles -----------------------------------------------------------------------------
extern int textureStyleFirst;
extern int textureStyleLast;  // the last texture style made so far
extern std::uint32_t textureKind;
extern std::uint32_t textureColour;
extern int textureColourJitter;
extern double textureSizeScale;

// A new texture style after textureStyleLast, inheriting the fields of the first one.
int addTextureStyle(const wchar_t* resourceName);
// The 33 texture styles KOR_01..KOR_20 and KOR_31..KOR_43 in the slots from textureStyleFirst.
void buildTextureStyles();
void resetTextureStyleState();

// --- A scene's sprite tables --------------------------------------------------------------------
// Leaves no particle system but a fresh one selected in slot 0, both lookup tables, style 0 an
// opaque point style, new frame buffers, and the band pool started.
void initStyles();
// Joins the band pool; frees the sprite list, the frame buffers, the lookup tables, the circle
// masks, every particle system and the particle cache.
void releaseSpriteTables();
// Frees everything above and every style, and puts the start values back (tests).
void resetSpriteSetup();

// --- The render loop ----------------------------------------------------------------------------
// Places the particle cache through the style chains onto the sprite list, draws the list and
// the overlays band by band, and presents the frame.
void renderFrame();

}  // namespace lw
