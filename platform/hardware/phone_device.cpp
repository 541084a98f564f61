// Seeding of a fresh device's phone hardware: each family's tables and
// starting state, as a typical phone comes out of its box.
#include "phone_state.h"

#include "../kernel/events.h"
#include "../objstore/object_store.h"

namespace platform {

void SeedPhoneHardware(const DeviceOptions& options) {
  SeedWaveDevice();
  CreateEventTables();
  SeedCellular();
  SeedSim();
  SeedBluetooth(options);
  SeedObjectStore(options);
}

}  // namespace platform
