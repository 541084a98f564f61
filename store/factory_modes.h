// The five factory modes and the first-run set-up that builds a fresh
// store from them.
#pragma once

#include <windows.h>

#include "store/notification_table.h"

// The active mode after a first run, used while the store has no "DefaultMode".
#define FIRST_RUN_ACTIVE_MODE 4

// Saves the factory values of "Mode 1" to "Mode 5" (whole text, case as
// written) with SaveMode, and their caller rules; any other key name writes
// nothing. Returns 0.
int WriteFactoryMode(LPCWSTR keyName);

// TRUE once the first-run set-up has built the store ("Init" not 0); a
// missing root key or value counts as a fresh store.
BOOL StoreIsPrepared();

// The first-run set-up of a fresh store: deletes "Mode 0" to "Mode 5",
// builds the five factory modes, gives each one entry per phone event of
// `phoneEvents` (`eventCount` slots, as the phone's notification list reads
// them), writes "Init" = 1 and returns FIRST_RUN_ACTIVE_MODE. The caller
// asks StoreIsPrepared first, so that a prepared store is never rebuilt.
DWORD PrepareFreshStore(const NotificationSetting* phoneEvents, int eventCount);
