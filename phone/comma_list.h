// Comma-separated lists as the contacts keep their numbers and categories
// ("Business, Personal"): the blanks around an entry are not part of it.
#pragma once

#include <windows.h>

// The entry that begins at `*cursor`, its blanks left out: its first unit
// in `*entry` and its length in `*length` (0 for an empty entry); `*cursor`
// moves past the entry's comma. FALSE, with nothing set, at the end of the
// list.
BOOL NextListEntry(LPCWSTR* cursor, LPCWSTR* entry, size_t* length);
