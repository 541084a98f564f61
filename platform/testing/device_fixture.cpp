// Temporary devices and program runs for the tests.
#include "device_fixture.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "../controls/controls.h"
#include "../kernel/clock.h"
#include "../setup/device_setup.h"

namespace fs = std::filesystem;

namespace testing_support {

TempDevice::TempDevice(const platform::DeviceOptions& options) {
  std::string pattern = (fs::temp_directory_path() / "selvane-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  folder_ = root_ / "device";
  setenv("SELVANE_DEVICE", folder_.c_str(), 1);
  platform::CloseDeviceDb();
  std::string error;
  if (!platform::CreateDevice(options, false, &error)) throw std::runtime_error(error);
  platform::RestartProgramClock();
  // Dialogs made in the test's own process have the standard controls, as
  // a program's have them from its entry.
  platform::InstallStandardControls();
}

TempDevice::~TempDevice() {
  platform::CloseDeviceDb();
  std::error_code ec;
  fs::remove_all(root_, ec);
  unsetenv("SELVANE_DEVICE");
}

void MakeDeviceReadOnly() { platform::Exec(platform::DeviceDb(), "PRAGMA query_only = 1"); }

void MakeDeviceFull() {
  sqlite3* db = platform::DeviceDb();
  platform::Exec(db, "VACUUM");  // no free pages left to take
  platform::Statement pages(db, "PRAGMA page_count");
  pages.Step();
  const std::string limit = "PRAGMA max_page_count = " + std::to_string(pages.Int(0));
  platform::Exec(db, limit.c_str());
}

void RemoveDevice() {
  const fs::path folder = platform::DeviceFolder();
  platform::CloseDeviceDb();
  fs::remove_all(folder);
}

void DeviceTest::SetUp() { device_ = std::make_unique<TempDevice>(); }
void DeviceTest::TearDown() { device_.reset(); }

fs::path ProgramFolder() {
  const char* bin = std::getenv("SELVANE_BIN");
  if (bin && *bin) return bin;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin";
}

namespace {

std::string Drain(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

}  // namespace

ProgramResult RunProgram(const std::string& name, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env, const std::string& input) {
  fs::path tmp = fs::temp_directory_path();
  std::string outPath = (tmp / "selvane-run-out-XXXXXX").string();
  std::string errPath = (tmp / "selvane-run-err-XXXXXX").string();
  std::string inPath = (tmp / "selvane-run-in-XXXXXX").string();
  int outFd = mkstemp(outPath.data());
  int errFd = mkstemp(errPath.data());
  int inFd = mkstemp(inPath.data());
  if (outFd < 0 || errFd < 0 || inFd < 0) throw std::runtime_error("mkstemp failed");
  if (!input.empty() && write(inFd, input.data(), input.size()) != static_cast<ssize_t>(input.size()))
    throw std::runtime_error("cannot write the program's input");
  lseek(inFd, 0, SEEK_SET);

  std::string program = (ProgramFolder() / name).string();
  pid_t pid = fork();
  if (pid == 0) {
    dup2(inFd, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    for (const auto& [key, value] : env) setenv(key.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ProgramResult result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  lseek(outFd, 0, SEEK_SET);
  lseek(errFd, 0, SEEK_SET);
  result.out = Drain(outFd);
  result.err = Drain(errFd);
  close(outFd);
  close(errFd);
  close(inFd);
  unlink(outPath.c_str());
  unlink(errPath.c_str());
  unlink(inPath.c_str());
  return result;
}

fs::path WriteFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace testing_support
