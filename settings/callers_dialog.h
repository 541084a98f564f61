// The "Callers..." command: a small dialog over the settings dialog where
// the user picks who rings in the mode shown although the mode is quiet.
#pragma once

// Shows the callers dialog for the mode on display and waits until it is
// closed. "ok" keeps its values in EditedCallerRules (saved with the mode)
// and marks the mode as changed when they differ; Cancel leaves them.
void EditCallerRules();
