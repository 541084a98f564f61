// The categories the phone's contacts are filed under, listed from the
// object store's "Contacts Database" into a drop-down list of a dialog.
#pragma once

#include <windows.h>

// Adds each category named by any contact (a contact's categories are
// separated by commas, blanks around each ignored) to the list once, in the
// order first met; categories differing only in case count as one, as the
// call watcher matches them. A category longer than a mode's category field
// holds is left out: a mode could not keep it. TRUE when the contacts were
// read to their end, FALSE when the database is missing or unreadable.
BOOL FillContactCategoryList(HWND list);
