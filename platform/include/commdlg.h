// The common file-open window: GetOpenFileNameW shows the device's folders
// and files as a phone-style window of the program, with OK and Cancel.
#pragma once

#include <windows.h>

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

// Windows CE's structure. On the phone (32-bit) it is 76 bytes, the size its
// programs put in lStructSize; that size and this build's are both taken.
typedef struct tagOFNW {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCWSTR lpstrFilter;       // pairs of "name\0pattern\0" ending in "\0"; patterns joined by ";"
  LPWSTR lpstrCustomFilter;  // ignored
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;        // 1 for the first pair; the pair chosen on return
  LPWSTR lpstrFile;          // the chosen file's whole path on return
  DWORD nMaxFile;
  LPWSTR lpstrFileTitle;     // the chosen file's name, when given
  DWORD nMaxFileTitle;
  LPCWSTR lpstrInitialDir;   // the folder shown first; "\" when null or no folder
  LPCWSTR lpstrTitle;        // the window's title; "Open" when null
  DWORD Flags;
  WORD nFileOffset;          // where the name starts in lpstrFile
  WORD nFileExtension;       // where the extension starts (after the "."), 0 without one
  LPCWSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCWSTR lpTemplateName;
} OPENFILENAMEW, *LPOPENFILENAMEW;
typedef OPENFILENAMEW OPENFILENAME;
typedef LPOPENFILENAMEW LPOPENFILENAME;

#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_HIDEREADONLY 0x00000004

// CommDlgExtendedError's codes.
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_BUFFERTOOSMALL 0x3003

// The window's controls, for automation scripts ("select 1120 2", "click 1"):
#define IDC_OPEN_FOLDER 1137  // drop-down: "\" and the folders down to the one shown; picking one goes there
#define IDC_OPEN_ENTRIES 1120 // drop-down: the folder's subfolders ("name\") then its files matching the
                              // type; picking a folder opens it, picking a file puts its name in 1152
#define IDC_OPEN_NAME 1152    // edit: the file's name, or a whole path starting with "\"
#define IDC_OPEN_TYPE 1136    // drop-down: the filter names; picking one lists that type
// IDOK (1) "OK" takes the name (a folder's name opens that folder); IDCANCEL (2) "Cancel" closes.

// Shows the window and waits, running the program's message loop, until the
// user chooses a file (TRUE, its path in lpstrFile) or cancels (FALSE,
// lpstrFile unchanged). A chosen path longer than nMaxFile - 1 gives FALSE
// with FNERR_BUFFERTOOSMALL and lpstrFile unchanged (desktop Windows writes
// the size needed into it, which a caller reading it as text would take for
// a name). Without OFN_FILEMUSTEXIST any name is taken.
BOOL GetOpenFileNameW(LPOPENFILENAMEW dialog);
#define GetOpenFileName GetOpenFileNameW
// Why the last GetOpenFileNameW returned FALSE: 0 when the user cancelled.
DWORD CommDlgExtendedError();
