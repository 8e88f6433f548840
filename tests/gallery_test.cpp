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

// Every brush kind in every blend it has routines for, one cell each; cells without routines
// stay empty.
TEST_F(GalleryTest, TheSheetMatchesItsReference) {
    headless::setScreenSize(400, 420);
    try {
        drawGallery(400, 420);
    } catch (const headless::WorkerExit&) {
        const std::wstring text = headless::messageBoxes().back().text;
        FAIL() << "fatal: " << std::string(text.begin(), text.end());
    }
    EXPECT_TRUE(test::matchesReference("gallery", test::viewPicture()));
}

}  // namespace lw
