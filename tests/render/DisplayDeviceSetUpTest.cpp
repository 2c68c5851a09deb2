// The display device without any OpenGL context.

#include <gtest/gtest.h>

#include "render/DisplayDevice.h"

namespace slipway {
namespace {

TEST(DisplayDeviceSetUpTest, WithoutAnOpenGlContextTheDeviceFailsWithItsMessage) {
    DisplayDevice device;
    std::string failure;
    EXPECT_FALSE(device.createDevice(100, 100, failure));
    EXPECT_EQ(failure, "Failed Create device");
    EXPECT_FALSE(device.deviceReady());
    EXPECT_FALSE(device.beginScene());
    device.releaseDevice();
}

}  // namespace
}  // namespace slipway
