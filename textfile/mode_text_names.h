// The names that stand in the lines of a mode text file. A value line reads
// "\t<LABEL : VALUE>\n" or "\t<LABEL not found>\n"; the import looks for "<LABEL".
#pragma once

#include "windows.h"

// The value lines themselves follow the table of a mode's values
// (store/mode_table.h): its labels, in its order.

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
