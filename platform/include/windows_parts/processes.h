// Starting programs: CreateProcessW maps the device path of an installed
// program to its binary and starts it without waiting for it.
#pragma once

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *LPPROCESS_INFORMATION;

// Accepted and ignored, as on the phone (which takes null here).
typedef struct _STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOW, *LPSTARTUPINFOW;

// Creation flags; accepted and ignored (programs have no console).
#define CREATE_NEW_CONSOLE 0x00000010

// Starts the program that the device file `imageName` stands for, with
// `commandLine` as its command line exactly as given. With a null
// `imageName` the first (optionally quoted) word of the command line names
// the program and the rest is its command line. Returns FALSE with
// ERROR_FILE_NOT_FOUND when the path names no installed program. The
// handles in `info` are closed with CloseHandle.
BOOL CreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processSecurity,
                    LPSECURITY_ATTRIBUTES threadSecurity, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPWSTR currentFolder, LPSTARTUPINFOW startup,
                    LPPROCESS_INFORMATION info);
