// A depth buffer for a test Canvas: one cell per pixel of the canvas, margin included, at the
// same indexes, installed as depthBuffer for as long as it lives.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/depth_buffer.h"
#include "sprite_canvas.h"

namespace lw::test {

class DepthCells {
public:
    DepthCells(Canvas& canvas, std::int32_t fill)
        : canvas_(canvas), base_(&canvas.at(-canvas.margin(), canvas.height() + canvas.margin() - 1)),
          store_(static_cast<std::size_t>(canvas.width() + 2 * canvas.margin()) *
                     static_cast<std::size_t>(canvas.height() + 2 * canvas.margin()),
                 fill) {
        install();
    }
    ~DepthCells() {
        if (depthBuffer == store_.data()) depthBuffer = nullptr;
    }
    DepthCells(const DepthCells&) = delete;
    DepthCells& operator=(const DepthCells&) = delete;

    void install() { depthBuffer = store_.data(); }
    // View coordinates, as Canvas::at.
    std::int32_t& at(int x, int y) { return store_[static_cast<std::size_t>(&canvas_.at(x, y) - base_)]; }

private:
    Canvas& canvas_;
    const std::uint32_t* base_;  // the canvas pixel stored first
    std::vector<std::int32_t> store_;
};

}  // namespace lw::test
