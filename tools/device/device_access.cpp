// How the device tool's commands open the device: read-only for those that
// only read it, and one transaction for each command that changes it.
#include <optional>

#include "platform/setup/device_setup.h"
#include "tools/device/commands.h"

namespace {

std::optional<platform::Transaction> g_change;

}  // namespace

void ReadDevice() {
  platform::UseDeviceReadOnly();
  platform::DeviceDb();
}

void UseDevice() {
  platform::EnsureDevice();
  platform::DeviceDb();
}

void ChangeDevice() {
  if (g_change) return;
  platform::EnsureDevice();
  g_change.emplace(platform::DeviceDb());
}

void FinishChange() {
  if (g_change) g_change->Commit();
  g_change.reset();
}

void DropChange() { g_change.reset(); }
