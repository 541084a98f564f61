// The phone's core headers, as a Windows CE program includes them: types,
// clock, registry, runtime text routines, windows and dialogs, drawing,
// resources, files, processes, kernel objects and local memory, then what
// Windows CE's core adds to desktop Windows' (wince_core.h). Each other
// library has a header of its own on top of this one (aygshell.h, tapi.h,
// commctrl.h, ...).
#pragma once

#include "wintypes.h"
#include "wintime.h"
#include "winreg.h"
#include "wintext.h"
#include "wingdi.h"
#include "winuser.h"
#include "winresource.h"
#include "winfile.h"
#include "winprocess.h"
#include "winkernel.h"
#include "winmem.h"
#ifndef RC_INVOKED
#include <wince_core.h>
#endif
