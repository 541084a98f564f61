// Moves one mode between the settings store and the dialog's controls: the
// list contents, the display of a mode, the save of the edited one, and its notification entries.
#pragma once

#include "store/caller_rules.h"
#include "store/mode_record.h"
#include "store/notification_table.h"

// The mode on display as last loaded, and its notification table.
extern ModeRecord WorkingMode;
extern NotificationTable EditedNotifications;
// The callers who ring in the mode on display, as loaded or as last set in
// the callers dialog; saved with the mode.
extern CallerRules EditedCallerRules;
// The Time page's week day boxes, Monday first.
extern const int DayBoxes[7];

// Fills every list of the dialog and sets the trackbar ranges; run once at start-up.
void FillDialogLists();

// Loads the named mode and its notification entries and shows them.
void LoadModeIntoControls(const WCHAR* keyName);
// Saves the edited mode from the controls when it was changed. A switch
// time that is no time of day is refused instead (see RefuseImpossibleTimes)
// and nothing is saved: returns false then, else true.
bool SaveEditedMode();
// When a switched-on time row of the Time page shows an hour outside 0-23 or
// minutes outside 0-59 (or text that is no such number), shows that page with
// the field focused, tells the user which time is wrong and returns true.
bool RefuseImpossibleTimes();

// Shows the settings of the notification event selected in the event list.
void ShowNotificationEntry();
// Writes the notification controls into the entry of the selected event.
void StoreNotificationEntry();
