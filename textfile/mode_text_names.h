// The names that stand in the lines of a mode text file. A value line reads
// "\t<LABEL : VALUE>\n" or "\t<LABEL not found>\n"; the import looks for "<LABEL".
#pragma once

#include <windows.h>

// The value lines themselves follow the table of a mode's values
// (store/mode_table.h): its labels, in its order.

// The notification block: one entry is a "Notification" line followed by its
// three value lines, in this order.
inline constexpr WCHAR kTextNotification[] = TEXT("Notification");
inline constexpr WCHAR kTextOptions[] = TEXT("Options");
inline constexpr WCHAR kTextDuration[] = TEXT("Duration");
inline constexpr WCHAR kTextWave[] = TEXT("Wave");

// Lines and parts of lines.
inline constexpr WCHAR kBlockStartFormat[] = TEXT("<%s>\n");
inline constexpr WCHAR kBlockEndFormat[] = TEXT("<\\%s>\n\n");
inline constexpr WCHAR kStartMarkerFormat[] = TEXT("<%s>");
inline constexpr WCHAR kEndMarkerFormat[] = TEXT("<\\%s>");
inline constexpr WCHAR kNotFound[] = TEXT("not found");
