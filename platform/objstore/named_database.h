// Opening a database of the object store by its name, as the device's own
// set-up and tools do for the contacts and the appointments.
#pragma once

#include <windbase.h>
#include <windows.h>

namespace platform {

HANDLE OpenNamedDatabase(LPCWSTR name, DWORD flags);

// Opens the database, creating it first when missing (a bare device has
// none). Another process may create it at the same moment, so a refused
// creation is followed by an open all the same.
HANDLE OpenOrCreateNamedDatabase(LPCWSTR name);

}  // namespace platform
