// selvane-device start [--wait] PROGRAM [COMMAND LINE]: starts an installed
// program as the phone would; with --wait, exits with the program's status,
// and ended by a signal, ends the program and those it started.
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/device/installed_product.h"
#include "platform/kernel/processes.h"
#include "platform/text/utf.h"
#include "tools/device/commands.h"
#include "tools/device/program_group.h"

void AddStartCommand(CLI::App& app) {
  CLI::App* start = app.add_subcommand(
      "start", "Start an installed program (a name in " + platform::Utf16ToUtf8(platform::kInstalledProduct.installFolder) +
                   ", or a device path)");
  auto wait = std::make_shared<bool>(false);
  start->add_flag("--wait", *wait, "Wait for the program to end and exit with its status");
  // Everything from PROGRAM on belongs to the program, dashes included.
  start->prefix_command();
  start->footer("PROGRAM [COMMAND LINE]: the program, then its command line (joined by single spaces)");
  start->callback([start, wait] {
    std::vector<std::string> words = start->remaining();
    if (words.empty()) throw UsageError("start: name the program to start");
    std::u16string path = platform::InstalledProgramPath(words[0]);
    UseDevice();
    auto binary = platform::InstalledProgramBinary(path);
    if (!binary) throw CommandError("no installed program at " + platform::Utf16ToUtf8(path));
    std::string commandLine;
    for (size_t i = 1; i < words.size(); ++i) commandLine += (i > 1 ? " " : "") + words[i];
    if (!*wait) {
      if (platform::StartProgram(*binary, platform::Utf8ToUtf16(commandLine), true) < 0)
        throw CommandError("cannot start " + binary->string());
      return;
    }
    // Waited for, the program and those it started end when the tool is
    // ended by a signal; left to itself, what it started runs on.
    int status = RunProgramGroup(*binary, platform::Utf8ToUtf16(commandLine), true, GroupEnd::ByItself);
    if (status != 0) throw CLI::RuntimeError(status);
  });
}
