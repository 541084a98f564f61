// NextListEntry: one entry of a comma-separated list at a time.
#include "phone/comma_list.h"

BOOL NextListEntry(LPCWSTR* cursor, LPCWSTR* entry, size_t* length) {
  LPCWSTR first = *cursor;
  if (!*first) return FALSE;
  while (*first == TEXT(' ')) ++first;
  LPCWSTR end = first;
  while (*end && *end != TEXT(',')) ++end;
  LPCWSTR last = end;
  while (last > first && last[-1] == TEXT(' ')) --last;
  *entry = first;
  *length = (size_t)(last - first);
  *cursor = *end ? end + 1 : end;
  return TRUE;
}
