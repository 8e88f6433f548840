// Pictures from the program's own resources, one at a time: load one, lock it to read its
// pixels, copy them, unlock, release. The decoder is started by its first user and stopped by
// its last, so callers bracket their own loads with gdiplusBegin and gdiplusEnd.
//
// Locked pixels are 0xAARRGGBB, rows from the top down, imageStride bytes apart; pictures
// without alpha come out with alpha 0xFF. Worker thread only: loads must not overlap.
#pragma once

#include <cstdint>

namespace lw {

// The resource type that loadImage searches. Overlays use the bitmap type (the default),
// sprite textures kJpegResourceType.
inline constexpr const wchar_t* kJpegResourceType = L"BINARYDATA";
extern const wchar_t* resourceType;

// What the latest lockImage published; all 0 and null when it found no picture.
extern int imageWidth;
extern int imageHeight;
extern int imageStride;  // bytes per row
extern int imageBytes;   // imageStride * imageHeight
extern const std::uint32_t* imagePixels;  // null again after unlockImage

extern int gdiplusUsers;

// The first user starts the decoder; a decoder that cannot start is fatal.
void gdiplusBegin();
// The last user stops it; without users this does nothing.
void gdiplusEnd();

// Makes the named resource of resourceType the current picture (replacing any earlier one).
// False when the resource is missing or is no readable picture; the caller then reports its own
// fatal error.
bool loadImage(const wchar_t* name);
// Publishes the current picture's pixels: 1, or 0 and an empty picture without one.
int lockImage();
void unlockImage();
void releaseImage();

void resetResourceImages();

}  // namespace lw
