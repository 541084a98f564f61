// Limits of the emulated phone's calls that the phone's SDK headers do not
// name: the most wsprintfW writes, and the sizes that the phone's 32-bit
// programs put in a structure's size field (this build's sizeof is taken as
// well).
#pragma once

// wsprintfW never writes more than this many units, terminator included.
#define WSPRINTF_MAX_OUTPUT 1024

#define OPENFILENAME_PHONE_SIZE 76
#define SHELLEXECUTEINFO_PHONE_SIZE 60
