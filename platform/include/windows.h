// The phone's core headers, as a Windows CE program includes them: types,
// clock, registry, runtime text routines, windows and dialogs, drawing,
// resources, files, processes, kernel objects and local memory, then what
// Windows CE's core adds to desktop Windows' (wince_core.h). Each other
// library has a header of its own on top of this one (aygshell.h, tapi.h,
// commctrl.h, ...). The parts under windows_parts/ are this header's own, in
// the order each needs the ones before: code includes <windows.h>.
#pragma once

#include "windows_parts/types.h"
#include "windows_parts/time.h"
#include "winreg.h"
#include "windows_parts/text.h"
#include "wingdi.h"
#include "winuser.h"
#include "windows_parts/resources.h"
#include "windows_parts/files.h"
#include "windows_parts/processes.h"
#include "windows_parts/kernel_objects.h"
#include "windows_parts/memory.h"
#ifndef RC_INVOKED
#include <wince_core.h>
#endif
