// The view draws the same picture as `selvane-device week --png`, fitted to
// the screen between the shell's bars in either orientation.
#include "today/week_view.h"

#include <aygshell.h>

#include "today/minute_clock.h"
#include "today/resource.h"
#include "today/today_state.h"
#include "today/week_forecast.h"
#include "today/week_picture.h"

#define WEEK_VIEW_DAYS 7

// The view's window and what it shows, worked out once as it opens.
static HWND WeekView;
static WeekForecast ViewForecast;
static Appointment ViewAppointments[APPOINTMENTS_CAPACITY];
static WeekPictureContent ViewContent;

static void WorkOutWeek() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  DWORD nowMinute = MinuteIndex(&now);
  ForecastStart start;
  ReadForecastStart(&start);
  int count = ReadAppointments(ViewAppointments, APPOINTMENTS_CAPACITY);
  ForecastWeek(&start, ViewAppointments, count, nowMinute, WEEK_VIEW_DAYS * MINUTES_A_DAY, &ViewForecast);
  ViewContent.Forecast = &ViewForecast;
  ViewContent.FromMinute = nowMinute;
  ViewContent.Days = WEEK_VIEW_DAYS;
  ViewContent.NowMinute = nowMinute;
  ViewContent.Appointments = ViewAppointments;
  ViewContent.AppointmentCount = count;
}

static void PaintWeekView(HWND view) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(view, &paint);
  RECT area;
  GetClientRect(view, &area);
  DrawWeekPicture(dc, &area, &ViewContent);
  EndPaint(view, &paint);
}

static INT_PTR CALLBACK WeekViewProc(HWND view, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      SHINITDLGINFO shell = {};
      shell.dwMask = SHIDIM_FLAGS;
      shell.hDlg = view;
      shell.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG;
      SHInitDialog(&shell);
      return TRUE;
    }
    case WM_PAINT:
      PaintWeekView(view);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        DestroyWindow(view);
        WeekView = nullptr;
        SetForegroundWindow(Today.Screen);
      }
      return TRUE;
  }
  return FALSE;
}

void ShowWeekView() {
  if (WeekView) {
    SetForegroundWindow(WeekView);
    return;
  }
  WorkOutWeek();
  WeekView = CreateDialogParamW(Today.Instance, MAKEINTRESOURCEW(IDD_TODAY_WEEK), Today.Screen, WeekViewProc, 0);
  if (!WeekView) return;
  ShowWindow(WeekView, SW_SHOW);
  SetForegroundWindow(WeekView);
}
