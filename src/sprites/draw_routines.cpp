#include "sprites/draw_routines.h"

#include <array>

#include "sprites/disc_routines.h"
#include "sprites/point_routines.h"
#include "sprites/sphere_routines.h"
#include "sprites/spot_routines.h"

namespace lw {

namespace {

// One pair per blend mode: Default, Normal, Add, Subtract, Multiply. Modes past the table have
// no routines.
constexpr int kBlendModeCount = 5;
using FamilyRoutines = std::array<DrawPair, kBlendModeCount>;

constexpr DrawPair kNone{nullptr, nullptr};

// Point: the plotter as the unclipped routine of Default and Normal (a point is never clipped);
// the other modes stay errors.
constexpr DrawPair kPoint{nullptr, plotPoint};
constexpr FamilyRoutines kPointRoutines{kPoint, kPoint, kNone, kNone, kNone};

// Ball: the clipped and unclipped ball routines for Default and Normal; no other mode.
constexpr DrawPair kBall{ballClipped, ballUnclipped};
constexpr FamilyRoutines kBallRoutines{kBall, kBall, kNone, kNone, kNone};

// Spot: Default draws like Add.
constexpr DrawPair kSpotAdd{spotAddClipped, spotAddUnclipped};
constexpr FamilyRoutines kSpotRoutines{kSpotAdd, DrawPair{spotNormalClipped, spotNormalUnclipped}, kSpotAdd,
                                       DrawPair{spotSubtractClipped, spotSubtractUnclipped},
                                       DrawPair{spotMultiplyClipped, spotMultiplyUnclipped}};

// Disc with images: the textured disc routines, Default drawing like Normal.
constexpr DrawPair kTexturedNormal{texturedNormalClipped, texturedNormalUnclipped};
constexpr FamilyRoutines kTexturedDiscRoutines{kTexturedNormal, kTexturedNormal,
                                               DrawPair{texturedAddClipped, texturedAddUnclipped},
                                               DrawPair{texturedSubtractClipped, texturedSubtractUnclipped},
                                               DrawPair{texturedMultiplyClipped, texturedMultiplyUnclipped}};

// Disc without images: the flat disc routines, Default drawing like Normal. Each draws a ring by
// itself when a sprite has inner sizes.
constexpr DrawPair kFlatDiscNormal{discNormalClipped, discNormalUnclipped};
constexpr FamilyRoutines kFlatDiscRoutines{kFlatDiscNormal, kFlatDiscNormal,
                                           DrawPair{discAddClipped, discAddUnclipped},
                                           DrawPair{discSubtractClipped, discSubtractUnclipped},
                                           DrawPair{discMultiplyClipped, discMultiplyUnclipped}};

const FamilyRoutines* familyOf(std::uint32_t kind, bool hasImages) {
    switch (kind) {
        case SpriteKind::Point:
            return &kPointRoutines;
        case SpriteKind::Ball:
            return &kBallRoutines;
        case SpriteKind::Spot:
            return &kSpotRoutines;
        case SpriteKind::Disc:
            return hasImages ? &kTexturedDiscRoutines : &kFlatDiscRoutines;
        default:
            return nullptr;
    }
}

}  // namespace

DrawPair drawRoutinesFor(std::uint32_t kindCode, bool hasImages) {
    const FamilyRoutines* family = familyOf(spriteKindOf(kindCode), hasImages);
    const std::uint32_t mode = blendModeOf(kindCode);
    if (family == nullptr || mode >= kBlendModeCount) return kNone;
    return (*family)[mode];
}

}  // namespace lw
