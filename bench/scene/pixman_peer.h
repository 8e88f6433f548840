// The sprite list of a frame drawn by pixman: the peer that our band drawing is measured against.
// Each spot is one scaled composite with nearest filtering into a frame of the view's size, the
// way a program built on pixman would draw the same sprites. Everything that does not depend on
// the drawing itself is made once, before any timing: the pictures, their transforms and the
// solid colours.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "raster/colour.h"
#include "sprites/sprite_list.h"

using pixman_image_t = union pixman_image;

namespace lw::bench {

class PixmanPeer {
public:
    PixmanPeer(int width, int height, Colour background);
    ~PixmanPeer();
    PixmanPeer(const PixmanPeer&) = delete;
    PixmanPeer& operator=(const PixmanPeer&) = delete;

    // Prepares a composite for every record of the list. Empty when all have one, else why not.
    std::string prepare(const SpriteList& list);
    // Clears the frame to the background, then composites the prepared sprites in list order.
    void draw();
    Colour pixel(int x, int y) const { return bits_[static_cast<std::size_t>(y) * width_ + x]; }

private:
    struct Picture;
    struct Composite {
        int op = 0;
        pixman_image_t* source = nullptr;
        pixman_image_t* mask = nullptr;
        int x = 0;  // the sprite's whole box; pixman cuts it to the frame
        int y = 0;
        int side = 0;
    };

    Picture& pictureOf(const Colour* const* images, bool weights);
    pixman_image_t* solid(Colour premultiplied, int alpha, bool perChannel);

    int width_;
    int height_;
    Colour background_;
    std::vector<Colour> bits_;
    pixman_image_t* frame_ = nullptr;
    std::map<std::pair<const Colour*, bool>, std::unique_ptr<Picture>> pictures_;
    std::map<std::uint64_t, pixman_image_t*> solids_;
    std::vector<Composite> composites_;
};

}  // namespace lw::bench
