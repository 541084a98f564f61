// FindCallerContact: reads the contacts one record at a time with one
// buffer grown as needed, and matches the caller's number against each
// contact's comma-separated numbers.
#include "phone/caller_contact.h"

#include <windbase.h>
#include <emulated_contacts.h>

#include "phone/comma_list.h"

// TRUE when `item` is one of the comma-separated entries of `list` (blanks
// around an entry ignored), compared exactly or, with `anyCase`, without
// regard to the case of ASCII letters.
static BOOL ListHolds(LPCWSTR list, LPCWSTR item, BOOL anyCase) {
  size_t itemLength = wcslen(item);
  if (itemLength == 0) return FALSE;
  LPCWSTR entry;
  size_t length;
  for (LPCWSTR cursor = list; NextListEntry(&cursor, &entry, &length);) {
    if (length != itemLength) continue;
    BOOL same = TRUE;
    for (size_t i = 0; i < itemLength && same; ++i) {
      WCHAR a = entry[i];
      WCHAR b = item[i];
      if (anyCase) {
        if (a >= TEXT('a') && a <= TEXT('z')) a = (WCHAR)(a - 32);
        if (b >= TEXT('a') && b <= TEXT('z')) b = (WCHAR)(b - 32);
      }
      same = a == b;
    }
    if (same) return TRUE;
  }
  return FALSE;
}

BOOL FindCallerContact(LPCWSTR number, LPCWSTR category, WCHAR name[CALLER_NAME_WIDTH], BOOL* inCategory) {
  CEOID oid = 0;
  HANDLE contacts = CeOpenDatabase(&oid, CONTACTS_DATABASE_NAME, 0, CEDB_AUTOINCREMENT, nullptr);
  if (contacts == INVALID_HANDLE_VALUE) return FALSE;
  DWORD index = 0;
  CeSeekDatabase(contacts, CEDB_SEEK_BEGINNING, 0, &index);

  CEPROPID wanted[3] = {CONTACT_NAME_PROPID, CONTACT_NUMBERS_PROPID, CONTACT_CATEGORIES_PROPID};
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  BOOL found = FALSE;
  for (;;) {
    WORD count = 3;
    if (!CeReadRecordPropsEx(contacts, CEDB_ALLOWREALLOC, &count, wanted, &buffer, &size, nullptr)) break;
    const CEPROPVAL* values = reinterpret_cast<const CEPROPVAL*>(buffer);
    LPCWSTR contactName = TEXT("");
    LPCWSTR numbers = TEXT("");
    LPCWSTR categories = TEXT("");
    for (WORD i = 0; i < count; ++i) {
      if (values[i].wFlags & CEDB_PROPNOTFOUND) continue;
      if (values[i].propid == CONTACT_NAME_PROPID) contactName = values[i].val.lpwstr;
      if (values[i].propid == CONTACT_NUMBERS_PROPID) numbers = values[i].val.lpwstr;
      if (values[i].propid == CONTACT_CATEGORIES_PROPID) categories = values[i].val.lpwstr;
    }
    if (ListHolds(numbers, number, FALSE)) {
      wcsncpy(name, contactName, CALLER_NAME_WIDTH - 1);
      name[CALLER_NAME_WIDTH - 1] = 0;
      *inCategory = ListHolds(categories, category, TRUE);
      found = TRUE;
      break;
    }
  }
  if (buffer) LocalFree(buffer);
  CloseHandle(contacts);
  return found;
}
