// The files of a fresh device: the phone's sound files in \windows and
// \windows\rings, from generated tones and recordings kept in platform/seed.
#pragma once

#include <cstddef>

#include "../device/device.h"

namespace platform {

// One recording compiled in from platform/seed (see seed/embed.cmake).
struct SeedRecording {
  const char* name;
  const unsigned char* data;
  size_t size;
};
extern const SeedRecording kSeedRecordings[];
extern const size_t kSeedRecordingCount;

// Creates the phone's folders and, unless the device is to be empty, its
// sound files. Runs inside CreateDevice.
void SeedDeviceFiles(const DeviceOptions& options);

}  // namespace platform
