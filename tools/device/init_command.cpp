// selvane-device init: creates a fresh device with the chosen screen,
// Bluetooth stack and SIM PIN, or a bare phone.
#include <cstdio>
#include <string>

#include "platform/setup/device_setup.h"
#include "tools/device/commands.h"

// Whether `text` is `fewest` to `most` ASCII digits and nothing else.
static bool IsDigits(const std::string& text, size_t fewest, size_t most) {
  if (text.size() < fewest || text.size() > most) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

void AddInitCommand(CLI::App& app) {
  CLI::App* init = app.add_subcommand("init", "Create a fresh device (a typical Windows Mobile 2003 phone)");
  struct Choices {
    std::string screen = "240x320";
    std::string bt = "microsoft";
    std::string simPin = "1234";
    bool empty = false;
    bool force = false;
  };
  auto choices = std::make_shared<Choices>();
  init->add_option("--screen", choices->screen, "Screen size WxH, e.g. 320x240")->capture_default_str();
  init->add_option("--bt", choices->bt, "Bluetooth stack")
      ->check(CLI::IsMember({"microsoft", "widcomm"}, CLI::ignore_case))
      ->capture_default_str();
  init->add_option("--sim-pin", choices->simPin, "The SIM's PIN (4 to 8 digits)")->capture_default_str();
  init->add_flag("--empty", choices->empty, "A bare phone: no phone keys, sounds or categories");
  init->add_flag("--force", choices->force, "Replace an existing device");
  init->callback([choices] {
    platform::DeviceOptions options;
    size_t cross = choices->screen.find('x');
    std::string width = choices->screen.substr(0, cross);
    std::string height = cross == std::string::npos ? std::string() : choices->screen.substr(cross + 1);
    if (!IsDigits(width, 1, 4) || !IsDigits(height, 1, 4))
      throw UsageError("--screen: expected WxH, e.g. 240x320, not \"" + choices->screen + "\"");
    options.screenWidth = std::stoi(width);
    options.screenHeight = std::stoi(height);
    if (options.screenWidth < 1 || options.screenHeight < 1)
      throw UsageError("--screen: the width and height must be at least 1");
    if (!IsDigits(choices->simPin, 4, 8))
      throw UsageError("--sim-pin: expected 4 to 8 digits, not \"" + choices->simPin + "\"");
    options.simPin = choices->simPin;
    options.widcomm = choices->bt == "widcomm";
    options.empty = choices->empty;
    std::string error;
    if (!platform::CreateDevice(options, choices->force, &error)) throw CommandError(error);
    std::printf("created a fresh device in %s\n", platform::DeviceFolder().c_str());
  });
}
