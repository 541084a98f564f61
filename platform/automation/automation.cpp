// The automation script: reading SELVANE_INPUT, the table of verbs, and
// carrying out one line at a time as the message loop's stand-in user. A mistake in the
// script ends the program loudly, so that it never passes unnoticed.
#include "automation.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "../display/screen.h"
#include "../display/shared_screen.h"
#include "../kernel/clock.h"
#include "../kernel/program.h"
#include "../user/message_loop.h"

namespace platform {

namespace {

// Status of a program ended by a bad script line.
constexpr int kScriptErrorStatus = 2;

struct Script {
  std::string name;
  std::vector<std::string> lines;
  size_t next = 0;  // index of the next line to carry out
  int64_t readyAt = 0;
};

std::recursive_mutex g_lock;
Script g_script;
std::map<std::string, AutomationVerb>& Verbs();

// Skips blank lines and comments, so that AutomationPending is true only
// while an action is left.
void SkipIdleLines() {
  while (g_script.next < g_script.lines.size()) {
    const std::string& line = g_script.lines[g_script.next];
    size_t start = line.find_first_not_of(" \t");
    if (start != std::string::npos && line[start] != '#') return;
    ++g_script.next;
  }
}

// Whether some line of the script dumps the windows: only then do the
// other programs on the screen keep their dumps for this one.
bool ScriptDumpsWindows() {
  for (const std::string& line : g_script.lines) {
    size_t start = line.find_first_not_of(" \t");
    if (start != std::string::npos && line.compare(start, 4, "dump") == 0 &&
        (line.size() == start + 4 || line[start + 4] == ' ' || line[start + 4] == '\t'))
      return true;
  }
  return false;
}

[[noreturn]] void Fail(size_t lineIndex, const std::string& message) {
  std::fprintf(stderr, "%s: %s:%zu: %s\n", ProgramName().c_str(), g_script.name.c_str(), lineIndex + 1,
               message.c_str());
  EndProgram(kScriptErrorStatus);
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

void WaitVerb(const std::vector<std::string>& words, const std::string&) {
  ExpectWordCount(words, 1, "wait MS");
  long ms = AutomationNumber(words[0]);
  if (ms < 0) throw AutomationError("wait needs a time of 0 or more milliseconds: " + words[0]);
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  g_script.readyAt = ProgramElapsedMs() + ms;
}

// `screenshot FILE`: the whole screen, shell bars included, as PNG.
void ScreenshotVerb(const std::vector<std::string>& words, const std::string& rest) {
  if (words.empty()) throw AutomationError("expected: screenshot FILE");
  std::string path = rest.substr(rest.find_first_not_of(" \t"));
  path.erase(path.find_last_not_of(" \t") + 1);
  std::string error;
  if (!SaveScreenshot(path, &error)) throw AutomationError("cannot write the screenshot " + path + ": " + error);
}

std::map<std::string, AutomationVerb>& Verbs() {
  static std::map<std::string, AutomationVerb> verbs = [] {
    std::map<std::string, AutomationVerb> table = WindowVerbs();
    table.merge(CallVerbs());
    table["wait"] = WaitVerb;
    table["screenshot"] = ScreenshotVerb;
    return table;
  }();
  return verbs;
}

}  // namespace

void LoadAutomationScript() {
  const char* path = std::getenv("SELVANE_INPUT");
  if (!path || !*path) return;
  std::string name = path;
  unsetenv("SELVANE_INPUT");
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read the input script %s\n", ProgramName().c_str(), name.c_str());
    EndProgram(kScriptErrorStatus);
  }
  std::stringstream text;
  text << in.rdbuf();
  SetAutomationScript(text.str(), name);
}

void SetAutomationScript(const std::string& text, const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  g_script = Script{};
  g_script.name = name;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    g_script.lines.push_back(line);
  }
  SkipIdleLines();
  SetStandInUser(StandInUser{AutomationPending, AutomationReadyAt, RunNextAutomationLine});
  if (ScriptDumpsWindows()) ReadOthersDumps();
}

bool AutomationPending() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_script.next < g_script.lines.size();
}

int64_t AutomationReadyAt() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_script.readyAt;
}

void RunNextAutomationLine() {
  size_t index;
  std::string line;
  {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    SkipIdleLines();
    if (g_script.next >= g_script.lines.size()) return;
    index = g_script.next++;
    line = g_script.lines[index];
  }
  size_t start = line.find_first_not_of(" \t");
  size_t verbEnd = line.find_first_of(" \t", start);
  std::string verb = line.substr(start, verbEnd == std::string::npos ? std::string::npos : verbEnd - start);
  std::string rest = verbEnd == std::string::npos ? "" : line.substr(verbEnd + 1);
  auto found = Verbs().find(verb);
  if (found == Verbs().end()) Fail(index, "unknown action \"" + verb + "\"");
  AutomationVerb handler = found->second;
  try {
    handler(SplitWords(rest), rest);
  } catch (const AutomationError& e) {
    Fail(index, e.what());
  }
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  SkipIdleLines();
}

void AddAutomationVerb(const std::string& verb, AutomationVerb handler) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  Verbs()[verb] = std::move(handler);
}

long AutomationNumber(const std::string& word) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
    throw AutomationError("bad number \"" + word + "\"");
  return value;
}

void ExpectWordCount(const std::vector<std::string>& words, size_t count, const char* usage) {
  if (words.size() != count) throw AutomationError(std::string("expected: ") + usage);
}

}  // namespace platform
