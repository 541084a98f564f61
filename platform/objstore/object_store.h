// The object store's part in making a device: its tables, and the databases
// a fresh phone holds (contacts, appointments, the calendar's categories).
#pragma once

#include "../device/device.h"

namespace platform {

void SeedObjectStore(const DeviceOptions& options);

}  // namespace platform
