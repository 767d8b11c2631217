#include <gtest/gtest.h>

#include "WaveDevices.h"

namespace {

// The machines we build on have no sound card; ALSA still lists its "null"
// PCM, which accepts any format.
int NullDevice() {
  return static_cast<int>(TWaveDevices::OutputNames().indexOf(QStringLiteral("null")));
}

TEST(WaveDevices, DefaultIsMinusOneAndListedDevicesFollow) {
  EXPECT_EQ(TWaveDevices::PcmName(-1), QStringLiteral("default"));
  const int count = waveOutGetNumDevs();
  EXPECT_FALSE(TWaveDevices::OutputNames().contains(QStringLiteral("default")));
  EXPECT_TRUE(TWaveDevices::PcmName(count).isEmpty());
  EXPECT_TRUE(TWaveDevices::PcmName(-2).isEmpty());
  for (int id = 0; id < count; ++id) {
    EXPECT_FALSE(TWaveDevices::PcmName(id).isEmpty()) << id;
  }
}

TEST(WaveDevices, NullDeviceProbesUsableAndReportsCapabilities) {
  const int id = NullDevice();
  ASSERT_GE(id, 0) << "ALSA lists no null PCM";
  EXPECT_EQ(ProbeWaveOut(id), WAVE_PROBE_OK);
  TWaveOutCaps caps;
  ASSERT_TRUE(TWaveDevices::OutputCaps(id, caps));
  EXPECT_EQ(caps.DeviceID, id);
  EXPECT_FALSE(caps.ProductName.isEmpty());
  EXPECT_LE(caps.ProductName.size(), 31);
  // The engine's own format must be among those it takes.
  EXPECT_NE(caps.Formats & WAVE_FORMAT_2M16, 0u);
  EXPECT_TRUE(caps.Channels == 1 || caps.Channels == 2);
}

TEST(WaveDevices, OutOfRangeDevicesFailWithoutBeingTakenForBusy) {
  const int count = waveOutGetNumDevs();
  for (int id : {count, count + 5, -7}) {
    EXPECT_EQ(ProbeWaveOut(id), WAVE_PROBE_FAILED) << id;
    TWaveOutCaps caps;
    EXPECT_FALSE(TWaveDevices::OutputCaps(id, caps)) << id;
  }
}

}  // namespace
