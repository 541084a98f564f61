// Support for the device tool's end-to-end tests: running selvane-device on
// the test's device and reading its registry back.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/testing/device_fixture.h"

namespace device_tool {

inline testing_support::ProgramResult Tool(const std::vector<std::string>& args,
                                           const std::map<std::string, std::string>& env = {}) {
  testing_support::ProgramResult result = testing_support::RunProgram("selvane-device", args, env);
  // The tool may have replaced the device: look at it afresh.
  platform::CloseDeviceDb();
  return result;
}

// The whole registry as `reg export` prints it.
inline std::string Export() {
  testing_support::ProgramResult result = Tool({"reg", "export"});
  EXPECT_EQ(result.status, 0) << result.err;
  return result.out;
}

}  // namespace device_tool
