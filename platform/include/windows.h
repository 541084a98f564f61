// The emulated Windows CE surface: every header of the platform's public
// set. Programs include this one file.
#pragma once

#include "wintypes.h"
#include "wintime.h"
#include "winreg.h"
#include "wintext.h"
#include "winuser.h"
#include "wingdi.h"
#include "winfile.h"
#include "winprocess.h"
#include "notify.h"
#include "winkernel.h"
#include "winmem.h"
#include "mmsystem.h"
#include "tapi.h"
#include "extapi.h"
#include "simmgr.h"
#include "bthutil.h"
#include "windbase.h"
