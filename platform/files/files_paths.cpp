// Device path resolution: phone paths below fs/, found without regard to
// case, never leading outside fs/ (no "." or "..", no symbolic links).
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <system_error>

#include "device/device.h"
#include "files/files.h"
#include "text/text_fold.h"
#include "text/utf.h"
#include "winfile.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Characters a phone file name may not contain.
bool IsValidNewName(std::u16string_view name) {
  for (char16_t c : name) {
    if (c < 0x20) return false;
    if (std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) return false;
  }
  return true;
}

// A plain file or folder, not a link or a device node.
bool IsPlainEntry(const fs::path& host) {
  struct stat info;
  if (lstat(host.c_str(), &info) != 0) return false;
  return S_ISREG(info.st_mode) || S_ISDIR(info.st_mode);
}

// The entry of `folder` whose name folds to `folded`; the exact spelling
// wins, then the first such name in byte order.
std::optional<fs::path> FindEntry(const fs::path& folder, const std::u16string& name,
                                  const std::u16string& folded) {
  fs::path exact = folder / Utf16ToUtf8(name);
  if (IsPlainEntry(exact)) return exact;
  std::optional<std::string> best;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entryName = it->path().filename().string();
    if (FoldName(Utf8ToUtf16(entryName)) != folded) continue;
    if (!IsPlainEntry(it->path())) continue;
    if (!best || entryName < *best) best = entryName;
  }
  if (!best) return std::nullopt;
  return folder / *best;
}

// Walks the components below fs/; each must exist, all but the last as a folder.
std::optional<fs::path> WalkComponents(const std::vector<std::u16string>& components, size_t count,
                                       DWORD* error) {
  fs::path host = DeviceFsRoot();
  for (size_t i = 0; i < count; ++i) {
    std::error_code ec;
    if (!fs::is_directory(host, ec)) {
      *error = ERROR_PATH_NOT_FOUND;
      return std::nullopt;
    }
    auto next = FindEntry(host, components[i], FoldName(components[i]));
    if (!next) {
      *error = (i + 1 == count) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
      return std::nullopt;
    }
    host = *next;
  }
  return host;
}

}  // namespace

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

std::optional<fs::path> ResolveDevicePath(std::u16string_view path, DWORD* error) {
  DWORD ignored;
  if (!error) error = &ignored;
  std::vector<std::u16string> components;
  if (!SplitDevicePath(path, &components, error)) return std::nullopt;
  return WalkComponents(components, components.size(), error);
}

std::optional<fs::path> ResolveNewDevicePath(std::u16string_view path, DWORD* error) {
  DWORD ignored;
  if (!error) error = &ignored;
  std::vector<std::u16string> components;
  if (!SplitDevicePath(path, &components, error)) return std::nullopt;
  if (components.empty()) {
    *error = ERROR_ACCESS_DENIED;  // the root itself cannot be made anew
    return std::nullopt;
  }
  auto folder = WalkComponents(components, components.size() - 1, error);
  if (!folder) {
    *error = ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  std::error_code ec;
  if (!fs::is_directory(*folder, ec)) {
    *error = ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  const std::u16string& name = components.back();
  if (auto existing = FindEntry(*folder, name, FoldName(name))) return existing;
  if (!IsValidNewName(name)) {
    *error = ERROR_INVALID_NAME;
    return std::nullopt;
  }
  return *folder / Utf16ToUtf8(name);
}

DWORD HostFileAttributes(const fs::path& host) {
  struct stat info;
  if (lstat(host.c_str(), &info) != 0) return INVALID_FILE_ATTRIBUTES;
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
  fs::path host = DeviceFsRoot();
  for (size_t i = 0; i + 1 < components.size(); ++i) {
    auto next = FindEntry(host, components[i], FoldName(components[i]));
    host = next ? *next : host / Utf16ToUtf8(components[i]);
    fs::create_directories(host);
  }
  auto existing = FindEntry(host, components.back(), FoldName(components.back()));
  fs::path file = existing ? *existing : host / Utf16ToUtf8(components.back());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace platform
