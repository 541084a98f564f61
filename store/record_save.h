// A mode's record (its thirty values, its name and its notification
// entries) saved all or nothing. Windows CE has no registry transaction, and
// each registry write is atomic on its own, so a save is built from single
// writes: the new record is written whole into a scratch key ("Saving"
// beside the mode keys); one root value ("SaveUnderway", the mode key's
// name) then marks it complete, the commit point; it is copied into the mode
// key, the mark is removed, then the scratch key. A program that starts and
// finds the mark copies the record again (the copy only overwrites, so a
// second copy comes to the same record); a scratch key without the mark is a
// save that never reached its commit point and is dropped. So after a kill
// and one start, the mode key holds the old record or the new one.
#pragma once

#include <windows.h>

// The scratch key, under the store's root, and the commit mark.
inline constexpr WCHAR SAVE_SCRATCH_KEY_NAME[] = TEXT("Saving");
inline constexpr WCHAR SAVE_UNDERWAY_VALUE[] = TEXT("SaveUnderway");

// Opens a save of the record of mode key `keyName` ("Mode 3"): until the
// matching EndRecordSave, the savers (SaveMode, SaveExistingMode,
// WriteModeName, SaveNotifications, SaveNotification) write that mode into
// the scratch key. Saves nest; an inner one joins the outermost, whose end
// commits. A save left by a killed program is finished first.
void BeginRecordSave(LPCWSTR keyName);

// Closes the save opened last; closing the outermost puts everything written
// into the mode key, all or nothing. A save that wrote nothing changes nothing.
void EndRecordSave();

// The key name the savers write for `keyName`: the scratch key's while a
// save of that mode is open, else `keyName` itself.
LPCWSTR RecordWriteKeyName(LPCWSTR keyName);

// Finishes a save that a killed program left: one past its commit point is
// copied into its mode key, one before it is dropped.
void FinishInterruptedSave();
