#include <gtest/gtest.h>

#include "raster/colour.h"

#include <random>

namespace lw {

// The two-lane forms against the plain definition, channel by channel (the fourth byte 0), over
// random colours and every weight.
TEST(Colour, MatchesThePerChannelDefinition) {
    const auto channel = [](Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    const auto perChannel = [&](Colour a, Colour b, auto op) {
        Colour out = 0;
        for (int shift : {0, 8, 16}) out |= static_cast<Colour>(op(channel(a, shift), channel(b, shift))) << shift;
        return out;
    };
    std::mt19937 random(12345);
    for (int n = 0; n < 20000; ++n) {
        const Colour a = random();
        const Colour b = n % 7 == 0 ? a : static_cast<Colour>(random());
        const unsigned t = static_cast<unsigned>(n % 257);
        ASSERT_EQ(addSat(a, b), perChannel(a, b, [](int x, int y) { return std::min(x + y, 255); }));
        ASSERT_EQ(subSat(a, b), perChannel(a, b, [](int x, int y) { return std::max(x - y, 0); }));
        ASSERT_EQ(mulColour(a, b), perChannel(a, b, [](int x, int y) { return x * y / 256; }));
        ASSERT_EQ(lerpColour(a, b, t), perChannel(a, b, [t](int x, int y) {
                      const int step = (y - x) * static_cast<int>(t);
                      return x + (step >= 0 ? step / 256 : -((-step + 255) / 256));
                  })) << std::hex << a << " " << b << " " << t;
    }
}

}  // namespace lw
