// The phone's contacts over the object store: adding and listing records of
// "Contacts Database" through the Ce* calls.
#include "contacts.h"

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
  const DWORD error = ReadEveryRecord(CONTACTS_DATABASE_NAME, kContactProperties, kContactPropertyCount,
                                      [&](CEOID oid, const CEPROPVAL* values, WORD count) {
                                        Contact contact;
                                        contact.oid = oid;
                                        for (WORD i = 0; i < count; ++i) {
                                          const CEPROPVAL& value = values[i];
                                          if (value.wFlags & CEDB_PROPNOTFOUND) continue;
                                          if (value.propid == CONTACT_NAME_PROPID) contact.name = value.val.lpwstr;
                                          if (value.propid == CONTACT_NUMBERS_PROPID) contact.numbers = value.val.lpwstr;
                                          if (value.propid == CONTACT_CATEGORIES_PROPID)
                                            contact.categories = value.val.lpwstr;
                                        }
                                        contacts.push_back(std::move(contact));
                                      });
  SetLastError(error);
  return contacts;
}

}  // namespace platform
