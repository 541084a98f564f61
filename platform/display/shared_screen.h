// The phone's one screen, shared by the programs on it: each program paints
// its own windows as its layer, over the layers of the programs that came
// on the screen before it and under those that came after; the shell's bars
// show the top program's title; a tap goes to the program whose layer lies
// at its place, typed keys to the top program. The layers travel through the
// screen records (screen_records.h).
#pragma once

#include <string>
#include <vector>

#include "../gdi/raster.h"
#include "../shell/shell.h"

namespace platform {

// Puts this program on the screen (the program entry) and takes it off at
// its end. Headless, a program comes on the shared screen only when it
// shares it: when the program that started it is on it, or once it starts
// a program itself; a program alone makes no screen record.
void JoinSharedScreen();

// Composition, for PaintScreen: the layers of the other programs below this
// one, then (after this program's own windows) those above it.
void PaintLayersBelow(Canvas& screen);
void PaintLayersAbove(Canvas& screen);
// Keeps this program's layer (the pixels of `screen` inside `covered`) in
// its record for the others.
void StoreOwnLayer(const Surface& screen, const std::vector<RECT>& covered, const ShellBarState& bars);
// The bars of the top program that shows a window: this one's (`own`) unless
// a program above it shows one, or this one shows none.
ShellBarState TopShellBars(const ShellBarState& own, bool ownShown);
// The dumps ("windows" arrays, JSON text) of the programs above this one,
// top first, and of those below it.
std::vector<std::string> WindowDumpsAbove();
std::vector<std::string> WindowDumpsBelow();

// Paints and publishes this program's layer when its windows changed since
// the last time and someone may look at it (`force`: in any case).
void PublishScreenChanges(bool force = false);

// This program's script dumps the windows (the script's loading says so):
// the other programs on the screen then keep their windows' dumps in
// screen/ for it. Headless, only such a program reads them, so the others
// write no dump while none is on the screen; with a host window, programs
// come and go on their own and every program keeps its dump.
void ReadOthersDumps();
bool ReadsOthersDumps();

// Input: sends a tap to the program whose layer lies at (x, y) when that is
// not this one (true), else leaves it to the caller (false). The shell's
// "ok", typed characters, keys, the wheel and drags go to the top program.
bool SendTapToScreen(int x, int y);
bool SendOkToScreen();
bool SendTextToScreen(char16_t unit);
bool SendKeyToScreen(int key);
bool SendWheelToScreen(int lines);
bool SendDragToScreen(int x, int y);
bool SendReleaseToScreen();
// Carries out the input that others sent to this program.
void TakeInputFromScreen();

// The host window: true when this program may open it (no other program on
// the screen has it open); it then keeps it for its life.
bool TakeHostWindow();
// Changes whenever another program's layer changes, comes or goes, so that
// the host window's owner knows when to show the screen again.
uint64_t OtherLayersStamp();
bool OtherProgramsOnScreen();
// Closing the host window switches the phone off: every program on it ends.
void SwitchOffScreen();
// A program without the host window waits here for its input or its time
// (at most `timeoutMs`, -1: a while); false when it has no record to wait on.
bool WaitWithoutHostWindow(int64_t timeoutMs);
void WakeWithoutHostWindow();

}  // namespace platform
