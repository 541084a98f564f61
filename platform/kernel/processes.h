// Installed programs inside the platform: the device files that stand for
// the built binaries, and starting and waiting for them.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

namespace platform {

// Writes INSTALL FOLDER\NAME.exe for each program of the installed product
// (device/installed_product.h). Each such file holds one line,
// "SELVANE-PROGRAM NAME", naming the built binary NAME that it stands for; a
// copy of the file elsewhere on the device starts the same program. Runs
// inside CreateDevice.
void InstallPrograms();

// The built binary that the device file at `devicePath` stands for, if the
// file exists, names one of the phone's programs (the installed product's,
// the Today screen) and that program is built. Nothing else on the host
// can be named.
std::optional<std::filesystem::path> InstalledProgramBinary(std::u16string_view devicePath);

// The device path the device tool means by PROGRAM: a device path as it
// is, else a name in the install folder (".exe" added when missing).
std::u16string InstalledProgramPath(const std::string& program);

// The built binary of the phone's Today screen, in ProgramBinaryFolder().
std::filesystem::path TodayScreenBinary();

// The folder of the built programs: SELVANE_BIN, else the running binary's.
std::filesystem::path ProgramBinaryFolder();

// Starts the binary with the command line as its one argument (none when
// empty). SELVANE_DEVICE and SELVANE_BIN are passed on; SELVANE_INPUT only
// when `keepInput`, since an automation script belongs to one program; and
// this program's time when it is a program itself (ChildStartTimeMs).
// With `ownGroup` the program leads a process group of its own, which the
// programs it starts join, so that they can be ended together; it starts
// with no signal blocked and their default actions whatever its starter
// blocks. Returns the process id, or -1.
pid_t StartProgram(const std::filesystem::path& binary, const std::u16string& commandLine, bool keepInput,
                   bool ownGroup = false);

// Starts the installed program at `devicePath` as the phone does (its
// effects then belong to this program's run: headless, this program ends
// only after it). Returns the process id, or -1 when no program is there.
pid_t StartInstalledProgram(std::u16string_view devicePath, const std::u16string& commandLine);

// Waits for a started program; its exit status, or 128 + the signal.
int WaitForProgram(pid_t pid);

// What the shared screen (display/) does around a start, plugged in when
// the program joins it: before, it publishes this program's screen for the
// child to show beneath its own; after, headless, the child keeps time with
// this program (kernel/clock.h's TimeKeeper).
struct ChildStartHooks {
  std::function<void()> beforeStart;
  std::function<void(pid_t child)> started;
  std::function<void()> settle;
};
void SetChildStartHooks(ChildStartHooks hooks);
// Lets the programs this one started and that still wait for their first
// step run until they first wait (headless): before this program acts for
// its user or waits on one of them.
void SettleStartedPrograms();

}  // namespace platform
