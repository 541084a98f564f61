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
typedef DWORD HCALL;
typedef HCALL* LPHCALL;

// The line's messages to its application: hDevice is the line or, for a
// call's message, the call.
typedef void(CALLBACK* LINECALLBACK)(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwInstance, DWORD_PTR dwParam1,
                                     DWORD_PTR dwParam2, DWORD_PTR dwParam3);

#define LINE_CALLSTATE 2

// LINE_CALLSTATE's dwParam1: the call's new state.
#define LINECALLSTATE_IDLE 0x00000001
#define LINECALLSTATE_OFFERING 0x00000002
#define LINECALLSTATE_DISCONNECTED 0x00004000

// LINECALLINFO's dwCallerIDFlags: what is known of the caller.
#define LINECALLPARTYID_BLOCKED 0x00000001
#define LINECALLPARTYID_NAME 0x00000004
#define LINECALLPARTYID_ADDRESS 0x00000008
#define LINECALLPARTYID_UNKNOWN 0x00000020
#define LINECALLPARTYID_UNAVAIL 0x00000040

typedef struct linecallparams_tag LINECALLPARAMS, *LPLINECALLPARAMS;

typedef struct lineextensionid_tag {
  DWORD dwExtensionID0;
  DWORD dwExtensionID1;
  DWORD dwExtensionID2;
  DWORD dwExtensionID3;
} LINEEXTENSIONID, *LPLINEEXTENSIONID;

typedef struct linedialparams_tag {
  DWORD dwDialPause;
  DWORD dwDialSpeed;
  DWORD dwDigitDuration;
  DWORD dwWaitForDialtone;
} LINEDIALPARAMS, *LPLINEDIALPARAMS;

// A call's information: fixed fields, then texts placed after them in the
// caller's buffer at the offsets given (dwTotalSize says how big it is).
typedef struct linecallinfo_tag {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  HLINE hLine;
  DWORD dwLineDeviceID;
  DWORD dwAddressID;
  DWORD dwBearerMode;
  DWORD dwRate;
  DWORD dwMediaMode;
  DWORD dwAppSpecific;
  DWORD dwCallID;
  DWORD dwRelatedCallID;
  DWORD dwCallParamFlags;
  DWORD dwCallStates;
  DWORD dwMonitorDigitModes;
  DWORD dwMonitorMediaModes;
  LINEDIALPARAMS DialParams;
  DWORD dwOrigin;
  DWORD dwReason;
  DWORD dwCompletionID;
  DWORD dwNumOwners;
  DWORD dwNumMonitors;
  DWORD dwCountryCode;
  DWORD dwTrunk;
  DWORD dwCallerIDFlags;
  DWORD dwCallerIDSize;
  DWORD dwCallerIDOffset;
  DWORD dwCallerIDNameSize;
  DWORD dwCallerIDNameOffset;
  DWORD dwCalledIDFlags;
  DWORD dwCalledIDSize;
  DWORD dwCalledIDOffset;
  DWORD dwCalledIDNameSize;
  DWORD dwCalledIDNameOffset;
  DWORD dwConnectedIDFlags;
  DWORD dwConnectedIDSize;
  DWORD dwConnectedIDOffset;
  DWORD dwConnectedIDNameSize;
  DWORD dwConnectedIDNameOffset;
  DWORD dwRedirectionIDFlags;
  DWORD dwRedirectionIDSize;
  DWORD dwRedirectionIDOffset;
  DWORD dwRedirectionIDNameSize;
  DWORD dwRedirectionIDNameOffset;
  DWORD dwRedirectingIDFlags;
  DWORD dwRedirectingIDSize;
  DWORD dwRedirectingIDOffset;
  DWORD dwRedirectingIDNameSize;
  DWORD dwRedirectingIDNameOffset;
  DWORD dwAppNameSize;
  DWORD dwAppNameOffset;
  DWORD dwDisplayableAddressSize;
  DWORD dwDisplayableAddressOffset;
  DWORD dwCalledPartySize;
  DWORD dwCalledPartyOffset;
  DWORD dwCommentSize;
  DWORD dwCommentOffset;
  DWORD dwDisplaySize;
  DWORD dwDisplayOffset;
  DWORD dwUserUserInfoSize;
  DWORD dwUserUserInfoOffset;
  DWORD dwHighLevelCompSize;
  DWORD dwHighLevelCompOffset;
  DWORD dwLowLevelCompSize;
  DWORD dwLowLevelCompOffset;
  DWORD dwChargingInfoSize;
  DWORD dwChargingInfoOffset;
  DWORD dwTerminalModesSize;
  DWORD dwTerminalModesOffset;
  DWORD dwDevSpecificSize;
  DWORD dwDevSpecificOffset;
  DWORD dwCallTreatment;
  DWORD dwCallDataSize;
  DWORD dwCallDataOffset;
  DWORD dwSendingFlowspecSize;
  DWORD dwSendingFlowspecOffset;
  DWORD dwReceivingFlowspecSize;
  DWORD dwReceivingFlowspecOffset;
} LINECALLINFO, *LPLINECALLINFO;

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
#define LINEERR_INVALCALLHANDLE ((LONG)0x80000018)
#define LINEERR_INVALLINEHANDLE ((LONG)0x8000002B)
#define LINEERR_INVALPARAM ((LONG)0x80000032)
#define LINEERR_INVALPOINTER ((LONG)0x80000035)
#define LINEERR_NODEVICE ((LONG)0x80000043)
#define LINEERR_OPERATIONFAILED ((LONG)0x80000048)
#define LINEERR_RESOURCEUNAVAIL ((LONG)0x8000004B)
#define LINEERR_STRUCTURETOOSMALL ((LONG)0x8000004D)

LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE hInstance, LINECALLBACK lpfnCallback,
                    LPCWSTR lpszAppName, LPDWORD lpdwNumDevs);
LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                             DWORD dwAPIHighVersion, LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID);
LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD dwExtVersion,
              DWORD dwCallbackInstance, DWORD dwPrivileges, DWORD dwMediaModes,
              const LINECALLPARAMS* lpCallParams);
LONG lineClose(HLINE hLine);
// The call's information; with dwTotalSize too small for the texts, only
// the fixed part and dwNeededSize.
LONG lineGetCallInfo(HCALL hCall, LPLINECALLINFO lpCallInfo);
// Ends the application and closes the lines it still has open.
LONG lineShutdown(HLINEAPP hLineApp);

#ifdef __cplusplus
}
#endif
