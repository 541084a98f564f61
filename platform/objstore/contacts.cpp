// The phone's contacts over the object store: adding and listing records of
// "Contacts Database" through the Ce* calls.
#include "contacts.h"

#include <algorithm>

#include <windows.h>

#include "named_database.h"

namespace platform {

namespace {

const CEPROPID kContactProperties[] = {CONTACT_NAME_PROPID, CONTACT_NUMBERS_PROPID, CONTACT_CATEGORIES_PROPID};
constexpr WORD kContactPropertyCount = sizeof kContactProperties / sizeof kContactProperties[0];

}  // namespace

CEOID AddContact(const Contact& contact) {
  HANDLE database = OpenOrCreateNamedDatabase(CONTACTS_DATABASE_NAME);
  if (database == INVALID_HANDLE_VALUE) return 0;
  std::u16string name = contact.name;
  std::u16string numbers = contact.numbers;
  std::u16string categories = contact.categories;
  CEPROPVAL values[kContactPropertyCount] = {};
  for (WORD i = 0; i < kContactPropertyCount; ++i) values[i].propid = kContactProperties[i];
  values[0].val.lpwstr = name.data();
  values[1].val.lpwstr = numbers.data();
  values[2].val.lpwstr = categories.data();
  const CEOID record = CeWriteRecordProps(database, 0, kContactPropertyCount, values);
  const DWORD error = GetLastError();
  CloseHandle(database);
  SetLastError(error);
  return record;
}

std::vector<Contact> ListContacts() {
  std::vector<Contact> contacts;
  HANDLE database = OpenNamedDatabase(CONTACTS_DATABASE_NAME, CEDB_AUTOINCREMENT);
  if (database == INVALID_HANDLE_VALUE) return contacts;
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  CEPROPID wanted[kContactPropertyCount];
  std::copy(std::begin(kContactProperties), std::end(kContactProperties), wanted);
  if (CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 0, nullptr)) {
    for (;;) {
      WORD count = kContactPropertyCount;
      Contact contact;
      contact.oid = CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, wanted, &buffer, &size, nullptr);
      if (!contact.oid) break;
      const CEPROPVAL* values = reinterpret_cast<const CEPROPVAL*>(buffer);
      for (WORD i = 0; i < count; ++i) {
        if (values[i].wFlags & CEDB_PROPNOTFOUND) continue;
        if (values[i].propid == CONTACT_NAME_PROPID) contact.name = values[i].val.lpwstr;
        if (values[i].propid == CONTACT_NUMBERS_PROPID) contact.numbers = values[i].val.lpwstr;
        if (values[i].propid == CONTACT_CATEGORIES_PROPID) contact.categories = values[i].val.lpwstr;
      }
      contacts.push_back(std::move(contact));
    }
  }
  if (buffer) LocalFree(buffer);
  CloseHandle(database);
  return contacts;
}

}  // namespace platform
