// The still preview: painted into the borrowed window through SDL's window surface, again each
// time the window is uncovered. The area is 152 x 112 whatever the window's size.
#include <vector>

#include "host/linux/preview_picture.h"
#include "host/sdl/sdl_host.h"

namespace lw::sdl {

void paintPreview() {
    static const std::vector<std::uint32_t> picture = linuxhost::previewPicture();
    SDL_Surface* target = SDL_GetWindowSurface(state().window.hostWindow);
    if (target == nullptr) return;
    // SDL only reads through the pointer it is given here.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(picture.data()),
                                                             linuxhost::kPreviewWidth, linuxhost::kPreviewHeight, 32,
                                                             linuxhost::kPreviewWidth * 4, SDL_PIXELFORMAT_ARGB8888);
    if (source == nullptr) return;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_Rect area{0, 0, linuxhost::kPreviewWidth, linuxhost::kPreviewHeight};
    SDL_BlitSurface(source, nullptr, target, &area);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(state().window.hostWindow);
}

}  // namespace lw::sdl
