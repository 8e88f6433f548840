// Test helpers for the sprite routines: a view over a pixel array owned by the test, and a set of
// four quadrant images laid out as a style's.
#pragma once

#include <cstdint>
#include <vector>

#include "host/memory.h"
#include "raster/frame_buffer.h"
#include "sprites/style.h"

namespace lw::test {

// Makes the frame globals (pixels, rowTable, view sizes) describe a view of width x height inside
// this array, with `margin` pixels around it that no routine may touch, stored bottom-up like the
// real surface. Several canvases may exist; the last one installed is drawn into.
class Canvas {
public:
    Canvas(int width, int height, std::uint32_t fill, int margin = 0)
        : width_(width), height_(height), margin_(margin), stride_(width + 2 * margin),
          store_(std::size_t(stride_) * (height + 2 * margin), fill) {
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
        for (int y = 0; y < height_; ++y) rowTable[y] = indexOf(0, y);
    }
    // View coordinates; the margin lies at negative ones and beyond the view's size.
    std::uint32_t& at(int x, int y) { return store_[static_cast<std::size_t>(indexOf(x, y))]; }
    int width() const { return width_; }
    int height() const { return height_; }
    int margin() const { return margin_; }
    bool inView(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }

private:
    int indexOf(int x, int y) const { return stride_ * (height_ + margin_ - 1 - y) + margin_ + x; }

    int width_;
    int height_;
    int margin_;
    int stride_;
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
