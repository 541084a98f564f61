// The cellular extensions of telephony: the radio's equipment state and
// network registration of the cellular line.
#pragma once

#include <tapi.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LINEEQUIPSTATE_MINIMUM 0x00000001
#define LINEEQUIPSTATE_RXONLY 0x00000002
#define LINEEQUIPSTATE_TXONLY 0x00000003
#define LINEEQUIPSTATE_NOTXRX 0x00000004
#define LINEEQUIPSTATE_FULL 0x00000005

#define LINERADIOSUPPORT_OFF 0x00000001
#define LINERADIOSUPPORT_ON 0x00000002
#define LINERADIOSUPPORT_UNKNOWN 0x00000003

#define LINEREGMODE_AUTOMATIC 0x00000001
#define LINEREGMODE_MANUAL 0x00000002
#define LINEREGMODE_MANAUTO 0x00000003

#define LINEOPFORMAT_NONE 0x00000000
#define LINEOPFORMAT_ALPHASHORT 0x00000001
#define LINEOPFORMAT_ALPHALONG 0x00000002
#define LINEOPFORMAT_NUMERIC 0x00000004

LONG lineGetEquipmentState(HLINE hLine, LPDWORD lpdwState, LPDWORD lpdwRadioSupport);
// Switching to anything below full operation loses the network
// registration; the minimum state also powers the SIM down, so that it
// asks for its PIN again.
LONG lineSetEquipmentState(HLINE hLine, DWORD dwState);
// Registers on the network; it succeeds only with the radio fully on and
// the SIM unlocked, otherwise the phone stays unregistered and the call
// returns LINEERR_OPERATIONFAILED.
LONG lineRegister(HLINE hLine, DWORD dwRegisterMode, LPCWSTR lpszOperator, DWORD dwOperatorFormat);

#ifdef __cplusplus
}
#endif
