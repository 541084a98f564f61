// The nine pages of the settings dialog and the frame around them: which
// controls each page shows, and the page, question and keyboard screens built from them.
#pragma once

#include "settings/settings_dialog.h"

// The frame controls, which belong to no page (the version label is never addressed).
#define FRAME_CONTROL_COUNT 14
extern const int FrameControls[FRAME_CONTROL_COUNT];

// The controls of each page, its group box first; index 0 is unused.
extern const int* const PageControls[LAST_PAGE + 1];
extern const int PageControlCount[LAST_PAGE + 1];

// Shows the page CurrentPage after a page arrow changed it.
void ShowPage();
// Turns the window into the question screen that offers to save.
void AskToSave();
// Brings the page back after "Save" or "No Save".
void LeaveQuestion();

// Building blocks of the screens above and of the keyboard mode.
void DisableAllControls();
void EnableAllControls();
void ShowPageControls();
void HideAllControls();

// The "..." button: raises the on-screen keyboard over a field to type in, or puts it away.
void ToggleKeyboardMode();
