// The phone's file calls: folder search (FindFirstFileW, FindNextFileW,
// FindClose), folders, deleting and attributes, over device paths.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>

#include <windows.h>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../text/utf.h"
#include "../time/civil_time.h"
#include "files.h"

namespace fs = std::filesystem;

namespace {

struct FoundEntry {
  std::u16string name;
  std::u16string folded;
  DWORD attributes;
  uint64_t size;
  uint64_t writeTime;  // FILETIME units
};

// One open search: the folder's matching entries, taken when the search
// started, and the next one to report.
struct Search {
  std::vector<FoundEntry> entries;
  size_t next = 0;
};

std::mutex g_searchMutex;
std::map<HANDLE, std::unique_ptr<Search>> g_searches;

// Unix time to FILETIME units (100 ns since 1601-01-01).
uint64_t ToFileTime(const struct timespec& t) {
  const auto instant = std::chrono::sys_seconds{std::chrono::seconds{t.tv_sec}} + std::chrono::nanoseconds{t.tv_nsec};
  return static_cast<uint64_t>(platform::FileTimeTicksOf(std::chrono::floor<platform::FileTimeTicks>(instant)));
}

// "*" any run of units, "?" exactly one; both sides already case-folded.
bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
  size_t n = 0, p = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

void FillFindData(const FoundEntry& entry, LPWIN32_FIND_DATAW found) {
  *found = WIN32_FIND_DATAW{};
  found->dwFileAttributes = entry.attributes;
  FILETIME time{static_cast<DWORD>(entry.writeTime), static_cast<DWORD>(entry.writeTime >> 32)};
  found->ftCreationTime = time;
  found->ftLastAccessTime = time;
  found->ftLastWriteTime = time;
  found->nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
  found->nFileSizeLow = static_cast<DWORD>(entry.size);
  std::copy(entry.name.begin(), entry.name.end(), found->cFileName);
  found->cFileName[entry.name.size()] = 0;
}

// The folder's entries whose folded names match the folded pattern, in
// ascending order of folded name. Names too long for cFileName, links and
// anything else that is no plain file or folder are left out.
std::vector<FoundEntry> MatchingEntries(platform::HostFd folder, const std::u16string& pattern) {
  std::vector<FoundEntry> entries;
  int listing = openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  DIR* dir = listing >= 0 ? fdopendir(listing) : nullptr;
  if (!dir) {
    if (listing >= 0) close(listing);
    return entries;
  }
  while (dirent* found = readdir(dir)) {
    std::string hostName = found->d_name;
    if (hostName == "." || hostName == "..") continue;
    std::u16string name = platform::Utf8ToUtf16(hostName);
    if (name.size() >= MAX_PATH) continue;
    std::u16string folded = platform::FoldName(name);
    if (!MatchesPattern(folded, pattern)) continue;
    struct stat info;
    DWORD attributes = platform::HostFileAttributesAt(folder.get(), hostName);
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        fstatat(folder.get(), hostName.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
      continue;
    uint64_t size = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : static_cast<uint64_t>(info.st_size);
    entries.push_back({name, folded, attributes, size, ToFileTime(info.st_mtim)});
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const FoundEntry& a, const FoundEntry& b) {
    return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
  });
  return entries;
}

// The existing entry a device path names, or nothing with the error set.
std::optional<platform::DeviceEntry> ExistingEntry(LPCWSTR path) {
  DWORD error = ERROR_INVALID_PARAMETER;
  auto entry = path ? platform::LocateDeviceEntry(path, &error) : std::nullopt;
  if (entry && !entry->exists) {
    error = ERROR_FILE_NOT_FOUND;
    entry.reset();
  }
  if (!entry) SetLastError(error);
  return entry;
}

// Turns a failed host call into its error: a full or read-only file system
// as such, anything else ERROR_ACCESS_DENIED.
BOOL HostResult(int result) {
  if (result == 0) return TRUE;
  SetLastError(platform::ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
  return FALSE;
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found) try {
  if (!pattern || !found) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  DWORD error = 0;
  std::vector<std::u16string> components;
  if (!platform::SplitDevicePath(pattern, &components, &error) || components.empty()) {
    SetLastError(components.empty() && error == 0 ? ERROR_FILE_NOT_FOUND : error);
    return INVALID_HANDLE_VALUE;
  }
  std::u16string namePattern = platform::FoldName(components.back());
  components.pop_back();
  if (namePattern == u"*.*") namePattern.resize(1);  // "*": the runtime's "every name"

  std::u16string folderPath = u"\\";
  for (const auto& part : components) folderPath += part + u"\\";
  platform::HostFd folder = platform::OpenDeviceFolder(folderPath, &error);
  if (!folder) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_unique<Search>();
  search->entries = MatchingEntries(std::move(folder), namePattern);
  if (search->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  FillFindData(search->entries[0], found);
  search->next = 1;
  HANDLE handle = search.get();
  std::lock_guard<std::mutex> lock(g_searchMutex);
  g_searches.emplace(handle, std::move(search));
  return handle;
} catch (...) {
  return platform::FailedCall(INVALID_HANDLE_VALUE);
}

BOOL FindNextFileW(HANDLE handle, LPWIN32_FIND_DATAW found) {
  std::lock_guard<std::mutex> lock(g_searchMutex);
  auto it = g_searches.find(handle);
  if (it == g_searches.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!found) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Search& search = *it->second;
  if (search.next >= search.entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  FillFindData(search.entries[search.next++], found);
  return TRUE;
}

BOOL FindClose(HANDLE handle) {
  std::lock_guard<std::mutex> lock(g_searchMutex);
  if (g_searches.erase(handle) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) try {
  DWORD error = ERROR_INVALID_PARAMETER;
  auto entry = path ? platform::LocateDeviceEntry(path, &error) : std::nullopt;
  if (!entry) {
    SetLastError(error);
    return FALSE;
  }
  if (entry->exists) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  if (mkdirat(entry->folder.get(), entry->name.c_str(), 0777) != 0) {
    SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : platform::ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    return FALSE;
  }
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}

BOOL RemoveDirectoryW(LPCWSTR path) try {
  auto entry = ExistingEntry(path);
  if (!entry) return FALSE;
  if (!(platform::HostFileAttributesAt(entry->folder.get(), entry->name) & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (unlinkat(entry->folder.get(), entry->name.c_str(), AT_REMOVEDIR) != 0) {
    SetLastError(errno == ENOTEMPTY || errno == EEXIST ? ERROR_DIR_NOT_EMPTY
                                                       : platform::ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    return FALSE;
  }
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}

BOOL DeleteFileW(LPCWSTR path) try {
  auto entry = ExistingEntry(path);
  if (!entry) return FALSE;
  DWORD attributes = platform::HostFileAttributesAt(entry->folder.get(), entry->name);
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return HostResult(unlinkat(entry->folder.get(), entry->name.c_str(), 0));
} catch (...) {
  return platform::FailedCall(FALSE);
}

DWORD GetFileAttributesW(LPCWSTR path) try {
  DWORD error = ERROR_INVALID_PARAMETER;
  std::vector<std::u16string> components;
  if (path && platform::SplitDevicePath(path, &components, &error) && components.empty())
    return platform::OpenDeviceFolder(path, &error) ? FILE_ATTRIBUTE_DIRECTORY : INVALID_FILE_ATTRIBUTES;
  auto entry = ExistingEntry(path);
  if (!entry) return INVALID_FILE_ATTRIBUTES;
  return platform::HostFileAttributesAt(entry->folder.get(), entry->name);
} catch (...) {
  return platform::FailedCall(DWORD{INVALID_FILE_ATTRIBUTES});
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) try {
  auto entry = ExistingEntry(path);
  if (!entry) return FALSE;
  platform::HostFd file(openat(entry->folder.get(), entry->name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info;
  if (!file || fstat(file.get(), &info) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (info.st_mode & ~S_IWUSR) : (info.st_mode | S_IWUSR);
  return HostResult(fchmod(file.get(), mode & 07777));
} catch (...) {
  return platform::FailedCall(FALSE);
}
