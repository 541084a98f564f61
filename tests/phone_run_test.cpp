// `selvane-device run` and the programs of the phone: they end with it,
// whether it is ended by a signal or its Today screen ends; a phone that is
// on is not switched on twice; a host window asked for where there is no
// display is refused. A probe shell script stands in for the Today screen
// (SELVANE_BIN) and starts long-running children and grandchildren; a
// program that `start --wait` waits for ends with the tool as well.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/display/screen_records.h"
#include "platform/kernel/program.h"
#include "tests/device_tool_support.h"

namespace fs = std::filesystem;
using testing_support::ProgramResult;
using testing_support::WriteFile;

namespace {

// The stand-in Today screen (and Kestrow, for `start --wait`): a child, a
// grandchild and an orphan (its starter ends at once), each a `sleep` that
// would outlive the test, and their process ids in $PIDS; then it waits, or
// ends when $END is set.
constexpr char kTodayProbe[] = R"SH(#!/bin/sh
sleep 300 & echo $! >> "$PIDS"
sh -c 'sleep 300 & echo $! >> "$PIDS"; wait' & echo $! >> "$PIDS"
sh -c 'sleep 300 & echo $! >> "$PIDS"'
while [ "$(wc -l < "$PIDS")" -lt 4 ]; do sleep 0.01; done
echo started >> "$PIDS.ready"
[ -n "$END" ] && exit 0
wait
)SH";

class PhoneRunTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    bin_ = device_->folder().parent_path() / ("selvane-run-probe-" + std::to_string(getpid()));
    fs::create_directories(bin_);
    for (const char* program : {"SelvaneToday", "Kestrow"})
      fs::permissions(WriteFile(bin_ / program, kTodayProbe), fs::perms::owner_all);
    pids_ = bin_ / "pids";
  }
  void TearDown() override {
    for (pid_t pid : Started()) kill(pid, SIGKILL);
    fs::remove_all(bin_);
    DeviceTest::TearDown();
  }

  std::map<std::string, std::string> Environment(bool end = false) const {
    std::map<std::string, std::string> env = {{"SELVANE_BIN", bin_.string()}, {"PIDS", pids_.string()},
                                              {"SELVANE_DISPLAY", "headless"}, {"SELVANE_INPUT", "/dev/null"}};
    if (end) env["END"] = "1";
    return env;
  }

  // Starts `selvane-device run` (or other arguments) without waiting for it.
  pid_t StartRun(std::vector<std::string> args = {"run"}) {
    std::string tool = (testing_support::ProgramFolder() / "selvane-device").string();
    std::map<std::string, std::string> env = Environment();
    pid_t pid = fork();
    if (pid == 0) {
      for (const auto& [key, value] : env) setenv(key.c_str(), value.c_str(), 1);
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      std::vector<char*> argv{tool.data()};
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(tool.c_str(), argv.data());
      _exit(127);
    }
    return pid;
  }

  // Waits (bounded by a count of looks) until the probe has started its children.
  bool ProbeReady() {
    for (int look = 0; look < 1000; ++look) {
      if (fs::exists(fs::path(pids_.string() + ".ready"))) return true;
      usleep(10000);
    }
    return false;
  }

  std::vector<pid_t> Started() const {
    std::vector<pid_t> pids;
    std::ifstream in(pids_);
    for (pid_t pid; in >> pid;) pids.push_back(pid);
    return pids;
  }

  // Whether a process still exists (a zombie counts: nobody reaped it).
  static bool Exists(pid_t pid) { return kill(pid, 0) == 0 || errno != ESRCH; }

  static int Status(pid_t pid) {
    int status = -1;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  fs::path bin_;
  fs::path pids_;
};

}  // namespace

TEST_F(PhoneRunTest, EndingTheRunOrAWaitedStartBySignalEndsEveryProgramItStarted) {
  const std::vector<std::string> run = {"run"}, start = {"start", "--wait", "Kestrow", "2"};
  for (auto [signal, args] : {std::pair{SIGTERM, run}, std::pair{SIGINT, run}, std::pair{SIGHUP, run},
                              std::pair{SIGTERM, start}}) {
    SCOPED_TRACE(signal);
    SCOPED_TRACE(args[0]);
    fs::remove(pids_);
    fs::remove(fs::path(pids_.string() + ".ready"));
    pid_t tool = StartRun(args);
    ASSERT_TRUE(ProbeReady());
    std::vector<pid_t> started = Started();
    ASSERT_EQ(started.size(), 4u);
    ASSERT_EQ(kill(tool, signal), 0);
    EXPECT_EQ(Status(tool), 128 + signal);
    for (pid_t pid : started) EXPECT_FALSE(Exists(pid)) << pid;
  }
}

TEST_F(PhoneRunTest, TheTodayScreensEndEndsWhatItLeftRunning) {
  ProgramResult result = device_tool::Tool({"run"}, Environment(true));
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<pid_t> started = Started();
  ASSERT_EQ(started.size(), 4u);
  for (pid_t pid : started) EXPECT_FALSE(Exists(pid)) << pid;
}

TEST_F(PhoneRunTest, APhoneThatIsOnIsNotSwitchedOnAgain) {
  pid_t run = StartRun();
  ASSERT_TRUE(ProbeReady());
  ProgramResult second = device_tool::Tool({"run"}, Environment());
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.err, "selvane-device: the phone of " + device_->folder().string() + " is already on (process " +
                            std::to_string(run) + ")\n");
  EXPECT_EQ(Started().size(), 4u);  // the second started nothing
  kill(run, SIGTERM);
  EXPECT_EQ(Status(run), 128 + SIGTERM);
  // Once off, it comes on again.
  EXPECT_EQ(device_tool::Tool({"run"}, Environment(true)).status, 0);
}

TEST_F(PhoneRunTest, AHostWindowAskedForWithoutADisplayIsRefused) {
  const std::map<std::string, std::string> noDisplay = {
      {"SELVANE_DISPLAY", "sdl"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SELVANE_BIN", bin_.string()},
      {"PIDS", pids_.string()}};
  ProgramResult run = device_tool::Tool({"run"}, noDisplay);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "selvane-device: cannot open a host window: no display (DISPLAY is not set)\n");
  EXPECT_TRUE(Started().empty());
  ProgramResult program = testing_support::RunProgram("Kestrow", {"2"}, noDisplay);
  EXPECT_EQ(program.status, 1);
  EXPECT_NE(program.err.find("Kestrow: cannot open a host window: no display (DISPLAY is not set)"), std::string::npos)
      << program.err;
  // Not asked for by name, a window is left out where there is no display.
  ProgramResult headless =
      testing_support::RunProgram("Kestrow", {"2"}, {{"SELVANE_DISPLAY", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
  EXPECT_EQ(headless.status, 0) << headless.err;
}

TEST_F(PhoneRunTest, TheStateNamesTheProgramsOnTheScreen) {
  auto screenLine = [] {
    std::string out = device_tool::Tool({"state"}).out;
    size_t start = out.find("on the screen: ");
    return start == std::string::npos ? out : out.substr(start, out.find('\n', start) - start);
  };
  EXPECT_EQ(screenLine(), "on the screen: nothing");
  const std::string name = platform::ProgramName();
  platform::SetProgramName("SelvaneProbe");
  platform::CreateOwnScreenRecord();
  ASSERT_NE(platform::OwnScreenRecord(), nullptr);
  EXPECT_EQ(screenLine(), "on the screen: SelvaneProbe (process " + std::to_string(getpid()) + ")");
  platform::RemoveOwnScreenRecord();
  platform::SetProgramName(name);
  EXPECT_EQ(screenLine(), "on the screen: nothing");
}
