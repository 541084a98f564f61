// Resources built into the program: dialog templates and bitmaps compiled
// from its resource script, found by type and name.
#pragma once

struct HRSRC__;
typedef HRSRC__* HRSRC;
typedef HANDLE HGLOBAL;

#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);

#define FindResource FindResourceW
