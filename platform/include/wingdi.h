// Drawing: geometry, device contexts, brushes, bitmaps and text, the GDI
// calls a Windows CE program paints its windows with.
#pragma once

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;

struct HDC__ {};
typedef HDC__* HDC;
struct HGDIOBJ__ {};
typedef HGDIOBJ__* HGDIOBJ;
// Brushes, bitmaps and fonts are GDI objects: each converts to HGDIOBJ.
struct HBRUSH__ : HGDIOBJ__ {};
typedef HBRUSH__* HBRUSH;
struct HBITMAP__ : HGDIOBJ__ {};
typedef HBITMAP__* HBITMAP;
struct HFONT__ : HGDIOBJ__ {};
typedef HFONT__* HFONT;

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *LPBITMAP;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

#define TRANSPARENT 1
#define OPAQUE 2
#define CLR_INVALID 0xFFFFFFFF

// Memory contexts, objects and brushes.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
HBRUSH CreateSolidBrush(COLORREF color);

// Context colours.
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
int SetBkMode(HDC dc, int mode);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Contexts of a window on the screen: the whole client area (GetDC, until
// ReleaseDC), or the part that needs painting (BeginPaint, until EndPaint).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// A BITMAP resource of the program; null when there is none.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
#define LoadBitmap LoadBitmapW
