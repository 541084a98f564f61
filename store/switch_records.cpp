// Each record is one value of the store's root, written whole by a single
// RegSetValueExW and removed by a single RegDeleteValueW.
#include "store/switch_records.h"

#include "store/root_values.h"

static_assert(sizeof(ModeSwitchRecord) == 36, "the switch record keeps its stored layout");
static_assert(sizeof(TemporarySwitchRecord) == 20, "the temporary switch record keeps its stored layout");

void RecordModeSwitch(const ModeSwitchRecord* record) {
  WriteRootRecord(MODE_SWITCH_RECORD_VALUE, record, sizeof(*record));
}

BOOL ReadModeSwitchRecord(ModeSwitchRecord* record) {
  return ReadRootRecord(MODE_SWITCH_RECORD_VALUE, record, sizeof(*record));
}

void ClearModeSwitchRecord() { DeleteRootValue(MODE_SWITCH_RECORD_VALUE); }

void RecordTemporarySwitch(const TemporarySwitchRecord* record) {
  WriteRootRecord(TEMPORARY_SWITCH_RECORD_VALUE, record, sizeof(*record));
}

BOOL ReadTemporarySwitchRecord(TemporarySwitchRecord* record) {
  return ReadRootRecord(TEMPORARY_SWITCH_RECORD_VALUE, record, sizeof(*record));
}

void ClearTemporarySwitchRecord() { DeleteRootValue(TEMPORARY_SWITCH_RECORD_VALUE); }

void RecordModeApply(DWORD mode) { WriteRootDword(MODE_APPLY_RECORD_VALUE, mode); }

BOOL ReadModeApplyRecord(DWORD* mode) { return ReadRootDword(MODE_APPLY_RECORD_VALUE, mode); }

void ClearModeApplyRecord() { DeleteRootValue(MODE_APPLY_RECORD_VALUE); }
