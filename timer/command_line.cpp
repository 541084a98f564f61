// Reading the timer's command line by the fixed offsets of its layout,
// bounded by the line's real length.
#include "timer/command_line.h"

// The height field begins this many characters after the first colon: one
// digit of target mode and one separator lie between.
static const size_t HEIGHT_OFFSET = 3;
static const size_t HEIGHT_WIDTH = 2;
// A top far off any screen is kept within this many pixels of it, so that
// the bar's own sums (its frame above and below) cannot overflow.
static const LONG BAR_TOP_REACH = 32767;

// Converts at most `count` characters of `text` with _wtol, on a terminated
// copy, so the conversion never looks past the field.
static LONG FieldValue(LPCWSTR text, size_t count) {
  WCHAR field[HEIGHT_WIDTH + 1];
  size_t n = 0;
  while (n < count && n < HEIGHT_WIDTH && text[n] != 0) {
    field[n] = text[n];
    ++n;
  }
  field[n] = 0;
  return _wtol(field);
}

void ParseTimerCommand(LPCWSTR commandLine, TimerCommand* command) {
  command->BackMode = DEFAULT_BACK_MODE;
  command->TargetMode = DEFAULT_TARGET_MODE;
  command->BarHeight = DEFAULT_BAR_HEIGHT;
  command->BarTop = DEFAULT_BAR_TOP;
  if (commandLine == nullptr) return;

  const WCHAR* firstColon = wcschr(commandLine, TEXT(':'));
  if (firstColon == nullptr) return;
  size_t colonAt = firstColon - commandLine;
  size_t length = wcslen(commandLine);

  if (colonAt > 0) command->BackMode = (DWORD)FieldValue(commandLine, 1);
  if (firstColon[1] != 0) command->TargetMode = (DWORD)_wtol(firstColon + 1);
  if (colonAt + HEIGHT_OFFSET < length) command->BarHeight = FieldValue(firstColon + HEIGHT_OFFSET, HEIGHT_WIDTH);

  const WCHAR* secondColon = wcschr(firstColon + 1, TEXT(':'));
  if (secondColon != nullptr && secondColon[1] != 0) command->BarTop = _wtol(secondColon + 1);
  if (command->BarTop > BAR_TOP_REACH) command->BarTop = BAR_TOP_REACH;
  if (command->BarTop < -BAR_TOP_REACH) command->BarTop = -BAR_TOP_REACH;
}
