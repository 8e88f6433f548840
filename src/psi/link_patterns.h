// The pair patterns of the link kinds. forEachLinkPair calls visit(a, b) for every pair of a
// rule, in the order the forces are applied. The indexes are 64-bit and unchecked: a rule may
// name pairs outside the particle array (an unfinished grid row, a range past the end), and it
// is the visitor that must skip them.
#pragma once

#include <cstdint>
#include <limits>

#include "psi/registry.h"

namespace lw {

enum LinkKind : std::int32_t {
    LinkSingle = 0,
    LinkAllPairs = 1,
    LinkCross = 2,
    LinkChain = 3,
    LinkRing = 4,
    LinkStridedChain = 5,
    LinkStridedLoop = 6,
    LinkStride = 7,
    LinkWrappedStride = 8,
    LinkNone = 9,
    LinkGridRingRows = 10,
    LinkGridRingMesh = 11,
    LinkGridLayersWrapped = 12,
    LinkWrappedStrideRing = 13,
    LinkGridTorus = 14,
    LinkGridMesh = 15,
    LinkGridLattice = 16,
    LinkGridLayers = 17,
    LinkGridTwisted = 18,
};

namespace linkpatterns {

using Index = std::int64_t;
inline constexpr Index kUnlimitedRows = std::numeric_limits<std::int32_t>::max();

// How a grid kind links a particle: along its row, to the row below, to the layer behind.
enum class Rows { Ring, Open, Twisted };
enum class Layers { None, Wrapped, Lattice, Plain };
struct GridShape {
    Rows rows = Rows::Open;
    bool vertical = false;
    bool torus = false;
    Layers layers = Layers::None;
};

GridShape gridShapeOf(std::int32_t kind);
// Rows per block (R): rows, with -3 meaning step and -2 unlimited; kinds 14 and 16 differ.
Index gridBlockRows(const LinkRule& rule);

template <class Visit>
void horizontalPair(Rows rows, Index i, Index col, Index row, Index step, Index blockRows, Index last, Visit& visit) {
    if (col != step) {
        visit(i, i + 1);
    } else if (rows == Rows::Ring) {
        visit(i, i - step + 1);
    } else if (rows == Rows::Twisted) {
        const Index blockStart = i - (step - 1) - (row - 1) * step;
        const Index partner = blockStart + (blockRows - row) * step;
        if (partner <= last) visit(i, partner);
    }
}

template <class Visit>
void layerPair(Layers layers, Index i, Index layer, const LinkRule& r, Index blockRows, Visit& visit) {
    const Index step = r.step;
    if (layers == Layers::Wrapped) {
        Index e = i + step * blockRows;
        if (e > r.last) e -= Index{r.last} - r.first + 1;
        visit(i, e);
    } else if (layers == Layers::Lattice) {
        if (layer != step && i + step * step <= r.last) visit(i, i + step * step);
    } else if (layers == Layers::Plain) {
        if (i + step * blockRows <= r.last) visit(i, i + step * blockRows);
    }
}

// Reads first..last as rows of step particles in blocks of R rows.
template <class Visit>
void gridWalk(const LinkRule& r, Visit& visit) {
    const Index step = r.step;
    if (step <= 0) return;  // no row width, no grid
    const GridShape shape = gridShapeOf(r.kind);
    const Index blockRows = gridBlockRows(r);
    Index col = 1, row = 1, layer = 1;
    for (Index i = r.first; i <= r.last; ++i) {
        horizontalPair(shape.rows, i, col, row, step, blockRows, r.last, visit);
        if (row != blockRows) {
            if ((shape.vertical || shape.torus) && i + step <= r.last) visit(i, i + step);
        } else if (shape.torus) {
            visit(i, i - step * (blockRows - 1));
        }
        layerPair(shape.layers, i, layer, r, blockRows, visit);
        if (col != step) {
            ++col;
            continue;
        }
        col = 1;
        if (row != blockRows) {
            ++row;
            continue;
        }
        row = 1;
        if (shape.layers == Layers::Lattice) layer = layer == step ? 1 : layer + 1;
    }
}

template <class Visit>
void wrappedStridePairs(const LinkRule& r, bool closeRing, Visit& visit) {
    for (Index i = r.first; i <= r.last; ++i) {
        Index j = i + r.step;
        if (j > r.last) j -= r.last;
        visit(i, j);
        if (!closeRing) continue;
        if (i == r.last) {
            visit(i, Index{0});
        } else {
            visit(i, i + 1);
        }
    }
}

template <class Visit>
void stridedChainPairs(const LinkRule& r, bool closeToZero, Visit& visit) {
    const Index step = r.step;
    if (step <= 0) return;  // would never advance
    bool chained = false;
    Index used = 0;
    for (Index i = r.first; i <= r.last - step; i += step) {
        visit(i, i + step);
        used = i;
        chained = true;
    }
    // Without a pair of the chain there is no end to close it from.
    if (closeToZero && chained) visit(used, Index{0});
}

template <class Visit>
void simplePairs(const LinkRule& r, Visit& visit) {
    switch (r.kind) {
        case LinkSingle:
            visit(Index{r.first}, Index{r.last});
            break;
        case LinkAllPairs:
            for (Index i = r.first; i <= r.last; ++i) {
                for (Index j = i + 1; j <= r.last; ++j) visit(i, j);
            }
            break;
        case LinkCross:
            for (Index i = r.first; i <= r.last; ++i) {
                for (Index j = r.step; j <= r.rows; ++j) visit(i, j);
            }
            break;
        case LinkChain:
        case LinkRing:
            for (Index i = r.first; i < r.last; ++i) visit(i, i + 1);
            if (r.kind == LinkRing) visit(Index{r.last}, Index{r.first});
            break;
        case LinkStride:
            for (Index i = r.first; i <= Index{r.last} - r.step; ++i) visit(i, i + r.step);
            break;
        default:
            break;
    }
}

}  // namespace linkpatterns

template <class Visit>
void forEachLinkPair(const LinkRule& rule, Visit&& visit) {
    using namespace linkpatterns;
    switch (rule.kind) {
        case LinkStridedChain:
        case LinkStridedLoop:
            stridedChainPairs(rule, rule.kind == LinkStridedLoop, visit);
            break;
        case LinkWrappedStride:
        case LinkWrappedStrideRing:
            wrappedStridePairs(rule, rule.kind == LinkWrappedStrideRing, visit);
            break;
        case LinkGridRingRows:
        case LinkGridRingMesh:
        case LinkGridLayersWrapped:
        case LinkGridTorus:
        case LinkGridMesh:
        case LinkGridLattice:
        case LinkGridLayers:
        case LinkGridTwisted:
            gridWalk(rule, visit);
            break;
        default:
            simplePairs(rule, visit);
            break;
    }
}

}  // namespace lw
