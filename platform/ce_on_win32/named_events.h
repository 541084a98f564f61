// The names of the events a program created, by handle: EventModify
// journals an event by its name and counts the signals of named events.
#pragma once

#include <windows.h>

#include <string>

namespace ce_layer {

// The name the handle's event was created with; empty for an unnamed one.
std::wstring EventName(HANDLE event);
void ForgetEventName(HANDLE event);

}  // namespace ce_layer
