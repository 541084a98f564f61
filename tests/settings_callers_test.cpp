// The callers dialog of the settings program: it lists the contacts'
// categories, sets the three caller values of the mode shown, and they
// reach the store with the mode's save, never on a cancel or "No Save".
#include "settings/resource.h"
#include "tests/device_tool_support.h"
#include "tests/settings_support.h"

namespace settings_test {
namespace {

// The callers dialog in a dump, and one of its controls (null json when missing).
const json& CallersControl(const json& dump, int id) {
  static const json none;
  if (!dump.is_object() || !dump.contains("windows")) return none;
  for (const json& window : dump["windows"])
    if (window.value("title", "") == "Callers who ring")
      for (const json& control : window["controls"])
        if (control.value("id", -1) == id) return control;
  return none;
}

const int Night = 2;
const std::string OpenCallers = "click " + std::to_string(IDC_CALLERS);

class CallersDialog : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    OpenOnMode(Night);
    device_tool::Tool({"contacts", "add", "Mum", "5551234", "--category", "Family", "--category", "Friends"});
    device_tool::Tool({"contacts", "add", "Bob", "5557777", "--category", " friends "});
    device_tool::Tool({"contacts", "add", "Ann", "5558888", "--category", "Work"});
    device_tool::Tool({"contacts", "add", "Eve", "5559999"});
  }
};

TEST_F(CallersDialog, SetsTheModesThreeValuesWhenTheModeIsSaved) {
  SettingsRun run = RunSettings({OpenCallers, "dump", "select 1202 1", "select 1204 2", "click 1205", "ok", "dump",
                                 OpenCallers, "dump", "ok", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  // Each category once, in the order first met, after the entry for nobody;
  // Night's factory rules show: nobody, loudest, a second call rings.
  const json& categories = CallersControl(run.dumps[0], IDC_CALLER_CATEGORY);
  EXPECT_EQ(categories.value("items", std::vector<std::string>()),
            (std::vector<std::string>{"(nobody)", "Family", "Friends", "Work"}));
  EXPECT_EQ(categories.value("selection", -2), 0);
  EXPECT_EQ(CallersControl(run.dumps[0], IDC_CALLER_VOLUME).value("selection", -2), 4);
  EXPECT_TRUE(CallersControl(run.dumps[0], IDC_REPEAT_CALLS).value("checked", false));

  // Closed, and opened again: it shows what "ok" kept.
  EXPECT_TRUE(CallersControl(run.dumps[1], IDC_CALLER_CATEGORY).is_null());
  EXPECT_EQ(CallersControl(run.dumps[2], IDC_CALLER_CATEGORY).value("text", ""), "Family");
  EXPECT_EQ(CallersControl(run.dumps[2], IDC_CALLER_VOLUME).value("text", ""), "3");
  EXPECT_FALSE(CallersControl(run.dumps[2], IDC_REPEAT_CALLS).value("checked", true));

  EXPECT_EQ(ModeText(Night, u"AllowCategory"), "Family");
  EXPECT_EQ(ModeDword(Night, u"AllowVolume"), 3u);
  EXPECT_EQ(ModeDword(Night, u"RepeatCalls"), 0u);
}

TEST_F(CallersDialog, CancelAndNoSaveLeaveTheStoredValues) {
  // Cancel drops the dialog's choices, so saving writes Night's as they were.
  SettingsRun run = RunSettings({OpenCallers, "select 1202 2", "select 1204 0", "click 1205", "click 2", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(ModeText(Night, u"AllowCategory"), "");
  EXPECT_EQ(ModeDword(Night, u"AllowVolume"), 5u);
  EXPECT_EQ(ModeDword(Night, u"RepeatCalls"), 1u);

  // "ok" counts as a change: leaving the mode asks first, and "No Save" drops it.
  run = RunSettings({OpenCallers, "select 1202 2", "ok", "click 1054", "dump", "click 1083", "click 1055", OpenCallers,
                     "dump", "ok"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_TRUE(Visible(run.dumps[0], IDC_QUESTION));
  EXPECT_FALSE(Visible(run.dumps[0], IDC_CALLERS));
  EXPECT_EQ(CallersControl(run.dumps[1], IDC_CALLER_CATEGORY).value("selection", -2), 0);
  EXPECT_EQ(ModeText(Night, u"AllowCategory"), "");
}

TEST_F(CallersDialog, KeepsACategoryNoContactHasAndOtherModesValues) {
  SetModeText(Night, u"AllowCategory", u"Choir");
  SetModeText(4, u"AllowCategory", u"Work");
  // Night's volume is changed; then the mode arrows go on to "Home" and back.
  SettingsRun run = RunSettings({OpenCallers, "dump", "select 1204 0", "ok", "click 1009", "click 1054", "click 1054",
                                 OpenCallers, "dump", "click 2"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& categories = CallersControl(run.dumps[0], IDC_CALLER_CATEGORY);
  EXPECT_EQ(categories.value("text", ""), "Choir");
  EXPECT_EQ(categories.value("items", std::vector<std::string>()).back(), "Choir");
  EXPECT_EQ(ModeText(Night, u"AllowCategory"), "Choir");
  EXPECT_EQ(ModeDword(Night, u"AllowVolume"), 1u);
  // Mode 4 shows its own category.
  EXPECT_EQ(CallersControl(run.dumps[1], IDC_CALLER_CATEGORY).value("text", ""), "Work");
  EXPECT_EQ(ModeText(4, u"AllowCategory"), "Work");
}

TEST_F(CallersDialog, ResetGivesTheModeItsFactoryRulesOverAChoiceNotSaved) {
  SetModeText(Night, u"AllowCategory", u"Family");
  SetModeDword(Night, u"AllowVolume", 2);
  SetModeDword(Night, u"RepeatCalls", 0);
  SettingsRun run = RunSettings({OpenCallers, "select 1202 3", "ok", "click 1049", OpenCallers, "dump", "click 2"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(CallersControl(run.dumps[0], IDC_CALLER_CATEGORY).value("selection", -2), 0);
  EXPECT_EQ(ModeText(Night, u"AllowCategory"), "");
  EXPECT_EQ(ModeDword(Night, u"AllowVolume"), 5u);
  EXPECT_EQ(ModeDword(Night, u"RepeatCalls"), 1u);
}

}  // namespace
}  // namespace settings_test
