// Core telephony (TAPI 2.0): line applications and lines. The phone has one
// line device, the cellular line, unless the device has none at all.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef DWORD HLINEAPP;
typedef HLINEAPP* LPHLINEAPP;
typedef DWORD HLINE;
typedef HLINE* LPHLINE;

typedef void(CALLBACK* LINECALLBACK)(DWORD hDevice, DWORD dwMessage, DWORD dwInstance, DWORD dwParam1,
                                     DWORD dwParam2, DWORD dwParam3);

typedef struct linecallparams_tag LINECALLPARAMS, *LPLINECALLPARAMS;

typedef struct lineextensionid_tag {
  DWORD dwExtensionID0;
  DWORD dwExtensionID1;
  DWORD dwExtensionID2;
  DWORD dwExtensionID3;
} LINEEXTENSIONID, *LPLINEEXTENSIONID;

#define TAPI_CURRENT_VERSION 0x00020000

#define LINECALLPRIVILEGE_NONE 0x00000001
#define LINECALLPRIVILEGE_MONITOR 0x00000002
#define LINECALLPRIVILEGE_OWNER 0x00000004

#define LINEMEDIAMODE_UNKNOWN 0x00000002
#define LINEMEDIAMODE_INTERACTIVEVOICE 0x00000004
#define LINEMEDIAMODE_DATAMODEM 0x00000010

#define LINEERR_BADDEVICEID ((LONG)0x80000002)
#define LINEERR_INCOMPATIBLEAPIVERSION ((LONG)0x8000000C)
#define LINEERR_INVALAPPHANDLE ((LONG)0x80000015)
#define LINEERR_INVALLINEHANDLE ((LONG)0x8000002B)
#define LINEERR_INVALPARAM ((LONG)0x80000032)
#define LINEERR_INVALPOINTER ((LONG)0x80000035)
#define LINEERR_NODEVICE ((LONG)0x80000043)
#define LINEERR_OPERATIONFAILED ((LONG)0x80000048)
#define LINEERR_RESOURCEUNAVAIL ((LONG)0x8000004B)

LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE hInstance, LINECALLBACK lpfnCallback,
                    LPCWSTR lpszAppName, LPDWORD lpdwNumDevs);
LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                             DWORD dwAPIHighVersion, LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID);
LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD dwExtVersion,
              DWORD dwCallbackInstance, DWORD dwPrivileges, DWORD dwMediaModes,
              const LINECALLPARAMS* lpCallParams);
LONG lineClose(HLINE hLine);
// Ends the application and closes the lines it still has open.
LONG lineShutdown(HLINEAPP hLineApp);

#ifdef __cplusplus
}
#endif
