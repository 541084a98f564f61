#include "today/week_picture.h"

#include "store/mode_keys.h"
#include "today/minute_clock.h"
#include "today/today_pictures.h"

// The parts of the picture, in pixels: the hour marks over the rows, a row
// a day (the stretch, then the appointments' mark under it), and the legend.
// Rows are WEEK_ROW_HEIGHT high, or lower down to WEEK_ROW_LEAST to fit
// the area (the phone's screen on its side).
#define WEEK_LABEL_WIDTH 44
#define WEEK_MARGIN 4
#define WEEK_HOURS_HEIGHT 14
#define WEEK_ROW_HEIGHT 22
#define WEEK_ROW_LEAST 10
#define WEEK_UNDER_STRETCH 6
#define WEEK_MARK_HEIGHT 3
#define WEEK_LEGEND_HEIGHT 44
#define WEEK_PICTURE_SIZE 24
#define WEEK_NOW_WIDTH 2

static const COLORREF ModeColours[LAST_MODE + 1] = {
    RGB(220, 220, 220),  // no mode
    RGB(255, 205, 150), RGB(170, 175, 235), RGB(165, 215, 165), RGB(245, 235, 140), RGB(235, 175, 205),
};
#define WEEK_APPOINTMENT_COLOUR RGB(60, 60, 60)
#define WEEK_NOW_COLOUR RGB(220, 0, 0)
#define WEEK_GRID_COLOUR RGB(140, 165, 200)

static const WCHAR* const ShortDayNames[] = {TEXT("Sun"), TEXT("Mon"), TEXT("Tue"), TEXT("Wed"),
                                             TEXT("Thu"), TEXT("Fri"), TEXT("Sat")};

static COLORREF ModeColour(DWORD mode) { return ModeColours[mode <= LAST_MODE ? mode : 0]; }

// The first day's midnight, and how many rows the span takes.
static DWORD FirstMidnight(DWORD fromMinute) { return fromMinute - fromMinute % MINUTES_A_DAY; }

static DWORD RowCount(DWORD fromMinute, DWORD days) {
  DWORD end = fromMinute + days * MINUTES_A_DAY;
  return (end - FirstMidnight(fromMinute) + MINUTES_A_DAY - 1) / MINUTES_A_DAY;
}

int WeekPictureHeight(DWORD fromMinute, DWORD days) {
  return WEEK_HOURS_HEIGHT + (int)RowCount(fromMinute, days) * WEEK_ROW_HEIGHT + WEEK_MARGIN + WEEK_LEGEND_HEIGHT;
}

static void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  if (right <= left || bottom <= top) return;
  HBRUSH brush = CreateSolidBrush(colour);
  RECT place = {left, top, right, bottom};
  FillRect(dc, &place, brush);
  DeleteObject(brush);
}

// The bars' place in the area, and the x of a minute of the day.
struct WeekBars {
  int Left;
  int Width;
  int Top;
  int RowHeight;
  int StretchHeight;
};

static int MinuteX(const WeekBars* bars, DWORD minuteOfDay) {
  return bars->Left + (int)(minuteOfDay * (DWORD)bars->Width / MINUTES_A_DAY);
}

// Fills the part of minutes first..end (exclusive) that lies in row `row`
// between rowTop + top and rowTop + bottom.
static void FillSpan(HDC dc, const WeekBars* bars, DWORD midnight, DWORD row, DWORD first, DWORD end, int top,
                     int bottom, COLORREF colour) {
  DWORD rowStart = midnight + row * MINUTES_A_DAY, rowEnd = rowStart + MINUTES_A_DAY;
  if (end <= rowStart || first >= rowEnd) return;
  DWORD from = first > rowStart ? first : rowStart;
  DWORD to = end < rowEnd ? end : rowEnd;
  int rowTop = bars->Top + (int)row * bars->RowHeight;
  Fill(dc, MinuteX(bars, from - rowStart), rowTop + top, MinuteX(bars, to - rowStart), rowTop + bottom, colour);
}

// The mode's name in the stretch of a row, when it fits whole.
static void NameStretch(HDC dc, const WeekBars* bars, DWORD midnight, DWORD row, DWORD first, DWORD end, DWORD mode) {
  DWORD rowStart = midnight + row * MINUTES_A_DAY, rowEnd = rowStart + MINUTES_A_DAY;
  if (end <= rowStart || first >= rowEnd || mode < FIRST_MODE || mode > LAST_MODE) return;
  DWORD from = first > rowStart ? first : rowStart;
  DWORD to = end < rowEnd ? end : rowEnd;
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  RECT measured = {0, 0, 0, 0};
  DrawTextW(dc, name, -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  int rowTop = bars->Top + (int)row * bars->RowHeight;
  RECT place = {MinuteX(bars, from - rowStart), rowTop, MinuteX(bars, to - rowStart), rowTop + bars->StretchHeight};
  if (measured.right - measured.left > place.right - place.left - 2 ||
      measured.bottom - measured.top > bars->StretchHeight + 2)
    return;
  DrawTextW(dc, name, -1, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Each stretch of one mode over the rows: from the start or a change to the
// next change or the end of the span.
static void DrawStretches(HDC dc, const WeekBars* bars, const WeekPictureContent* content, DWORD rows) {
  const WeekForecast* forecast = content->Forecast;
  DWORD midnight = FirstMidnight(content->FromMinute);
  DWORD end = content->FromMinute + content->Days * MINUTES_A_DAY;
  DWORD mode = forecast->FirstMode;
  DWORD first = content->FromMinute;
  for (int i = 0; i <= forecast->ChangeCount; ++i) {
    DWORD next = i < forecast->ChangeCount ? forecast->Changes[i].Minute : end;
    if (next > end) next = end;
    for (DWORD row = 0; row < rows; ++row) {
      FillSpan(dc, bars, midnight, row, first, next, 0, bars->StretchHeight, ModeColour(mode));
      NameStretch(dc, bars, midnight, row, first, next, mode);
    }
    if (i < forecast->ChangeCount) {
      mode = forecast->Changes[i].Mode;
      first = next;
    }
  }
}

static void DrawAppointments(HDC dc, const WeekBars* bars, const WeekPictureContent* content, DWORD rows) {
  DWORD midnight = FirstMidnight(content->FromMinute);
  for (int i = 0; i < content->AppointmentCount; ++i) {
    DWORD first = MinuteIndex(&content->Appointments[i].Start);
    DWORD end = MinuteIndex(&content->Appointments[i].End);
    if (end == first) ++end;
    for (DWORD row = 0; row < rows; ++row)
      FillSpan(dc, bars, midnight, row, first, end, bars->StretchHeight + 1,
               bars->StretchHeight + 1 + WEEK_MARK_HEIGHT, WEEK_APPOINTMENT_COLOUR);
  }
}

// The hour marks over the rows and the day names before them.
static void DrawFrame(HDC dc, const RECT* area, const WeekBars* bars, DWORD fromMinute, DWORD rows) {
  WCHAR text[16];
  for (int hour = 0; hour <= 24; hour += 6) {
    int x = MinuteX(bars, (DWORD)hour * 60);
    RECT place = {x - 12, area->top, x + 12, area->top + WEEK_HOURS_HEIGHT};
    wsprintfW(text, TEXT("%d"), hour);
    DrawTextW(dc, text, -1, &place, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    Fill(dc, x, bars->Top - 2, x + 1, bars->Top + (int)rows * bars->RowHeight - 2, WEEK_GRID_COLOUR);
  }
  DWORD midnight = FirstMidnight(fromMinute);
  for (DWORD row = 0; row < rows; ++row) {
    SYSTEMTIME day;
    MinuteTime(midnight + row * MINUTES_A_DAY, &day);
    wsprintfW(text, TEXT("%s %d"), ShortDayNames[day.wDayOfWeek % 7], (int)day.wDay);
    int top = bars->Top + (int)row * bars->RowHeight;
    RECT place = {area->left + WEEK_MARGIN, top, bars->Left - WEEK_MARGIN, top + bars->StretchHeight};
    DrawTextW(dc, text, -1, &place, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

static void DrawNow(HDC dc, const WeekBars* bars, const WeekPictureContent* content, DWORD rows) {
  DWORD end = content->FromMinute + content->Days * MINUTES_A_DAY;
  DWORD now = content->NowMinute;
  if (now < content->FromMinute || now >= end) return;
  DWORD row = (now - FirstMidnight(content->FromMinute)) / MINUTES_A_DAY;
  if (row >= rows) return;
  int x = MinuteX(bars, now % MINUTES_A_DAY);
  int top = bars->Top + (int)row * bars->RowHeight;
  Fill(dc, x, top - 2, x + WEEK_NOW_WIDTH, top + bars->RowHeight - 2, WEEK_NOW_COLOUR);
}

// The five modes across: each picture on its colour, its name under it.
static void DrawLegend(HDC dc, const RECT* area, int top) {
  int cell = (area->right - area->left) / LAST_MODE;
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    int left = area->left + (int)(mode - 1) * cell;
    int x = left + (cell - WEEK_PICTURE_SIZE) / 2;
    Fill(dc, x - 2, top, x + WEEK_PICTURE_SIZE + 2, top + WEEK_PICTURE_SIZE + 4, ModeColour(mode));
    DrawModePicture(dc, mode, x, top + 2);
    WCHAR name[MODE_NAME_WIDTH];
    ReadModeName(mode, name);
    RECT place = {left + 1, top + WEEK_PICTURE_SIZE + 4, left + cell - 1, top + WEEK_LEGEND_HEIGHT};
    DrawTextW(dc, name, -1, &place, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

void DrawWeekPicture(HDC dc, const RECT* area, const WeekPictureContent* content) {
  DWORD rows = RowCount(content->FromMinute, content->Days);
  WeekBars bars;
  bars.Left = area->left + WEEK_LABEL_WIDTH;
  bars.Width = area->right - WEEK_MARGIN * 2 - bars.Left;
  bars.Top = area->top + WEEK_HOURS_HEIGHT;
  int room = (area->bottom - bars.Top - WEEK_MARGIN - WEEK_LEGEND_HEIGHT) / (int)rows;
  bars.RowHeight = room > WEEK_ROW_HEIGHT ? WEEK_ROW_HEIGHT : room < WEEK_ROW_LEAST ? WEEK_ROW_LEAST : room;
  bars.StretchHeight = bars.RowHeight - WEEK_UNDER_STRETCH;
  Fill(dc, area->left, area->top, area->right, area->bottom, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawFrame(dc, area, &bars, content->FromMinute, rows);
  DrawStretches(dc, &bars, content, rows);
  DrawAppointments(dc, &bars, content, rows);
  DrawNow(dc, &bars, content, rows);
  DrawLegend(dc, area, bars.Top + (int)rows * bars.RowHeight + WEEK_MARGIN);
}
