// The registry as the phone has it, on the desktop registry: key paths may
// begin with "\", the access mask is not enforced, and a key is deleted with
// everything below it.
#include "desktop_calls.h"

namespace {

// Desktop Windows refuses a path that begins with "\" (ERROR_BAD_PATHNAME);
// the phone reads it from the root.
LPCWSTR WithoutLeadingSeparators(LPCWSTR path) {
  if (!path) return path;
  while (*path == L'\\') ++path;
  return path;
}

// The phone opens every key for reading and writing, whatever was asked.
REGSAM PhoneAccess(REGSAM access) { return access | KEY_READ | KEY_WRITE; }

}  // namespace

LONG PhoneRegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  return RegOpenKeyExW(key, WithoutLeadingSeparators(subKey), options, PhoneAccess(access), result);
}

LONG PhoneRegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                          LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition) {
  return RegCreateKeyExW(key, WithoutLeadingSeparators(subKey), reserved, keyClass, options, PhoneAccess(access),
                         security, result, disposition);
}

LONG PhoneRegDeleteKeyW(HKEY key, LPCWSTR subKey) {
  LPCWSTR path = WithoutLeadingSeparators(subKey);
  // RegDeleteTreeW with a null or empty path would empty `key` itself and
  // keep it; the phone's RegDeleteKeyW needs a key to delete.
  if (!path || !*path) return ERROR_INVALID_PARAMETER;
  return RegDeleteTreeW(key, path);
}
