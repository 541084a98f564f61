// ApplyMode: every phone setting of a mode, one setter after the other, in
// the order the phone expects; the radio switches on its own thread and
// Bluetooth in the helper program's process.
#include "phone/apply_mode.h"

#include "phone/backlight_settings.h"
#include "phone/bluetooth_control.h"
#include "phone/radio_switch.h"
#include "phone/sound_settings.h"

int ApplyMode(void* context, ModeRecord mode) {
  // The record came from a caller: keep its texts within their fields.
  mode.RingMode[RING_MODE_WIDTH - 1] = 0;
  mode.RingTone[RING_TONE_WIDTH - 1] = 0;
  mode.SimCode[SIM_CODE_WIDTH - 1] = 0;

  StartBluetoothHelper(mode.BTState);
  SetHeadsetProfile(context, mode.HeadsetState);
  SetSystemVolume(context, SystemVolumeLevel(mode.SystemVolume));
  SetRingerVolume(context, RingerVolumeLevel(mode.PhoneVolume));
  SetPhoneVolume(context, PhoneVolumeLevel(mode.SpeakerVolume));
  SetRingScript(context, mode.RingMode);
  SetRingSound(context, mode.RingTone);
  SetAutoPickUp(context, mode.AutoPickUp, mode.NbRingPickUp);
  SetSoundMute(context, mode.Sound);
  SetBacklightOnTap(context, mode.BacklightOnTap);
  SetBatteryTimeoutUnchecked(context, mode.BatteryTimeoutUnchecked);
  SetBatteryTimeout(context, mode.BatteryTimeout);
  SetACBrightness(context, mode.ACBrightNess);
  SetBrightness(context, mode.BrightNess);
  // The radio thread gets its own copy of the SIM code with its start.
  StartRadioSwitch(mode.RadioState, mode.SimCode);
  AudioUpdateFromRegistry();
  SignalBacklightChange();
  return 0;
}
