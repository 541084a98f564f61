// Sounds heard on the host: wave files of any common PCM layout come out in
// the one output format, a synchronous sound lasts as long as it sounds, and
// headless PlaySoundW neither loads SDL2 nor touches the host's audio.
#include <mmsystem.h>
#include <windows.h>

#include "wave_audio.h"

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../files/files.h"
#include "../kernel/journal.h"
#include "../testing/device_fixture.h"

namespace {

void PutLittle(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A PCM wave file of `frames` frames, every sample `value` (the raw sample
// bits, so 8-bit data is unsigned as in the file format).
std::string WaveFile(int rate, int channels, int bits, int frames, uint32_t value) {
  const uint32_t bytesPerSample = static_cast<uint32_t>(bits / 8);
  const uint32_t dataBytes = static_cast<uint32_t>(frames * channels) * bytesPerSample;
  std::string out = "RIFF";
  PutLittle(&out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  PutLittle(&out, 16, 4);
  PutLittle(&out, 1, 2);
  PutLittle(&out, static_cast<uint32_t>(channels), 2);
  PutLittle(&out, static_cast<uint32_t>(rate), 4);
  PutLittle(&out, static_cast<uint32_t>(rate * channels) * bytesPerSample, 4);
  PutLittle(&out, static_cast<uint32_t>(channels) * bytesPerSample, 2);
  PutLittle(&out, static_cast<uint32_t>(bits), 2);
  out += "data";
  PutLittle(&out, dataBytes, 4);
  for (int i = 0; i < frames * channels; ++i) PutLittle(&out, value, static_cast<int>(bytesPerSample));
  return out;
}

struct Layout {
  const char* name;
  int rate, channels, bits;
  uint32_t raw;    // each sample as stored
  int16_t heard;   // the same level as a 16-bit sample
};

// A case prints as its name: in the test's name and in a failure's message.
void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

class WaveConversion : public testing::TestWithParam<Layout> {};

// A tenth of a second at any rate becomes 4410 stereo frames of the same level.
TEST_P(WaveConversion, KeepsLengthAndLevelInTheOutputFormat) {
  const Layout& layout = GetParam();
  std::vector<int16_t> samples;
  ASSERT_TRUE(platform::ConvertWaveForHost(
      WaveFile(layout.rate, layout.channels, layout.bits, layout.rate / 10, layout.raw), &samples));
  ASSERT_EQ(samples.size() % platform::kHostAudioChannels, 0u);
  const double frames = static_cast<double>(samples.size()) / platform::kHostAudioChannels;
  EXPECT_NEAR(frames, platform::kHostAudioRate / 10.0, platform::kHostAudioRate / 1000.0);
  // The middle, away from the resampler's edges.
  for (size_t i = samples.size() / 4; i < samples.size() * 3 / 4; ++i)
    ASSERT_NEAR(samples[i], layout.heard, 64) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WaveConversion,
    testing::Values(Layout{"Mono16BitAt8kHz", 8000, 1, 16, 3000, 3000},
                    Layout{"Stereo16BitAt44kHz", 44100, 2, 16, 0xF830, -2000},
                    Layout{"Mono8BitAt11kHz", 11025, 1, 8, 128 + 64, 64 * 256},
                    Layout{"Stereo16BitAt48kHz", 48000, 2, 16, 100, 100}),
    testing::PrintToStringParamName());

TEST(WaveConversionFailures, DataThatIsNoWaveGivesNoSamples) {
  std::vector<int16_t> samples = {1, 2, 3};
  EXPECT_FALSE(platform::ConvertWaveForHost("", &samples));
  EXPECT_TRUE(samples.empty());
  EXPECT_FALSE(platform::ConvertWaveForHost("MThd\0\0\0\6 a MIDI file", &samples));
  std::string wave = WaveFile(8000, 1, 16, 800, 0);
  EXPECT_FALSE(platform::ConvertWaveForHost(std::string_view(wave).substr(0, 30), &samples));  // cut in its header
  EXPECT_TRUE(samples.empty());
}

class HeadlessSound : public testing_support::DeviceTest {};

// Whether this process has SDL2 mapped at all.
bool SdlMapped() {
  void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
  if (library) dlclose(library);
  return library != nullptr;
}

TEST_F(HeadlessSound, PlaySoundIsJournalledAndLoadsNoAudio) {
  // Run before the test that opens the dummy device when all run in one process.
  if (SdlMapped()) GTEST_SKIP() << "SDL2 was loaded by an earlier test of this process";
  setenv("SELVANE_DISPLAY", "headless", 1);
  platform::JournalClear();
  EXPECT_TRUE(PlaySoundW(u"\\windows\\rings\\Old Phone.WAV", nullptr, SND_SYNC));
  EXPECT_TRUE(PlaySoundW(u"\\windows\\Alarm1.wav", nullptr, SND_ASYNC | SND_FILENAME));
  // No audio was opened, so the 0.5 s tone was neither played nor awaited.
  EXPECT_FALSE(SdlMapped());
  auto journal = platform::JournalRead();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].text, "PlaySoundW \"\\windows\\rings\\Old Phone.WAV\" 0x0");
  EXPECT_EQ(journal[1].text, "PlaySoundW \"\\windows\\Alarm1.wav\" 0x20001");
}

// The audio still to be played on the devices this process has open, in
// bytes. SDL numbers the devices it opens from 1 up; a number that names no
// open device has nothing queued.
Uint32 QueuedAudioBytes() {
  Uint32 bytes = 0;
  for (SDL_AudioDeviceID device = 1; device <= 16; ++device) bytes += SDL_GetQueuedAudioSize(device);
  return bytes;
}

// The dummy driver plays in real time without a sound card. Whether a sound
// was heard is read from the device's queue, not from a clock.
TEST(HostAudio, SynchronousSoundReturnsOnceHeardAndAsynchronousAtOnce) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::vector<int16_t> samples;
  ASSERT_TRUE(platform::ConvertWaveForHost(WaveFile(8000, 1, 16, 2400, 1000), &samples));  // 0.3 s
  platform::PlayOnHost(samples, true);
  EXPECT_EQ(QueuedAudioBytes(), 0u) << "returned before the sound was played out";

  // Half a minute of sound: returned at once, nearly all of it is still to
  // be heard, however slowly this host runs the test.
  const std::vector<int16_t> longSound(platform::kHostAudioRate * platform::kHostAudioChannels * 30, 1000);
  platform::PlayOnHost(longSound, false);
  EXPECT_GT(QueuedAudioBytes(), 0u) << "waited for the sound to be played out";
  platform::StopHostSound();
  EXPECT_EQ(QueuedAudioBytes(), 0u) << "the sound plays on after being stopped";
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
