// selvane-device clock [set "YYYY-MM-DD HH:MM[:SS]" [--frozen]]: shows or sets
// the phone's clock, which runs with the host clock or stands still.
#include <cstdio>

#include "platform/kernel/clock.h"
#include "tools/device/commands.h"

void AddClockCommand(CLI::App& app) {
  CLI::App* clock = app.add_subcommand("clock", "Show the phone's clock, or set it");
  clock->callback([clock] {
    if (!clock->get_subcommands().empty()) return;
    ReadDevice();
    std::printf("%s%s\n", platform::FormatLocalTime(platform::DeviceNowMs()).c_str(),
                platform::DeviceClockFrozen() ? " (frozen)" : "");
  });

  CLI::App* set = clock->add_subcommand("set", "Set the phone's clock to a local time");
  auto when = std::make_shared<std::string>();
  auto frozen = std::make_shared<bool>(false);
  set->add_option("time", *when, std::string("\"") + platform::kDateTimeForm + "\", local time")->required();
  set->add_flag("--frozen", *frozen, "Keep the clock standing at that time");
  set->callback([when, frozen] {
    int64_t ms = 0;
    if (!platform::ParseLocalTime(*when, &ms))
      throw UsageError("\"" + *when + "\" is not a time of the form \"" + platform::kDateTimeForm + "\"");
    ChangeDevice();
    platform::SetDeviceClock(ms, *frozen);
  });
}
