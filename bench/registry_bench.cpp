// selvane-bench: times RegSetValueExW and RegQueryValueExW against the same
// work done straight on SQLite, LoadMode of a full mode, and the walk of a
// wide key, on a scratch device; then the programs as wholes
// (program_bench.cpp). Each figure that has a goal is printed with it.
#include <unistd.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/enumeration_bench.h"
#include "bench/load_watch.h"
#include "bench/program_bench.h"
#include "platform/setup/device_setup.h"
#include "store/mode_store.h"

namespace {

using Clock = std::chrono::steady_clock;

// Rounds of each registry timing: many short ones, so that the log's
// checkpoints, which land in one round now and then, and a busy host
// decide neither the minimum nor the median.
constexpr int kRounds = 61;

// Microseconds per call of `work` over one round of `count` calls.
template <typename Work>
double Round(int count, Work& work) {
  auto start = Clock::now();
  for (int i = 0; i < count; ++i) work(i);
  std::chrono::duration<double, std::micro> spent = Clock::now() - start;
  return spent.count() / count;
}

double Median(std::vector<double> rounds) {
  std::sort(rounds.begin(), rounds.end());
  return rounds[rounds.size() / 2];
}

// The fastest and the middle round of a timing, in microseconds per call.
struct Timing {
  double min;
  double median;
};

Timing Summary(const std::vector<double>& rounds) {
  return {*std::min_element(rounds.begin(), rounds.end()), Median(rounds)};
}

// Times two ways of doing the same work in alternating rounds, so that a
// disturbed moment (other processes, the disk flushing) weighs on both alike;
// the minima, which a disturbance can only raise, are compared.
template <typename First, typename Second>
std::pair<Timing, Timing> Compare(int count, First first, Second second) {
  std::vector<double> a, b;
  for (int round = 0; round < kRounds; ++round) {
    a.push_back(Round(count, first));
    b.push_back(Round(count, second));
  }
  return {Summary(a), Summary(b)};
}

void Report(const char* what, Timing registry, Timing direct) {
  std::printf("%-26s %7.1f us (%7.1f)  SQLite alone %7.1f us (%7.1f)  ratio %5.2f\n", what, registry.min,
              registry.median, direct.min, direct.median, registry.min / direct.min);
}

}  // namespace

int main(int argc, char** argv) {
  int writes = argc > 1 ? std::atoi(argv[1]) : 20;
  int programRounds = argc > 2 ? std::atoi(argv[2]) : 20;
  int reads = writes * 20;
  std::filesystem::path folder = std::filesystem::temp_directory_path() / ("selvane-bench-" + std::to_string(getpid()));
  setenv("SELVANE_DEVICE", (folder / "device").c_str(), 1);
  std::string error;
  if (!platform::CreateDevice({}, true, &error)) {
    std::fprintf(stderr, "selvane-bench: %s\n", error.c_str());
    return 1;
  }
  sqlite3* db = platform::DeviceDb();
  WatchLoadFrom();
  std::printf("device in %s; minima (medians) of %d alternating rounds of %d writes or %d reads\n", folder.c_str(),
              kRounds, writes, reads);

  HKEY key;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Bench", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  DWORD value = 0;
  // The same row change straight on SQLite: one prepared statement in
  // autocommit (its own durable transaction), on a key row of its own.
  platform::Exec(db, "INSERT INTO reg_keys(parent, name, folded) VALUES(3, 'Direct', 'direct')");
  int64_t directKey = sqlite3_last_insert_rowid(db);
  sqlite3_stmt* upsert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO reg_values(key, name, folded, type, data) VALUES(?, 'Level', 'level', 4, ?)"
                     " ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data",
                     -1, &upsert, nullptr);
  auto [regSet, sqlSet] = Compare(
      writes,
      [&](int i) {
        value = static_cast<DWORD>(i);
        RegSetValueExW(key, u"Level", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
      },
      [&](int i) {
        value = static_cast<DWORD>(i);
        sqlite3_reset(upsert);
        sqlite3_bind_int64(upsert, 1, directKey);
        sqlite3_bind_blob(upsert, 2, &value, 4, SQLITE_TRANSIENT);
        sqlite3_step(upsert);
      });
  Report("RegSetValueExW (DWORD)", regSet, sqlSet);

  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, "SELECT type, data FROM reg_values WHERE key = ? AND folded = 'level'", -1, &select,
                     nullptr);
  auto [regQuery, sqlQuery] = Compare(
      reads,
      [&](int) {
        DWORD size = 4;
        RegQueryValueExW(key, u"level", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
      },
      [&](int) {
        sqlite3_reset(select);
        sqlite3_bind_int64(select, 1, directKey);
        if (sqlite3_step(select) == SQLITE_ROW && sqlite3_column_bytes(select, 1) == 4)
          std::memcpy(&value, sqlite3_column_blob(select, 1), 4);
        // Ends the read, as a registry call does: a statement left on its
        // row would keep the connection's read open for the calls after it.
        sqlite3_reset(select);
      });
  Report("RegQueryValueExW (DWORD)", regQuery, sqlQuery);
  sqlite3_finalize(upsert);
  sqlite3_finalize(select);
  RegCloseKey(key);

  ModeRecord mode = LoadMode(u"Mode 1");
  SaveMode(u"Mode 1", mode);
  std::vector<double> rounds;
  for (int round = 0; round < kRounds; ++round) {
    auto load = [&](int) { mode = LoadMode(u"Mode 1"); };
    rounds.push_back(Round(writes, load));
  }
  Timing load = Summary(rounds);
  std::printf("%-26s %7.1f us (%7.1f)  (30 values: %.1f us a value, %.2f x one RegQueryValueExW)\n",
              "LoadMode of a full mode", load.min, load.median, load.min / 30, load.min / 30 / regQuery.min);
  ReportEnumeration();

  platform::CloseDeviceDb();

  bool within = false;
  try {
    within = BenchPrograms(folder, programRounds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "selvane-bench: %s\n", e.what());
  }
  within &= PrintFigure("RegSetValueExW", regSet.min / sqlSet.min, "x", "bare SQLite", 1.3);
  within &= PrintFigure("RegQueryValueExW", regQuery.min / sqlQuery.min, "x", "bare SQLite", 1.3);
  ReportLoad();
  std::printf("%s\n", within ? "every figure is within its goal" : "some figure misses its goal");

  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return within ? 0 : 1;
}
