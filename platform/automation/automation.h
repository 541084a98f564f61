// The automation script (SELVANE_INPUT): user actions, one a line, carried
// out whenever the program waits with nothing queued. It is the message
// loop's stand-in user (user/message_loop.h), plugged in when a script is
// taken.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// Takes the script named by SELVANE_INPUT and removes the variable from the
// environment, so that programs started from here do not receive it. The
// program entry calls it before WinMain; a script that cannot be read ends
// the program with a message.
void LoadAutomationScript();
// Replaces the script (tests) and plugs it into the message loop.
void SetAutomationScript(const std::string& text, const std::string& name);
// True while lines are left.
bool AutomationPending();
// The program time (elapsed ms) from which the next line may run: later
// than now only while a `wait` lasts.
int64_t AutomationReadyAt();
// Carries out the next line. A bad line ends the program with a message on
// standard error and status 2.
void RunNextAutomationLine();

// A verb handler gets the words after the verb and the rest of the line
// after the verb (for verbs that take free text); it reports a mistake by
// throwing AutomationError. Other families add their own verbs here.
struct AutomationError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
using AutomationVerb = std::function<void(const std::vector<std::string>& words, const std::string& rest)>;
void AddAutomationVerb(const std::string& verb, AutomationVerb handler);

// The verbs of the window system (click, tap, select, type, slide, ok, dump).
std::map<std::string, AutomationVerb> WindowVerbs();
// The verbs of the phone's line (call, hang up).
std::map<std::string, AutomationVerb> CallVerbs();

// Helpers for verb handlers: a whole decimal number, else AutomationError.
long AutomationNumber(const std::string& word);
void ExpectWordCount(const std::vector<std::string>& words, size_t count, const char* usage);

}  // namespace platform
