// The standard controls: BUTTON (push buttons, check boxes, group boxes),
// STATIC, EDIT, COMBOBOX and msctls_trackbar32, one file each, each with its
// state kept in the window record, its messages and the notifications it
// sends its dialog. Their look is the control painter's (control_painter.h).
#pragma once

#include <string>

#include "../user/window_model.h"

namespace platform {

// Gives the window system the controls' window procedures and initial
// states (user/window_model.h's ControlClasses). The program entry and the
// test fixtures call it before any dialog is made.
void InstallStandardControls();

// What the user does to a control, as the phone's input delivers it: a
// drop-down's entry picked from its open list, a trackbar's thumb dragged.
void PickComboEntry(HWND combo, int index);
void SlideTrackbar(HWND trackbar, int position);

// Shared by the controls' own files.

// Windows' default text limit of a single-line edit, and the largest one.
constexpr int kDefaultTextLimit = 30000;
constexpr int kLargestTextLimit = 0x7FFFFFFE;

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TrackbarProc(HWND trackbar, UINT message, WPARAM wParam, LPARAM lParam);
// A drop-down's state from its template: closed, it is one line high.
void InitComboBox(Window& combo);
// The entry picked from a drop-down's list, which has just closed: selected
// and shown, and the dialog told (CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP).
void CommitComboPick(HWND combo, int index);

// A notification to the control's dialog (WM_COMMAND with `code`).
void Notify(HWND control, WORD code);
// The control's look changed: it is painted again.
void Changed(HWND control);
// ASCII lower case to upper case, as the controls compare and type text.
char16_t UpperCaseAscii(char16_t c);
// The text a message's LPARAM points to, empty for none.
std::u16string TextOf(LPARAM lParam);
void SetTextIfChanged(HWND control, Window& record, const std::u16string& text);
// Typing into an edit or a drop-down's edit part: backspace deletes, other
// characters replace the selection within the text limit. Returns true when
// the text changed.
bool TypeCharacter(HWND control, Window& record, WCHAR c, bool numberOnly);
// Left, Right, Home and End in an edit or a drop-down's edit part: the caret
// moves and the selection goes. False for any other key.
bool MoveCaretByKey(HWND control, Window& record, WPARAM key);
// A tap on an edit or a drop-down's edit part: the control takes the focus
// and the caret goes to the end of the text.
void TapIntoText(HWND control);

}  // namespace platform
