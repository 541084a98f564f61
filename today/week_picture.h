// The week ahead as a picture: one row per day, midnight to midnight across,
// each stretch in its mode's colour with the mode's name where it fits, the
// appointments marked under the stretches, "now" marked, and a legend of the
// five modes' pictures and names. The device tool draws it into a bitmap for
// a PNG file and the Today item onto the phone's screen, with this code.
#pragma once

#include <windows.h>

#include "today/calendar_rule.h"
#include "today/week_forecast.h"

// What the picture shows: the forecast of `days` days from `fromMinute`,
// the appointments, and `nowMinute` (marked when it lies in the span).
struct WeekPictureContent {
  const WeekForecast* Forecast;
  DWORD FromMinute;
  DWORD Days;
  DWORD NowMinute;
  const Appointment* Appointments;
  int AppointmentCount;
};

// The height the picture takes for `days` days from `fromMinute`.
int WeekPictureHeight(DWORD fromMinute, DWORD days);

// Draws the picture in `area` of `dc` (its height WeekPictureHeight).
void DrawWeekPicture(HDC dc, const RECT* area, const WeekPictureContent* content);
