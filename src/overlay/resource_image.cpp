#include "overlay/resource_image.h"

#include "host/platform.h"
#include "host/process.h"

namespace lw {

const wchar_t* resourceType = platform::kBitmapResourceType;
int imageWidth = 0;
int imageHeight = 0;
int imageStride = 0;
int imageBytes = 0;
const std::uint32_t* imagePixels = nullptr;
int gdiplusUsers = 0;

namespace {
platform::DecodedImage currentImage;
bool locked = false;

void publish(int width, int height, const std::uint32_t* pixels) {
    imageWidth = width;
    imageHeight = height;
    imageStride = width * 4;
    imageBytes = imageStride * height;
    imagePixels = pixels;
}
}  // namespace

void gdiplusBegin() {
    if (gdiplusUsers == 0 && !platform::startImageDecoder()) fatalError(L"GDI+ (WindowsXP or later) support not present");
    gdiplusUsers += 1;
}

void gdiplusEnd() {
    if (gdiplusUsers == 0) return;
    gdiplusUsers -= 1;
    if (gdiplusUsers == 0) platform::stopImageDecoder();
}

bool loadImage(const wchar_t* name) {
    releaseImage();
    const auto bytes = platform::findResource(name, resourceType);
    if (bytes.empty()) return false;
    return platform::decodeImage(bytes, currentImage);
}

int lockImage() {
    if (currentImage.pixels == nullptr) {
        publish(0, 0, nullptr);
        return 0;
    }
    publish(currentImage.width, currentImage.height, currentImage.pixels);
    locked = true;
    return 1;
}

void unlockImage() {
    locked = false;
    imagePixels = nullptr;
}

void releaseImage() {
    if (locked) unlockImage();
    platform::releaseDecoded(currentImage);
}

void resetResourceImages() {
    releaseImage();
    if (gdiplusUsers > 0) platform::stopImageDecoder();
    gdiplusUsers = 0;
    resourceType = platform::kBitmapResourceType;
    publish(0, 0, nullptr);
}

}  // namespace lw
