// The room a wsprintfW result needs: like Windows, it writes at most 1024
// characters, terminator included, so a buffer of this size holds whatever
// it formats.
#pragma once

#define WSPRINTF_BUFFER_SIZE 1024
