// Test support: a fresh device in a temporary folder for each test, and a
// way to run the built programs and the device tool against it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../device/device.h"

namespace testing_support {

// Points SELVANE_DEVICE at a new temporary folder, creates the device there
// and removes it all again at the end.
class TempDevice {
 public:
  explicit TempDevice(const platform::DeviceOptions& options = {});
  ~TempDevice();
  TempDevice(const TempDevice&) = delete;
  TempDevice& operator=(const TempDevice&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path fs() const { return folder_ / "fs"; }

 private:
  std::filesystem::path root_;
  std::filesystem::path folder_;
};

// Ways to make the device fail beneath the calls, as a phone's storage
// fails: on this thread's connection, so that CloseDeviceDb() (or the end
// of the TempDevice) makes the device whole again.
// The database takes no more writes (a write-protected store).
void MakeDeviceReadOnly();
// The database may grow by no page more (a full store): a write that needs
// room fails, one that fits in the pages it has still succeeds.
void MakeDeviceFull();
// The device's folder is removed and this thread's connection dropped.
void RemoveDevice();

// A gtest fixture with a fresh default device.
class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<TempDevice> device_;
};

struct ProgramResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// Runs a built program (SELVANE_BIN, else the folder of the running binary's
// "../bin") with the arguments, extra environment and optional standard input.
ProgramResult RunProgram(const std::string& name, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env = {}, const std::string& input = "");

// The folder that holds the built programs.
std::filesystem::path ProgramFolder();

// Writes a file (for scripts and inputs) and returns its path.
std::filesystem::path WriteFile(const std::filesystem::path& path, const std::string& content);
std::string ReadFile(const std::filesystem::path& path);

}  // namespace testing_support
