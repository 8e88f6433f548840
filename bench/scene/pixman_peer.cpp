#include "pixman_peer.h"

#include <pixman.h>

#include <array>

#include "sprites/blends.h"
#include "sprites/spot_routines.h"
#include "sprites/style.h"

namespace lw::bench {

namespace {

constexpr int kCentre = kImageSide - 1;           // the centre texel of the whole picture, both ways
constexpr int kPictureSide = 2 * kImageSide - 1;  // the four quadrants share the centre row and column
constexpr int kWeightStride = 512;                // a8 rows padded to whole words, as pixman wants

enum class Family { Normal, Add };

// All the peer reads of a record, so that a change of the record touches this one place.
struct PeerSprite {
    Family family = Family::Normal;
    int centreX = 0;
    int centreY = 0;
    int radius = 0;
    const Colour* const* images = nullptr;  // the four quadrant images
    Colour colour = 0;                      // Normal: tinted and fogged; Add: the tint
    int strength = 255;                     // Normal: alpha; Add: alpha and depth cue together
};

bool readSprite(const SpriteRecord& s, Colour background, PeerSprite& p) {
    const bool normal = s.draw == spotNormalClipped || s.draw == spotNormalUnclipped;
    const bool add = s.draw == spotAddClipped || s.draw == spotAddUnclipped;
    if (!normal && !add) return false;
    p.family = normal ? Family::Normal : Family::Add;
    p.centreX = s.centreX;
    p.centreY = s.centreY;
    p.radius = s.radius;
    p.images = s.images.data();
    p.colour = normal ? foggedColour(s, background) : s.tint;
    p.strength = normal ? s.alpha : s.alpha * s.depthCue / 255;
    return true;
}

// The four quadrant images as one picture of 511 x 511 texels around texel (255, 255), each
// texel where our drawing finds it: the centre row belongs to the upper quadrants, the centre
// column to the left ones. Our drawing ends a quadrant's row at its first texel 0, so the texels
// beyond it stay empty here.
std::vector<Colour> wholePicture(const Colour* const* images) {
    std::vector<Colour> texels(static_cast<std::size_t>(kPictureSide) * kPictureSide, 0);
    for (int q = 0; q < 4; ++q) {
        const bool upper = q < 2;
        const bool left = (q & 1) == 0;
        for (int i = upper ? 0 : 1; i < kImageSide; ++i) {
            const Colour* row = images[q] + i * kImageSide;
            Colour* out = texels.data() + (upper ? kCentre - i : kCentre + i) * kPictureSide + kCentre;
            for (int j = left ? 0 : 1; j < kImageSide && row[j] != 0; ++j) out[left ? -j : j] = row[j];
        }
    }
    return texels;
}

std::uint16_t wide(int channel) { return static_cast<std::uint16_t>(channel * 257); }
int channelOf(Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFFu); }

Colour premultiplied(Colour c, int alpha) {
    Colour out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        out |= static_cast<Colour>((channelOf(c, shift) * alpha + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

struct PixmanPeer::Picture {
    std::vector<std::uint32_t> bits;
    pixman_format_code_t format = PIXMAN_a8;
    int stride = 0;
    std::array<pixman_image_t*, kImageSide> scaled{};  // by radius, made when first drawn

    ~Picture() {
        for (pixman_image_t* image : scaled) {
            if (image != nullptr) pixman_image_unref(image);
        }
    }

    // A destination pixel x of the sprite's box (0..2 radius) has its centre at x + 0.5 and must
    // take texel 255 + 255 (x - radius) / radius, rounded as the division table rounds: so the
    // point it samples is that texel's centre, and nearest filtering finds the texel.
    pixman_image_t* scaledTo(int radius) {
        pixman_image_t*& image = scaled[radius];
        if (image != nullptr) return image;
        image = pixman_image_create_bits(format, kPictureSide, kPictureSide, bits.data(), stride);
        const double scale = radius > 0 ? static_cast<double>(kCentre) / radius : 1.0;
        const double offset = kCentre + 0.5 - scale * (radius + 0.5);
        pixman_transform_t transform;
        pixman_transform_init_identity(&transform);
        transform.matrix[0][0] = transform.matrix[1][1] = pixman_double_to_fixed(scale);
        transform.matrix[0][2] = transform.matrix[1][2] = pixman_double_to_fixed(offset);
        pixman_image_set_transform(image, &transform);
        pixman_image_set_filter(image, PIXMAN_FILTER_NEAREST, nullptr, 0);
        pixman_image_set_repeat(image, PIXMAN_REPEAT_PAD);
        return image;
    }
};

PixmanPeer::PixmanPeer(int width, int height, Colour background)
    : width_(width), height_(height), background_(background),
      bits_(static_cast<std::size_t>(width) * height) {
    frame_ = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, bits_.data(), width * 4);
}

PixmanPeer::~PixmanPeer() {
    pictures_.clear();
    for (const auto& entry : solids_) pixman_image_unref(entry.second);
    pixman_image_unref(frame_);
}

// Normal spots weight one colour by the texel's blue byte: an a8 mask under a solid colour, which
// OVER lays on the frame. Add spots add their texels, dimmed as a whole: the picture under a solid
// mask, which ADD adds with saturation.
PixmanPeer::Picture& PixmanPeer::pictureOf(const Colour* const* images, bool weights) {
    std::unique_ptr<Picture>& picture = pictures_[{images[0], weights}];
    if (picture != nullptr) return *picture;
    picture = std::make_unique<Picture>();
    std::vector<Colour> texels = wholePicture(images);
    if (!weights) {
        picture->format = PIXMAN_x8r8g8b8;
        picture->stride = kPictureSide * 4;
        picture->bits = std::move(texels);
        return *picture;
    }
    picture->format = PIXMAN_a8;
    picture->stride = kWeightStride;
    picture->bits.assign(kWeightStride / 4 * kPictureSide, 0);
    auto* rows = reinterpret_cast<std::uint8_t*>(picture->bits.data());
    for (int y = 0; y < kPictureSide; ++y) {
        for (int x = 0; x < kPictureSide; ++x) {
            rows[y * kWeightStride + x] = static_cast<std::uint8_t>(texels[y * kPictureSide + x] & 0xFFu);
        }
    }
    return *picture;
}

pixman_image_t* PixmanPeer::solid(Colour premultiplied, int alpha, bool perChannel) {
    const std::uint64_t key = (std::uint64_t{perChannel} << 40) | (std::uint64_t(alpha) << 32) | premultiplied;
    pixman_image_t*& image = solids_[key];
    if (image != nullptr) return image;
    const pixman_color_t colour = {wide(channelOf(premultiplied, 16)), wide(channelOf(premultiplied, 8)),
                                   wide(channelOf(premultiplied, 0)), wide(alpha)};
    image = pixman_image_create_solid_fill(&colour);
    if (perChannel) pixman_image_set_component_alpha(image, 1);
    return image;
}

std::string PixmanPeer::prepare(const SpriteList& list) {
    composites_.clear();
    for (int i = 0; i < list.count; ++i) {
        PeerSprite p;
        if (!readSprite(list.records[i], background_, p)) {
            return "record " + std::to_string(i) + " of the sprite list is not a Normal or Add spot, the only sprites the peer draws";
        }
        Composite c;
        c.x = p.centreX - p.radius;
        c.y = p.centreY - p.radius;
        c.side = 2 * p.radius + 1;
        pixman_image_t* scaled = pictureOf(p.images, p.family == Family::Normal).scaledTo(p.radius);
        if (p.family == Family::Normal) {
            c.op = PIXMAN_OP_OVER;
            c.source = solid(premultiplied(p.colour, p.strength), p.strength, false);
            c.mask = scaled;
        } else {
            c.op = PIXMAN_OP_ADD;
            c.source = scaled;
            c.mask = solid(premultiplied(p.colour, p.strength), p.strength, p.colour != kNoTint);
        }
        composites_.push_back(c);
    }
    return {};
}

void PixmanPeer::draw() {
    pixman_fill(bits_.data(), width_, 32, 0, 0, width_, height_, background_);
    for (const Composite& c : composites_) {
        pixman_image_composite32(static_cast<pixman_op_t>(c.op), c.source, c.mask, frame_, 0, 0, 0, 0, c.x, c.y,
                                 c.side, c.side);
    }
}

}  // namespace lw::bench
