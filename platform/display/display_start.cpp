// Starting the display back end chosen by SELVANE_DISPLAY, and the host
// window's scale from SELVANE_SCALE.
#include <cstdlib>
#include <string>

#include "automation.h"
#include "control_paint.h"
#include "display/display.h"
#include "display/sdl_display.h"
#include "screen.h"
#include "shared_screen.h"

namespace platform {
namespace {

// `screenshot FILE`: the whole screen, shell bars included, as PNG.
void ScreenshotVerb(const std::vector<std::string>& words, const std::string& rest) {
  if (words.empty()) throw AutomationError("expected: screenshot FILE");
  std::string path = rest.substr(rest.find_first_not_of(" \t"));
  path.erase(path.find_last_not_of(" \t") + 1);
  std::string error;
  if (!SaveScreenshot(path, &error)) throw AutomationError("cannot write the screenshot " + path + ": " + error);
}

}  // namespace

void StartDisplay() {
  JoinSharedScreen();
  InstallControlPainter();
  AddAutomationVerb("screenshot", ScreenshotVerb);
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
