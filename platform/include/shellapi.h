// The shell's program start: ShellExecuteEx opens a file as the phone's
// shell would; here it starts programs and the targets of shortcuts.
#pragma once

#include <windows.h>

// Windows CE's structure. On the phone (32-bit) it is 60 bytes, the size
// its programs put in cbSize; that size and this build's are both taken.
typedef struct _SHELLEXECUTEINFO {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;
  LPCWSTR lpFile;
  LPCWSTR lpParameters;
  LPCWSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  LPVOID lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;
} SHELLEXECUTEINFO, *LPSHELLEXECUTEINFO;

#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

// hInstApp after a failure.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31
#define ERROR_NO_ASSOCIATION 1155L

// Opens `info->lpFile` and returns TRUE when a program was started: a
// ".exe" is started with lpParameters as its command line; a ".lnk"
// shortcut (the text "N#target", the target optionally quoted and followed
// by its arguments) starts its target as the phone's shell does. Any other
// file has no program to open it (ERROR_NO_ASSOCIATION). Each call is
// journalled with the file and the show command. With
// SEE_MASK_NOCLOSEPROCESS, hProcess receives the started program's handle
// (closed with CloseHandle).
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info);
#define ShellExecuteExW ShellExecuteEx
