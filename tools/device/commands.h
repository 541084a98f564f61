// The commands of selvane-device: each file adds one command to the tool;
// main.cpp calls every Add...Command in turn.
#pragma once

#include <CLI/CLI.hpp>

#include <stdexcept>
#include <string>

// A command that cannot be carried out: main prints the message on
// standard error and exits with status 1. Commands check everything before
// they change anything.
struct CommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void AddInitCommand(CLI::App& app);
void AddRegCommand(CLI::App& app);
void AddJournalCommand(CLI::App& app);
void AddClockCommand(CLI::App& app);
void AddStateCommand(CLI::App& app);
void AddStartCommand(CLI::App& app);
void AddCalendarCommand(CLI::App& app);
void AddRunCommand(CLI::App& app);
