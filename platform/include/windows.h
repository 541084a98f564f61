// The emulated Windows CE surface: every header of the platform's public
// set. Programs include this one file.
#pragma once

#include "wintypes.h"
#include "wintime.h"
#include "winuser.h"
#include "commctrl.h"
#include "aygshell.h"
#include "winresource.h"
#include "wingdi.h"
