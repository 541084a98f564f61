// A host without SDL2: headless and windowless programs run as ever, since
// none of them loads it, and a program that would open a host window says
// which Debian package to install and runs on without the window. The
// library is hidden in a mount namespace of the test's own, so the test
// needs root and unshare; it is skipped elsewhere.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"

namespace fs = std::filesystem;
using testing_support::ProgramFolder;
using testing_support::ReadFile;
using testing_support::TempDevice;
using testing_support::WriteFile;

namespace {

// The file the dynamic loader finds for SDL2, or "" where there is none.
std::string SdlLibraryFile() {
  void* library = dlopen("libSDL2-2.0.so.0", RTLD_LAZY | RTLD_LOCAL);
  if (!library) return "";
  Dl_info info{};
  void* symbol = dlsym(library, "SDL_Init");
  std::string file = symbol && dladdr(symbol, &info) && info.dli_fname ? info.dli_fname : "";
  dlclose(library);
  return file.empty() ? "" : fs::canonical(file).string();
}

}  // namespace

TEST(SdlMissing, WindowlessProgramsRunAndAWindowNamesThePackage) {
  if (geteuid() != 0 || std::system("unshare -m true >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "hiding SDL2 needs root and unshare";
  const std::string library = SdlLibraryFile();
  if (library.empty()) GTEST_SKIP() << "SDL2 is not installed";

  TempDevice device;
  const fs::path bin = ProgramFolder();
  const fs::path script = WriteFile(device.folder().parent_path() / "wait.txt", "wait 100\nok\n");
  const fs::path said = device.folder().parent_path() / "said.txt";
  // Lumist and Kestrow headless, then the probe asked for a host window.
  const std::string command =
      "unshare -m sh -c 'mount --bind /dev/null \"" + library + "\" &&"
      " SELVANE_DISPLAY=headless \"" + (bin / "Lumist").string() + "\" &&"
      " SELVANE_DISPLAY=headless \"" + (bin / "Kestrow").string() + "\" 2 &&"
      " DISPLAY=:0 SELVANE_DISPLAY=sdl SELVANE_INPUT=\"" + script.string() + "\" \"" +
      (bin / "selvane-probe").string() + "\"' >/dev/null 2>\"" + said.string() + "\"";
  EXPECT_EQ(std::system(command.c_str()), 0) << ReadFile(said);

  const std::string message = ReadFile(said);
  EXPECT_NE(message.find("selvane-probe: the host window needs SDL2"), std::string::npos) << message;
  EXPECT_NE(message.find("install the Debian package libsdl2-2.0-0; running without a window"), std::string::npos)
      << message;
  int keyReleases = 0;
  for (const auto& line : platform::JournalRead()) keyReleases += line.program == "Lumist";
  EXPECT_EQ(keyReleases, 20);
}
