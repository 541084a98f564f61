// selvane-device calendar add|list|delete: the phone calendar's appointments,
// written into and read from the object store as the phone's programs see them.
#include <cctype>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "calendar.h"
#include "commands.h"
#include "wintext_utf.h"
#include "wintime.h"

namespace {

// The busy states by their value, as `add --status` takes and `list` shows them.
const char* const kStatusNames[] = {"free", "tentative", "busy", "oof"};
constexpr DWORD kStatusCount = sizeof kStatusNames / sizeof kStatusNames[0];

bool Digits(const std::string& text, size_t at, size_t count, int* value) {
  *value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    *value = *value * 10 + (text[i] - '0');
  }
  return true;
}

// "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" as a FILETIME of local time.
FILETIME TimeArgument(const std::string& option, const std::string& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const bool shape = (text.size() == 16 || (text.size() == 19 && text[16] == ':' && Digits(text, 17, 2, &second))) &&
                     Digits(text, 0, 4, &year) && text[4] == '-' && Digits(text, 5, 2, &month) && text[7] == '-' &&
                     Digits(text, 8, 2, &day) && text[10] == ' ' && Digits(text, 11, 2, &hour) && text[13] == ':' &&
                     Digits(text, 14, 2, &minute);
  SYSTEMTIME t{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
               static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second), 0};
  FILETIME time{};
  if (!shape || !SystemTimeToFileTime(&t, &time))
    throw CommandError(option + ": not a time of the form \"YYYY-MM-DD HH:MM[:SS]\": " + text);
  return time;
}

// The time as `add` takes it: seconds only when there are any.
std::string TimeText(const FILETIME& time) {
  SYSTEMTIME t;
  if (!FileTimeToSystemTime(&time, &t)) return "invalid";
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
  std::string shown = text;
  if (t.wSecond) {
    std::snprintf(text, sizeof text, ":%02u", t.wSecond);
    shown += text;
  }
  return shown;
}

std::string StatusText(DWORD status) {
  return status < kStatusCount ? kStatusNames[status] : std::to_string(status);
}

bool HasControlCharacter(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

// A field of a `list` line: kept on its line and in its column.
std::string ListField(const std::u16string& text) {
  std::string shown = platform::Utf16ToUtf8(text);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return shown;
}

// The categories joined as the calendar keeps them: "Business, Personal".
std::u16string CategoriesArgument(const std::vector<std::string>& categories) {
  std::string joined;
  for (const std::string& given : categories) {
    const size_t first = given.find_first_not_of(' ');
    const size_t last = given.find_last_not_of(' ');
    const std::string category = first == std::string::npos ? "" : given.substr(first, last - first + 1);
    if (category.empty() || category.find(',') != std::string::npos || HasControlCharacter(category))
      throw CommandError("--category: a category is a non-empty name without commas: \"" + given + "\"");
    joined += (joined.empty() ? "" : ", ") + category;
  }
  return platform::Utf8ToUtf16(joined);
}

struct AddArguments {
  std::string start, end, status = "busy", subject;
  std::vector<std::string> categories;
};

void AddAppointmentCommand(const AddArguments& args) {
  platform::Appointment appointment;
  appointment.start = TimeArgument("--start", args.start);
  appointment.end = TimeArgument("--end", args.end);
  if (CompareFileTime(&appointment.end, &appointment.start) <= 0)
    throw CommandError("--end " + args.end + " is not after --start " + args.start);
  for (DWORD status = 0; status < kStatusCount; ++status)
    if (args.status == kStatusNames[status]) appointment.busyStatus = status;
  appointment.categories = CategoriesArgument(args.categories);
  if (HasControlCharacter(args.subject)) throw CommandError("--subject: the subject must be one line of text");
  appointment.subject = platform::Utf8ToUtf16(args.subject);
  const CEOID oid = platform::AddAppointment(appointment);
  if (!oid) throw CommandError("the object store refused the appointment (error " + std::to_string(GetLastError()) + ")");
  std::printf("%lu\n", static_cast<unsigned long>(oid));
}

void ListAppointmentsCommand() {
  for (const platform::Appointment& a : platform::ListAppointments())
    std::printf("%lu\t%s\t%s\t%s\t%s\t%s\n", static_cast<unsigned long>(a.oid), TimeText(a.start).c_str(),
                TimeText(a.end).c_str(), StatusText(a.busyStatus).c_str(), ListField(a.categories).c_str(),
                ListField(a.subject).c_str());
}

void DeleteAppointmentCommand(const std::string& id) {
  if (id.empty() || id.size() > 10 || id.find_first_not_of("0123456789") != std::string::npos)
    throw CommandError("not an appointment identifier: " + id);
  const unsigned long long oid = std::stoull(id);
  if (oid > 0xFFFFFFFFull || !platform::DeleteAppointment(static_cast<CEOID>(oid)))
    throw CommandError("no appointment " + id);
}

}  // namespace

void AddCalendarCommand(CLI::App& app) {
  CLI::App* calendar = app.add_subcommand("calendar", "Add, list and delete the phone calendar's appointments");
  calendar->require_subcommand(1);

  CLI::App* add = calendar->add_subcommand("add", "Add an appointment and print its identifier");
  auto args = std::make_shared<AddArguments>();
  add->add_option("--start", args->start, "\"YYYY-MM-DD HH:MM[:SS]\", local time")->required();
  add->add_option("--end", args->end, "\"YYYY-MM-DD HH:MM[:SS]\", after the start")->required();
  add->add_option("--status", args->status, "free, tentative, busy (the default) or oof (out of office)")
      ->check(CLI::IsMember(std::vector<std::string>(std::begin(kStatusNames), std::end(kStatusNames))));
  add->add_option("--category", args->categories, "A category; may be given again for more");
  add->add_option("--subject", args->subject, "What the appointment is about");
  add->callback([args] { AddAppointmentCommand(*args); });

  CLI::App* list = calendar->add_subcommand(
      "list", "Print the appointments, earliest first: ID, START, END, STATUS, CATEGORIES, SUBJECT separated by tabs");
  list->callback(ListAppointmentsCommand);

  CLI::App* remove = calendar->add_subcommand("delete", "Delete an appointment");
  auto id = std::make_shared<std::string>();
  remove->add_option("ID", *id, "The identifier that add printed")->required();
  remove->callback([id] { DeleteAppointmentCommand(*id); });
}
