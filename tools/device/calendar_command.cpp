// selvane-device calendar add|list|delete: the phone calendar's appointments,
// written into and read from the object store as the phone's programs see them.
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>
#include <windbase.h>
#include <windows.h>

#include "platform/kernel/clock.h"
#include "platform/objstore/calendar.h"
#include "platform/text/utf.h"
#include "tools/device/commands.h"
#include "tools/device/list_text.h"

namespace {

// The busy states by their value, as `add --status` takes and `list` shows them.
const char* const kStatusNames[] = {"free", "tentative", "busy", "oof"};
constexpr DWORD kStatusCount = sizeof kStatusNames / sizeof kStatusNames[0];

// A date and time as the tool takes them, as a FILETIME of local time.
FILETIME TimeArgument(const std::string& option, const std::string& text) {
  platform::DateTime when{};
  FILETIME time{};
  bool valid = platform::ParseDateTime(text, &when);
  SYSTEMTIME t{static_cast<WORD>(when.year), static_cast<WORD>(when.month), 0, static_cast<WORD>(when.day),
               static_cast<WORD>(when.hour), static_cast<WORD>(when.minute), static_cast<WORD>(when.second), 0};
  if (!valid || !SystemTimeToFileTime(&t, &time))
    throw UsageError(option + ": \"" + text + "\" is not a time of the form \"" + platform::kDateTimeForm + "\"");
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

struct AddArguments {
  std::string start, end, status = "busy", subject;
  std::vector<std::string> categories;
};

void AddAppointmentCommand(const AddArguments& args) {
  platform::Appointment appointment;
  appointment.start = TimeArgument("--start", args.start);
  appointment.end = TimeArgument("--end", args.end);
  if (CompareFileTime(&appointment.end, &appointment.start) <= 0)
    throw UsageError("--end " + args.end + " is not after --start " + args.start);
  for (DWORD status = 0; status < kStatusCount; ++status)
    if (args.status == kStatusNames[status]) appointment.busyStatus = status;
  appointment.categories = CategoriesArgument(args.categories);
  if (HasControlCharacter(args.subject)) throw UsageError("--subject: the subject must be one line of text");
  appointment.subject = platform::Utf8ToUtf16(args.subject);
  ChangeDevice();
  const CEOID oid = platform::AddAppointment(appointment);
  if (!oid) throw CommandError("the object store refused the appointment (error " + std::to_string(GetLastError()) + ")");
  std::printf("%lu\n", static_cast<unsigned long>(oid));
}

void ListAppointmentsCommand() {
  ReadDevice();
  const std::vector<platform::Appointment> appointments = platform::ListAppointments();
  if (GetLastError() != ERROR_SUCCESS)
    throw CommandError("cannot read the appointments (error " + std::to_string(GetLastError()) + ")");
  for (const platform::Appointment& a : appointments)
    std::printf("%lu\t%s\t%s\t%s\t%s\t%s\n", static_cast<unsigned long>(a.oid), TimeText(a.start).c_str(),
                TimeText(a.end).c_str(), StatusText(a.busyStatus).c_str(), ListField(a.categories).c_str(),
                ListField(a.subject).c_str());
}

void DeleteAppointmentCommand(const std::string& id) {
  if (id.empty() || id.size() > 10 || id.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError("not an appointment identifier: " + id);
  const unsigned long long oid = std::stoull(id);
  ChangeDevice();
  if (oid > 0xFFFFFFFFull) throw CommandError("no appointment " + id);
  if (!platform::DeleteAppointment(static_cast<CEOID>(oid))) {
    if (GetLastError() == ERROR_INVALID_PARAMETER) throw CommandError("no appointment " + id);
    throw CommandError("cannot delete appointment " + id + " (error " + std::to_string(GetLastError()) + ")");
  }
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
      ->check(CLI::IsMember(std::vector<std::string>(std::begin(kStatusNames), std::end(kStatusNames)), CLI::ignore_case));
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
