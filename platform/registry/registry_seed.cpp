// The registry of a fresh phone: the control-panel keys a Windows Mobile 2003
// phone ships with, its notification events, and the installed product's
// Today item.
#include <stdexcept>
#include <string>

#include <windows.h>

#include "../device/device.h"
#include "../device/installed_product.h"
#include "registry.h"

namespace {

struct DwordValue {
  const char16_t* name;
  DWORD value;
};

struct TextValue {
  const char16_t* name;
  const char16_t* text;
};

// A notification event of the phone: its key, the name the phone shows
// (null: the key has no default value), and how it is announced.
struct NotificationEvent {
  const char16_t* key;
  const char16_t* displayName;
  DWORD options;
  DWORD duration;
  const char16_t* wave;
};

constexpr DWORD kNotifyBase = 0x40000000;  // set in every "Options" value
constexpr DWORD kPlaySound = 1, kVibrate = 2, kFlash = 4, kDisplay = 8, kRepeat = 16;

const NotificationEvent kEvents[] = {
    {u"Reminders", u"Reminders", kNotifyBase | kPlaySound | kFlash | kDisplay, 10, u"alarm1"},
    {u"Alarms", u"Alarms", kNotifyBase | kPlaySound | kFlash | kDisplay | kRepeat, 10, u"alarm2"},
    {u"NewMail", u"Messaging: New e-mail message", kNotifyBase | kPlaySound | kFlash, 5, u"notify"},
    {u"NewSMS", u"Messaging: New text message", kNotifyBase | kPlaySound | kVibrate | kFlash, 5, u"notify"},
    {u"NewMMS", u"Messaging: New multimedia message", kNotifyBase | kPlaySound | kFlash, 5, u"notify"},
    {u"Phone", u"Phone: Incoming call", kNotifyBase | kPlaySound | kFlash, 10, u"ring"},
    {u"MissedCall", u"Phone: Missed call", kNotifyBase | kPlaySound | kFlash | kDisplay, 5, u"notify"},
    {u"Voicemail", u"Phone: Voice mail", kNotifyBase | kPlaySound | kFlash | kDisplay, 5, u"voicbeep"},
    {u"ASBegin", u"ActiveSync: Begin sync", kNotifyBase | kPlaySound, 0, u"infbeg"},
    {u"ASEnd", u"ActiveSync: End sync", kNotifyBase | kPlaySound, 0, u"infend"},
    {u"ASConnect", u"ActiveSync: Connection established", kNotifyBase, 0, u"connect"},
    {u"ASDisconnect", u"ActiveSync: Connection ended", kNotifyBase, 0, u"disconnect"},
    {u"Warnings", u"Warnings", kNotifyBase | kPlaySound | kDisplay, 0, u"exclam"},
    {u"Critical", u"Critical system warnings", kNotifyBase | kPlaySound | kDisplay, 0, u"critical"},
    {u"LowBattery", u"Battery: Main battery low", kNotifyBase | kPlaySound | kFlash | kDisplay, 5, u"exclam"},
    {u"VeryLowBattery", u"Battery: Main battery very low", kNotifyBase | kPlaySound | kFlash | kDisplay, 5,
     u"critical"},
    {u"Beam", u"Beam: Incoming beam", kNotifyBase | kPlaySound | kDisplay, 0, u"beam"},
    {u"Tasks", u"Tasks: Task due", kNotifyBase | kPlaySound | kFlash | kDisplay, 10, u"alarm3"},
    {u"Bluetooth", u"Bluetooth: Partnership request", kNotifyBase | kPlaySound | kDisplay, 0, u"notify"},
    {u"Connection", u"Connections: Connection failed", kNotifyBase | kPlaySound, 0, u"exclam"},
    {u"{7A0F32C5-1B3E-4D2A-9F61-C84E03B5D217}", nullptr, kNotifyBase | kFlash, 5, u"notify"},
};

const DwordValue kVolume[] = {
    {u"Volume", 0xCCCCCCCC}, {u"Ringer", 0x99999999}, {u"Mute", 7}, {u"Screen", 1}, {u"Key", 1}};
const DwordValue kRingCategory[] = {{u"InitVol", 3}, {u"Mute", 0}};
const DwordValue kPhone[] = {{u"Vol", 0x9999}, {u"Ringer", 0x9999}};
constexpr const char16_t* kRingScript = u"apw3r";
const DwordValue kAutoPickUp[] = {{u"AutoPickUp", 0}, {u"Ring", 3}};
const DwordValue kBackLight[] = {{u"BrightNess", 8},   {u"ACBrightNess", 10},
                                 {u"OnOffBatt", 1},    {u"OnOffAC", 1},
                                 {u"BatteryTimeout", 60}, {u"BatteryTimeoutUnchecked", 0},
                                 {u"ACTimeout", 0},    {u"BacklightOnTap", 1}};
const DwordValue kBTProfile[] = {{u"ON", 1}};

// A fresh device that lacks part of its registry is not made at all.
void Check(LONG status) {
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot write the registry of the fresh phone");
}

void SetDword(HKEY key, const char16_t* name, DWORD value) {
  Check(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value));
}

void SetText(HKEY key, const char16_t* name, const char16_t* text) {
  DWORD bytes = static_cast<DWORD>((std::char_traits<char16_t>::length(text) + 1) * sizeof(char16_t));
  Check(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes));
}

// Creates a key (with its parents) and hands it to `fill`, then closes it.
template <typename Fill>
void WithKey(HKEY root, const char16_t* path, Fill fill) {
  HKEY key = nullptr;
  Check(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  try {
    fill(key);
  } catch (...) {
    RegCloseKey(key);
    throw;
  }
  RegCloseKey(key);
}

template <size_t N>
void SeedDwords(const char16_t* path, const DwordValue (&values)[N]) {
  WithKey(HKEY_CURRENT_USER, path, [&](HKEY key) {
    for (const auto& v : values) SetDword(key, v.name, v.value);
  });
}

void SeedPhoneKeys() {
  SeedDwords(u"\\ControlPanel\\Volume", kVolume);
  SeedDwords(u"\\ControlPanel\\SoundCategories\\Ring", kRingCategory);
  SeedDwords(u"\\ControlPanel\\Phone", kPhone);
  WithKey(HKEY_CURRENT_USER, u"\\ControlPanel\\Sounds\\RingTone0", [](HKEY key) {
    SetText(key, u"Sound", platform::kInstalledProduct.ringTone);
    SetText(key, u"Script", kRingScript);
  });
  SeedDwords(u"\\ControlPanel\\AutoPickUp", kAutoPickUp);
  SeedDwords(u"\\ControlPanel\\BackLight", kBackLight);
  SeedDwords(u"\\Software\\HTC\\BTProfile", kBTProfile);
  for (const auto& event : kEvents) {
    std::u16string path = std::u16string(u"\\ControlPanel\\Notifications\\") + event.key;
    WithKey(HKEY_CURRENT_USER, path.c_str(), [&](HKEY key) {
      if (event.displayName) SetText(key, nullptr, event.displayName);
      SetDword(key, u"Options", event.options);
      SetDword(key, u"Duration", event.duration);
      SetText(key, u"Wave", event.wave);
    });
  }
}

}  // namespace

namespace platform {

void SeedRegistry(const DeviceOptions& options) {
  // One transaction: a fresh device is written in one go, not value by value.
  Transaction seeding(DeviceDb());
  if (!options.empty) SeedPhoneKeys();
  // The installer's Today item: where the item's library lies.
  WithKey(HKEY_LOCAL_MACHINE, kInstalledProduct.todayItemKey,
          [](HKEY key) { SetText(key, u"DLL", kInstalledProduct.todayItemDll); });
  seeding.Commit();
}

}  // namespace platform
