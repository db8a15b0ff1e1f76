#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/input/key_codes.hpp"
#include "platform/input/scripted_input_devices.hpp"

namespace kbh {
namespace {

constexpr InputDeviceKind kKeyboard = InputDeviceKind::kKeyboard;
constexpr InputDeviceKind kMouse = InputDeviceKind::kMouse;

// Reads everything the device holds, in chunks of chunk events.
std::vector<DeviceEvent> ReadAll(InputDevices& devices, InputDeviceKind device, size_t chunk) {
  std::vector<DeviceEvent> all;
  std::vector<DeviceEvent> buffer(chunk);
  size_t count = 0;
  while (devices.Read(device, buffer, &count) && count > 0) {
    all.insert(all.end(), buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(count));
  }
  return all;
}

class ScriptedDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(devices.Open(kKeyboard));
    ASSERT_TRUE(devices.Open(kMouse));
    ASSERT_TRUE(devices.Acquire(kKeyboard));
    ASSERT_TRUE(devices.Acquire(kMouse));
  }
  ScriptedInputDevices devices;
};

TEST_F(ScriptedDevicesTest, OverflowKeepsTheOldestAndNeverGrowsPast256) {
  for (uint32_t i = 0; i < 300; ++i)
    devices.PressKey(static_cast<uint8_t>(1 + i % 100));
  EXPECT_EQ(devices.Channel(kKeyboard).PendingCount(), kDeviceBufferSize);
  EXPECT_EQ(devices.Channel(kKeyboard).DroppedCount(), 300u - kDeviceBufferSize);

  const std::vector<DeviceEvent> events = ReadAll(devices, kKeyboard, 100);
  ASSERT_EQ(events.size(), kDeviceBufferSize);
  for (size_t i = 0; i < events.size(); ++i) {
    ASSERT_EQ(events[i].offset, 1 + i % 100) << "event " << i;
  }
  // Room again once read.
  devices.PressKey(kKeyW);
  EXPECT_EQ(ReadAll(devices, kKeyboard, 8).size(), 1u);
}

TEST_F(ScriptedDevicesTest, PartialReadsKeepOrderAcrossTheRingsWrap) {
  // Fill, drain part, refill past the physical end of the ring.
  for (int i = 0; i < 200; ++i)
    devices.PressKey(kKeyA);
  std::array<DeviceEvent, 150> first;
  size_t count = 0;
  ASSERT_TRUE(devices.Read(kKeyboard, first, &count));
  ASSERT_EQ(count, 150u);
  for (int i = 0; i < 150; ++i)
    devices.ReleaseKey(kKeyB);

  const std::vector<DeviceEvent> rest = ReadAll(devices, kKeyboard, 64);
  ASSERT_EQ(rest.size(), 200u);
  for (size_t i = 0; i < rest.size(); ++i) {
    EXPECT_EQ(rest[i].offset, i < 50 ? kKeyA : kKeyB);
    EXPECT_EQ(rest[i].data, i < 50 ? kPressedData : 0u);
    if (i > 0) {
      EXPECT_GT(rest[i].sequence, rest[i - 1].sequence);
    }
  }
}

TEST_F(ScriptedDevicesTest, LosingFocusDiscardsAndReadsFailUntilReacquired) {
  devices.PressKey(kKeyA);
  devices.SetFocus(false);
  devices.PressKey(kKeyB);
  size_t count = 7;
  std::array<DeviceEvent, 4> events;
  EXPECT_FALSE(devices.Read(kKeyboard, events, &count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(devices.Acquire(kKeyboard));

  devices.SetFocus(true);
  devices.PressKey(kKeyC);  // not acquired yet: lost
  EXPECT_FALSE(devices.Read(kKeyboard, events, &count));
  ASSERT_TRUE(devices.Acquire(kKeyboard));
  EXPECT_TRUE(devices.Acquire(kKeyboard)) << "acquiring again is harmless";
  devices.PressKey(kKeyD);
  const std::vector<DeviceEvent> after = ReadAll(devices, kKeyboard, 4);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].offset, kKeyD);
}

}  // namespace
}  // namespace kbh
