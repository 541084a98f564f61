// selvane-device call incoming|end: a call coming in on the phone's line,
// and its end. The phone rings an incoming call once the programs that
// monitor the line (the Today item, while the phone is on) have heard of
// it, or after about five seconds without them.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/hardware/calls.h"
#include "tools/device/commands.h"

namespace {

void CheckNumber(const std::string& number) {
  if (!number.empty() && !platform::ValidCallerNumber(number))
    throw UsageError("NUMBER: \"" + number + "\" is no phone number (1 to 40 of 0-9, +, * and #)");
}

// The offer is committed before the ringer waits, so that the monitoring
// programs see it.
void IncomingCallCommand(const std::string& number) {
  CheckNumber(number);
  ChangeDevice();
  const int64_t id = platform::OfferCall(number);
  FinishChange();
  platform::RingWhenHeard(id);
}

void EndCallCommand(const std::string& number) {
  CheckNumber(number);
  ChangeDevice();
  if (platform::EndCalls(number) == 0)
    throw CommandError(number.empty() ? "no call in progress" : "no call in progress from " + number);
}

}  // namespace

void AddCallCommand(CLI::App& app) {
  CLI::App* call = app.add_subcommand("call", "Let a call come in on the phone's line, or end it");
  call->require_subcommand(1);

  CLI::App* incoming = call->add_subcommand("incoming", "Offer an incoming call, which the phone rings");
  auto number = std::make_shared<std::string>();
  incoming->add_option("NUMBER", *number, "The caller's number; left out, the caller's ID is withheld");
  incoming->callback([number] { IncomingCallCommand(*number); });

  CLI::App* end = call->add_subcommand("end", "End the calls in progress (those from NUMBER, when given)");
  auto ended = std::make_shared<std::string>();
  end->add_option("NUMBER", *ended, "The caller's number");
  end->callback([ended] { EndCallCommand(*ended); });
}
