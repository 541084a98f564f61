// The running program: its name (for the journal), and the work that must
// finish before the process ends (threads a program started and may not
// have joined, such as the radio switch).
#pragma once

#include <functional>
#include <string>

namespace platform {

// The program's name without ".exe"; "selvane" until the entry sets it.
const std::string& ProgramName();
void SetProgramName(const std::string& name);

// Registers work for the program's end; run in order by RunProgramExit,
// which the program entry calls after WinMain returns.
void AtProgramExit(std::function<void()> work);
void RunProgramExit();

}  // namespace platform
