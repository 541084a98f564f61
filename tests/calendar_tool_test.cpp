// selvane-device calendar from outside: appointments added, listed earliest
// first and deleted, refusals that change nothing, and a bare phone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/testing/device_fixture.h"

using testing_support::ProgramResult;
using testing_support::RunProgram;

namespace {

ProgramResult Calendar(const std::vector<std::string>& args) {
  std::vector<std::string> words{"calendar"};
  words.insert(words.end(), args.begin(), args.end());
  ProgramResult result = RunProgram("selvane-device", words);
  platform::CloseDeviceDb();
  return result;
}

// Adds an appointment and returns the identifier the tool printed.
std::string Add(const std::vector<std::string>& args) {
  std::vector<std::string> words{"add"};
  words.insert(words.end(), args.begin(), args.end());
  ProgramResult result = Calendar(words);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.err.empty()) << result.err;
  EXPECT_EQ(result.out.back(), '\n');
  return result.out.substr(0, result.out.size() - 1);
}

std::string List() {
  ProgramResult result = Calendar({"list"});
  EXPECT_EQ(result.status, 0) << result.err;
  return result.out;
}

class CalendarToolTest : public testing_support::DeviceTest {};

}  // namespace

TEST_F(CalendarToolTest, AppointmentsAreListedEarliestFirstAndDeleted) {
  EXPECT_EQ(List(), "");
  const std::string budget = Add({"--start", "2005-03-01 09:00", "--end", "2005-03-01 10:30", "--category",
                                  "Business", "--category", "Personal", "--subject", "Budget review"});
  const std::string early = Add({"--start", "2005-03-01 07:45:30", "--end", "2005-03-01 08:00", "--status",
                                 "tentative", "--subject", "Caf\u00e9"});
  const std::string away = Add({"--start", "2005-03-02 00:00", "--end", "2005-03-04 00:00", "--status", "oof",
                                "--category", "Holiday"});
  const std::string free = Add({"--start", "2005-03-01 12:00", "--end", "2005-03-01 13:00", "--status", "free"});
  EXPECT_EQ(List(), early + "\t2005-03-01 07:45:30\t2005-03-01 08:00\ttentative\t\tCaf\u00e9\n" +
                        budget + "\t2005-03-01 09:00\t2005-03-01 10:30\tbusy\tBusiness, Personal\tBudget review\n" +
                        free + "\t2005-03-01 12:00\t2005-03-01 13:00\tfree\t\t\n" +
                        away + "\t2005-03-02 00:00\t2005-03-04 00:00\toof\tHoliday\t\n");

  EXPECT_EQ(Calendar({"delete", budget}).status, 0);
  const std::string after = List();
  EXPECT_EQ(after.find(budget + "\t"), std::string::npos);
  EXPECT_EQ(after.rfind(early + "\t", 0), 0u);
  ProgramResult again = Calendar({"delete", budget});
  EXPECT_NE(again.status, 0);
  EXPECT_NE(again.err.find("no appointment " + budget), std::string::npos);
}

TEST_F(CalendarToolTest, BadArgumentsGetAMessageAndChangeNothing) {
  const std::string kept = Add({"--start", "2005-03-01 09:00", "--end", "2005-03-01 10:00"});
  const std::string before = List();
  const std::vector<std::vector<std::string>> refused = {
      {"add", "--start", "2005-03-01 10:00", "--end", "2005-03-01 10:00"},
      {"add", "--start", "2005-03-01 10:00", "--end", "2005-03-01 09:59"},
      {"add", "--start", "2005-02-29 10:00", "--end", "2005-03-01 11:00"},
      {"add", "--start", "2005-03-01 24:00", "--end", "2005-03-02 01:00"},
      {"add", "--start", "2005-03-01 9:00", "--end", "2005-03-01 11:00"},
      {"add", "--start", "2005-03-01 09:00:60", "--end", "2005-03-01 11:00"},
      {"add", "--start", "1600-12-31 09:00", "--end", "2005-03-01 11:00"},
      {"add", "--start", "2005-03-01 09:00", "--end", "2005-03-01 11:00", "--status", "busy!"},
      {"add", "--start", "2005-03-01 09:00", "--end", "2005-03-01 11:00", "--category", "Business, Personal"},
      {"add", "--start", "2005-03-01 09:00", "--end", "2005-03-01 11:00", "--category", " "},
      {"add", "--start", "2005-03-01 09:00", "--end", "2005-03-01 11:00", "--subject", "two\nlines"},
      {"add", "--end", "2005-03-01 11:00"},
      {"delete", "12x"},
      {"delete", "99999999999"},
      {"delete", "0"},
      {},
  };
  for (const auto& args : refused) {
    ProgramResult result = Calendar(args);
    EXPECT_NE(result.status, 0) << testing::PrintToString(args);
    EXPECT_FALSE(result.err.empty()) << testing::PrintToString(args);
    EXPECT_TRUE(result.out.empty()) << testing::PrintToString(args);
  }
  EXPECT_EQ(List(), before);
  EXPECT_EQ(before.rfind(kept + "\t", 0), 0u);
}

TEST(CalendarToolOnAnEmptyPhone, AddCreatesTheDatabase) {
  platform::DeviceOptions options;
  options.empty = true;
  testing_support::TempDevice device(options);
  EXPECT_EQ(List(), "");
  EXPECT_NE(Calendar({"delete", "1"}).status, 0);
  const std::string id = Add({"--start", "2005-03-01 09:00", "--end", "2005-03-01 10:00", "--subject", "First"});
  EXPECT_EQ(List(), id + "\t2005-03-01 09:00\t2005-03-01 10:00\tbusy\t\tFirst\n");
}
