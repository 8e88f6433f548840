// Shared test helpers: a fixture that puts the host and the engine's globals back to their start
// values, and a way to run code that is expected to end in a fatal error.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/clock.h"
#include "host/headless/headless.h"
#include "host/host_config.h"
#include "host/input.h"
#include "host/memory.h"
#include "host/process.h"
#include "host/random.h"
#include "psi/psi.h"
#include "view/camera.h"
#include "view/camera_chain.h"
#include "overlay/resource_image.h"
#include "raster/depth_buffer.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "scene/scene.h"
#include "sprites/frame_bands.h"
#include "sprites/dispatch.h"
#include "sprites/styles.h"

namespace lw::test {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { resetAll(); }

    static void resetAll() {
        headless::reset();
        resetProcessState();
        resetHostConfig();
        resetClockState();
        resetInputState();
        failAllocationAfter(0);
        seedRandomWith(1);
        resetPsiState();
        resetCameras();
        resetCameraChain();
        resetResourceImages();
        resetFrameBuffer();
        resetSmallFrame();
        resetDepthBuffer();
        resetDispatch();
        resetSpriteSetup();
        resetScene();
    }
};

// A frame the size of the headless screen, so the window shows all of it.
inline void makeFrame(int width, int height) {
    headless::setScreenSize(width, height);
    setFrameSize(width, height);
    createFrameBuffers();
}

// Runs fn on this thread; true when it ended in fatalError with the given text, which then is
// the one message box shown.
inline ::testing::AssertionResult endsInFatalError(const std::function<void()>& fn, const std::wstring& text) {
    const auto boxesBefore = headless::messageBoxes().size();
    try {
        fn();
    } catch (const headless::WorkerExit&) {
        const auto boxes = headless::messageBoxes();
        if (boxes.size() != boxesBefore + 1) return ::testing::AssertionFailure() << "expected exactly one new message box";
        if (boxes.back().text != text || boxes.back().caption != L"Process Runtime Error") {
            return ::testing::AssertionFailure() << "the box shows another message";
        }
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "returned instead of ending in a fatal error";
}

}  // namespace lw::test
