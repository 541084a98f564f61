// The commands of selvane-device: each file adds one command to the tool;
// main.cpp calls every Add...Command in turn.
#pragma once

#include <CLI/CLI.hpp>

#include <stdexcept>
#include <string>

// A command that cannot be carried out: main prints the message on
// standard error and exits with status 1. A command that changes the phone
// runs in one transaction, so nothing it did before the error stays.
struct CommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A command line that is wrong (an unknown command, a missing, malformed or
// out-of-range argument), found before the device is opened: main prints
// the message and exits with status 2, as for the parser's own errors.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Opens the device for a command that only reads it: read-only, so that a
// user who may not write the device can read it, and a missing device is
// refused rather than made.
void ReadDevice();

// Opens the device for a command that starts programs on it (start, run):
// made when missing, and said so.
void UseDevice();

// Opens the device for a command that changes it (made when missing, and
// said so) and begins the command's one transaction. Called once the
// arguments are checked. FinishChange commits it when the command has
// succeeded; DropChange rolls back what a failed command began.
void ChangeDevice();
void FinishChange();
void DropChange();

void AddInitCommand(CLI::App& app);
void AddRegCommand(CLI::App& app);
void AddJournalCommand(CLI::App& app);
void AddClockCommand(CLI::App& app);
void AddStateCommand(CLI::App& app);
void AddModesCommand(CLI::App& app);
void AddWeekCommand(CLI::App& app);
void AddStartCommand(CLI::App& app);
void AddCalendarCommand(CLI::App& app);
void AddRunCommand(CLI::App& app);
void AddContactsCommand(CLI::App& app);
void AddCallCommand(CLI::App& app);
