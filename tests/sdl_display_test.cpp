// The host window under a virtual X server: SELVANE_DISPLAY=sdl opens it, a
// click in it reaches the control under it, and a picture of the X screen
// shows the phone's screen, doubled. Skipped where Xvfb (or the X tools
// that click and photograph) is missing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/gdi/png_file.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"

extern char** environ;

namespace fs = std::filesystem;
using platform::Surface;
using testing_support::ProgramFolder;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDevice;
using testing_support::WriteFile;

namespace {

constexpr int kScale = 2;
constexpr int kAutoCheckBox = 1001;  // the probe's auto check box "Auto"

bool OnPath(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// A child process with its standard output readable through a pipe.
struct Child {
  pid_t pid = -1;
  int out = -1;

  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char*> args, vars;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& v : env) vars.push_back(const_cast<char*>(v.c_str()));
    vars.push_back(nullptr);
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), vars.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    out = pipeFds[0];
  }
  ~Child() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    if (out >= 0) close(out);
  }

  // Reads what the child writes until `text` appears or `seconds` pass.
  bool WaitFor(const std::string& text, int seconds, std::string* seen) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (seen->find(text) == std::string::npos) {
      int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
      if (left <= 0) return false;
      pollfd p{out, POLLIN, 0};
      if (poll(&p, 1, left) <= 0) continue;
      char buffer[512];
      ssize_t n = read(out, buffer, sizeof buffer);
      if (n <= 0) return seen->find(text) != std::string::npos;
      seen->append(buffer, size_t(n));
    }
    return true;
  }

  int Wait(int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
  }
};

std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    std::string key = entry.substr(0, entry.find('='));
    if (!extra.count(key)) env.push_back(entry);
  }
  for (const auto& [key, value] : extra) env.push_back(key + "=" + value);
  return env;
}

std::string Command(const std::string& display, const std::string& command) {
  std::string output;
  FILE* pipe = popen(("DISPLAY=" + display + " " + command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return output;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
  pclose(pipe);
  return output;
}

struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Where an X window lies on the X screen.
Geometry WindowGeometry(const std::string& display, const std::string& window) {
  std::string shell = Command(display, "xdotool getwindowgeometry --shell " + window);
  Geometry g;
  for (std::string line; !shell.empty();) {
    line = shell.substr(0, shell.find('\n'));
    shell.erase(0, line.size() + 1);
    std::sscanf(line.c_str(), "X=%d", &g.left);
    std::sscanf(line.c_str(), "Y=%d", &g.top);
    std::sscanf(line.c_str(), "WIDTH=%d", &g.width);
    std::sscanf(line.c_str(), "HEIGHT=%d", &g.height);
  }
  return g;
}

}  // namespace

TEST(SdlDisplay, HostWindowShowsTheScreenAndTakesClicks) {
  for (const char* tool : {"Xvfb", "xdotool", "import"})
    if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";

  TempDevice device;
  int64_t ms = 0;
  ASSERT_TRUE(platform::ParseLocalTime("2005-03-01 09:41:00", &ms));
  platform::SetDeviceClock(ms, true);

  // What the screen should show after the click, and where the check box is,
  // from a headless run of the same actions.
  fs::path reference = device.folder() / "reference.png", dumpFile = device.folder() / "dump.json";
  fs::path script = WriteFile(device.folder() / "reference.txt",
                              "click 1001\nscreenshot " + reference.string() + "\ndump " + dumpFile.string() + "\n");
  auto headless = RunProgram("selvane-probe", {}, {{"SELVANE_INPUT", script.string()}});
  ASSERT_EQ(headless.status, 0) << headless.err;
  nlohmann::json dump = nlohmann::json::parse(ReadFile(dumpFile));
  nlohmann::json rect;
  for (const auto& control : dump["windows"][0]["controls"])
    if (control["id"] == kAutoCheckBox) rect = control["rect"];
  ASSERT_TRUE(rect.is_array());

  // A virtual X server on a free display number, which it reports itself.
  Child xvfb({"Xvfb", "-displayfd", "1", "-screen", "0", "800x700x24", "-nolisten", "tcp"}, EnvironmentWith({}));
  std::string number;
  ASSERT_TRUE(xvfb.WaitFor("\n", 20, &number)) << "Xvfb did not start";
  std::string display = ":" + number.substr(0, number.find('\n'));

  // The host window's system libraries (X11, D-Bus, loaded by SDL) keep
  // allocations past the program's end; leak checks stay on everywhere else.
  Child probe({(ProgramFolder() / "selvane-probe").string()},
              EnvironmentWith({{"DISPLAY", display}, {"SELVANE_DISPLAY", "sdl"}, {"SELVANE_SCALE", "2"},
                               {"ASAN_OPTIONS", "detect_leaks=0:abort_on_error=1:halt_on_error=1"}}));
  std::string said;
  ASSERT_TRUE(probe.WaitFor("init", 20, &said)) << said;
  std::string window = Command(display, "xdotool search --sync --onlyvisible --name 'selvane-probe - phone screen' | head -1");
  ASSERT_FALSE(window.empty()) << "no host window";
  window.erase(window.find_last_not_of("\n") + 1);
  auto [left, top, width, height] = WindowGeometry(display, window);
  EXPECT_EQ(width, 240 * kScale);
  EXPECT_EQ(height, 320 * kScale);

  // Wait for the first picture in the window (the X screen is black before).
  fs::path root = device.folder() / "root.png";
  std::string error;
  bool shown = false;
  for (int attempt = 0; attempt < 100 && !shown; ++attempt) {
    Command(display, "import -window root " + root.string());
    Surface seen;
    shown = platform::ReadPng(root.string(), &seen, &error) && seen.width() > left + 20 &&
            seen.height() > top + 20 && seen.at(left + 20, top + 20) != 0;
    if (!shown) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(shown) << "the host window stays black";

  // Click the centre of the check box, in host pixels.
  int x = left + (int(rect[0]) + int(rect[2]) / 2) * kScale;
  int y = top + (int(rect[1]) + int(rect[3]) / 2) * kScale;
  Command(display, "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
  ASSERT_TRUE(probe.WaitFor("command 1001 0", 20, &said)) << said;

  // The X screen shows the phone's screen, each phone pixel as 2 × 2.
  Surface expected;
  ASSERT_TRUE(platform::ReadPng(reference.string(), &expected, &error)) << error;
  int differing = -1;
  for (int attempt = 0; attempt < 50 && differing != 0; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Command(display, "import -window root " + root.string());
    Surface seen;
    if (!platform::ReadPng(root.string(), &seen, &error) || seen.width() < left + 480 || seen.height() < top + 640)
      continue;
    differing = 0;
    for (int py = 0; py < expected.height(); ++py)
      for (int px = 0; px < expected.width(); ++px)
        for (int d = 0; d < kScale * kScale; ++d)
          differing += seen.at(left + px * kScale + d % kScale, top + py * kScale + d / kScale) != expected.at(px, py);
  }
  EXPECT_EQ(differing, 0) << "the host window does not show the phone's screen";

  // A click on the shell's "ok" ends the dialog.
  Command(display, "xdotool mousemove " + std::to_string(left + 225 * kScale) + " " +
                       std::to_string(top + 12 * kScale) + " click 1");
  ASSERT_TRUE(probe.WaitFor("done", 20, &said)) << said;
  EXPECT_EQ(probe.Wait(20), 0);
}

// The phone's clock stands at 2026-12-09 10:00:00, its journal empty.
void FreezeClockAtTen() {
  int64_t ms = 0;
  ASSERT_TRUE(platform::ParseLocalTime("2026-12-09 10:00:00", &ms));
  platform::SetDeviceClock(ms, true);
  platform::JournalClear();
}

// The phone is switched off: its programs are those with a screen record.
void SwitchOff(const TempDevice& device) {
  for (const auto& entry : fs::directory_iterator(device.folder() / "screen")) {
    std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") == std::string::npos) kill(pid_t(std::stol(name)), SIGTERM);
  }
}

// The Today screen has the host window; the timer bar it starts draws into
// that same window, over it, and takes the clicks on it.
TEST(SdlDisplay, AProgramStartedOverAnotherDrawsIntoItsHostWindow) {
  for (const char* tool : {"Xvfb", "xdotool", "import"})
    if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";

  TempDevice device;
  FreezeClockAtTen();

  Child xvfb({"Xvfb", "-displayfd", "1", "-screen", "0", "800x700x24", "-nolisten", "tcp"}, EnvironmentWith({}));
  std::string number;
  ASSERT_TRUE(xvfb.WaitFor("\n", 20, &number)) << "Xvfb did not start";
  std::string display = ":" + number.substr(0, number.find('\n'));

  Child phone({(ProgramFolder() / "selvane-device").string(), "run"},
              EnvironmentWith({{"DISPLAY", display}, {"SELVANE_DISPLAY", "sdl"}, {"SELVANE_SCALE", "2"},
                               {"ASAN_OPTIONS", "detect_leaks=0:abort_on_error=1:halt_on_error=1"}}));
  std::string window = Command(display, "xdotool search --sync --onlyvisible --name 'SelvaneToday - phone screen' | head -1");
  ASSERT_FALSE(window.empty()) << "no host window";
  window.erase(window.find_last_not_of("\n") + 1);
  auto [left, top, width, height] = WindowGeometry(display, window);
  auto click = [&](int x, int y) {
    Command(display, "xdotool mousemove " + std::to_string(left + x * kScale) + " " +
                         std::to_string(top + y * kScale) + " click 1");
  };
  // Counts the phone pixels where the X screen differs from `expected`.
  fs::path root = device.folder() / "root.png";
  auto differing = [&](const Surface& expected) {
    std::string error;
    Surface seen;
    Command(display, "import -window root " + root.string());
    if (!platform::ReadPng(root.string(), &seen, &error) || seen.width() < left + 480 || seen.height() < top + 640)
      return -1;
    int count = 0;
    for (int py = 0; py < expected.height(); ++py)
      for (int px = 0; px < expected.width(); ++px)
        count += seen.at(left + px * kScale, top + py * kScale) != expected.at(px, py);
    return count;
  };

  // Once the Today screen shows, a click on the second mode's picture brings
  // the bar: the window then shows what the headless phone shows.
  Surface golden;
  std::string error;
  ASSERT_TRUE(platform::ReadPng(SELVANE_SOURCE_DIR "/tests/golden/today_timer_bar_240x320.png", &golden, &error))
      << error;
  bool todayShown = false;
  for (int attempt = 0; attempt < 100 && !todayShown; ++attempt) {
    Surface seen;
    Command(display, "import -window root " + root.string());
    todayShown = platform::ReadPng(root.string(), &seen, &error) && seen.width() > left + 40 &&
                 seen.at(left + 230 * kScale, top + 60 * kScale) == 0xFFFFFF;
    if (!todayShown) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(todayShown) << "the host window does not show the Today screen";
  click(72, 124);
  int leftOver = -1;
  for (int attempt = 0; attempt < 40 && leftOver != 0; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    leftOver = differing(golden);
  }
  EXPECT_EQ(leftOver, 0) << "the host window does not show the bar over the Today screen";
  EXPECT_EQ(Command(display, "xdotool search --onlyvisible --name 'phone screen' | wc -l"), "1\n");

  // A click on the bar's "30" reaches the timer program.
  click(64, 164);
  bool answered = false;
  for (int attempt = 0; attempt < 100 && !answered; ++attempt) {
    for (const auto& line : platform::JournalRead()) answered |= line.program == "SelvaneTimer";
    if (!answered) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(answered) << "the click did not reach the bar";

  SwitchOff(device);
  phone.Wait(20);
}

// The settings program that the Today screen starts runs until the window
// is closed; a second tap on the mode line meanwhile starts no other.
TEST(SdlDisplay, TheTodayScreenRunsOneSettingsProgramAtATime) {
  for (const char* tool : {"Xvfb", "xdotool"})
    if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";

  TempDevice device;
  FreezeClockAtTen();
  // The dump after the second tap tells the test that the tap has been dealt with.
  const fs::path dumped = device.folder() / "after-second-tap.json";
  fs::path script = WriteFile(device.folder() / "taps.txt",
                              "click 1003\nwait 1500\nclick 1003\nwait 1500\ndump " + dumped.string() + "\n");

  Child xvfb({"Xvfb", "-displayfd", "1", "-screen", "0", "800x700x24", "-nolisten", "tcp"}, EnvironmentWith({}));
  std::string number;
  ASSERT_TRUE(xvfb.WaitFor("\n", 20, &number)) << "Xvfb did not start";
  std::string display = ":" + number.substr(0, number.find('\n'));
  Child phone({(ProgramFolder() / "selvane-device").string(), "run"},
              EnvironmentWith({{"DISPLAY", display}, {"SELVANE_DISPLAY", "sdl"}, {"SELVANE_INPUT", script.string()},
                               {"ASAN_OPTIONS", "detect_leaks=0:abort_on_error=1:halt_on_error=1"}}));
  auto settingsStarts = [] {
    int starts = 0;
    for (const auto& line : platform::JournalRead())
      starts += line.text.rfind("CreateProcessW \"\\Program files\\Selvane\\SelvaneSettings.exe\"", 0) == 0;
    return starts;
  };
  for (int attempt = 0; attempt < 200 && settingsStarts() == 0; ++attempt)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_EQ(settingsStarts(), 1) << "the first tap started no settings program";
  for (int attempt = 0; attempt < 300 && !fs::exists(dumped); ++attempt)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_TRUE(fs::exists(dumped)) << "the script did not come to its second tap";
  EXPECT_EQ(settingsStarts(), 1);

  SwitchOff(device);
  phone.Wait(20);
}
