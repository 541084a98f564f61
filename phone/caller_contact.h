// Who is calling: the phone's contact with a caller's number, read from the
// object store's "Contacts Database" as the phone keeps its contacts.
#pragma once

#include <windows.h>

#include "store/mode_record.h"

// Room for a contact's name.
#define CALLER_NAME_WIDTH 64

// Finds the first contact one of whose numbers is `number` exactly. On a
// find, `name` gets its name (cut to CALLER_NAME_WIDTH units, terminated)
// and `inCategory` whether `category` is one of its categories (without
// regard to case; an empty category is none). FALSE when no contact has the
// number, or the contacts cannot be read.
BOOL FindCallerContact(LPCWSTR number, LPCWSTR category, WCHAR name[CALLER_NAME_WIDTH], BOOL* inCategory);
