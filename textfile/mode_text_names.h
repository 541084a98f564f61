// The names that stand in the lines of a mode text file. A value line reads
// "\t<NAME : VALUE>\n" or "\t<NAME not found>\n"; the import looks for "<NAME".
#pragma once

#include "windows.h"

// The thirty values of a mode, in file order. They are also the names under
// which the export reads the settings store; the registry matches value names
// without regard to case, so "Brightness" finds the stored "BrightNess".
inline constexpr WCHAR kTextSystemVolume[] = u"System Volume";
inline constexpr WCHAR kTextPhoneVolume[] = u"Phone Volume";
inline constexpr WCHAR kTextSpeakerVolume[] = u"Speaker Volume";
inline constexpr WCHAR kTextRingMode[] = u"Ring Mode";
inline constexpr WCHAR kTextRingTone[] = u"Ring Tone";
inline constexpr WCHAR kTextRadioState[] = u"Radio State";
inline constexpr WCHAR kTextBTState[] = u"BT State";
inline constexpr WCHAR kTextHeadsetState[] = u"Headset State";
inline constexpr WCHAR kTextStartHour[] = u"StartHour";
inline constexpr WCHAR kTextStartMinutes[] = u"StartMinutes";
inline constexpr WCHAR kTextStopHour[] = u"StopHour";
inline constexpr WCHAR kTextStopMinutes[] = u"StopMinutes";
inline constexpr WCHAR kTextModeBack[] = u"ModeBack";
inline constexpr WCHAR kTextAutoPickUp[] = u"AutoPickUp";
inline constexpr WCHAR kTextNbRingPickUp[] = u"NbRingPickUp";
inline constexpr WCHAR kTextSimCode[] = u"Sim Code";
inline constexpr WCHAR kTextModeName[] = u"Mode Name";
inline constexpr WCHAR kTextSound[] = u"Sound";
inline constexpr WCHAR kTextDays[] = u"Days";
inline constexpr WCHAR kTextOutlookSwitch[] = u"OutlookSwitch";
inline constexpr WCHAR kTextOutlookAutoRefresh[] = u"OutlookAutoRefresh";
inline constexpr WCHAR kTextModeBusy[] = u"ModeBusy";
inline constexpr WCHAR kTextStatus[] = u"Status";
inline constexpr WCHAR kTextCategory[] = u"Category";
inline constexpr WCHAR kTextProgramToRun[] = u"ProgramToRun";
inline constexpr WCHAR kTextBrightness[] = u"Brightness";
inline constexpr WCHAR kTextACBrightness[] = u"ACBrightness";
inline constexpr WCHAR kTextBatteryTimeoutUnchecked[] = u"BatteryTimeoutUnchecked";
inline constexpr WCHAR kTextBatteryTimeout[] = u"BatteryTimeout";
inline constexpr WCHAR kTextBacklightOnTap[] = u"BacklightOnTap";

// The notification block: one entry is a "Notification" line followed by its
// three value lines, in this order.
inline constexpr WCHAR kTextNotification[] = u"Notification";
inline constexpr WCHAR kTextOptions[] = u"Options";
inline constexpr WCHAR kTextDuration[] = u"Duration";
inline constexpr WCHAR kTextWave[] = u"Wave";

// Lines and parts of lines.
inline constexpr WCHAR kBlockStartFormat[] = u"<%s>\n";
inline constexpr WCHAR kBlockEndFormat[] = u"<\\%s>\n\n";
inline constexpr WCHAR kStartMarkerFormat[] = u"<%s>";
inline constexpr WCHAR kEndMarkerFormat[] = u"<\\%s>";
inline constexpr WCHAR kNotFound[] = u"not found";
