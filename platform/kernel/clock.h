// The device clock and the program's own time. The device clock runs with
// the host clock from an offset, or stands still; a program takes the device
// time once at its start and moves on from there, in real time, or in
// virtual time when the display is headless.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// Milliseconds since 1970 of the device's local wall time (no time zone:
// the device's local time is the only time there is).
int64_t DeviceNowMs();
bool DeviceClockFrozen();
void SetDeviceClock(int64_t localMs, bool frozen);

// The program's clock: device time at the program's start plus its elapsed time.
int64_t ProgramNowMs();
int64_t ProgramElapsedMs();
// Moves virtual time on (headless only; real time moves by itself), in step
// with the other programs on the phone (the time keeper below). With
// `stopForInput` it stops early, returning false, when another program
// sends input meanwhile.
bool AdvanceVirtualTime(int64_t ms, bool stopForInput = false);

// Headless, the programs on the phone keep one virtual time between them.
// They keep it through their screen records (display/lockstep.h), which
// plug in here when the program joins the shared screen; without a keeper
// a program keeps its time alone.
struct TimeKeeper {
  // The phone time up to which this program may run.
  std::function<int64_t()> limitMs;
  // This program has reached `nowMs`: its children catch up.
  std::function<void(int64_t nowMs)> reached;
  // Waits, idle at `nowMs`, until the limit moves on (true), or input from
  // another program arrives when `stopForInput` (false).
  std::function<bool(int64_t nowMs, bool stopForInput)> idle;
};
void SetTimeKeeper(TimeKeeper keeper);
// Takes the device time afresh as the program's start (tests).
void RestartProgramClock();

// The environment variable that hands a started program its starter's
// time, so that with a frozen clock or in virtual time a child does not
// see an earlier time than its parent.
extern const char kStartTimeVariable[];
// Starts the clock of a program at its entry: at the time its starter
// passed in kStartTimeVariable (then taken out of the environment, so it
// goes no further), else at the device time.
void StartProgramClock();
// The start time to pass to a program started now: this program's time,
// when it was itself started through the entry; none for the device tool
// and tests, whose clock may be stale.
std::optional<int64_t> ChildStartTimeMs();

bool VirtualTime();  // true when the display is headless

// The one form in which dates and times are written to the device and its
// tool: "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS", each field at its
// width, nothing before or after.
extern const char kDateTimeForm[];
struct DateTime {
  int year, month, day, hour, minute, second;
};
// Reads kDateTimeForm (seconds 0 when not given); false unless the text is
// exactly in that form and names a real date of the years 1970 to 9999.
bool ParseDateTime(const std::string& text, DateTime* when);

// kDateTimeForm <-> local milliseconds; written with its seconds.
bool ParseLocalTime(const std::string& text, int64_t* ms);
std::string FormatLocalTime(int64_t ms);

}  // namespace platform
