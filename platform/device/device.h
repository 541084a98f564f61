// The device: a folder holding phone.db (registry, hardware state, timed
// starts, object store, journal) and fs/ (the phone's file system).
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace platform {

// A failure of the device: its database refused a statement, or the device
// is missing, damaged or may not be written. `code` is SQLite's result code
// (SQLITE_FULL, SQLITE_READONLY, ...; SQLITE_PERM for a device without write
// access, SQLITE_CANTOPEN for one that is missing or refused), from which
// the calls' edges take their Win32 error (call_failure.h).
class DeviceError : public std::runtime_error {
 public:
  DeviceError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// What `selvane-device init` can choose; the defaults are a typical phone.
struct DeviceOptions {
  int screenWidth = 240;
  int screenHeight = 320;
  bool widcomm = false;        // Widcomm Bluetooth stack instead of Microsoft's
  std::string simPin = "1234";
  bool empty = false;          // no phone keys, sounds or categories
};

// SELVANE_DEVICE, else $XDG_DATA_HOME/selvane/device (~/.local/share/...).
std::filesystem::path DeviceFolder();
std::filesystem::path DeviceFsRoot();
bool DeviceExists();

// While a fresh device is being made (setup/device_setup.h) it lives in a
// staging folder, so that a half-made device is never seen under the real
// name: meanwhile DeviceFolder() names the staging folder and its database
// is opened without the checks of a finished device. Both drop this
// thread's connection.
void BeginStaging(const std::filesystem::path& folder);
void EndStaging();
bool Staging();

// The device's own tables: its values, the journal and the clock.
void CreateDeviceTables(sqlite3* db);

// Opens the device for reading only from now on: connections are read-only
// (a user who may not write the device can still read it) and a missing
// device is refused rather than made.
void UseDeviceReadOnly();
bool DeviceReadOnly();

// This thread's connection to phone.db (WAL, normal sync, busy timeout),
// opened on first use. Closed with the thread. The device must exist: the
// program entry and the device tool make it (setup/device_setup.h); a
// missing device, one without its fs/ folder, or one whose database is
// empty, damaged or lacks the device's tables, is refused with an
// exception that names it.
sqlite3* DeviceDb();

// Drops this thread's connection, e.g. after a test replaced the device.
void CloseDeviceDb();

// A number for this thread's current connection, never given to another
// connection of the process: what is kept about one connection (a read
// position) can tell that it still belongs to it.
uint64_t DeviceDbSerial();

// Small per-device facts (screen size, Bluetooth stack, SIM PIN, hardware
// state), kept as text in the table device_state.
std::optional<std::string> DeviceValue(const std::string& name);
void SetDeviceValue(const std::string& name, const std::string& value);
int DeviceInt(const std::string& name, int fallback);

// A prepared statement that finalizes itself. A cached one (for the
// statements a hot path runs again and again) is prepared once per
// connection and only reset when the Statement goes; `sql` must then be a
// string literal, as the cache finds it again by its address.
class Statement {
 public:
  enum Caching { Prepared, Cached };
  Statement(sqlite3* db, const char* sql, Caching caching = Prepared);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, const std::string& value);
  Statement& BindBlob(int index, const void* data, size_t size);
  Statement& BindNull(int index);
  bool Step();  // true while a row is available
  void Run();   // steps to completion; throws on error
  void Reset();
  int64_t Int(int column) const;
  std::string Text(int column) const;
  std::string Blob(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  bool cached_ = false;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back when left without Commit. Inside
// a transaction the caller already holds (a device-tool command or an import
// runs whole in one), a savepoint, so that the caller's transaction stays
// whole. Registry writes take one per call.
class Transaction {
 public:
  explicit Transaction(sqlite3* db);
  ~Transaction();
  void Commit();

 private:
  sqlite3* db_;
  bool own_;
  bool done_ = false;
};

void Exec(sqlite3* db, const char* sql);

}  // namespace platform
