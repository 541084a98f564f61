// LocateInstallFolder: the "DLL" value of the store's root key without its
// "\Selvane.dll" ending, or the default folder.
#include "store/install_folder.h"

#include <vector>

#include "store/mode_store.h"

// Reads "DLL" whole into `path` (terminated); false when the key or value
// is missing. The size is asked first and the read retried should another
// program lengthen the value in between.
static bool ReadPluginPath(std::vector<WCHAR>* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return false;
  bool found = false;
  for (int attempt = 0; attempt < 3 && !found; ++attempt) {
    DWORD bytes = 0;
    if (RegQueryValueExW(key, DLL_VALUE, nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS) break;
    // One unit more than the data, so that a value stored without its
    // terminator (or with an odd length) still ends in one.
    path->assign(bytes / sizeof(WCHAR) + 2, 0);
    DWORD room = bytes;
    LONG status = RegQueryValueExW(key, DLL_VALUE, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(path->data()), &room);
    if (status == ERROR_SUCCESS) found = true;
    else if (status != ERROR_MORE_DATA) break;
  }
  RegCloseKey(key);
  return found;
}

int LocateInstallFolder(WCHAR* folder, int capacity) {
  std::vector<WCHAR> path;
  const WCHAR* source = DEFAULT_INSTALL_FOLDER;
  int length = static_cast<int>(wcslen(DEFAULT_INSTALL_FOLDER));
  if (ReadPluginPath(&path)) {
    int pathLength = static_cast<int>(wcslen(path.data()));
    int suffixLength = static_cast<int>(wcslen(PLUGIN_FILE_SUFFIX));
    if (pathLength >= suffixLength) {
      source = path.data();
      length = pathLength - suffixLength;
    }
  }
  if (folder && capacity > 0) {
    int copied = length < capacity - 1 ? length : capacity - 1;
    for (int i = 0; i < copied; ++i) folder[i] = source[i];
    folder[copied] = 0;
  }
  return length;
}

void LocateFittingInstallFolder(WCHAR* folder, int capacity) {
  if (capacity <= 0) return;
  int length = LocateInstallFolder(folder, capacity);
  if (length >= capacity) wcsncpy(folder, DEFAULT_INSTALL_FOLDER, capacity);
  folder[capacity - 1] = 0;
}
