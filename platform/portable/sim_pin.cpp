// The SIM's rule for a new PIN.
#include "sim_pin.h"

namespace portable {

// Stops at the ninth unit: a longer text is refused without reading it all.
bool IsNewSimPin(LPCWSTR pin) {
  int digits = 0;
  for (LPCWSTR c = pin; *c; ++c, ++digits)
    if (digits == 8 || *c < TEXT('0') || *c > TEXT('9')) return false;
  return digits >= 4;
}

}  // namespace portable
