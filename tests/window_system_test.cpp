// The window system from outside: the probe program's dialog driven by
// automation scripts under the real program entry, seen through its dumps,
// what its dialog procedure reports, and its exit.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "platform/testing/device_fixture.h"
#include "tests/windows/probe_ids.h"

using testing_support::DeviceTest;
using testing_support::ProgramResult;
using testing_support::RunProgram;

namespace {

class WindowSystemTest : public DeviceTest {
 protected:
  std::filesystem::path Place(const std::string& name) { return device_->folder().parent_path() / name; }

  // Runs the probe with a script; the script's "DUMP" stands for a dump file.
  ProgramResult Probe(std::string script, const std::vector<std::string>& args = {}) {
    std::string dump = Place("dump.json").string();
    for (size_t at; (at = script.find("DUMP")) != std::string::npos;) script.replace(at, 4, dump);
    std::filesystem::path file = testing_support::WriteFile(Place("script.txt"), script);
    return RunProgram("selvane-probe", args, {{"SELVANE_INPUT", file.string()}});
  }

  nlohmann::json Dump() { return nlohmann::json::parse(testing_support::ReadFile(Place("dump.json"))); }

  static const nlohmann::json& Control(const nlohmann::json& dump, int id) {
    for (const nlohmann::json& control : dump["windows"][0]["controls"])
      if (control["id"] == id) return control;
    ADD_FAILURE() << "no control " << id << " in the dump";
    static const nlohmann::json none;
    return none;
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  static bool Has(const std::string& out, const std::string& line) {
    return out.find(line + "\n") != std::string::npos;
  }
};

TEST_F(WindowSystemTest, ChecksButtonsAndHiddenOrDisabledControlsRespondAsToATap) {
  ProgramResult run = Probe(
      "# the user ticks what is there\n"
      "click 1001\n"
      "click 1002\n"
      "\n"
      "click 1003\n"
      "click 1004\n"
      "type 1015 99\n"
      "click 1008\n"
      "dump DUMP\n"
      "ok\n");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json dump = Dump();
  // The automatic check box toggles and notifies; the plain one only notifies.
  EXPECT_TRUE(Control(dump, IDC_AUTO)["checked"]);
  EXPECT_TRUE(Has(run.out, "command 1001 0 Auto"));
  EXPECT_FALSE(Control(dump, IDC_MANUAL)["checked"]);
  EXPECT_TRUE(Has(run.out, "command 1002 0 Manual"));
  EXPECT_TRUE(Has(run.out, "command 1008 0 Push"));
  // Hidden and disabled controls ignore the user.
  EXPECT_FALSE(Control(dump, IDC_HIDDEN_CHECK)["checked"]);
  EXPECT_FALSE(Control(dump, IDC_HIDDEN_CHECK)["visible"]);
  EXPECT_FALSE(Control(dump, IDC_DISABLED_CHECK)["checked"]);
  EXPECT_FALSE(Control(dump, IDC_DISABLED_CHECK)["enabled"]);
  EXPECT_EQ(Control(dump, IDC_DISABLED_EDIT)["text"], "");
  EXPECT_EQ(run.out.find("command 1003"), std::string::npos);
  EXPECT_EQ(run.out.find("command 1004"), std::string::npos);
  EXPECT_EQ(run.out.find("command 1015"), std::string::npos);
  // "ok" is the Done button: the probe destroys its dialog and quits.
  EXPECT_TRUE(Has(run.out, "done"));
  EXPECT_TRUE(Has(run.out, "quit 0"));
  EXPECT_EQ(run.out.find("script visible"), std::string::npos);
}

TEST_F(WindowSystemTest, DumpShowsLayoutFromDialogUnitsInTheFullScreenDialog) {
  ProgramResult run = Probe("dump DUMP\n");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json dump = Dump();
  EXPECT_EQ(dump["program"], "selvane-probe");
  EXPECT_EQ(dump["screen"], nlohmann::json({{"width", 240}, {"height", 320}}));
  EXPECT_EQ(dump["sip"], false);
  const nlohmann::json& window = dump["windows"][0];
  EXPECT_EQ(window["title"], "Probe");
  EXPECT_EQ(window["rect"], nlohmann::json({0, 26, 240, 268}));
  // Tahoma 8: 6 by 13 pixels per 4 by 8 dialog units, inside a 1-pixel frame.
  EXPECT_EQ(Control(dump, IDC_NAME)["rect"], nlohmann::json({16, 141, 90, 20}));
  EXPECT_EQ(Control(dump, IDC_CENTRED)["text"], "Two\nlines");
  EXPECT_EQ(Control(dump, IDC_SLIDER)["class"], "msctls_trackbar32");
  EXPECT_EQ(Control(dump, IDC_SLIDER)["range"], nlohmann::json({0, 10}));
  EXPECT_EQ(Control(dump, IDC_SLIDER)["position"], 3);
  EXPECT_EQ(Control(dump, IDC_CODE)["modified"], false);
  // A sorted drop-down keeps its entries in order whatever order they came in.
  EXPECT_EQ(Control(dump, IDC_SORTED)["items"], nlohmann::json({"Apple", "banana", "fig", "pear"}));
  EXPECT_EQ(Control(dump, IDC_PLAIN)["items"], nlohmann::json({"One", "Two", "Three"}));
  EXPECT_EQ(Control(dump, IDC_PLAIN)["selection"], -1);
  // Without "ok" the script ends and the switched-off phone ends the program.
  EXPECT_FALSE(Has(run.out, "quit 0"));
}

TEST_F(WindowSystemTest, SelectTypeAndSlideActAsTheUserWould) {
  ProgramResult run = Probe(
      "select 1012 1\n"
      "type 1011 12ab345678\n"
      "type 1010 Hello  world \n"
      "type 1013 kiwi\n"
      "slide 1014 7\n"
      "slide 1014 99\n"
      "dump DUMP\n");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json dump = Dump();
  // The edit part already shows the entry when the change is reported.
  EXPECT_TRUE(Has(run.out, "command 1012 1 Two"));
  EXPECT_EQ(Control(dump, IDC_PLAIN)["text"], "Two");
  EXPECT_EQ(Control(dump, IDC_PLAIN)["selection"], 1);
  // Digits only, and no more than the limit; the user's typing marks the field.
  EXPECT_EQ(Control(dump, IDC_CODE)["text"], "1234");
  EXPECT_EQ(Control(dump, IDC_CODE)["modified"], true);
  EXPECT_TRUE(Has(run.out, "command 1011 1281 1234"));  // EN_MAXTEXT
  EXPECT_EQ(Control(dump, IDC_NAME)["text"], "Hello  world ");
  EXPECT_EQ(Control(dump, IDC_NAME)["modified"], true);
  EXPECT_TRUE(Has(run.out, "command 1010 768 Hello  world "));  // EN_CHANGE
  // Typing into a drop-down's edit part leaves its entries and selection.
  EXPECT_EQ(Control(dump, IDC_SORTED)["text"], "kiwi");
  EXPECT_EQ(Control(dump, IDC_SORTED)["selection"], -1);
  EXPECT_TRUE(Has(run.out, "command 1013 5 kiwi"));  // CBN_EDITCHANGE
  // The thumb stops at the end of the range; each drag ends with TB_ENDTRACK.
  EXPECT_EQ(Control(dump, IDC_SLIDER)["position"], 10);
  EXPECT_TRUE(Has(run.out, "scroll 4 7"));
  EXPECT_TRUE(Has(run.out, "scroll 4 10"));
  EXPECT_TRUE(Has(run.out, "scroll 8 10"));
}

TEST_F(WindowSystemTest, TapsReachTheWindowUnderTheStylus) {
  ProgramResult run = Probe(
      // The automatic check box at (16, 51) 75 x 16; then the group box's
      // empty corner, which lets the tap through to the dialog.
      "tap 30 58\n"
      "tap 200 120\n"
      "dump DUMP\n"
      // The shell's "ok" at the right of the top bar.
      "tap 225 12\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Control(Dump(), IDC_AUTO)["checked"]);
  EXPECT_TRUE(Has(run.out, "tap 199 93"));
  EXPECT_TRUE(Has(run.out, "done"));
}

TEST_F(WindowSystemTest, TimersFireInOrderInVirtualTimeAndTheScriptWaitsAmongThem) {
  ProgramResult run = Probe("wait 350\nclick 1008\n", {"timers"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> expected = {"init",
                                       "thread timer at 200",
                                       "window timer at 300",
                                       "command 1008 0 Push",
                                       "thread timer at 400",
                                       "window timer at 600",
                                       "thread timer at 600",
                                       "window timer at 900"};
  // Every timer stopped and the script done: the program ends by itself.
  EXPECT_EQ(Lines(run.out), expected);
}

TEST_F(WindowSystemTest, BadScriptLinesEndTheProgramWithTheirLine) {
  struct Case {
    std::string line;
    std::string message;
  };
  std::vector<Case> cases = {
      {"jump 3", "unknown action \"jump\""},
      {"click 4242", "no control 4242"},
      {"slide 1014 far", "bad number \"far\""},
      {"wait -5", "wait needs"},
      {"select 1012 3", "drop-down 1012 has no entry 3"},
      {"select 1010 0", "control 1010 is not a drop-down"},
      {"type 1014 5", "control 1014 takes no typed text"},
      {"tap 10", "expected: tap X Y"},
  };
  for (const Case& c : cases) {
    ProgramResult run = Probe("click 1001\n# then the mistake\n" + c.line + "\ndump DUMP\n");
    EXPECT_EQ(run.status, 2) << c.line;
    EXPECT_NE(run.err.find("script.txt:3: " + c.message), std::string::npos) << c.line << ": " << run.err;
    // Nothing after the bad line runs.
    EXPECT_FALSE(std::filesystem::exists(Place("dump.json"))) << c.line;
  }
}

}  // namespace
