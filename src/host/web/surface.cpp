// The frame surface: the engine's bottom-up rows in the module's memory, from where the page
// uploads them as a texture (page/presenter.js).
#include "host/memory.h"
#include "host/platform.h"
#include "host/web/web_host.h"
#include "raster/frame_buffer.h"

namespace lw::platform {

std::uint32_t* createSurface(int width, int height) {
    releaseSurface();
    if (width <= 0 || height <= 0) return nullptr;
    web::Surface& surface = web::state().surface;
    // The engine's own block: a screen too large for the browser's memory ends the program with
    // its message, where a missing surface would leave the page blank.
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    surface.pixels = static_cast<std::uint32_t*>(allocAligned(count * sizeof(std::uint32_t), 16, 0));
    surface.width = width;
    surface.height = height;
    lw_page_surface(width, height, backgroundColour);
    return surface.pixels;
}

// The page's upload takes whole rows: they are one block of the module's memory.
void presentRect(int, int y, int, int h) {
    const web::Surface& surface = web::state().surface;
    if (y < 0) {
        h += y;
        y = 0;
    }
    if (h > surface.height - y) h = surface.height - y;
    if (surface.pixels == nullptr || h <= 0) return;
    const int first = surface.height - (y + h);
    lw_page_present(surface.pixels + static_cast<std::size_t>(first) * surface.width, surface.width, first, h);
}

// The worker waits while the page uploads, so the frame goes out whole and untorn, and nothing
// else reads it.
RowCopies copiesRows() { return RowCopies::Off; }
void copyRows(const std::uint32_t*, int, int, int, int) {}
std::uint32_t* surfaceInWindow(int&) { return nullptr; }
void presentCopied(int x, int y, int w, int h) { presentRect(x, y, w, h); }

void releaseSurface() {
    web::Surface& surface = web::state().surface;
    freeAligned(surface.pixels);
    surface.pixels = nullptr;
    surface.width = surface.height = 0;
}

}  // namespace lw::platform
