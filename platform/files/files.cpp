// The phone's file calls: folder search (FindFirstFileW, FindNextFileW,
// FindClose), folders, deleting and attributes, over device paths.
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>

#include "device/device.h"
#include "files/files.h"
#include "text/utf.h"
#include "winfile.h"

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
  const uint64_t kEpochDifference = 116444736000000000ULL;
  return kEpochDifference + static_cast<uint64_t>(t.tv_sec) * 10000000ULL + static_cast<uint64_t>(t.tv_nsec) / 100;
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
// ascending order of folded name. Names too long for cFileName are left out.
std::vector<FoundEntry> MatchingEntries(const fs::path& folder, const std::u16string& pattern) {
  std::vector<FoundEntry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::u16string name = platform::Utf8ToUtf16(it->path().filename().string());
    if (name.size() >= MAX_PATH) continue;
    std::u16string folded = platform::FoldName(name);
    if (!MatchesPattern(folded, pattern)) continue;
    struct stat info;
    DWORD attributes = platform::HostFileAttributes(it->path());
    if (attributes == INVALID_FILE_ATTRIBUTES || lstat(it->path().c_str(), &info) != 0) continue;
    uint64_t size = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : static_cast<uint64_t>(info.st_size);
    entries.push_back({name, folded, attributes, size, ToFileTime(info.st_mtim)});
  }
  std::sort(entries.begin(), entries.end(), [](const FoundEntry& a, const FoundEntry& b) {
    return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
  });
  return entries;
}

// Runs a file call, turning a host failure into ERROR_ACCESS_DENIED.
template <typename Work>
BOOL HostCall(Work work) {
  std::error_code ec;
  work(ec);
  if (ec) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
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
  if (namePattern == u"*.*") namePattern = u"*";  // the runtime's "every name"

  std::u16string folderPath = u"\\";
  for (const auto& part : components) folderPath += part + u"\\";
  auto folder = platform::ResolveDevicePath(folderPath, &error);
  std::error_code ec;
  if (!folder || !fs::is_directory(*folder, ec)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_unique<Search>();
  search->entries = MatchingEntries(*folder, namePattern);
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

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
  DWORD error = ERROR_INVALID_PARAMETER;
  auto host = path ? platform::ResolveNewDevicePath(path, &error) : std::nullopt;
  if (!host) {
    SetLastError(error);
    return FALSE;
  }
  std::error_code ec;
  if (fs::exists(fs::symlink_status(*host, ec))) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  return HostCall([&](std::error_code& e) { fs::create_directory(*host, e); });
}

BOOL RemoveDirectoryW(LPCWSTR path) {
  DWORD error = ERROR_INVALID_PARAMETER;
  auto host = path ? platform::ResolveDevicePath(path, &error) : std::nullopt;
  if (!host) {
    SetLastError(error);
    return FALSE;
  }
  std::error_code ec;
  if (*host == platform::DeviceFsRoot() || !fs::is_directory(*host, ec)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!fs::is_empty(*host, ec)) {
    SetLastError(ERROR_DIR_NOT_EMPTY);
    return FALSE;
  }
  return HostCall([&](std::error_code& e) { fs::remove(*host, e); });
}

BOOL DeleteFileW(LPCWSTR path) {
  DWORD error = ERROR_INVALID_PARAMETER;
  auto host = path ? platform::ResolveDevicePath(path, &error) : std::nullopt;
  if (!host) {
    SetLastError(error);
    return FALSE;
  }
  DWORD attributes = platform::HostFileAttributes(*host);
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return HostCall([&](std::error_code& e) { fs::remove(*host, e); });
}

DWORD GetFileAttributesW(LPCWSTR path) {
  DWORD error = ERROR_INVALID_PARAMETER;
  auto host = path ? platform::ResolveDevicePath(path, &error) : std::nullopt;
  if (!host) {
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
  }
  return platform::HostFileAttributes(*host);
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
  DWORD error = ERROR_INVALID_PARAMETER;
  auto host = path ? platform::ResolveDevicePath(path, &error) : std::nullopt;
  if (!host) {
    SetLastError(error);
    return FALSE;
  }
  return HostCall([&](std::error_code& e) {
    fs::permissions(*host, fs::perms::owner_write,
                    (attributes & FILE_ATTRIBUTE_READONLY) ? fs::perm_options::remove : fs::perm_options::add, e);
  });
}
