// Registry calls: the Windows CE registry, kept in the device's phone.db and
// shared live by every program on the device.
#pragma once

typedef DWORD REGSAM;

// The predefined root keys, with their Windows values.
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)

// Access rights; accepted but not enforced, as on the phone.
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003F

// Value types.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_RESOURCE_LIST 8
#define REG_QWORD 11

// RegCreateKeyExW options and dispositions.
#define REG_OPTION_NON_VOLATILE 0x0
#define REG_OPTION_VOLATILE 0x1
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

// Limits of this registry: names in characters (terminator excluded), data in bytes.
#define REG_MAX_NAME_LENGTH 255
#define REG_MAX_DATA_SIZE 65536

// Opens an existing key below hKey; a null or empty subKey opens hKey again.
LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);

// Opens or creates a key, creating missing intermediate keys; the
// disposition tells whether the last key was new.
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);

// Reads a value (a null or empty name is the key's default value). With a
// null lpData only the type and size are returned; with too small a buffer,
// ERROR_MORE_DATA, the size needed, and the buffer left untouched.
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);

// Writes a value exactly as given (no terminator is added to text).
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);

// Counts and longest names/data of a key. Name lengths are in characters
// without the terminator, data sizes in bytes. The class is always empty.
LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcchMaxSubKeyLen, LPDWORD lpcchMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcchMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      PFILETIME lpftLastWriteTime);

// The subkey at dwIndex, in ascending order of case-folded names.
// *lpcchName is the buffer's size in characters on entry and the name's
// length without terminator on return; when the name does not fit,
// ERROR_MORE_DATA with the length needed (terminator included) and the
// buffer untouched.
LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved, LPWSTR lpClass,
                   LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);

// The value at dwIndex, in ascending order of case-folded names; name sizes
// as RegEnumKeyExW, data as RegQueryValueExW. When either the name or the
// data does not fit, ERROR_MORE_DATA and neither buffer is touched.
LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);

// Deletes a key with everything below it (the phone's behaviour; desktop
// Windows refuses a key that has subkeys).
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
LONG RegCloseKey(HKEY hKey);
