// The settings dialog's commands that reach beyond the dialog: the factory
// reset, the text export and import of the mode on display, choosing and
// running its program, and playing the selected notification sound.
#pragma once

// "Reset": the mode on display back at its factory values, its notification
// entries at their factory options (each keeping its sound).
void ResetEditedMode();
// ">" beside the notification sound list: plays "\windows\NAME.wav".
void PlayEventSound();
// "Export": saves the mode when it was changed, then writes its text file.
void ExportEditedMode();
// "Import": reads the mode's text file into the store, shows the mode again.
void ImportEditedMode();
// "Explore": picks the program of the mode with the file-open window.
void ExploreForProgram();
// "Run": starts the program of the mode, a ".lnk" shortcut or an ".exe".
void RunModeProgram();
