// Shell extensions: full-screen dialogs with the shell's Done button, and
// the shell's loading of pictures.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020

typedef struct tagSHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

BOOL SHInitDialog(PSHINITDLGINFO info);

// A BMP file on the device as a bitmap; null when the file is missing,
// damaged or no BMP.
HBITMAP SHLoadDIBitmap(LPCWSTR path);

#ifdef __cplusplus
}
#endif
