// The table of a mode's values against the record it describes, and the
// records built from its columns.
#include "store/mode_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "store/mode_store.h"

TEST(ModeTable, RowsCoverEveryFieldOnceInRecordOrder) {
  size_t end = 0;
  for (int row = 0; row < MODE_VALUE_COUNT; ++row) {
    SCOPED_TRACE(row);
    const ModeValue& value = MODE_VALUES[row];
    EXPECT_GE(value.Field, end) << "overlaps or precedes the row before it";
    size_t size = value.Type == REG_DWORD ? sizeof(DWORD) : value.Width * sizeof(WCHAR);
    if (value.Type == REG_DWORD) {
      EXPECT_EQ(value.Width, 0u);
      EXPECT_EQ(value.Field % alignof(DWORD), 0u);
    } else {
      ASSERT_EQ(value.Type, static_cast<DWORD>(REG_SZ));
      EXPECT_GT(value.Width, 0u);
      EXPECT_GT(value.ExportBytes, 0u);
      EXPECT_EQ(value.ExportBytes % sizeof(WCHAR), 0u);
    }
    // Nothing but padding lies between one field and the next.
    EXPECT_LT(value.Field - end, sizeof(DWORD));
    end = value.Field + size;
  }
  EXPECT_EQ(end, sizeof(ModeRecord));
}

TEST(ModeTable, NamesAreUniqueAndEachLabelFindsItsValueInTheRegistry) {
  std::set<std::u16string> names;
  for (int row = 0; row < MODE_VALUE_COUNT; ++row) {
    SCOPED_TRACE(row);
    const ModeValue& value = MODE_VALUES[row];
    EXPECT_TRUE(names.insert(value.Name).second);
    // The export reads the store by label: the registry matches names
    // without regard to case, and only that.
    EXPECT_EQ(_wcsicmp(value.Name, value.Label), 0);
    EXPECT_EQ(FindModeValue(value.Name), &value);
  }
  EXPECT_EQ(FindModeValue(u"StopHourTemp"), nullptr);
  EXPECT_EQ(FindModeValue(u"brightness"), nullptr);
}

TEST(ModeTable, EveryTextSettingFitsItsField) {
  for (int row = 0; row < MODE_VALUE_COUNT; ++row) {
    SCOPED_TRACE(row);
    const ModeValue& value = MODE_VALUES[row];
    if (value.Type != REG_SZ) continue;
    ModeValueSetting settings[] = {value.Loaded,   value.Factory[0], value.Factory[1], value.Factory[2],
                                   value.Factory[3], value.Factory[4], value.Imported,   value.NotFound};
    for (const ModeValueSetting& setting : settings) {
      ASSERT_NE(setting.Text, nullptr);
      EXPECT_LT(wcslen(setting.Text), value.Width);
    }
  }
}

TEST(ModeTable, RecordsTakeTheirColumnAndTheKeyNameWhereTheyDefaultToIt) {
  ModeRecord loaded = LoaderDefaults(u"Mode 3");
  EXPECT_EQ(std::u16string(loaded.ModeName), u"Mode 3");
  EXPECT_EQ(loaded.Days, static_cast<DWORD>(ALL_DAYS));
  EXPECT_EQ(loaded.BatteryTimeoutUnchecked, 180u);
  EXPECT_EQ(std::u16string(loaded.RingTone), DEFAULT_RING_TONE);

  ModeRecord imported = ImportStart(u"Mode 2");
  EXPECT_EQ(std::u16string(imported.ModeName), u"Mode 2");
  EXPECT_EQ(std::u16string(imported.RingMode), u"af1w60f0");
  EXPECT_EQ(std::u16string(imported.Category), CATEGORY_ANY);
  EXPECT_EQ(imported.SpeakerVolume, 4u);

  // A key name longer than the name's field is cut, never overruns it.
  std::u16string longKey(3 * MODE_NAME_WIDTH, u'k');
  ModeRecord cut = LoaderDefaults(longKey.c_str());
  EXPECT_EQ(std::u16string(cut.ModeName), longKey.substr(0, MODE_NAME_WIDTH - 1));

  ModeRecord office = FactoryRecord(3);
  EXPECT_EQ(std::u16string(office.ModeName), u"Office");
  EXPECT_EQ(office.Status, static_cast<DWORD>(STATUS_ANY));
  EXPECT_EQ(office.Days, 0u);
  EXPECT_EQ(FactoryRecord(2).BrightNess, 7u);
}
