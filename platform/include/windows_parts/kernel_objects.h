// Kernel objects of the phone: handles and waits, events, threads and
// critical sections, with the Windows CE names and signatures.
#pragma once

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 258u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64
#define STILL_ACTIVE 259u

#define ERROR_NOT_SUPPORTED 50L

// Debug output. The phone sends it to an attached debugger; here each call
// is a journal line "OutputDebugString TEXT" (a trailing line break dropped).
void OutputDebugStringW(LPCWSTR lpOutputString);

// Closes any handle of this family, of a database enumeration or database,
// or of a process. The object lives on while other handles name it.
BOOL CloseHandle(HANDLE hObject);

// Waits in real time: the objects are signalled by real threads, so the
// headless display's virtual time does not shorten a wait.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// As on Windows CE, only fWaitAll = FALSE is supported: the first signalled
// object ends the wait.
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL fWaitAll, DWORD dwMilliseconds);

// Events. A named event is one object for every handle that names it (the
// second CreateEventW reports ERROR_ALREADY_EXISTS and keeps the first
// one's reset kind and state). Setting or pulsing a named event is a phone
// event: it is journalled and counted in the device's state. EventModify,
// which sets, resets and pulses, is Windows CE's own (wince_core.h).
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName);

// Threads: each is a real thread of the process with its own connection to
// the device. CREATE_SUSPENDED is not supported (ERROR_NOT_SUPPORTED).
typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;
#define CREATE_SUSPENDED 0x00000004

HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, DWORD dwStackSize,
                    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                    LPDWORD lpThreadId);
BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
DWORD GetCurrentThreadId();

// Critical sections: recursive locks of one process.
typedef struct _CRITICAL_SECTION {
  void* LockImplementation;
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
