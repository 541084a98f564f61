// The files of a fresh device: short tones written as real WAV and MIDI
// files, and the WMA recordings compiled in from platform/seed.
#include "files_seed.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

#include "../device/installed_product.h"
#include "files.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

struct Tone {
  const char16_t* path;
  int frequency;  // Hz
  int milliseconds;
};

// The phone's system sounds (the notification events name most of them)
// and its ring tones, spelt as a phone ships them: mixed case.
const Tone kWaves[] = {
    {u"\\windows\\Alarm1.wav", 880, 300},     {u"\\windows\\Alarm2.wav", 988, 300},
    {u"\\windows\\ALARM3.WAV", 1047, 300},    {u"\\windows\\Alarm4.WAV", 784, 250},
    {u"\\windows\\notify.wav", 660, 200},     {u"\\windows\\Ring.wav", 523, 400},
    {u"\\windows\\Voicbeep.wav", 700, 150},   {u"\\windows\\Infbeg.wav", 600, 150},
    {u"\\windows\\Infend.wav", 500, 150},     {u"\\windows\\Connect.wav", 740, 120},
    {u"\\windows\\Disconnect.wav", 440, 120}, {u"\\windows\\Exclam.wav", 1200, 200},
    {u"\\windows\\Critical.wav", 1500, 250},  {u"\\windows\\beam.wav", 1319, 150},
    {u"\\windows\\Startup.wav", 392, 350},    {u"\\windows\\Question.wav", 587, 200},
    {u"\\windows\\rings\\Ring1.wav", 523, 400}, {u"\\windows\\rings\\ring2.wav", 659, 400},
    {u"\\windows\\rings\\Old Phone.WAV", 450, 500},
};

// Melodies as MIDI note numbers, one a quarter note.
struct Melody {
  const char16_t* path;
  std::string notes;
};

const Melody kMelodies[] = {
    {u"\\windows\\rings\\Tone.MID", {72, 76, 79, 84}},
    {u"\\windows\\rings\\dance.mid", {67, 67, 74, 72, 71, 69}},
    {u"\\windows\\rings\\Xylophone.mid", {84, 83, 81, 79}},
    {u"\\windows\\rings\\Old Tones.mid\\Retro.mid", {60, 64, 67}},
};

// Which recording each WMA file of the phone is. The phone's ring tone
// comes first, in \windows\rings under the name the installed product
// expects.
struct Recording {
  const char16_t* path;
  const char* seed;
};

constexpr const char* kRingToneRecording = "bell.wma";
const Recording kRecordings[] = {
    {u"\\windows\\rings\\Classic.WMA", "tone.wma"}, {u"\\windows\\rings\\chimes.wma", "chime.wma"},
    {u"\\windows\\Alert.wma", "chime.wma"},           {u"\\windows\\Default.WMA", "bell.wma"},
};

const char16_t* const kFolders[] = {u"\\windows", u"\\My Documents", u"\\Program files", u"\\Temp"};

void PutLittle(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutBig(std::string* out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A mono 16-bit PCM WAV file of a sine tone at 8 kHz, faded in and out.
std::string WaveFile(int frequency, int milliseconds) {
  const uint32_t rate = 8000;
  const uint32_t samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
  const uint32_t dataBytes = samples * 2;
  std::string out = "RIFF";
  PutLittle(&out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  PutLittle(&out, 16, 4);
  PutLittle(&out, 1, 2);  // PCM
  PutLittle(&out, 1, 2);  // mono
  PutLittle(&out, rate, 4);
  PutLittle(&out, rate * 2, 4);
  PutLittle(&out, 2, 2);
  PutLittle(&out, 16, 2);
  out += "data";
  PutLittle(&out, dataBytes, 4);
  const double kPi = 3.14159265358979323846;
  for (uint32_t i = 0; i < samples; ++i) {
    double fade = std::min(1.0, std::min(i, samples - i) / 200.0);
    double value = std::sin(2 * kPi * frequency * i / rate) * 12000 * fade;
    PutLittle(&out, static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xFFFF, 2);
  }
  return out;
}

// A format 0 standard MIDI file playing the notes one after another.
std::string MidiFile(const std::string& notes) {
  std::string track;
  const char kTempo[] = {0x00, static_cast<char>(0xFF), 0x51, 0x03, 0x07, static_cast<char>(0xA1), 0x20};
  track.append(kTempo, sizeof kTempo);  // 500000 us a quarter note
  for (char note : notes) {
    track += std::string{0x00, static_cast<char>(0x90), note, 0x60};
    // Delta time 480 ticks as a variable-length number: 0x83 0x60.
    track += std::string{static_cast<char>(0x83), 0x60, static_cast<char>(0x80), note, 0x40};
  }
  track += std::string{0x00, static_cast<char>(0xFF), 0x2F, 0x00};
  std::string out = "MThd";
  PutBig(&out, 6, 4);
  PutBig(&out, 0, 2);    // format 0
  PutBig(&out, 1, 2);    // one track
  PutBig(&out, 480, 2);  // ticks per quarter note
  out += "MTrk";
  PutBig(&out, static_cast<uint32_t>(track.size()), 4);
  return out + track;
}

std::string_view SeedRecordingData(const char* name) {
  for (size_t i = 0; i < kSeedRecordingCount; ++i)
    if (std::string_view(kSeedRecordings[i].name) == name)
      return {reinterpret_cast<const char*>(kSeedRecordings[i].data), kSeedRecordings[i].size};
  throw std::runtime_error(std::string("recording missing from the build: ") + name);
}

}  // namespace

void SeedDeviceFiles(const DeviceOptions& options) {
  for (const char16_t* folder : kFolders) {
    DWORD error = 0;
    auto entry = LocateDeviceEntry(folder, &error);
    if (!entry || (!entry->exists && mkdirat(entry->folder.get(), entry->name.c_str(), 0777) != 0))
      throw std::runtime_error("cannot make the phone's folders");
  }
  if (options.empty) return;
  for (const Tone& tone : kWaves) WriteDeviceFile(tone.path, WaveFile(tone.frequency, tone.milliseconds));
  for (const Melody& melody : kMelodies) WriteDeviceFile(melody.path, MidiFile(melody.notes));
  WriteDeviceFile(std::u16string(u"\\windows\\rings\\") + kInstalledProduct.ringTone,
                  SeedRecordingData(kRingToneRecording));
  for (const Recording& recording : kRecordings) WriteDeviceFile(recording.path, SeedRecordingData(recording.seed));
}

}  // namespace platform
