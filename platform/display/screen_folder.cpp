// The screen/ folder of the device: opened as a real folder below the
// device folder, and swept of the leftovers of programs that died.
#include "screen_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

#include "../device/device.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool IsPidText(std::string_view text) {
  return !text.empty() && text.size() < 12 && std::all_of(text.begin(), text.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
}

bool EndsWith(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

// The process id a record's name, its dump's name or their temporary names
// ("PID", "PID.json", ".PID", ".PID.json") stand for; 0 for other names.
pid_t RecordOwner(std::string_view name, bool* temporary) {
  *temporary = !name.empty() && name[0] == '.';
  if (*temporary) name.remove_prefix(1);
  if (EndsWith(name, ".json")) name.remove_suffix(5);
  return IsPidText(name) ? pid_t(std::stol(std::string(name))) : 0;
}

bool ProcessRuns(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

// Removes an entry whatever it is; a folder with all it holds, its links
// removed as links.
void RemoveEntryAt(int folder, const std::string& name) {
  struct stat info;
  if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return;
  if (!S_ISDIR(info.st_mode)) {
    unlinkat(folder, name.c_str(), 0);
    return;
  }
  int inner = openat(folder, name.c_str(), kFolderFlags);
  DIR* dir = inner >= 0 ? fdopendir(inner) : nullptr;
  if (dir) {
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir))
      if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..") names.push_back(entry->d_name);
    for (const std::string& each : names) RemoveEntryAt(dirfd(dir), each);
    closedir(dir);
  } else if (inner >= 0) {
    close(inner);
  }
  unlinkat(folder, name.c_str(), AT_REMOVEDIR);
}

bool IsRegularAt(int folder, const std::string& name) {
  struct stat info;
  return fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

fs::path ScreenRecordsFolder() { return DeviceFolder() / "screen"; }

HostFd OpenScreenFolder(bool make) {
  fs::path folder = ScreenRecordsFolder();
  HostFd fd(open(folder.c_str(), kFolderFlags));
  if (fd || !make) return fd;
  struct stat info;
  if (lstat(folder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) unlink(folder.c_str());
  mkdir(folder.c_str(), 0700);
  return HostFd(open(folder.c_str(), kFolderFlags));
}

bool HeldAt(int folder, const std::string& name) {
  int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}

void ClearScreenLeftovers(int folder) {
  int listing = openat(folder, ".", kFolderFlags);
  DIR* dir = listing >= 0 ? fdopendir(listing) : nullptr;
  if (!dir) {
    if (listing >= 0) close(listing);
    return;
  }
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) names.push_back(entry->d_name);
  closedir(dir);
  for (const std::string& name : names) {
    bool temporary = false;
    pid_t owner = RecordOwner(name, &temporary);
    if (owner == 0 || owner == getpid()) continue;
    bool dump = EndsWith(name, ".json");
    bool keep;
    if (!IsRegularAt(folder, name))
      keep = false;
    else if (temporary)
      // A record or dump being made: its program runs until it is renamed.
      keep = ProcessRuns(owner);
    else if (dump)
      keep = HeldAt(folder, std::to_string(owner));
    else
      keep = HeldAt(folder, name);
    if (!keep) RemoveEntryAt(folder, name);
  }
}

}  // namespace platform
