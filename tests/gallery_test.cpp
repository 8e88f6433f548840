#include "scene/gallery.h"

#include "reference_picture.h"
#include "test_support.h"

namespace lw {

class GalleryTest : public test::HostTest {
protected:
    void TearDown() override {
        releaseGallery();
        HostTest::TearDown();
    }
};

TEST_F(GalleryTest, EveryCellWithRoutinesDrawsAndTheSheetMatchesItsReference) {
    headless::setScreenSize(400, 420);
    try {
        drawGallery(400, 420);
    } catch (const headless::WorkerExit&) {
        const std::wstring text = headless::messageBoxes().back().text;
        FAIL() << "fatal: " << std::string(text.begin(), text.end());
    }
    const headless::Picture sheet = test::viewPicture();
    // Each cell that has routines changed pixels near its centre; the empty ones did not.
    for (int row = 0; row < kGalleryRows; ++row) {
        for (int column = 0; column < kGalleryColumns; ++column) {
            const int x0 = column * 80 + 20;
            const int y0 = row * 60 + 15;
            int changed = 0;
            for (int y = y0; y < y0 + 30; ++y) {
                for (int x = x0; x < x0 + 40; ++x) changed += sheet.pixels[y * 400 + x] != 0xA08CF0u;
            }
            if (galleryCellDraws(row, column)) {
                // Points are single pixels: a few of a cell's spiral fall into the sampled box.
                EXPECT_GT(changed, row == 0 ? 3 : 20) << "row " << row << " column " << column;
            } else {
                EXPECT_EQ(changed, 0) << "row " << row << " column " << column;
            }
        }
    }
    EXPECT_TRUE(test::matchesReference("gallery", sheet));
}

}  // namespace lw
