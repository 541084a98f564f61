// Drawing: geometry, device contexts, brushes, bitmaps and text, the GDI
// calls a Windows CE program paints its windows with.
#pragma once

#include "wintypes.h"

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

struct HDC__;
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
