// selvane-device from outside: creating devices, the registry in .reg form,
// the journal, and refusals of bad arguments and malformed files.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/kernel/journal.h"
#include "platform/kernel/program.h"
#include "platform/testing/device_fixture.h"
#include "tests/device_tool_support.h"

using testing_support::DeviceTest;
using testing_support::ProgramResult;

namespace {

using device_tool::Export;
using device_tool::Tool;

class DeviceToolTest : public DeviceTest {
 protected:
  std::filesystem::path RegFile(const std::string& name, const std::string& text) {
    return testing_support::WriteFile(device_->folder().parent_path() / name, text);
  }
};

TEST_F(DeviceToolTest, ExportOfAFreshDeviceShowsThePhoneKeysAndTheProduct) {
  std::string out = Export();
  EXPECT_EQ(out.rfind("Windows Registry Editor Version 5.00\n\n", 0), 0u);
  for (const char* expected :
       {"[HKEY_CURRENT_USER\\ControlPanel\\Volume]\n", "[HKEY_CURRENT_USER\\ControlPanel\\BackLight]\n",
        "[HKEY_CURRENT_USER\\ControlPanel\\Sounds\\RingTone0]\n", "[HKEY_CURRENT_USER\\Software\\HTC\\BTProfile]\n\"ON\"=dword:00000001\n",
        "[HKEY_CURRENT_USER\\ControlPanel\\Notifications\\Phone]\n@=\"Phone: Incoming call\"\n",
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Today\\Items\\Selvane]\n"
        "\"DLL\"=\"\\\\Program files\\\\Selvane\\\\Selvane.dll\"\n"})
    EXPECT_NE(out.find(expected), std::string::npos) << expected;

  ProgramResult branch = Tool({"reg", "export", "hklm\\SOFTWARE\\microsoft\\today\\items\\selvane"});
  EXPECT_EQ(branch.status, 0);
  EXPECT_EQ(branch.out,
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Today\\Items\\Selvane]\n"
            "\"DLL\"=\"\\\\Program files\\\\Selvane\\\\Selvane.dll\"\n\n");
}

TEST_F(DeviceToolTest, ValuesAreWrittenReadAndDeleted) {
  EXPECT_EQ(Tool({"reg", "set", "HKLM\\Software\\Test", "Level", "--dword", "10"}).status, 0);
  EXPECT_EQ(Tool({"reg", "set", "HKLM\\Software\\Test", "Mask", "--dword", "0x1111111"}).status, 0);
  EXPECT_EQ(Tool({"reg", "set", "HKLM\\Software\\Test", "@", "--sz", "say \"hi\" C:\\"}).status, 0);
  EXPECT_EQ(Tool({"reg", "get", "HKLM\\Software\\Test", "level"}).out, "dword:0000000a\n");
  EXPECT_EQ(Tool({"reg", "get", "HKEY_LOCAL_MACHINE\\Software\\Test"}).out,
            "@=\"say \\\"hi\\\" C:\\\\\"\n\"Level\"=dword:0000000a\n\"Mask\"=dword:01111111\n");
  EXPECT_EQ(Tool({"reg", "delete", "HKLM\\Software\\Test", "Level"}).status, 0);
  EXPECT_NE(Tool({"reg", "get", "HKLM\\Software\\Test", "Level"}).status, 0);
  EXPECT_EQ(Tool({"reg", "delete", "HKLM\\Software\\Test"}).status, 0);
  EXPECT_NE(Tool({"reg", "get", "HKLM\\Software\\Test"}).status, 0);
}

TEST_F(DeviceToolTest, ExportThenImportIntoAFreshDeviceReproducesTheRegistryExactly) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Odd \"Keys\"\\Ünïcödé", 0, nullptr, 0, 0, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const BYTE oddText[] = {'a', 0, 'b'};
  std::vector<BYTE> binary(300);
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<BYTE>(i * 7);
  const WCHAR multi[] = u"one\0two\0";
  const WCHAR lineBreak[] = u"two\nlines";
  const BYTE shortDword[] = {1, 2};
  RegSetValueExW(key, u"odd", 0, REG_SZ, oddText, sizeof oddText);
  RegSetValueExW(key, u"blob", 0, REG_BINARY, binary.data(), static_cast<DWORD>(binary.size()));
  RegSetValueExW(key, u"multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
  RegSetValueExW(key, u"lines", 0, REG_SZ, reinterpret_cast<const BYTE*>(lineBreak), sizeof lineBreak);
  RegSetValueExW(key, u"short", 0, REG_DWORD, shortDword, sizeof shortDword);
  RegSetValueExW(key, u"a \"quoted\\name\"", 0, REG_NONE, nullptr, 0);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(u"défaut"), 14);
  HKEY empty;
  RegCreateKeyExW(key, u"Empty", 0, nullptr, 0, 0, nullptr, &empty, nullptr);
  RegCloseKey(empty);
  RegCloseKey(key);
  RegDeleteValueW(HKEY_CURRENT_USER, u"x");  // nothing there: just a no-op
  std::string before = Export();
  EXPECT_NE(before.find(",\\\n  "), std::string::npos);  // long data wrapped

  auto file = RegFile("all.reg", before);
  ASSERT_EQ(Tool({"init", "--force", "--empty"}).status, 0);
  ProgramResult imported = Tool({"reg", "import", file.string()});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(Export(), before);

  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\odd \"keys\"\\ünïcödé", 0, 0, &key), ERROR_SUCCESS);
  BYTE data[400];
  DWORD size = sizeof data, type = 0;
  ASSERT_EQ(RegQueryValueExW(key, u"odd", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("a\0b", 3));
  size = sizeof data;
  ASSERT_EQ(RegQueryValueExW(key, u"blob", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::vector<BYTE>(data, data + size), binary);
  RegCloseKey(key);
}

TEST_F(DeviceToolTest, ImportAppliesRemovalsEscapesAndContinuations) {
  auto file = RegFile("changes.reg",
                      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                      "\r\n"
                      "; the phone's volume key goes, the backlight loses one value\r\n"
                      "[-HKEY_CURRENT_USER\\ControlPanel\\Volume]\r\n"
                      "[HKEY_CURRENT_USER\\ControlPanel\\BackLight]\r\n"
                      "\"ACTimeout\"=-\r\n"
                      "\"Gone already\"=-\r\n"
                      "[HKLM\\Software\\New]\r\n"
                      "\"Path\"=\"\\\\windows\\\\\"\r\n"
                      "\"Bytes\"=hex:01,02,\\\r\n"
                      "    03,04\r\n"
                      "\"Big\"=dword:FFFFFFFF\r\n"
                      "@=hex(7):41,00,00,00,00,00\r\n");
  ProgramResult result = Tool({"reg", "import", file.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(Tool({"reg", "get", "HKCU\\ControlPanel\\Volume"}).status, 0);
  EXPECT_NE(Tool({"reg", "get", "HKCU\\ControlPanel\\BackLight", "ACTimeout"}).status, 0);
  EXPECT_EQ(Tool({"reg", "get", "HKCU\\ControlPanel\\BackLight", "BrightNess"}).out, "dword:00000008\n");
  EXPECT_EQ(Tool({"reg", "get", "HKLM\\Software\\New"}).out,
            "@=hex(7):41,00,00,00,00,00\n\"Big\"=dword:ffffffff\n\"Bytes\"=hex:01,02,03,04\n"
            "\"Path\"=\"\\\\windows\\\\\"\n");
}

TEST_F(DeviceToolTest, AMalformedFileIsRefusedWithItsLineAndChangesNothing) {
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  const std::string good = "[HKLM\\Software\\Fine]\n\"a\"=dword:1\n[-HKEY_CURRENT_USER\\ControlPanel]\n";
  struct Case {
    std::string text;
    std::string line;
  } cases[] = {
      {"REGEDIT4\n" + good, "line 1:"},
      {header + good + "\"b\"=dword:123456789\n", "line 6:"},
      {header + good + "[HKLM\\X]\n\"c\"=\"unclosed\n", "line 7:"},
      {header + good + "[HKLM\\X]\n\"d\"=\"C:\\windows\"\n", "line 7:"},
      {header + good + "[HKEY_NOWHERE\\X]\n", "line 6:"},
      {header + good + "\"after removal\"=dword:1\n", "line 6:"},
      {header + "\"no key\"=dword:1\n", "line 3:"},
      {header + good + "[HKLM\\X]\n\"e\"=hex:01,zz,\\\n  03\n", "line 7:"},
      {header + good + "[HKLM\\X]\nvalue=1\n", "line 7:"},
      {header + good + "[HKLM\\X]\n\"" + std::string(256, 'n') + "\"=dword:1\n", "line 7:"},
  };
  std::string before = Export();
  for (const auto& c : cases) {
    auto file = RegFile("bad.reg", c.text);
    ProgramResult result = Tool({"reg", "import", file.string()});
    EXPECT_NE(result.status, 0) << c.text;
    EXPECT_NE(result.err.find(c.line), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("nothing imported"), std::string::npos) << result.err;
  }
  EXPECT_EQ(Export(), before);
  EXPECT_NE(Tool({"reg", "import", "/no/such/file.reg"}).status, 0);
}

TEST_F(DeviceToolTest, BadArgumentsGetAMessageAndChangeNothing) {
  std::string before = Export();
  const std::vector<std::vector<std::string>> calls = {
      {},
      {"frobnicate"},
      {"reg"},
      {"reg", "get", "HKXX\\Software"},
      {"reg", "get", "HKLM\\No\\Such\\Key"},
      {"reg", "get", "HKCU\\ControlPanel\\Volume", "NoSuchValue"},
      {"reg", "set", "HKLM\\Software\\T", "v"},
      {"reg", "set", "HKLM\\Software\\T", "v", "--dword", "12x"},
      {"reg", "set", "HKLM\\Software\\T", "v", "--dword", "4294967296"},
      {"reg", "set", "HKLM\\Software\\T", "v", "--dword", "1", "--sz", "x"},
      {"reg", "delete", "HKLM"},
      {"reg", "delete", "HKLM\\No\\Such\\Key"},
      {"init"},
      {"init", "--force", "--screen", "big"},
      {"init", "--force", "--screen", "240x"},
      {"init", "--force", "--screen", "x320"},
      {"init", "--force", "--screen", "240x320x2"},
      {"init", "--force", "--screen", "12345x320"},
      {"init", "--force", "--screen", "+240x320"},
      {"init", "--force", "--bt", "other"},
      {"init", "--force", "--sim-pin", "12"},
      {"init", "--force", "--sim-pin", "123456789"},
      {"init", "--force", "--sim-pin", "12a4"},
      {"journal", "--bogus"},
  };
  for (const auto& args : calls) {
    ProgramResult result = Tool(args);
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    EXPECT_NE(result.status, 0) << shown;
    EXPECT_FALSE(result.err.empty()) << shown;
    EXPECT_TRUE(result.out.empty()) << shown << result.out;
  }
  EXPECT_EQ(Export(), before);
  EXPECT_EQ(Tool({"reg", "export", "--help"}).status, 0);
}

TEST_F(DeviceToolTest, InitChoosesTheDeviceAndEmptyLeavesOnlyTheProduct) {
  ASSERT_EQ(Tool({"init", "--force", "--screen", "320x240", "--bt", "widcomm", "--sim-pin", "4321"}).status, 0);
  EXPECT_EQ(platform::DeviceInt("screen.width", 0), 320);
  EXPECT_EQ(platform::DeviceInt("screen.height", 0), 240);
  EXPECT_EQ(platform::DeviceValue("bt.stack"), "widcomm");
  EXPECT_EQ(platform::DeviceValue("sim.pin"), "4321");
  platform::CloseDeviceDb();

  ASSERT_EQ(Tool({"init", "--force", "--empty"}).status, 0);
  std::string out = Export();
  EXPECT_EQ(out.find("HKEY_CURRENT_USER"), std::string::npos);
  EXPECT_NE(out.find("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Today\\Items\\Selvane]"), std::string::npos);
}

TEST_F(DeviceToolTest, JournalPrintsEachLineAndClears) {
  platform::SetProgramName("Kestrow.exe");
  platform::JournalAppend("BthSetMode 2");
  platform::SetProgramName("Lumist");
  platform::JournalAppend("keybd_event 0x87 0 0x6 0");
  auto lines = platform::JournalRead();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(Tool({"journal"}).out, std::to_string(lines[0].seq) + " Kestrow BthSetMode 2\n" +
                                       std::to_string(lines[1].seq) + " Lumist keybd_event 0x87 0 0x6 0\n");
  EXPECT_EQ(Tool({"journal", "--clear"}).status, 0);
  EXPECT_EQ(Tool({"journal"}).out, "");
}

}  // namespace
