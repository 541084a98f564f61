// The caller rules of a mode: what a store without them reads as, what a
// stored value that is no rule counts as, the factory rules, and a save
// that goes whole into the record being saved.
#include <gtest/gtest.h>

#include <string>

#include "platform/testing/device_fixture.h"
#include "store/caller_rules.h"
#include "store/factory_modes.h"
#include "store/mode_store.h"
#include "store/record_save.h"
#include "store/registry_values.h"

namespace {

class CallerRulesTest : public testing_support::DeviceTest {
 protected:
  HKEY ModeKey(LPCWSTR keyName) {
    std::u16string path = std::u16string(STORE_ROOT_KEY) + u"\\" + keyName;
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    return key;
  }
};

TEST_F(CallerRulesTest, AStoreWithoutTheValuesLetsNobodyThroughAndIsNotWritten) {
  CallerRules rules = LoadCallerRules(u"Mode 3");
  EXPECT_EQ(std::u16string(rules.AllowCategory), u"");
  EXPECT_EQ(rules.AllowVolume, 5u);
  EXPECT_EQ(rules.RepeatCalls, 0u);
  HKEY key = ModeKey(u"Mode 3");
  std::vector<BYTE> data;
  EXPECT_EQ(ReadWholeValue(key, ALLOW_VOLUME_VALUE, &data), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(CallerRulesTest, ValuesThatAreNoRulesCountAsTheDefaults) {
  HKEY key = ModeKey(u"Mode 1");
  WriteDwordValue(key, ALLOW_VOLUME_VALUE, 9);
  WriteDwordValue(key, REPEAT_CALLS_VALUE, 7);
  WriteDwordValue(key, ALLOW_CATEGORY_VALUE, 1);
  RegCloseKey(key);
  CallerRules rules = LoadCallerRules(u"Mode 1");
  EXPECT_EQ(std::u16string(rules.AllowCategory), u"");
  EXPECT_EQ(rules.AllowVolume, 5u);
  EXPECT_EQ(rules.RepeatCalls, 1u);
}

TEST_F(CallerRulesTest, AnOverlongCategoryIsCutToTheFieldAndTerminated) {
  HKEY key = ModeKey(u"Mode 1");
  std::u16string longName(300, u'x');
  WriteTextValue(key, ALLOW_CATEGORY_VALUE, longName.c_str(), longName.size() + 1);
  RegCloseKey(key);
  CallerRules rules = LoadCallerRules(u"Mode 1");
  EXPECT_EQ(std::u16string(rules.AllowCategory), std::u16string(CATEGORY_WIDTH - 1, u'x'));
}

TEST_F(CallerRulesTest, OnlyNightLetsASecondCallRingFromTheFactory) {
  for (DWORD mode = 1; mode <= 5; ++mode) {
    WCHAR keyName[20];
    wsprintfW(keyName, TEXT("Mode %d"), mode);
    WriteFactoryMode(keyName);
    CallerRules rules = LoadCallerRules(keyName);
    EXPECT_EQ(std::u16string(rules.AllowCategory), u"") << mode;
    EXPECT_EQ(rules.RepeatCalls, mode == 2 ? 1u : 0u) << mode;
  }
}

TEST_F(CallerRulesTest, ASaveInsideARecordSaveReachesTheModeOnlyAtItsEnd) {
  CallerRules rules = NoCallerRules();
  wsprintfW(rules.AllowCategory, TEXT("Family"));
  rules.AllowVolume = 3;
  rules.RepeatCalls = 1;
  BeginRecordSave(u"Mode 4");
  SaveCallerRules(u"Mode 4", &rules);
  EXPECT_EQ(LoadCallerRules(u"Mode 4").RepeatCalls, 0u);
  EndRecordSave();
  CallerRules saved = LoadCallerRules(u"Mode 4");
  EXPECT_EQ(std::u16string(saved.AllowCategory), u"Family");
  EXPECT_EQ(saved.AllowVolume, 3u);
  EXPECT_EQ(saved.RepeatCalls, 1u);
}

}  // namespace
