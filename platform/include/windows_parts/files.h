// File calls of the phone: device paths below the device's fs/ folder, the
// folder search, and the runtime's wide-character streams (UTF-8 on disk).
#pragma once

#ifndef RC_INVOKED
#include <cstdio>
#endif

#ifndef MAX_PATH
#define MAX_PATH 260
#endif

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_FILE_ATTRIBUTES ((DWORD)0xFFFFFFFF)

#ifndef ERROR_INVALID_NAME
#define ERROR_INVALID_NAME 123L
#endif
#ifndef ERROR_DIR_NOT_EMPTY
#define ERROR_DIR_NOT_EMPTY 145L
#endif

// Windows CE's find record: no alternate (8.3) name, an object identifier instead.
typedef struct _WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
} WIN32_FIND_DATAW, *LPWIN32_FIND_DATAW;

// Folder search: "*" and "?" in the last component of the pattern, names
// compared without regard to case. Folders come in ascending order of their
// case-folded names.
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found);
BOOL FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW found);
BOOL FindClose(HANDLE search);

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectoryW(LPCWSTR path);
BOOL DeleteFileW(LPCWSTR path);
DWORD GetFileAttributesW(LPCWSTR path);
// Only FILE_ATTRIBUTE_READONLY is kept; the other bits are ignored.
BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes);

// Wide-character streams over the host's FILE. Modes as the runtime takes
// them ("r", "w", "a", "r+", "w+", "a+", with "t" or "b"); in text mode
// "\r\n" reads as "\n". Text is UTF-8 on disk and UTF-16 in memory.
FILE* _wfopen(const WCHAR* path, const WCHAR* mode);
// Reads one line up to and including its "\n", at most count - 1 units,
// always terminated. Returns null at the end of the file or on error.
WCHAR* fgetws(WCHAR* buffer, int count, FILE* stream);
// Writes the text as UTF-8; returns a non-negative value, or EOF on error.
int fputws(const WCHAR* text, FILE* stream);
