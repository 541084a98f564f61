// Starting the display back end chosen by SELVANE_DISPLAY, and the host
// window's scale from SELVANE_SCALE.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "../controls/control_paint.h"
#include "../kernel/display_choice.h"
#include "display.h"
#include "screen.h"
#include "sdl_display.h"
#include "shared_screen.h"

namespace platform {

namespace {

constexpr int kDefaultScale = 2;
constexpr long kLargestScale = 8;

// SELVANE_SCALE read as a whole decimal number from 1 to 8; 0 when it is not one.
int ScaleSetting(const char* text) {
  char* end = nullptr;
  long scale = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || scale < 1 || scale > kLargestScale) return 0;
  return int(scale);
}

}  // namespace

std::string DisplaySettingsError() {
  const char* display = std::getenv("SELVANE_DISPLAY");
  if (display && *display && std::string(display) != "sdl" && std::string(display) != "headless")
    return std::string("SELVANE_DISPLAY is \"") + display +
           "\": it must be sdl (a host window) or headless (none), or unset (a host window when there is a display)";
  const char* scale = std::getenv("SELVANE_SCALE");
  if (scale && *scale && !ScaleSetting(scale))
    return std::string("SELVANE_SCALE is \"") + scale + "\": it must be a whole number from 1 to 8, or unset (2)";
  return "";
}

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
  int scale = text && *text ? ScaleSetting(text) : 0;
  return scale ? scale : kDefaultScale;
}

}  // namespace platform
