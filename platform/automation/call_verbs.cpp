// The automation verbs of the phone's line: `call [NUMBER]` offers an
// incoming call (no number: the caller's ID is withheld), which the phone
// rings a moment later, once the programs that monitor the line have heard
// of it; `hang up [NUMBER]` ends the calls in progress (from that number).
#include "../hardware/calls.h"
#include "automation.h"

namespace platform {

namespace {

std::string NumberWord(const std::vector<std::string>& words, const char* usage) {
  if (words.size() > 1) throw AutomationError(std::string("expected: ") + usage);
  if (words.empty()) return "";
  if (!ValidCallerNumber(words[0]))
    throw AutomationError("\"" + words[0] + "\" is no phone number (1 to 40 of 0-9, +, * and #)");
  return words[0];
}

void Call(const std::vector<std::string>& words, const std::string&) {
  const int64_t id = OfferCall(NumberWord(words, "call [NUMBER]"));
  LookAtCallsNow();
  RingSoon(id);
}

void HangUp(const std::vector<std::string>& words, const std::string&) {
  if (words.empty() || words[0] != "up") throw AutomationError("expected: hang up [NUMBER]");
  EndCalls(NumberWord(std::vector<std::string>(words.begin() + 1, words.end()), "hang up [NUMBER]"));
  LookAtCallsNow();
}

}  // namespace

std::map<std::string, AutomationVerb> CallVerbs() { return {{"call", Call}, {"hang", HangUp}}; }

}  // namespace platform
