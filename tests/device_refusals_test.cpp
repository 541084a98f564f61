// selvane-device and the programs facing devices that are missing, damaged
// or not theirs to write, and commands that fail: the exit statuses (2 for
// a wrong command line, 1 for a failure), the messages, and that nothing
// changes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/testing/device_fixture.h"
#include "tests/device_tool_support.h"

namespace fs = std::filesystem;
using testing_support::ProgramResult;
using testing_support::RunProgram;

namespace {

constexpr int kUsage = 2;
constexpr int kFailure = 1;

using device_tool::Export;
using device_tool::Tool;

class DeviceRefusalsTest : public testing_support::DeviceTest {
 protected:
  fs::path Database() const { return device_->folder() / "phone.db"; }
};

// The files of a device folder, each with its content (the WAL index's
// content left out: any reader of a log may rebuild it).
std::map<std::string, std::string> FolderFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    files[name] = entry.is_regular_file() && name != "phone.db-shm" ? testing_support::ReadFile(entry.path()) : "";
  }
  return files;
}

// The commands that only read, each of which must see a whole device.
const std::vector<std::vector<std::string>> kReadingCommands = {
    {"reg", "get", "HKCU\\ControlPanel\\Volume"}, {"reg", "export"}, {"state"}, {"journal"}, {"clock"},
    {"calendar", "list"}};

}  // namespace

TEST_F(DeviceRefusalsTest, AFailingSetLeavesNoKeyBehind) {
  std::string before = Export();
  ProgramResult longName = Tool({"reg", "set", "HKLM\\Software\\New", std::string(256, 'n'), "--dword", "1"});
  EXPECT_EQ(longName.status, kUsage);
  EXPECT_NE(longName.err.find("the value name is 256 characters long; at most 255"), std::string::npos)
      << longName.err;
  ProgramResult longText = Tool({"reg", "set", "HKLM\\Software\\New", "v", "--sz", std::string(32768, 'x')});
  EXPECT_EQ(longText.status, kUsage);
  EXPECT_NE(longText.err.find("takes 65538 bytes (UTF-16 with its terminator); a value holds at most 65536"),
            std::string::npos)
      << longText.err;
  ProgramResult longKey = Tool({"reg", "set", "HKLM\\Software\\" + std::string(256, 'k'), "v", "--dword", "1"});
  EXPECT_EQ(longKey.status, kUsage);
  EXPECT_NE(longKey.err.find("longer than 255 characters"), std::string::npos) << longKey.err;
  EXPECT_EQ(Export(), before);
  // At the limits the value is written.
  EXPECT_EQ(Tool({"reg", "set", "HKLM\\Software\\New", std::string(255, 'n'), "--sz", std::string(32767, 'x')}).status,
            0);
}

TEST_F(DeviceRefusalsTest, AnEmptyOrDamagedDeviceIsRefusedByEveryCommandAndProgram) {
  struct Damage {
    const char* what;
    void (*apply)(const fs::path& folder);
  };
  const Damage damages[] = {
      {"an empty phone.db", [](const fs::path& folder) { testing_support::WriteFile(folder / "phone.db", ""); }},
      {"a phone.db of noise",
       [](const fs::path& folder) { testing_support::WriteFile(folder / "phone.db", std::string(8192, 'z')); }},
      {"a phone.db without the device's tables",
       [](const fs::path& folder) {
         fs::remove(folder / "phone.db");
         sqlite3* db = nullptr;
         sqlite3_open((folder / "phone.db").c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE notes(text TEXT)", nullptr, nullptr, nullptr);
         sqlite3_close(db);
       }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    ASSERT_EQ(Tool({"init", "--force"}).status, 0);
    damage.apply(device_->folder());
    const std::map<std::string, std::string> before = FolderFiles(device_->folder());
    std::vector<std::vector<std::string>> commands = kReadingCommands;
    commands.push_back({"reg", "set", "HKLM\\Software\\T", "v", "--dword", "1"});
    commands.push_back({"clock", "set", "2005-03-01 10:00"});
    commands.push_back({"start", "--wait", "Kestrow", "2"});
    for (const auto& args : commands) {
      ProgramResult result = Tool(args);
      EXPECT_EQ(result.status, kFailure) << testing::PrintToString(args);
      EXPECT_EQ(result.out, "") << testing::PrintToString(args);
      EXPECT_NE(result.err.find("selvane-device: " + Database().string() + " is not a device's database"),
                std::string::npos)
          << result.err;
      EXPECT_NE(result.err.find("`selvane-device init --force` makes a fresh device"), std::string::npos) << result.err;
    }
    ProgramResult program = RunProgram("Kestrow", {"2"});
    EXPECT_EQ(program.status, kFailure);
    EXPECT_NE(program.err.find("Kestrow: " + Database().string() + " is not a device's database"), std::string::npos)
        << program.err;
    EXPECT_EQ(FolderFiles(device_->folder()), before) << "a refusal changed the device";
  }
  ASSERT_EQ(Tool({"init", "--force"}).status, 0);
  EXPECT_EQ(Tool({"reg", "get", "HKCU\\ControlPanel\\Volume"}).status, 0);
}

TEST_F(DeviceRefusalsTest, ADeviceWithoutItsFilesIsRefused) {
  fs::remove_all(device_->fs());
  for (const auto& args : kReadingCommands) {
    ProgramResult result = Tool(args);
    EXPECT_EQ(result.status, kFailure) << testing::PrintToString(args);
    EXPECT_NE(result.err.find(device_->folder().string() + " has no fs/ folder"), std::string::npos) << result.err;
  }
  EXPECT_EQ(RunProgram("Lumist", {}).status, kFailure);
}

TEST_F(DeviceRefusalsTest, AMistypedDeviceIsNotMadeByReadingButIsByChangingAndByPrograms) {
  const fs::path missing = device_->folder().parent_path() / "devcie";
  const std::map<std::string, std::string> env = {{"SELVANE_DEVICE", missing.string()}};
  for (const auto& args : kReadingCommands) {
    ProgramResult result = Tool(args, env);
    EXPECT_EQ(result.status, kFailure) << testing::PrintToString(args);
    EXPECT_EQ(result.err, "selvane-device: no device at " + missing.string() + "; `selvane-device init` creates one\n");
    EXPECT_FALSE(fs::exists(missing));
  }
  ProgramResult set = Tool({"reg", "set", "HKLM\\Software\\T", "v", "--dword", "1"}, env);
  EXPECT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.err, "selvane-device: no device at " + missing.string() + ": created a fresh one\n");
  EXPECT_EQ(Tool({"reg", "get", "HKLM\\Software\\T", "v"}, env).out, "dword:00000001\n");

  fs::remove_all(missing);
  ProgramResult program = RunProgram("Kestrow", {"2"}, env);
  EXPECT_EQ(program.status, 0) << program.err;
  EXPECT_EQ(program.err, "Kestrow: no device at " + missing.string() + ": created a fresh one\n");
  EXPECT_TRUE(fs::exists(missing / "phone.db"));
}

TEST_F(DeviceRefusalsTest, AReaderWhoMayNotWriteTheDeviceCanStillReadIt) {
  std::vector<std::string> owner;
  for (const auto& args : kReadingCommands) owner.push_back(Tool(args).out);
  // As root, the tool runs as "nobody"; otherwise write permission is taken away.
  const fs::path root = device_->folder().parent_path();
  const bool asRoot = geteuid() == 0;
  const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (asRoot) {
    fs::permissions(root, fs::perms(0755));
  } else {
    for (const auto& entry : fs::recursive_directory_iterator(root))
      fs::permissions(entry.path(), noWrite, fs::perm_options::remove);
    fs::permissions(root, noWrite, fs::perm_options::remove);
  }
  auto asReader = [&](const std::vector<std::string>& args) {
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    pid_t pid = fork();
    if (pid == 0) {
      dup2(out[1], 1);
      dup2(out[1], 2);
      if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(125);
      std::string program = (testing_support::ProgramFolder() / "selvane-device").string();
      std::vector<char*> argv{program.data()};
      std::vector<std::string> copies = args;
      for (auto& a : copies) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]);
    ProgramResult result;
    char buffer[4096];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) result.out.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
  };
  for (size_t i = 0; i < kReadingCommands.size(); ++i) {
    ProgramResult result = asReader(kReadingCommands[i]);
    EXPECT_EQ(result.status, 0) << testing::PrintToString(kReadingCommands[i]) << result.out;
    // The clock moves on between the two runs; the rest reads the same.
    if (kReadingCommands[i][0] != "clock" && kReadingCommands[i][0] != "state") {
      EXPECT_EQ(result.out, owner[i]);
    }
  }
  ProgramResult write = asReader({"reg", "set", "HKLM\\Software\\T", "v", "--dword", "1"});
  EXPECT_EQ(write.status, kFailure) << write.out;
  EXPECT_EQ(write.out, "selvane-device: cannot write " + Database().string() +
                           " (no write access to it or its folder)\n");
  if (!asRoot) {
    fs::permissions(root, fs::perms::owner_write, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(root))
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
  }
}

TEST_F(DeviceRefusalsTest, MistakesGetAClearMessageAndTheirStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const fs::path folder = device_->folder().parent_path();
  const Case cases[] = {
      {{"frobnicate"}, kUsage,
       "selvane-device: unknown command \"frobnicate\"; the commands are init, reg, journal, clock, state, modes, week, "
       "start, calendar, run, contacts, call\n"},
      {{"reg", "frob"}, kUsage,
       "selvane-device: unknown command \"reg frob\"; the commands of \"reg\" are get, set, delete, export, import\n"},
      {{}, kUsage, "selvane-device: name a command: init, reg"},
      {{"calendar"}, kUsage, "selvane-device: \"calendar\" needs a command: add, list, delete\n"},
      {{"journal", "--bogus"}, kUsage, "selvane-device: The following argument was not expected: --bogus (see --help)\n"},
      {{"reg", "get"}, kUsage, "selvane-device: KEY is required"},
      {{"reg", "set", "HKLM\\Software\\T", "v", "--dword", "99999999999"}, kUsage,
       "selvane-device: --dword: 99999999999 is out of range 0..4294967295 (0x0..0xFFFFFFFF)\n"},
      {{"reg", "set", "HKLM\\Software\\T", "v", "--dword", "0x1FFFFFFFF"}, kUsage, "is out of range 0..4294967295"},
      {{"reg", "set", "HKLM\\Software\\T", "v", "--dword", "ten"}, kUsage,
       "selvane-device: --dword: not a number (decimal, or hexadecimal after 0x): ten\n"},
      {{"reg", "set", "HKXX\\Software\\T", "v", "--dword", "1"}, kUsage, "unknown root key"},
      {{"reg", "import", folder.string()}, kFailure,
       "selvane-device: cannot read " + folder.string() + ": it is a folder\n"},
      {{"reg", "get", "HKLM\\No\\Such"}, kFailure, "selvane-device: no key HKEY_LOCAL_MACHINE\\No\\Such\n"},
      {{"clock", "set", "2005-3-1 1:2:3"}, kUsage,
       "selvane-device: \"2005-3-1 1:2:3\" is not a time of the form \"YYYY-MM-DD HH:MM[:SS]\"\n"},
      {{"clock", "set", " 2005-03-01 10:00:00"}, kUsage, "is not a time of the form"},
      {{"clock", "set", "+2005-03-01 10:00:00"}, kUsage, "is not a time of the form"},
      {{"calendar", "add", "--start", "2005-03-01 9:00", "--end", "2005-03-01 10:00"}, kUsage,
       "selvane-device: --start: \"2005-03-01 9:00\" is not a time of the form \"YYYY-MM-DD HH:MM[:SS]\"\n"},
      {{"calendar", "delete", "77"}, kFailure, "selvane-device: no appointment 77\n"},
  };
  const std::string before = Export();
  for (const Case& c : cases) {
    ProgramResult result = Tool(c.args);
    EXPECT_EQ(result.status, c.status) << testing::PrintToString(c.args) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << testing::PrintToString(c.args) << result.err;
  }
  EXPECT_EQ(Export(), before);

  // Times with or without seconds, and the busy states in any case.
  EXPECT_EQ(Tool({"clock", "set", "2005-03-01 10:00", "--frozen"}).status, 0);
  EXPECT_EQ(Tool({"clock"}).out, "2005-03-01 10:00:00 (frozen)\n");
  ProgramResult busy = Tool({"calendar", "add", "--start", "2005-03-01 09:00:30", "--end", "2005-03-01 10:00",
                             "--status", "Busy"});
  ASSERT_EQ(busy.status, 0) << busy.err;
  EXPECT_NE(Tool({"calendar", "list"}).out.find("\t2005-03-01 09:00:30\t2005-03-01 10:00\tbusy\t"), std::string::npos);
}
