// The item's matching rules on their own: the days of "Days" and the
// categories of an appointment.
#include <gtest/gtest.h>

#include "today/calendar_rule.h"
#include "today/mode_values.h"

namespace {

TEST(DayTicked, EachDayHasItsOwnDigitMondayHighest) {
  const DWORD digits[7] = {0x1, 0x1000000, 0x100000, 0x10000, 0x1000, 0x100, 0x10};  // Sunday first
  for (WORD day = 0; day < 7; ++day) {
    for (WORD other = 0; other < 7; ++other) EXPECT_EQ(DayTicked(digits[day], other), day == other) << day << other;
    EXPECT_TRUE(DayTicked(0x1111111, day));
    EXPECT_FALSE(DayTicked(0, day));
  }
  // A digit other than 1 is not "on".
  EXPECT_FALSE(DayTicked(0x2, 0));
}

Appointment WithCategories(const char16_t* categories, DWORD status = APPOINTMENT_BUSY) {
  Appointment appointment = {};
  appointment.Status = status;
  wcsncpy(appointment.Categories, categories, APPOINTMENT_CATEGORIES_SIZE);
  return appointment;
}

TEST(AppointmentMatches, CategoriesAreMatchedOneByOneWithoutRegardToCase) {
  Appointment listed = WithCategories(u"Holiday,  Business , Personal");
  EXPECT_TRUE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"business"));
  EXPECT_TRUE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"Personal"));
  EXPECT_FALSE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"Busi"));
  EXPECT_FALSE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"Holiday, Business"));
  Appointment none = WithCategories(u"");
  EXPECT_FALSE(AppointmentMatches(&none, APPOINTMENT_BUSY, u""));
  EXPECT_TRUE(AppointmentMatches(&none, APPOINTMENT_BUSY, ANY_APPOINTMENT_CATEGORY));
}

TEST(AppointmentMatches, StatusMatchesExactlyUnlessAnyStatusIsAsked) {
  Appointment tentative = WithCategories(u"Business", APPOINTMENT_TENTATIVE);
  EXPECT_FALSE(AppointmentMatches(&tentative, APPOINTMENT_BUSY, u"Business"));
  EXPECT_TRUE(AppointmentMatches(&tentative, APPOINTMENT_TENTATIVE, u"Business"));
  EXPECT_TRUE(AppointmentMatches(&tentative, ANY_APPOINTMENT_STATUS, u"Business"));
}

}  // namespace
