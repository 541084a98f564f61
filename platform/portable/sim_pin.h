// The SIM's rule for a new PIN, as SimUnlockPhone applies it.
#pragma once

#include <windows.h>

namespace portable {

// Whether `pin` is a PIN the SIM takes as a new one: four to eight digits.
bool IsNewSimPin(LPCWSTR pin);

}  // namespace portable
