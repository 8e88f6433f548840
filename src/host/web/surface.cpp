// The frame surface: the engine's bottom-up rows in the module's memory, from where the page
// uploads them as a texture, flipped and put in channel order by its shader.
#include "host/platform.h"
#include "host/web/web_host.h"
#include "raster/frame_buffer.h"

namespace lw::platform {

std::uint32_t* createSurface(int width, int height) {
    releaseSurface();
    if (width <= 0 || height <= 0) return nullptr;
    web::Surface& surface = web::state().surface;
    surface.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    surface.width = width;
    surface.height = height;
    lw_page_surface(width, height, backgroundColour);
    return surface.pixels.data();
}

// The page's upload takes whole rows: they are one block of the module's memory.
void presentRect(int, int y, int, int h) {
    const web::Surface& surface = web::state().surface;
    if (y < 0) {
        h += y;
        y = 0;
    }
    if (h > surface.height - y) h = surface.height - y;
    if (surface.pixels.empty() || h <= 0) return;
    const int first = surface.height - (y + h);
    lw_page_present(surface.pixels.data() + static_cast<std::size_t>(first) * surface.width, surface.width, first, h);
}

// The worker waits while the page uploads, so the frame goes out whole and untorn, and nothing
// else reads it.
RowCopies copiesRows() { return RowCopies::Off; }
void copyRows(const std::uint32_t*, int, int, int, int) {}
std::uint32_t* surfaceInWindow(int&) { return nullptr; }
void presentCopied(int x, int y, int w, int h) { presentRect(x, y, w, h); }

void releaseSurface() {
    web::Surface& surface = web::state().surface;
    surface.pixels = {};
    surface.width = surface.height = 0;
}

}  // namespace lw::platform
