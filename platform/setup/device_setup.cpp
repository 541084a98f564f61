// Making a fresh device: it is built in a staging folder beside its place
// and renamed into it whole, so that no program ever sees half a device.
#include "device_setup.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "../files/files_seed.h"
#include "../hardware/phone_state.h"
#include "../kernel/clock.h"
#include "../kernel/processes.h"
#include "../kernel/program.h"
#include "../registry/registry.h"
#include "../shell/timed_starts.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

void CreateTables(sqlite3* db) {
  CreateDeviceTables(db);
  CreateRegistryTables(db);
  CreateTimedStartTables(db);
}

}  // namespace

bool CreateDevice(const DeviceOptions& options, bool force, std::string* error) {
  const fs::path target = DeviceFolder();
  std::error_code ec;
  if (fs::exists(target / "phone.db") && !force) {
    if (error) *error = "a device already exists in " + target.string() + " (use --force to replace it)";
    return false;
  }
  const fs::path staging =
      target.parent_path() / ("." + target.filename().string() + ".creating-" + std::to_string(getpid()));
  fs::create_directories(target.parent_path(), ec);
  fs::remove_all(staging, ec);
  if (!fs::create_directories(staging / "fs", ec)) {
    if (error) *error = "cannot create " + staging.string() + ": " + ec.message();
    return false;
  }

  BeginStaging(staging);
  try {
    sqlite3* db = DeviceDb();
    CreateTables(db);
    SetDeviceValue("screen.width", std::to_string(options.screenWidth));
    SetDeviceValue("screen.height", std::to_string(options.screenHeight));
    SetDeviceValue("bt.stack", options.widcomm ? "widcomm" : "microsoft");
    SetDeviceValue("sim.pin", options.simPin);
    SetDeviceValue("empty", options.empty ? "1" : "0");
    SetDeviceClock(DeviceNowMs(), false);
    SeedRegistry(options);
    SeedDeviceFiles(options);
    InstallPrograms();
    SeedPhoneHardware(options);
    // The new device's database holds all of it, with an empty log.
    Exec(DeviceDb(), "PRAGMA wal_checkpoint(TRUNCATE)");
  } catch (const std::exception& e) {
    EndStaging();
    fs::remove_all(staging, ec);
    if (error) *error = std::string("cannot create the device: ") + e.what();
    return false;
  }
  EndStaging();

  if (force) fs::remove_all(target, ec);
  fs::rename(staging, target, ec);
  if (ec) {
    fs::remove_all(staging, ec);
    // Another program created the same device at the same moment: use it.
    if (fs::exists(target / "phone.db")) return true;
    if (error) *error = "cannot create " + target.string();
    return false;
  }
  return true;
}

void EnsureDevice() {
  // A reader is refused a missing device by DeviceDb instead.
  if (Staging() || DeviceExists() || DeviceReadOnly()) return;
  std::string error;
  if (CreateDevice(DeviceOptions{}, false, &error)) {
    std::fprintf(stderr, "%s: no device at %s: created a fresh one\n", ProgramName().c_str(),
                 DeviceFolder().c_str());
    return;
  }
  if (!DeviceExists()) throw std::runtime_error(error);
}

}  // namespace platform
