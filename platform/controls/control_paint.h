// Painting the controls of the window model: each control's state read from
// its record, its colours asked of its dialog with the colour messages, its
// pixels from the control painter.
#pragma once

#include <windows.h>

#include "control_painter.h"

namespace platform {

// Makes the control painter the window model's default painter.
void InstallControlPainter();
// Paints one control (or a dialog's background) where it lies on the screen.
void PaintControl(HWND window);
// The colours the control's dialog gives it for painting into `dc`.
ControlColors ColorsFor(HWND control, HDC dc);

}  // namespace platform
