// Starting the display back end chosen by SELVANE_DISPLAY, and the host
// window's scale from SELVANE_SCALE.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "controls/control_paint.h"
#include "display/display.h"
#include "display/screen.h"
#include "display/sdl_display.h"
#include "display/shared_screen.h"
#include "kernel/display_choice.h"

namespace platform {

void StartDisplay() {
  // A window asked for by name where none can open ends the program at
  // once, rather than leave it running where no one can see or end it.
  if (std::string refusal = HostWindowRefusal(); !refusal.empty()) throw std::runtime_error(refusal);
  JoinSharedScreen();
  InstallControlPainter();
  if (!DisplayIsHeadless()) StartSdlDisplay();
}

int DisplayScale() {
  const char* text = std::getenv("SELVANE_SCALE");
  if (!text || !*text) return 2;
  char* end = nullptr;
  long scale = std::strtol(text, &end, 10);
  if (*end != '\0' || scale < 1 || scale > 8) return 2;
  return int(scale);
}

}  // namespace platform
