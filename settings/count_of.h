// The number of elements of an array, as the int that the list and text
// calls of the dialog take.
#pragma once

#define COUNT_OF(a) ((int)(sizeof(a) / sizeof((a)[0])))
