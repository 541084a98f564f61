// The phone's contacts as the device tool adds and lists them: records of
// "Contacts Database" written and read through the object store's own calls,
// exactly as a program on the phone sees them.
#pragma once

#include <string>
#include <vector>

#include <emulated_contacts.h>

namespace platform {

struct Contact {
  CEOID oid = 0;
  std::u16string name;
  std::u16string numbers;     // "5551234, 5559876"
  std::u16string categories;  // "Family, Friends"
};

// Writes a new record with the contact's three properties, creating the
// database when the device has none. The record's identifier, or 0 with
// the store's error as the last error.
CEOID AddContact(const Contact& contact);

// Every contact in the order written; none without the database. The last
// error is ERROR_SUCCESS when the list is whole, else the store's error.
std::vector<Contact> ListContacts();

}  // namespace platform
