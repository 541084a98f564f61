// Commands of the settings dialog that act on the store, on files and on
// other programs: reset, export, import, explore, run and play.
#include "settings/file_commands.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "settings/mode_binding.h"
#include "settings/resource.h"
#include "settings/settings_dialog.h"
#include "store/factory_modes.h"
#include "store/format_buffer.h"
#include "store/notification_table.h"
#include "store/record_save.h"
#include "textfile/mode_text.h"

namespace {

// How much of a control's text each command takes.
constexpr int kSoundNameUnits = 100;
constexpr int kProgramUnits = 250;
// The file-open window's result: the chosen file's whole path.
constexpr int kChosenFileUnits = 150;
constexpr int kCustomFilterUnits = 64;

constexpr WCHAR kSoundPathFormat[] = TEXT("\\windows\\%s.wav");
constexpr WCHAR kProgramFilter[] = TEXT("exe (*.exe)\0*.exe\0,lnk (*.lnk)\0*.lnk\0");
constexpr WCHAR kExploreTitle[] = TEXT("Executable files");
constexpr WCHAR kShortcutExtension[] = TEXT(".lnk");
constexpr WCHAR kProgramExtension[] = TEXT(".exe");
constexpr DWORD kRunCreationFlags = CREATE_NEW_CONSOLE;

// Shows mode EditedMode as stored, with its picture, repaints and saves
// what was marked as changed.
void ReloadAndSaveEditedMode(const WCHAR* keyName) {
  if (IsUserMode(EditedMode)) {
    LoadModeIntoControls(keyName);
    SetModeBitmapPath(EditedMode);
  }
  RepaintSettings();
  SaveEditedMode();
}

// The text file of mode EditedMode in the install folder.
void FormatModeTextPath(WCHAR* path) { wsprintfW(path, kModeTextFileFormat, InstallFolder, EditedMode); }

}  // namespace

void ResetEditedMode() {
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName((DWORD)EditedMode, keyName);
  ResetNotificationOptions(keyName);
  WriteFactoryMode(keyName);
  ShowNotificationEntry();
  ReloadAndSaveEditedMode(keyName);
}

void PlayEventSound() {
  WCHAR name[kSoundNameUnits];
  GetControlText(IDC_EVENT_SOUND, name, kSoundNameUnits);
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  wsprintfW(path, kSoundPathFormat, name);
  PlaySoundW(path, nullptr, SND_ASYNC);
}

void ExportEditedMode() {
  SaveEditedMode();
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName((DWORD)EditedMode, keyName);
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  FormatModeTextPath(path);
  FILE* file = _wfopen(path, TEXT("w"));
  if (!file) return;
  ExportModeText(file, keyName);
  fclose(file);
}

void ImportEditedMode() {
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName((DWORD)EditedMode, keyName);
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  FormatModeTextPath(path);
  FILE* file = _wfopen(path, TEXT("rt"));
  if (file) {
    // The values and the entries of the file go into the store as one record.
    BeginRecordSave(keyName);
    ImportModeText(file, keyName);
    EndRecordSave();
    fclose(file);
  }
  ReloadAndSaveEditedMode(keyName);
}

// The field takes the window's file buffer whatever the window's result,
// so a cancelled choice empties it.
void ExploreForProgram() {
  WCHAR chosen[kChosenFileUnits] = {};
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = nullptr;
  dialog.lpstrFilter = kProgramFilter;
  dialog.lpstrCustomFilter = nullptr;
  dialog.nMaxCustFilter = kCustomFilterUnits;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen;
  dialog.nMaxFile = kChosenFileUnits;
  dialog.lpstrFileTitle = nullptr;
  dialog.lpstrInitialDir = nullptr;
  dialog.lpstrTitle = kExploreTitle;
  GetOpenFileNameW(&dialog);
  SetControlText(IDC_PROGRAM, chosen);
}

// The extensions are tested as written, case and all: "\x.EXE" starts nothing.
void RunModeProgram() {
  WCHAR program[kProgramUnits];
  GetControlText(IDC_PROGRAM, program, kProgramUnits);
  if (wcsstr(program, kShortcutExtension)) {
    SHELLEXECUTEINFO shell = {};
    shell.cbSize = sizeof shell;
    shell.lpFile = program;
    shell.nShow = SW_SHOWNORMAL;
    ShellExecuteEx(&shell);
  } else if (wcsstr(program, kProgramExtension)) {
    PROCESS_INFORMATION started = {};
    if (CreateProcessW(program, nullptr, nullptr, nullptr, FALSE, kRunCreationFlags, nullptr, nullptr, nullptr,
                       &started)) {
      CloseHandle(started.hThread);
      CloseHandle(started.hProcess);
    }
  }
}
