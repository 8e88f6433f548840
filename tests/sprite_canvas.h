// Test helpers for the sprite routines: a view over a pixel array owned by the test, and a set of
// four quadrant images laid out as a style's.
#pragma once

#include <cstdint>
#include <vector>

#include "host/memory.h"
#include "raster/frame_buffer.h"
#include "sprites/style.h"

namespace lw::test {

// Makes the frame globals (pixels, rowTable, view sizes) describe this array, stored bottom-up
// like the real surface. Several canvases may exist; the last one installed is drawn into.
class Canvas {
public:
    Canvas(int width, int height, std::uint32_t fill) : width_(width), height_(height), store_(std::size_t(width) * height, fill) {
        install();
    }
    ~Canvas() {
        if (pixels == store_.data()) pixels = nullptr;
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void install() {
        pixels = store_.data();
        viewWidth = width_;
        viewHeight = height_;
        viewMaxX = width_ - 1;
        viewMaxY = height_ - 1;
        rowTable.resize(static_cast<std::size_t>(height_));
        for (int y = 0; y < height_; ++y) rowTable[y] = width_ * (height_ - 1 - y);
    }
    std::uint32_t& at(int x, int y) { return store_[std::size_t(width_) * (height_ - 1 - y) + x]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> store_;
};

// Four 256 x 256 quadrant images, 1024-byte aligned; freed with the holder.
class QuadrantImages {
public:
    QuadrantImages() {
        for (auto*& image : images) image = static_cast<std::uint32_t*>(allocAligned(kImageBytes, kImageAlignment, 1));
    }
    ~QuadrantImages() {
        for (auto* image : images) freeAligned(image);
    }
    QuadrantImages(const QuadrantImages&) = delete;
    QuadrantImages& operator=(const QuadrantImages&) = delete;

    std::uint32_t& texel(int quadrant, int row, int column) { return images[quadrant][row * kImageSide + column]; }
    template <typename Fn>  // fn(quadrant, row, column) -> texel
    void fill(Fn fn) {
        for (int q = 0; q < 4; ++q) {
            for (int r = 0; r < kImageSide; ++r) {
                for (int c = 0; c < kImageSide; ++c) texel(q, r, c) = fn(q, r, c);
            }
        }
    }

    std::array<std::uint32_t*, 4> images{};
};

}  // namespace lw::test
