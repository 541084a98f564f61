// The five factory modes and the first-run set-up that builds a fresh
// store from them.
#pragma once

#include "windows.h"

// The active mode after a first run, used while the store has no "DefaultMode".
#define FIRST_RUN_ACTIVE_MODE 4

// Saves the factory values of "Mode 1" to "Mode 5" (whole text, case as
// written) with SaveMode; any other key name writes nothing. Returns 0.
int WriteFactoryMode(LPCWSTR keyName);

// On a fresh store ("Init" absent or 0): deletes "Mode 0" to "Mode 5",
// builds the five factory modes with their notification entries, writes
// "Init" = 1 and returns FIRST_RUN_ACTIVE_MODE. On a prepared store it
// changes nothing and returns 0.
DWORD PrepareStoreOnFirstRun();
