// The caller rules of a mode: their defaults, their factory values, and
// moving them between the mode key and a CallerRules.
#include "store/caller_rules.h"

#include <strsafe.h>

#include "store/format_buffer.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/record_save.h"
#include "store/registry_values.h"

// The factory mode that lets a second call ring.
#define NIGHT_MODE 2

CallerRules NoCallerRules() {
  CallerRules rules;
  rules.AllowCategory[0] = 0;
  rules.AllowVolume = ALLOW_VOLUME_LOUDEST;
  rules.RepeatCalls = 0;
  return rules;
}

CallerRules FactoryCallerRules(DWORD mode) {
  CallerRules rules = NoCallerRules();
  if (mode == NIGHT_MODE) rules.RepeatCalls = 1;
  return rules;
}

CallerRules LoadCallerRules(LPCWSTR keyName) {
  CallerRules rules = NoCallerRules();
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  wsprintfW(path, MODE_KEY_FORMAT, keyName);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return rules;
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key, ALLOW_CATEGORY_VALUE, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
      type == REG_SZ)
    ReadTextValue(key, ALLOW_CATEGORY_VALUE, rules.AllowCategory, CATEGORY_WIDTH);
  ReadTypedDwordValue(key, ALLOW_VOLUME_VALUE, &rules.AllowVolume);
  ReadTypedDwordValue(key, REPEAT_CALLS_VALUE, &rules.RepeatCalls);
  RegCloseKey(key);
  if (rules.AllowVolume < ALLOW_VOLUME_LOWEST || rules.AllowVolume > ALLOW_VOLUME_LOUDEST)
    rules.AllowVolume = ALLOW_VOLUME_LOUDEST;
  rules.RepeatCalls = rules.RepeatCalls != 0;
  return rules;
}

void SaveCallerRules(LPCWSTR keyName, const CallerRules* rules) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  wsprintfW(path, MODE_KEY_FORMAT, RecordWriteKeyName(keyName));
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  WriteTextValue(key, ALLOW_CATEGORY_VALUE, rules->AllowCategory, CATEGORY_WIDTH);
  WriteDwordValue(key, ALLOW_VOLUME_VALUE, rules->AllowVolume);
  WriteDwordValue(key, REPEAT_CALLS_VALUE, rules->RepeatCalls);
  RegCloseKey(key);
}
