// The on-screen keyboard above the menu bar: whether it is up, where its keys
// lie, and what a tap on it types into the focused control.
#pragma once

#include <string>

#include "../gdi/raster.h"

namespace platform {

constexpr int kInputPanelHeight = 80;

bool InputPanelShown();
// Raises or puts it away (SipShowIM, and the menu bar's keyboard button).
void ShowInputPanel(bool shown);
// Where the keyboard lies on the screen while it is up.
RECT InputPanelRect();
// Paints the keyboard at its place on the screen.
void PaintInputPanel(Canvas& screen);
// A tap at screen pixel (x, y) on the keyboard: types the key's character
// into the focused window. False when (x, y) is not on a shown keyboard.
bool TapInputPanel(int x, int y);
// The label of the key under (x, y), empty when none (tests, automation).
std::u16string InputPanelKeyAt(int x, int y);

}  // namespace platform
