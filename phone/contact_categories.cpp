// FillContactCategoryList: reads the contacts' categories one record at a
// time with one buffer grown as needed, and adds each entry not yet listed.
#include "phone/contact_categories.h"

#include <windbase.h>
#include <emulated_contacts.h>

#include "phone/comma_list.h"
#include "store/mode_record.h"

// Adds the comma-separated entries of `categories` that the list lacks.
static void AddCategoryEntries(HWND list, LPCWSTR categories) {
  LPCWSTR entry;
  size_t length;
  for (LPCWSTR cursor = categories; NextListEntry(&cursor, &entry, &length);) {
    if (length == 0 || length >= CATEGORY_WIDTH) continue;
    WCHAR category[CATEGORY_WIDTH];
    for (size_t i = 0; i < length; ++i) category[i] = entry[i];
    category[length] = 0;
    if (SendMessageW(list, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)category) == CB_ERR)
      SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)category);
  }
}

BOOL FillContactCategoryList(HWND list) {
  CEOID oid = 0;
  HANDLE contacts = CeOpenDatabase(&oid, CONTACTS_DATABASE_NAME, 0, CEDB_AUTOINCREMENT, nullptr);
  if (contacts == INVALID_HANDLE_VALUE) return FALSE;
  DWORD index = 0;
  CeSeekDatabase(contacts, CEDB_SEEK_BEGINNING, 0, &index);

  CEPROPID wanted[1] = {CONTACT_CATEGORIES_PROPID};
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  BOOL readToEnd = FALSE;
  for (;;) {
    WORD count = 1;
    if (!CeReadRecordPropsEx(contacts, CEDB_ALLOWREALLOC, &count, wanted, &buffer, &size, nullptr)) {
      readToEnd = GetLastError() == ERROR_NO_MORE_ITEMS;
      break;
    }
    const CEPROPVAL* values = reinterpret_cast<const CEPROPVAL*>(buffer);
    for (WORD i = 0; i < count; ++i)
      if (values[i].propid == CONTACT_CATEGORIES_PROPID && !(values[i].wFlags & CEDB_PROPNOTFOUND))
        AddCategoryEntries(list, values[i].val.lpwstr);
  }
  if (buffer) LocalFree(buffer);
  CloseHandle(contacts);
  return readToEnd;
}
