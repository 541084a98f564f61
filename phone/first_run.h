// The first-run set-up, where the store and the phone's notification events
// are both known.
#pragma once

#include <windows.h>

// On a fresh store ("Init" absent or 0): reads the phone's notification
// events once, builds the five factory modes with one entry per event,
// writes "Init" = 1 and returns FIRST_RUN_ACTIVE_MODE. On a prepared store
// it reads nothing, changes nothing and returns 0.
DWORD PrepareStoreOnFirstRun();
