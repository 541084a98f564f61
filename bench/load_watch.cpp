// The load average the benchmark ran under, looked at between its rounds.
#include "bench/load_watch.h"

#include <algorithm>
#include <cstdio>

namespace {

// Above this one-minute load, other work shares the cores with the programs
// timed, and the ratios against /bin/true stop meaning what they say.
constexpr double kIdleLoad = 1.0;

double g_highest = -1;

}  // namespace

double LoadAverage() {
  double load = -1;
  if (std::FILE* file = std::fopen("/proc/loadavg", "r")) {
    if (std::fscanf(file, "%lf", &load) != 1) load = -1;
    std::fclose(file);
  }
  return load;
}

void WatchLoadFrom() {
  g_highest = LoadAverage();
  std::printf("load average at start: %.2f\n", g_highest);
}

void LookAtLoad() { g_highest = std::max(g_highest, LoadAverage()); }

bool ReportLoad() {
  double end = LoadAverage();
  g_highest = std::max(g_highest, end);
  std::printf("load average at end: %.2f (highest %.2f)\n", end, g_highest);
  if (g_highest <= kIdleLoad) return false;
  std::printf("figures unreliable: load %.2f\n", g_highest);
  return true;
}
