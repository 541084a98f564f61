// Device path resolution: phone paths below fs/, found without regard to
// case, never leading outside fs/ (no "." or "..", no symbolic links). Each
// folder on the way is opened below the one before it with O_NOFOLLOW, so a
// link planted anywhere, even while the walk runs, stops it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include <windows.h>

#include "../device/device.h"
#include "../text/text_fold.h"
#include "../text/utf.h"
#include "files.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Characters a phone file name may not contain.
bool IsValidNewName(std::u16string_view name) {
  for (char16_t c : name) {
    if (c < 0x20) return false;
    if (std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) return false;
  }
  return true;
}

// A plain file or folder of the open folder, not a link or a device node.
bool IsPlainEntryAt(int folder, const std::string& name) {
  struct stat info;
  if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
  return S_ISREG(info.st_mode) || S_ISDIR(info.st_mode);
}

// The entry of the open folder whose name folds to `name`'s; the exact
// spelling wins, then the first such name in byte order.
std::optional<std::string> FindEntryAt(int folder, const std::u16string& name) {
  std::string exact = Utf16ToUtf8(name);
  if (IsPlainEntryAt(folder, exact)) return exact;
  // A listing of its own, so that the folder's descriptor keeps its place.
  int listing = openat(folder, ".", kFolderFlags);
  if (listing < 0) return std::nullopt;
  DIR* dir = fdopendir(listing);
  if (!dir) {
    close(listing);
    return std::nullopt;
  }
  std::u16string folded = FoldName(name);
  std::optional<std::string> best;
  while (dirent* entry = readdir(dir)) {
    std::string entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (FoldName(Utf8ToUtf16(entryName)) != folded) continue;
    if (!IsPlainEntryAt(folder, entryName)) continue;
    if (!best || entryName < *best) best = entryName;
  }
  closedir(dir);
  return best;
}

// fs/ itself, which must be a real folder of the device.
HostFd OpenFsRoot() { return HostFd(open(DeviceFsRoot().c_str(), kFolderFlags)); }

// Opens the first `count` components below fs/, each an existing folder.
HostFd WalkFolders(const std::vector<std::u16string>& components, size_t count, DWORD* error) {
  HostFd folder = OpenFsRoot();
  if (!folder) {
    *error = ERROR_PATH_NOT_FOUND;
    return HostFd();
  }
  for (size_t i = 0; i < count; ++i) {
    auto name = FindEntryAt(folder.get(), components[i]);
    HostFd next(name ? openat(folder.get(), name->c_str(), kFolderFlags) : -1);
    if (!next) {
      *error = ERROR_PATH_NOT_FOUND;
      return HostFd();
    }
    folder = std::move(next);
  }
  return folder;
}

}  // namespace

HostFd::~HostFd() {
  if (fd_ >= 0) close(fd_);
}

HostFd& HostFd::operator=(HostFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.release();
  }
  return *this;
}

int HostFd::release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

std::u16string FoldName(std::u16string_view name) { return FoldCase(name); }

bool SplitDevicePath(std::u16string_view path, std::vector<std::u16string>* components, DWORD* error) {
  components->clear();
  if (path.empty() || !IsSeparator(path[0])) {
    *error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  size_t start = 0;
  while (start < path.size()) {
    while (start < path.size() && IsSeparator(path[start])) ++start;
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (end > start) {
      std::u16string part(path.substr(start, end - start));
      if (part == u"." || part == u"..") {
        *error = ERROR_PATH_NOT_FOUND;
        return false;
      }
      components->push_back(std::move(part));
    }
    start = end;
  }
  return true;
}

std::optional<DeviceEntry> LocateDeviceEntry(std::u16string_view path, DWORD* error) {
  std::vector<std::u16string> components;
  if (!SplitDevicePath(path, &components, error)) return std::nullopt;
  if (components.empty()) {
    *error = ERROR_ACCESS_DENIED;  // the root is no entry of a folder
    return std::nullopt;
  }
  DeviceEntry entry;
  entry.folder = WalkFolders(components, components.size() - 1, error);
  if (!entry.folder) return std::nullopt;
  const std::u16string& name = components.back();
  if (auto existing = FindEntryAt(entry.folder.get(), name)) {
    entry.name = *existing;
    entry.exists = true;
    return entry;
  }
  if (!IsValidNewName(name)) {
    *error = ERROR_INVALID_NAME;
    return std::nullopt;
  }
  entry.name = Utf16ToUtf8(name);
  return entry;
}

HostFd OpenDeviceFolder(std::u16string_view path, DWORD* error) {
  std::vector<std::u16string> components;
  if (!SplitDevicePath(path, &components, error)) return HostFd();
  return WalkFolders(components, components.size(), error);
}

int OpenDeviceFile(std::u16string_view path, int flags, DWORD* error) {
  auto entry = LocateDeviceEntry(path, error);
  if (!entry) return -1;
  int fd;
  if (entry->exists) {
    fd = openat(entry->folder.get(), entry->name.c_str(), (flags & ~(O_CREAT | O_EXCL)) | O_NOFOLLOW | O_CLOEXEC);
  } else if (flags & O_CREAT) {
    fd = openat(entry->folder.get(), entry->name.c_str(), flags | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  } else {
    *error = ERROR_FILE_NOT_FOUND;
    return -1;
  }
  if (fd < 0) {
    *error = ERROR_ACCESS_DENIED;
    return -1;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    *error = ERROR_ACCESS_DENIED;
    return -1;
  }
  return fd;
}

bool ReadDeviceFile(std::u16string_view path, size_t limit, std::string* bytes, DWORD* error) {
  DWORD ignored;
  if (!error) error = &ignored;
  HostFd file(OpenDeviceFile(path, O_RDONLY, error));
  if (!file) return false;
  struct stat info;
  if (fstat(file.get(), &info) != 0 || size_t(info.st_size) > limit) {
    *error = ERROR_INVALID_DATA;
    return false;
  }
  bytes->assign(size_t(info.st_size), '\0');
  size_t done = 0;
  while (done < bytes->size()) {
    ssize_t got = read(file.get(), bytes->data() + done, bytes->size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      *error = ERROR_INVALID_DATA;
      return false;
    }
    done += size_t(got);
  }
  return true;
}

std::optional<fs::path> ResolveDevicePath(std::u16string_view path, DWORD* error) {
  DWORD ignored;
  if (!error) error = &ignored;
  std::vector<std::u16string> components;
  if (!SplitDevicePath(path, &components, error)) return std::nullopt;
  HostFd folder = OpenFsRoot();
  fs::path host = DeviceFsRoot();
  for (size_t i = 0; i < components.size(); ++i) {
    auto name = folder ? FindEntryAt(folder.get(), components[i]) : std::nullopt;
    if (!name) {
      *error = (i + 1 == components.size()) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
      return std::nullopt;
    }
    host /= *name;
    if (i + 1 < components.size()) folder = HostFd(openat(folder.get(), name->c_str(), kFolderFlags));
  }
  return host;
}

DWORD HostFileAttributesAt(int folder, const std::string& name) {
  struct stat info;
  if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return INVALID_FILE_ATTRIBUTES;
  DWORD attributes;
  if (S_ISDIR(info.st_mode))
    attributes = FILE_ATTRIBUTE_DIRECTORY;
  else if (S_ISREG(info.st_mode))
    attributes = FILE_ATTRIBUTE_ARCHIVE;
  else
    return INVALID_FILE_ATTRIBUTES;
  if (!(info.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

void WriteDeviceFile(std::u16string_view path, std::string_view content) {
  DWORD error = 0;
  std::vector<std::u16string> components;
  if (!SplitDevicePath(path, &components, &error) || components.empty())
    throw std::runtime_error("bad device path " + Utf16ToUtf8(path));
  HostFd folder = OpenFsRoot();
  for (size_t i = 0; folder && i + 1 < components.size(); ++i) {
    auto name = FindEntryAt(folder.get(), components[i]);
    std::string host = name ? *name : Utf16ToUtf8(components[i]);
    if (!name) mkdirat(folder.get(), host.c_str(), 0777);
    folder = HostFd(openat(folder.get(), host.c_str(), kFolderFlags));
  }
  if (!folder) throw std::runtime_error("cannot make the folder of " + Utf16ToUtf8(path));
  HostFd file(OpenDeviceFile(path, O_WRONLY | O_CREAT | O_TRUNC, &error));
  size_t done = 0;
  while (file && done < content.size()) {
    ssize_t wrote = write(file.get(), content.data() + done, content.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) break;
    done += size_t(wrote);
  }
  if (!file || done != content.size()) throw std::runtime_error("cannot write " + Utf16ToUtf8(path));
}

}  // namespace platform
