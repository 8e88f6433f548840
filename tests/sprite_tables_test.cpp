#include "sprites/sprite_tables.h"

#include <cstdint>

#include "test_support.h"

namespace lw {

namespace {

using SpriteTablesTest = test::HostTest;

std::int32_t division(int row, int j) { return divisionTable[row * kTableSide + j]; }
SphereEntry sphere(int i, int j) { return sphereTable[i * kTableSide + j]; }

}  // namespace

TEST_F(SpriteTablesTest, DivisionTableMapsPixelDistancesToImageOffsets) {
    buildDivisionTable();
    ASSERT_NE(divisionTable, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(divisionTable) % 1024, 0u);

    EXPECT_EQ(division(2, 1), 512);  // 127.5 rounds up to 128
    EXPECT_EQ(division(2, 2), 1020);

    // Row 0 and the entries past the diagonal stay 0; every row ends on the rim, index 255.
    for (int j = 0; j < kTableSide; ++j) ASSERT_EQ(division(0, j), 0);
    for (int r = 1; r < kTableSide; ++r) {
        ASSERT_EQ(division(r, r), 1020) << r;
        for (int j = r + 1; j < kTableSide; ++j) ASSERT_EQ(division(r, j), 0) << r << "," << j;
        for (int j = 1; j <= r; ++j) ASSERT_GE(division(r, j), division(r, j - 1));
    }
}

TEST_F(SpriteTablesTest, SphereTableHeightsAndRimShades) {
    buildSphereTable();
    ASSERT_NE(sphereTable, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(sphereTable) % 2048, 0u);

    EXPECT_EQ(sphere(0, 0).height, 2044);
    EXPECT_EQ(sphere(255, 0).height, 128);  // D = 255.25 is still inside the outline
    EXPECT_EQ(sphere(255, 0).shade, 14);
    EXPECT_EQ(sphere(180, 180).height, 175);  // D = 480.25
    EXPECT_EQ(sphere(180, 180).shade, 13);
    EXPECT_EQ(sphere(181, 181).height, 0);  // D = -241.75: just outside
}

TEST_F(SpriteTablesTest, ScaleBeyondTheImagesIsFatal) {
    divisionScale = 256;
    EXPECT_TRUE(test::endsInFatalError([] { buildDivisionTable(); }, L"PSI: divisionScale beyond the image size"));
    EXPECT_TRUE(test::endsInFatalError([] { buildSphereTable(); }, L"PSI: divisionScale beyond the image size"));
}

}  // namespace lw
