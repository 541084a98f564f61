// Mode text files: one mode of the settings store as a small text file that
// the user can keep, edit with a text editor and carry to another phone.
#pragma once

#include <windows.h>
#include <cstdio>

// The file of mode N in the install folder, and the name of its block (the
// name of the mode's key in the settings store).
inline constexpr WCHAR kModeTextFileFormat[] = TEXT("%s\\SelvaneMode%d.txt");
inline constexpr WCHAR kModeSectionFormat[] = TEXT("Mode %d");

// Writes the block of the stored mode `sectionName` to an open text stream:
// its opening line, one line per value, its notification entries and its
// closing line. Values that cannot be read are written as "not found" lines.
// Returns 0.
int ExportModeText(FILE* file, LPCWSTR sectionName);

// Reads the block of `sectionName` from an open text stream and stores what
// it finds: ReadModeValues, then ReadModeNotifications. Returns 0.
int ImportModeText(FILE* file, LPCWSTR sectionName);

// First pass: builds a whole mode from the block's value lines (keys found
// anywhere in a line, in any order, fixed values for what is missing) and
// saves it into the existing mode key once the block's end line is read.
// Returns 0.
int ReadModeValues(FILE* file, LPCWSTR sectionName);

// Second pass: saves each notification entry of the block under the mode.
// Returns 0.
int ReadModeNotifications(FILE* file, LPCWSTR sectionName);
