// The programs timed as wholes: each round runs /bin/true, the settings
// program's first run on a fresh copy of a scratch device, its warm start on
// a prepared one, Lumist's twenty ticks, Kestrow's switch and the Today
// screen switched on and off, one after the other. The minima of the rounds
// are compared: a disturbed moment only ever adds time, so the fastest round
// is the one nearest the programs' own cost (the median is shown beside it).
// Peak resident memory is each child's own (wait4), the highest of its rounds.
#include "bench/program_bench.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/load_watch.h"
#include "platform/setup/device_setup.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Run {
  double ms;
  long peakKb;
};

// One program run to its end with the device, display and script given,
// through selvane-measured-run, which times it and reports its peak.
Run RunChild(const fs::path& bin, const std::vector<std::string>& argv, const fs::path& device,
             const fs::path& script) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    if (entry.rfind("SELVANE_", 0) != 0) env.push_back(entry);
  }
  env.push_back("SELVANE_DEVICE=" + device.string());
  env.push_back("SELVANE_DISPLAY=headless");
  if (!script.empty()) env.push_back("SELVANE_INPUT=" + script.string());
  const std::string runner = (bin / "selvane-measured-run").string();
  std::vector<char*> args{const_cast<char*>(runner.c_str())}, vars;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const std::string& v : env) vars.push_back(const_cast<char*>(v.c_str()));
  vars.push_back(nullptr);

  int report[2];
  if (pipe(report) != 0) throw std::runtime_error("cannot make a pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, report[1], 1);
  posix_spawn_file_actions_addclose(&actions, report[0]);
  pid_t pid = -1;
  int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), vars.data());
  posix_spawn_file_actions_destroy(&actions);
  close(report[1]);
  std::string said;
  char buffer[128];
  for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;) said.append(buffer, size_t(n));
  close(report[0]);
  int status = 0;
  if (!failed) waitpid(pid, &status, 0);
  Run run{};
  int childStatus = -1;
  if (failed || std::sscanf(said.c_str(), "%lf %ld %d", &run.ms, &run.peakKb, &childStatus) != 3 ||
      childStatus != 0)
    throw std::runtime_error(argv[0] + " did not run to its end");
  return run;
}

// A fresh copy of the template device in `copy`.
void CopyDevice(const fs::path& from, const fs::path& copy) {
  fs::remove_all(copy);
  fs::copy(from, copy, fs::copy_options::recursive);
}

struct Series {
  std::vector<double> ms;
  long peakKb = 0;
  void Add(const Run& run) {
    ms.push_back(run.ms);
    peakKb = std::max(peakKb, run.peakKb);
  }
  double Median() const {
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
  double Min() const { return *std::min_element(ms.begin(), ms.end()); }
};

void PrintTime(const char* what, const Series& series, bool last = false) {
  std::printf("%s %.2f (%.2f)%s", what, series.Min(), series.Median(), last ? "\n" : ", ");
}

}  // namespace

bool PrintFigure(const char* what, double value, const char* unit, const char* compared, double goal) {
  bool within = value <= goal;
  std::printf("%-38s %8.2f %-2s %-14s goal <= %5.2f  %s\n", what, value, unit, compared, goal,
              within ? "within" : "MISSED");
  return within;
}

bool BenchPrograms(const fs::path& scratch, int rounds) {
  const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
  const fs::path fresh = scratch / "fresh", firstRun = scratch / "first-run", warm = scratch / "warm";
  const fs::path ok = scratch / "ok.txt", on = scratch / "wait0.txt";
  std::ofstream(ok) << "ok\n";
  std::ofstream(on) << "wait 0\n";

  // The template: a fresh device, made by this process and closed again.
  const std::string saved = std::getenv("SELVANE_DEVICE") ? std::getenv("SELVANE_DEVICE") : "";
  setenv("SELVANE_DEVICE", fresh.c_str(), 1);
  std::string error;
  bool made = platform::CreateDevice({}, true, &error);
  platform::CloseDeviceDb();
  setenv("SELVANE_DEVICE", saved.c_str(), 1);
  if (!made) throw std::runtime_error(error);
  CopyDevice(fresh, warm);
  const std::string settings = (bin / "SelvaneSettings").string();
  RunChild(bin, {settings}, warm, ok);

  const std::string today = (bin / "SelvaneToday").string();
  RunChild(bin, {today}, warm, on);

  Series truth, first, again, lumist, kestrow, todayOn;
  for (int round = 0; round < rounds; ++round) {
    truth.Add(RunChild(bin, {"/bin/true"}, warm, {}));
    CopyDevice(fresh, firstRun);
    first.Add(RunChild(bin, {settings}, firstRun, ok));
    again.Add(RunChild(bin, {settings}, warm, ok));
    lumist.Add(RunChild(bin, {(bin / "Lumist").string()}, warm, {}));
    kestrow.Add(RunChild(bin, {(bin / "Kestrow").string(), "2"}, warm, {}));
    todayOn.Add(RunChild(bin, {today}, warm, on));
    LookAtLoad();
  }

  std::printf("minima of %d rounds (medians), ms: ", rounds);
  PrintTime("/bin/true", truth);
  PrintTime("SelvaneSettings first run", first);
  PrintTime("warm start", again);
  PrintTime("Lumist", lumist);
  PrintTime("Kestrow", kestrow);
  PrintTime("SelvaneToday on and off", todayOn, true);
  std::printf("peak RSS, MB: /bin/true %.2f, SelvaneSettings %.2f (first run %.2f), Lumist %.2f, Kestrow %.2f,"
              " SelvaneToday %.2f\n",
              truth.peakKb / 1024.0, again.peakKb / 1024.0, first.peakKb / 1024.0, lumist.peakKb / 1024.0,
              kestrow.peakKb / 1024.0, todayOn.peakKb / 1024.0);
  bool within = true;
  within &= PrintFigure("SelvaneSettings first run (to \"ok\")", first.Min() / again.Min(), "x", "warm start", 1.3);
  within &= PrintFigure("SelvaneSettings warm start (to \"ok\")", again.Min() / truth.Min(), "x", "/bin/true", 8);
  within &= PrintFigure("Lumist (20 ticks, virtual time)", lumist.Min() / truth.Min(), "x", "/bin/true", 3);
  within &= PrintFigure("Kestrow 2", kestrow.Min() / truth.Min(), "x", "/bin/true", 3);
  within &= PrintFigure("SelvaneToday on and off (wait 0)", todayOn.Min() / truth.Min(), "x", "/bin/true", 8);
  within &= PrintFigure("peak RSS of Lumist", lumist.peakKb / 1024.0, "MB", "", 5);
  within &= PrintFigure("peak RSS of Kestrow", kestrow.peakKb / 1024.0, "MB", "", 5);
  within &= PrintFigure("peak RSS of SelvaneSettings",
                        std::max(first.peakKb, again.peakKb) / 1024.0, "MB", "", 8);
  return within;
}
