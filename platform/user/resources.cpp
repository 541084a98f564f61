// FindResourceW, LoadResource, LockResource and SizeofResource over the
// resources compiled into the program. The program is its only module, so
// the module handle is not consulted.
#include "resources.h"

#include <mutex>
#include <vector>

#include <windows.h>

namespace platform {

namespace {

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

// Filled during static initialisation by the generated sources, so it is
// built on first use rather than relying on initialisation order.
std::vector<const ResourceEntry*>& Table() {
  static std::vector<const ResourceEntry*> table;
  return table;
}

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

// Resource names match by number, or by text without regard to case.
bool NameMatches(LPCWSTR wanted, WORD id, const WCHAR* name) {
  if (IS_INTRESOURCE(wanted)) return !name && id == static_cast<WORD>(reinterpret_cast<uintptr_t>(wanted));
  if (!name) {
    // "#123" names the number 123.
    if (wanted[0] != u'#') return false;
    unsigned value = 0;
    const WCHAR* p = wanted + 1;
    if (!*p) return false;
    for (; *p; ++p) {
      if (*p < u'0' || *p > u'9' || value > 0xFFFF) return false;
      value = value * 10 + static_cast<unsigned>(*p - u'0');
    }
    return value == id;
  }
  for (; *wanted && *name; ++wanted, ++name)
    if (Upper(*wanted) != Upper(*name)) return false;
  return *wanted == *name;
}

}  // namespace

ResourceRegistration::ResourceRegistration(const ResourceEntry* entries, size_t count) {
  std::lock_guard<std::mutex> lock(Lock());
  for (size_t i = 0; i < count; ++i) Table().push_back(&entries[i]);
}

}  // namespace platform

HRSRC FindResourceW(HMODULE, LPCWSTR name, LPCWSTR type) {
  using namespace platform;
  if (!name || !type || !IS_INTRESOURCE(type)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  WORD typeId = static_cast<WORD>(reinterpret_cast<uintptr_t>(type));
  std::lock_guard<std::mutex> lock(Lock());
  for (const ResourceEntry* entry : Table()) {
    if (entry->typeId == typeId && entry->data && NameMatches(name, entry->nameId, entry->name))
      return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (!resource) return nullptr;
  auto entry = reinterpret_cast<const platform::ResourceEntry*>(resource);
  return const_cast<unsigned char*>(entry->data);
}

LPVOID LockResource(HGLOBAL loaded) { return loaded; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
  if (!resource) return 0;
  return reinterpret_cast<const platform::ResourceEntry*>(resource)->size;
}
