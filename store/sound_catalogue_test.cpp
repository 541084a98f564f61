// The ring-tone and wave lists from the phone's sound folders.
#include "store/sound_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/testing/device_fixture.h"

namespace fs = std::filesystem;
using testing_support::TempDevice;
using testing_support::WriteFile;

namespace {

template <size_t N>
std::vector<std::u16string> Names(const WCHAR (&list)[N][SOUND_NAME_WIDTH]) {
  std::vector<std::u16string> names;
  bool gap = false;
  for (const auto& slot : list) {
    if (!slot[0]) {
      gap = true;
      continue;
    }
    EXPECT_FALSE(gap) << "filled slots come first";
    names.emplace_back(slot);
  }
  return names;
}

std::u16string Numbered(const char16_t* stem, int i, const char16_t* extension) {
  std::u16string name = stem;
  name += static_cast<char16_t>(u'0' + i / 10);
  name += static_cast<char16_t>(u'0' + i % 10);
  return name + extension;
}

class SoundCatalogueTest : public testing_support::DeviceTest {
 protected:
  void Touch(const fs::path& folder, const std::u16string& name) {
    WriteFile(folder / std::string(name.begin(), name.end()), "x");
  }
  fs::path windows() { return device_->fs() / "windows"; }
  fs::path rings() { return device_->fs() / "windows" / "rings"; }
};

}  // namespace

TEST_F(SoundCatalogueTest, ListsFollowTheSearchOrderInLowerCase) {
  EXPECT_EQ(ListRingTones(), 0);
  std::vector<std::u16string> tones = {u"alert.wma",     u"default.wma",    u"old phone.wav", u"ring1.wav",
                                       u"ring2.wav",     u"bellditty .wma", u"chimes.wma",    u"classic.wma",
                                       u"dance.mid",     u"tone.mid",       u"xylophone.mid"};
  EXPECT_EQ(Names(RingToneList), tones);  // the "old tones.mid" folder is left out

  EXPECT_EQ(ListWaves(), 0);
  std::vector<std::u16string> waves = Names(WaveList);
  ASSERT_GE(waves.size(), 10u);
  EXPECT_EQ(waves[0], u"alarm1");
  EXPECT_EQ(waves[2], u"alarm3");  // ALARM3.WAV
  for (const auto& wave : waves) EXPECT_EQ(wave.find(u".wav"), std::u16string::npos);
}

TEST_F(SoundCatalogueTest, RingTonesStopAtFiftyInSearchOrder) {
  for (int i = 0; i < 20; ++i) Touch(windows(), Numbered(u"W", i, u".wma"));
  for (int i = 0; i < 40; ++i) Touch(rings(), Numbered(u"R", i, u".WAV"));
  ListRingTones();
  std::vector<std::u16string> tones = Names(RingToneList);
  ASSERT_EQ(tones.size(), 50u);
  EXPECT_EQ(tones[0], u"alert.wma");
  EXPECT_EQ(tones[2], u"w00.wma");
  EXPECT_EQ(tones[22], u"old phone.wav");
  EXPECT_EQ(tones[49], u"r26.wav");
  for (const auto& tone : tones) EXPECT_EQ(tone.find(u".mid"), std::u16string::npos);
}

TEST_F(SoundCatalogueTest, WavesStopAtAHundredAndListingAgainStartsAfresh) {
  ListWaves();
  size_t shipped = Names(WaveList).size();
  for (int i = 0; i < 99; ++i) Touch(windows(), Numbered(u"Z", i, u".wav"));
  ListWaves();
  std::vector<std::u16string> waves = Names(WaveList);
  ASSERT_EQ(waves.size(), 100u);
  EXPECT_EQ(waves[99], Numbered(u"z", static_cast<int>(99 - shipped), u""));

  // A name too long for a slot is not offered cut short.
  Touch(rings(), std::u16string(160, u'a') + u".mid");
  ListRingTones();
  for (const auto& tone : Names(RingToneList)) EXPECT_LT(tone.size(), static_cast<size_t>(SOUND_NAME_WIDTH));
}

TEST(SoundCatalogueEmptyPhone, NoWavesGiveMinusOneAndEmptyLists) {
  platform::DeviceOptions options;
  options.empty = true;
  TempDevice device(options);
  EXPECT_EQ(ListWaves(), -1);
  EXPECT_TRUE(Names(WaveList).empty());
  EXPECT_EQ(ListRingTones(), 0);
  EXPECT_TRUE(Names(RingToneList).empty());
}
