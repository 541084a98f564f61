// The emulated phone's own layout of its calendar, which the phone's SDK
// does not describe: the appointments as the calendar program keeps them in
// the object store, one record per appointment in "Appointments Database".
// Times are the device's local time.
#pragma once

#include <windbase.h>

#define APPOINTMENTS_DATABASE_NAME TEXT("Appointments Database")

#define APPOINTMENT_SUBJECT_PROPID ((1u << 16) | CEVT_LPWSTR)
#define APPOINTMENT_START_PROPID ((2u << 16) | CEVT_FILETIME)
#define APPOINTMENT_END_PROPID ((3u << 16) | CEVT_FILETIME)
// 0 free, 1 tentative, 2 busy, 3 out of office.
#define APPOINTMENT_BUSY_STATUS_PROPID ((4u << 16) | CEVT_UI4)
// The appointment's categories, separated by commas ("Business, Personal").
#define APPOINTMENT_CATEGORIES_PROPID ((5u << 16) | CEVT_LPWSTR)

#define APPOINTMENT_FREE 0
#define APPOINTMENT_TENTATIVE 1
#define APPOINTMENT_BUSY 2
#define APPOINTMENT_OUT_OF_OFFICE 3
