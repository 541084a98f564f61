// Device paths inside the platform: how a phone path such as
// "\windows\rings" finds its host file below the device's fs/ folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace platform {

// The components of an absolute device path ("\" or "/" separated; empty
// components ignored). Fails with ERROR_PATH_NOT_FOUND for a relative path
// or a "." or ".." component.
bool SplitDevicePath(std::u16string_view path, std::vector<std::u16string>* components, DWORD* error);

// The host path of an existing device file or folder, found without regard
// to case. Symbolic links below fs/ never resolve, so nothing leads out of it.
std::optional<std::filesystem::path> ResolveDevicePath(std::u16string_view path, DWORD* error = nullptr);

// The host path for a file or folder that may not exist yet: its folder must
// exist; an existing entry is found without regard to case, a new name keeps
// the case it was given. Names with characters the phone forbids fail with
// ERROR_INVALID_NAME.
std::optional<std::filesystem::path> ResolveNewDevicePath(std::u16string_view path, DWORD* error = nullptr);

// The phone's attributes of a host entry: FILE_ATTRIBUTE_DIRECTORY or
// FILE_ATTRIBUTE_ARCHIVE, plus FILE_ATTRIBUTE_READONLY when the owner may
// not write it. INVALID_FILE_ATTRIBUTES for anything else.
DWORD HostFileAttributes(const std::filesystem::path& host);

// Device names compare as the phone compares them: case-folded.
std::u16string FoldName(std::u16string_view name);

// Writes a whole device file (creating the folders on the way), for seeding.
void WriteDeviceFile(std::u16string_view path, std::string_view content);

}  // namespace platform
