// The object store's databases: enumeration, object information, and
// reading and writing records of typed properties.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef DWORD CEOID;
typedef CEOID* PCEOID;
typedef DWORD CEPROPID;
typedef CEPROPID* PCEPROPID;

// A property identifier carries its type in the low word.
#define TypeFromPropID(propid) LOWORD(propid)

#define CEVT_I2 2
#define CEVT_I4 3
#define CEVT_R8 5
#define CEVT_BOOL 11
#define CEVT_UI2 18
#define CEVT_UI4 19
#define CEVT_LPWSTR 31
#define CEVT_FILETIME 64
#define CEVT_BLOB 65

typedef struct _CEBLOB {
  DWORD dwCount;
  LPBYTE lpb;
} CEBLOB;

typedef union _CEVALUNION {
  short iVal;
  unsigned short uiVal;
  LONG lVal;
  ULONG ulVal;
  FILETIME filetime;
  LPWSTR lpwstr;
  CEBLOB blob;
  BOOL boolVal;
  double dblVal;
} CEVALUNION;

// wFlags of a property value.
#define CEDB_PROPNOTFOUND 0x0100
#define CEDB_PROPDELETE 0x0200

typedef struct _CEPROPVAL {
  CEPROPID propid;
  WORD wLenData;
  WORD wFlags;
  CEVALUNION val;
} CEPROPVAL, *PCEPROPVAL;

#define CEDB_MAXDBASENAMELEN 32
// The most bytes one property's data may take (a text with its terminator).
#define CEDB_MAXPROPDATASIZE 65472
#define CEDB_MAXSORTORDER 4

typedef struct _SORTORDERSPEC {
  CEPROPID propid;
  DWORD dwFlags;
} SORTORDERSPEC;

#define CEDB_VALIDNAME 0x0001
#define CEDB_VALIDTYPE 0x0002
#define CEDB_VALIDSORTSPEC 0x0004
#define CEDB_VALIDMODTIME 0x0008

typedef struct _CEDBASEINFO {
  DWORD dwFlags;
  WCHAR szDbaseName[CEDB_MAXDBASENAMELEN];
  DWORD dwDbaseType;
  WORD wNumRecords;
  WORD wNumSortOrder;
  DWORD dwSize;
  FILETIME ftLastModified;
  SORTORDERSPEC rgSortSpecs[CEDB_MAXSORTORDER];
} CEDBASEINFO;

typedef struct _CERECORDINFO {
  CEOID oidParent;
} CERECORDINFO;

#define OBJTYPE_INVALID 0
#define OBJTYPE_FILE 1
#define OBJTYPE_DIRECTORY 2
#define OBJTYPE_DATABASE 3
#define OBJTYPE_RECORD 4

// Only databases and records live in this object store.
typedef struct _CEOIDINFO {
  WORD wObjType;
  WORD wPad;
  union {
    CEDBASEINFO infDatabase;
    CERECORDINFO infRecord;
  };
} CEOIDINFO;

// CeOpenDatabase flags; CeReadRecordPropsEx flags.
#define CEDB_AUTOINCREMENT 0x00000001
#define CEDB_ALLOWREALLOC 0x00000001

// CeSeekDatabase kinds. The databases here have no sort orders, so only
// the positional kinds are supported.
#define CEDB_SEEK_CEOID 0x00000001
#define CEDB_SEEK_BEGINNING 0x00000002
#define CEDB_SEEK_END 0x00000004
#define CEDB_SEEK_CURRENT 0x00000008

#ifndef ERROR_SEEK
#define ERROR_SEEK 25L
#endif
#ifndef ERROR_DUP_NAME
#define ERROR_DUP_NAME 52L
#endif

// Databases of the given type, or all of them for type 0, in the order of
// their creation; the enumeration is closed with CloseHandle.
HANDLE CeFindFirstDatabase(DWORD dwDbaseType);
CEOID CeFindNextDatabase(HANDLE hEnum);
BOOL CeOidGetInfo(CEOID oid, CEOIDINFO* poidInfo);

// Opens by object identifier (*poid not 0) or else by name; the sort
// property must be 0. The handle is closed with CloseHandle.
HANDLE CeOpenDatabase(PCEOID poid, LPCWSTR lpszName, CEPROPID propid, DWORD dwFlags, HWND hwndNotify);
CEOID CeSeekDatabase(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, LPDWORD lpdwIndex);

// Reads the current record's properties (all of them for a null rgPropID)
// into *lplpBuffer: the CEPROPVAL array first, then the texts and blobs it
// points to. With CEDB_ALLOWREALLOC the buffer is allocated or grown with
// LocalAlloc/LocalReAlloc (only the default heap, a null hHeap); the caller
// frees it with LocalFree. Returns the record's identifier, or 0.
CEOID CeReadRecordPropsEx(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                          LPDWORD lpcbBuffer, HANDLE hHeap);

// Deletes a database with all its records.
BOOL CeDeleteDatabase(CEOID oid);
CEOID CeCreateDatabase(LPCWSTR lpszName, DWORD dwDbaseType, WORD wNumSortOrder, SORTORDERSPEC* rgSortSpecs);
// Writes a new record (oidRecord 0) or changes the given properties of an
// existing one (CEDB_PROPDELETE removes one). A text or blob larger than
// CEDB_MAXPROPDATASIZE is refused.
CEOID CeWriteRecordProps(HANDLE hDbase, CEOID oidRecord, WORD cPropID, CEPROPVAL* rgPropVal);
// Deletes a record of the open database with all its properties; the
// handle's current record stays the one it was (the next one when it was
// the deleted record).
BOOL CeDeleteRecord(HANDLE hDatabase, CEOID oidRecord);

#ifdef __cplusplus
}
#endif
