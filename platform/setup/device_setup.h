// Making a fresh device: the device's tables and every family's seed. Only
// the program entry, the device tool and test fixtures make devices; every
// other call uses the device that is already there.
#pragma once

#include <string>

#include "../device/device.h"

namespace platform {

// Creates a fresh device in DeviceFolder(); `force` replaces an existing one.
// Returns false (with a message) when one exists and force is not given.
bool CreateDevice(const DeviceOptions& options, bool force, std::string* error);

// Creates the default device when none exists yet, so that every program
// runs out of the box, and says so on standard error. After
// UseDeviceReadOnly, a missing device is an error instead.
void EnsureDevice();

}  // namespace platform
