// The registry's part in making a device: its tables, and the keys and
// values that a fresh phone holds.
#pragma once

#include <sqlite3.h>

#include "../device/device.h"

namespace platform {

// reg_keys and reg_values with the four root keys; safe to run again.
void CreateRegistryTables(sqlite3* db);

// Writes the registry of a fresh phone into the device being created
// (DeviceDb()): the phone's control-panel keys unless options.empty, and
// the product's Today item in every case.
void SeedRegistry(const DeviceOptions& options);

}  // namespace platform
