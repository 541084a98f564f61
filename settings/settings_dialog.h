// The settings dialog's process-wide state (page, mode, unsaved edits, the
// slider snapshot, the install folder) and the small control calls every part of it uses.
#pragma once

#include <windows.h>

#include "store/mode_keys.h"

// The pages of the dialog, numbered as the page arrows step through them.
#define FIRST_PAGE 1
#define LAST_PAGE 9

// The five trackbars, in the order their positions are compared with the snapshot.
#define SLIDER_COUNT 5
extern const int SliderIds[SLIDER_COUNT];

// Dialog background: the dialog itself, its labels and its buttons.
#define SETTINGS_BACKGROUND RGB(140, 165, 200)

// Dialog state, one instance for the whole run.
extern HINSTANCE SettingsInstance;
extern HWND SettingsWindow;
extern int CurrentPage;
extern int EditedMode;
extern int ActiveMode;
extern bool UnsavedChanges;
extern bool KeyboardShown;
extern DWORD SliderSnapshot[SLIDER_COUNT];
extern WCHAR InstallFolder[MAX_PATH];
// "%s\%d.bmp" of the install folder and a mode number.
extern WCHAR ModeBitmapPath[MAX_PATH + 20];
// The one brush of the background colour, created before the dialog.
extern HBRUSH BackgroundBrush;

// Creates a dialog from a template of the program's resources, owned by
// `owner` (null for none); null when the template is missing.
HWND CreateDialogFromResources(int templateId, HWND owner, DLGPROC procedure);
// The answer to WM_CTLCOLORDLG, WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the
// text of `dc` on the background colour, and the background brush.
INT_PTR PaintOnBackground(HDC dc);

// The dialog edits the user modes FIRST_MODE to LAST_MODE; "Mode 0" is
// opened only when the store names no active mode.
bool IsUserMode(int mode);

// Fetches the window of every control the program addresses (all but the
// version label); Ctl returns it by identifier, or null for an unknown one.
void FetchControlHandles(HWND dialog);
HWND Ctl(int id);

bool IsChecked(int id);
void SetChecked(int id, bool checked);
void EnableControl(int id, bool enabled);
void ShowControl(int id, bool shown);
void SetControlText(int id, const WCHAR* text);
// The control's text, cut to capacity - 1 units and terminated.
void GetControlText(int id, WCHAR* text, int capacity);
// The number the first units of the control's text read as (0 when it is no number).
LONG ReadControlNumber(int id, int units);
void SetControlNumber(int id, LONG value);

int ListSelection(int id);
void SelectListItem(int id, int position);
void AddListItem(int id, const WCHAR* text);

DWORD SliderPosition(int id);
void SetSliderPosition(int id, DWORD position);
// The snapshot takes the trackbars' current positions.
void TakeSliderSnapshot();
// True when a trackbar stands elsewhere than its snapshot.
bool SlidersMoved();

// Invalidates the whole window with background erase and repaints it at once.
void RepaintSettings();
// ModeBitmapPath for a mode number.
void SetModeBitmapPath(int mode);
