// The program's windows as the platform keeps them: one record per window
// with its place on the screen, its z-order and each control's state, read
// by the painter, the dump and input routing alike.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace platform {

// What a window is, by its class: decides its default behaviour and how it
// is painted and dumped.
enum class WindowKind { Generic, Dialog, Button, Static, Edit, ComboBox, Trackbar };

// State of a control, kept in one place; only the fields of the window's
// kind are meaningful.
struct ControlState {
  int check = BST_UNCHECKED;   // check boxes
  bool pushed = false;         // buttons, between press and release
  bool modified = false;       // edits and the edit part of a drop-down
  int textLimit = 0;           // edits and drop-downs; 0 = no limit set
  int selStart = 0;            // edit selection, in characters
  int selEnd = 0;
  std::vector<std::u16string> items;  // drop-downs
  std::vector<LPARAM> itemData;
  int selection = -1;
  int rangeMin = 0;            // trackbars
  int rangeMax = 100;
  int position = 0;
  int dropHeight = 0;          // drop-downs: height of the open list, pixels
};

struct Window {
  HWND handle = nullptr;
  std::thread::id thread;          // the thread whose queue receives its messages
  WindowKind kind = WindowKind::Generic;
  std::u16string className;
  std::u16string text;             // caption, label, or the edit part's text
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;                      // control identifier
  HWND parent = nullptr;           // null for a top-level window
  RECT rect = {0, 0, 0, 0};        // screen pixels
  std::vector<HWND> children;      // top of the z-order first (template order)
  bool platformProvided = false;   // belongs to the phone (e.g. a tray window)
  WNDPROC proc = nullptr;
  DLGPROC dialogProc = nullptr;
  LONG_PTR userData = 0;
  LONG_PTR dialogResult = 0;       // DWL_MSGRESULT
  LONG_PTR dialogUser = 0;         // DWL_USER
  // Painting: the part of the window that needs drawing, in window-relative
  // pixels; the painter clears it with ValidateWindow.
  bool invalid = false;
  RECT invalidRect = {0, 0, 0, 0};
  bool eraseBackground = false;
  ControlState control;
  // Dialogs: the template's font and its base units (pixels per 4 dialog
  // units across, per 8 down), and the shell's Done button.
  std::u16string fontName;
  int fontSize = 0;
  int baseUnitX = 0;
  int baseUnitY = 0;
  bool doneButton = false;
  HWND lastFocus = nullptr;
};

// Width in pixels of the frame around a top-level window's client area: the
// thin border of WS_BORDER (which WS_CAPTION includes); controls draw their
// own borders inside their rectangle. The client area on the screen is
// ClientRectOnScreen (screen.h), which agrees with this width.
int FrameWidth(const Window& window);

// The record of a live window, or null.
Window* FindWindowRecord(HWND window);
// Every top-level window of the program, front first.
std::vector<HWND> TopLevelWindows();
// Platform-provided windows (found by FindWindowW, never dumped or drawn).
std::vector<HWND> PlatformWindows();
HWND FocusedWindow();
HWND ForegroundWindowHandle();
// True when the window and every ancestor are visible.
bool WindowShown(HWND window);
// True when the window and every ancestor are enabled.
bool WindowUsable(HWND window);
// Changes whenever anything that shows on the screen changes, so that a
// display can tell when to draw again.
uint64_t WindowModelVersion();
void NoteWindowModelChanged();

// Marks a window as needing paint (rect null: all of it).
void InvalidateWindow(HWND window, const RECT* rect, bool erase);
// Clears a window's need of paint (EndPaint, or default painting).
void ValidateWindow(HWND window);

// A window that the phone itself provides (not the program), with its own
// window procedure: FindWindowW finds it by class and title and SendMessageW
// and PostMessageW reach it. Its timers fire in any program's message loop.
HWND RegisterPlatformWindow(const std::u16string& className, const std::u16string& title, WNDPROC proc);

// The painter's hook: called for WM_PAINT when a window (a control, or a
// dialog whose procedure leaves painting to the system) is painted by
// default. Without one, default painting only validates.
void SetDefaultPainter(std::function<void(HWND)> painter);
void RunDefaultPainter(HWND window);

// The standard controls (controls/controls.h) plug in here: the window
// procedure of each control class and a control's initial state.
struct ControlClasses {
  std::function<WNDPROC(WindowKind)> procedure;
  std::function<void(Window&)> init;
};
void SetControlClasses(ControlClasses classes);

}  // namespace platform

// Platform-internal: the store of records behind the handles.
namespace platform {

// Adds a window record (on top of its siblings, or at the end of its
// parent's children) and returns its new handle.
HWND AddWindowRecord(Window record);
// Forgets a window and its children (already told of their destruction).
void RemoveWindowRecord(HWND window);
// Moves a top-level window to the front or the back of the z-order.
void RaiseWindowRecord(HWND window);
void LowerWindowRecord(HWND window);
void SetFocusedWindow(HWND window);
void SetForegroundWindowHandle(HWND window);
// The window procedure of a control class, and a control's initial state
// from its template, as the installed control classes give them. Without
// any installed, they throw: no dialog is made with dead controls.
WNDPROC ControlProcedure(WindowKind kind);
void InitControlState(Window& control);
// The kind of window a class name makes.
WindowKind KindOfClass(const std::u16string& className);
// Every window of the calling thread that needs paint, parents before children.
std::vector<HWND> WindowsNeedingPaint(std::thread::id thread);

}  // namespace platform
