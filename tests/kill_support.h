// Support for the kill tests: a device's database saved and put back between
// rounds, and a program killed at a chosen instant of its run, or of the
// time a record of its work is in the store. The instants are chosen as
// shares of an uninterrupted run's times, so that they spread over what the
// program does on a fast machine and a slow one alike.
#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <sqlite3.h>

#include "platform/device/device.h"
#include "platform/testing/device_fixture.h"

namespace kill_test {

namespace fs = std::filesystem;

// A copy of the device's database, taken with no log beside it.
inline void SaveDatabase(const fs::path& device, const fs::path& saved) {
  platform::CloseDeviceDb();
  {
    platform::Statement checkpoint(platform::DeviceDb(), "PRAGMA wal_checkpoint(TRUNCATE)");
    checkpoint.Step();
  }
  platform::CloseDeviceDb();
  fs::copy_file(device / "phone.db", saved, fs::copy_options::overwrite_existing);
}

// Puts the saved database back as the device's, with no log beside it.
inline void RestoreDatabase(const fs::path& device, const fs::path& saved) {
  platform::CloseDeviceDb();
  for (const char* suffix : {"-wal", "-shm"}) fs::remove(device / ("phone.db" + std::string(suffix)));
  fs::copy_file(saved, device / "phone.db", fs::copy_options::overwrite_existing);
}

// Runs `sql` (with `text` bound to its one parameter, when given) straight
// on the device's database, through a read-only connection of its own, and
// hands the statement to `read` at its first row. The polling, many times a
// millisecond, so never writes to the device under test nor takes part in
// its registry's own locking. FALSE when no row came.
template <typename Read>
inline bool ReadDatabase(const char* sql, const std::string* text, Read read) {
  const std::string path = std::string(std::getenv("SELVANE_DEVICE")) + "/phone.db";
  sqlite3* db = nullptr;
  bool row = false;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &query, nullptr) == SQLITE_OK) {
      if (text) sqlite3_bind_text(query, 1, text->c_str(), -1, SQLITE_TRANSIENT);
      row = sqlite3_step(query) == SQLITE_ROW;
      if (row) read(query);
    }
    sqlite3_finalize(query);
  }
  sqlite3_close(db);
  return row;
}

// TRUE while the registry holds a value named `record` (an ASCII name).
inline bool RecordPresent(const char16_t* record) {
  std::string folded;
  for (const char16_t* c = record; *c; ++c) folded += static_cast<char>(std::tolower(static_cast<int>(*c)));
  return ReadDatabase("SELECT 1 FROM reg_values WHERE folded = ?", &folded, [](sqlite3_stmt*) {});
}

// How many values the registry holds, every key counted; -1 when the
// database cannot be read.
inline int64_t StoredValueCount() {
  int64_t count = -1;
  ReadDatabase("SELECT count(*) FROM reg_values", nullptr,
               [&](sqlite3_stmt* query) { count = sqlite3_column_int64(query, 0); });
  return count;
}

using Clock = std::chrono::steady_clock;

// When to kill a program: `delay` after its start, or, with `record`, `delay`
// after the store first holds that record (as soon as it ends when it never
// does). A negative delay never kills.
struct KillInstant {
  std::chrono::microseconds delay{-1};
  const char16_t* record = nullptr;
};

// How an uninterrupted run went: how long it took, and how long `record`
// stayed in the store.
struct RunTimes {
  std::chrono::microseconds whole{0};
  std::chrono::microseconds recorded{0};
};

// Runs a built program headless with a script, in a process group of its
// own, and kills it at `instant`, or lets it end. `watched` is the record
// whose time in the store is measured. Sets *killed when it was killed
// before it ended.
inline RunTimes RunAndKill(const std::string& name, const std::vector<std::string>& args, const fs::path& script,
                           KillInstant instant, const char16_t* watched, bool* killed) {
  const std::string program = (testing_support::ProgramFolder() / name).string();
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  const Clock::time_point start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    setenv("SELVANE_DISPLAY", "headless", 1);
    setenv("SELVANE_INPUT", script.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  setpgid(pid, pid);
  RunTimes times;
  Clock::time_point recordSeen{};
  bool recorded = false;
  Clock::time_point from = start;
  bool armed = instant.delay.count() >= 0 && !instant.record;
  int status = 0;
  *killed = false;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    usleep(100);
    const bool present = watched && RecordPresent(watched);
    if (present && !recorded) {
      recorded = true;
      recordSeen = Clock::now();
    } else if (!present && recorded && times.recorded.count() == 0) {
      times.recorded = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - recordSeen);
    }
    if (!armed && instant.delay.count() >= 0 && instant.record && RecordPresent(instant.record)) {
      armed = true;
      from = Clock::now();
    }
    if (armed && Clock::now() - from >= instant.delay) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      *killed = true;
      break;
    }
  }
  times.whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  // Only the program itself is killed: the programs it started run on and
  // end by themselves, as on the phone, before the device is looked at.
  // This process adopts them (a subreaper), so that it can tell when they
  // have ended; they are waited for a bounded while, then ended.
  for (int i = 0; i < 3000; ++i) {
    const pid_t ended = waitpid(-pid, &status, WNOHANG);
    if (ended < 0) break;
    if (ended == 0) usleep(1000);
  }
  kill(-pid, SIGKILL);
  while (waitpid(-pid, &status, 0) > 0) {
  }
  return times;
}

}  // namespace kill_test
