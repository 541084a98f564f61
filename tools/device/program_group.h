// Programs that the device tool starts and that end with it: a started
// program leads a process group of its own, which the programs it starts
// join, and the tool is the subreaper of those whose starter ended, so that
// all of them can be ended together.
#pragma once

#include <filesystem>
#include <string>

// How a group ends besides a signal to the tool.
enum class GroupEnd {
  WithItsLeader,  // once the started program ends, whatever it left running ends too
  ByItself,       // the programs it left running run on
};

// Starts the binary (its command line, the automation script passed on or
// not) and waits until it ends (its status) or the tool is told to end by
// SIGTERM, SIGINT or SIGHUP (128 + the signal); then ends the group as
// `end` says (always on a signal): SIGTERM, SIGKILL after a bound, each
// program waited for.
int RunProgramGroup(const std::filesystem::path& binary, const std::u16string& commandLine, bool keepInput,
                    GroupEnd end);
