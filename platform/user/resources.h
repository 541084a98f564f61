// The resource table that a compiled resource script adds to the program:
// the generated source registers its entries before WinMain runs.
#pragma once

#include <cstddef>

#include <windows.h>

namespace platform {

struct ResourceEntry {
  WORD typeId;
  WORD nameId;          // when `name` is null
  const WCHAR* name;    // upper-case text name, or null
  const unsigned char* data;
  DWORD size;
};

// Adds a script's resources to the program's table.
struct ResourceRegistration {
  ResourceRegistration(const ResourceEntry* entries, size_t count);
};

}  // namespace platform
