// FillCategoryList: finds the categories database by name, reads its
// records with one buffer grown as needed, and adds each text property.
#include "phone/category_list.h"

#include <windows.h>
#include <windbase.h>

// Adds the record's text properties to the list.
static void AddTextProperties(HWND list, const CEPROPVAL* values, WORD count) {
  for (WORD i = 0; i < count; ++i) {
    if (TypeFromPropID(values[i].propid) != CEVT_LPWSTR || (values[i].wFlags & CEDB_PROPNOTFOUND)) continue;
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(values[i].val.lpwstr));
  }
}

int FillCategoryList(HWND list) {
  HANDLE enumeration = CeFindFirstDatabase(0);
  if (enumeration == INVALID_HANDLE_VALUE) return 0;

  CEOID database = 0;
  CEOIDINFO info;
  for (;;) {
    database = CeFindNextDatabase(enumeration);
    if (database == 0) {
      CloseHandle(enumeration);
      return 0;
    }
    if (!CeOidGetInfo(database, &info)) {
      CloseHandle(enumeration);
      return 0;
    }
    if (wcsstr(info.infDatabase.szDbaseName, CATEGORIES_DATABASE)) break;
  }

  HANDLE opened = CeOpenDatabase(&database, nullptr, 0, CEDB_AUTOINCREMENT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    CloseHandle(enumeration);
    return 0;
  }
  DWORD index = 0;
  CeSeekDatabase(opened, CEDB_SEEK_BEGINNING, 0, &index);

  // One buffer for all records, grown by the object store; freed here.
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  int result = 1;
  for (WORD record = 0; record < info.infDatabase.wNumRecords; ++record) {
    WORD count = 0;
    if (!CeReadRecordPropsEx(opened, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr)) {
      result = 0;
      break;
    }
    AddTextProperties(list, reinterpret_cast<const CEPROPVAL*>(buffer), count);
  }
  if (buffer) LocalFree(buffer);
  CloseHandle(opened);
  CloseHandle(enumeration);
  return result;
}
