// The still preview a screensaver host shows in its small window: a black area of 152 x 112 with
// eight 32 x 32 icons of the program's resources drawn on it, the same whatever the window's size.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/platform.h"

namespace lw::linuxhost {

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;

struct PreviewIcon {
    const wchar_t* name;
    int x;
    int y;
};

inline constexpr PreviewIcon kPreviewIcons[] = {
    {L"ICON_SSPRVW01", 44, 7},  {L"ICON_SSPRVW02", 76, 7},  {L"ICON_SSPRVW03", 44, 39},
    {L"ICON_SSPRVW04", 76, 39}, {L"ICON_SSPRVW05", 12, 71}, {L"ICON_SSPRVW06", 44, 71},
    {L"ICON_SSPRVW07", 76, 71}, {L"ICON_SSPRVW08", 108, 71},
};

// Blends an ARGB icon over a top-down picture of width x height at (x, y), by its alpha as
// DrawIcon does; the parts outside the picture are left out.
void drawIconOver(std::span<std::uint32_t> picture, int width, int height, const platform::DecodedImage& icon, int x,
                  int y);

// The preview, rows from the top, 0xFF in the alpha byte. An icon that is missing or cannot be
// decoded is left out, as a failed LoadIcon draws nothing.
std::vector<std::uint32_t> previewPicture();

}  // namespace lw::linuxhost
