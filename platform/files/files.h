// Device paths inside the platform: how a phone path such as
// "\windows\rings" finds its host file below the device's fs/ folder. Every
// host entry is reached by opening its folders one by one below fs/, never
// following a symbolic link, so no file call reads or writes outside it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace platform {

// A host file descriptor, closed when it goes.
class HostFd {
 public:
  HostFd() = default;
  explicit HostFd(int fd) : fd_(fd) {}
  ~HostFd();
  HostFd(HostFd&& other) noexcept : fd_(other.release()) {}
  HostFd& operator=(HostFd&& other) noexcept;
  HostFd(const HostFd&) = delete;
  HostFd& operator=(const HostFd&) = delete;
  int get() const { return fd_; }
  int release();
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The components of an absolute device path ("\" or "/" separated; empty
// components ignored). Fails with ERROR_PATH_NOT_FOUND for a relative path
// or a "." or ".." component.
bool SplitDevicePath(std::u16string_view path, std::vector<std::u16string>* components, DWORD* error);

// Where a device path lies: its folder, open, and the host name of its last
// component in it. An existing plain file or folder is found without regard
// to case (`exists`); otherwise `name` is the name as given, for a new
// entry. A link in the folder is never taken for an entry, so an entry
// made under its name must be made exclusively. The root itself has no
// folder and fails with ERROR_ACCESS_DENIED.
struct DeviceEntry {
  HostFd folder;
  std::string name;
  bool exists = false;
};
std::optional<DeviceEntry> LocateDeviceEntry(std::u16string_view path, DWORD* error);

// The fs/ folder itself, or a folder of the device, opened for listing.
HostFd OpenDeviceFolder(std::u16string_view path, DWORD* error);

// Opens a device file with open(2)'s access flags (O_RDONLY, O_WRONLY,
// O_RDWR, with O_CREAT, O_TRUNC, O_APPEND). An existing plain file is
// opened without following links; a missing one, with O_CREAT, is created
// exclusively, so a link planted under its name is refused, never written
// through. Folders fail with ERROR_ACCESS_DENIED. -1 and the error on
// failure.
int OpenDeviceFile(std::u16string_view path, int flags, DWORD* error);

// The whole content of a device file of at most `limit` bytes.
bool ReadDeviceFile(std::u16string_view path, size_t limit, std::string* bytes, DWORD* error = nullptr);

// The host path of an existing device file or folder, found without regard
// to case, for showing it; the calls above are what open it.
std::optional<std::filesystem::path> ResolveDevicePath(std::u16string_view path, DWORD* error = nullptr);

// The phone's attributes of the entry `name` in the open folder: one of
// FILE_ATTRIBUTE_DIRECTORY and FILE_ATTRIBUTE_ARCHIVE, plus
// FILE_ATTRIBUTE_READONLY when the owner may not write it.
// INVALID_FILE_ATTRIBUTES for anything else (a link, a device node).
DWORD HostFileAttributesAt(int folder, const std::string& name);

// Device names compare as the phone compares them: case-folded.
std::u16string FoldName(std::u16string_view name);

// Writes a whole device file (creating the folders on the way), for seeding.
void WriteDeviceFile(std::u16string_view path, std::string_view content);

}  // namespace platform
