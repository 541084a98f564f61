// Opening a database of the object store by its name, as the device's own
// set-up and tools do for the contacts and the appointments.
#pragma once

#include <windbase.h>
#include <windows.h>

#include <functional>

namespace platform {

HANDLE OpenNamedDatabase(LPCWSTR name, DWORD flags);

// Opens the database, creating it first when missing (a bare device has
// none). Another process may create it at the same moment, so a refused
// creation is followed by an open all the same.
HANDLE OpenOrCreateNamedDatabase(LPCWSTR name);

// Reads every record of the named database in the store's order, with the
// `count` properties `wanted`, handing each to `take` (the record, its
// values and how many). Gives ERROR_SUCCESS when all were read, also when
// the database is missing or empty, else the store's error: a list cut
// short by a failing store is never taken for the whole list.
DWORD ReadEveryRecord(LPCWSTR name, const CEPROPID* wanted, WORD count,
                      const std::function<void(CEOID, const CEPROPVAL*, WORD)>& take);

}  // namespace platform
