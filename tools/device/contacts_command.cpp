// selvane-device contacts add|list: the phone's contacts, written into and
// read from the object store as the phone's programs see them.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/hardware/calls.h"
#include "platform/objstore/contacts.h"
#include "platform/text/utf.h"
#include "tools/device/commands.h"
#include "tools/device/list_text.h"

namespace {

struct AddArguments {
  std::string name, number;
  std::vector<std::string> categories;
};

void AddContactCommand(const AddArguments& args) {
  if (args.name.empty() || HasControlCharacter(args.name) || args.name.find(',') != std::string::npos)
    throw UsageError("NAME: a contact's name is one line of text without commas: \"" + args.name + "\"");
  if (!platform::ValidCallerNumber(args.number))
    throw UsageError("NUMBER: \"" + args.number + "\" is no phone number (1 to 40 of 0-9, +, * and #)");
  platform::Contact contact;
  contact.name = platform::Utf8ToUtf16(args.name);
  contact.numbers = platform::Utf8ToUtf16(args.number);
  contact.categories = CategoriesArgument(args.categories);
  ChangeDevice();
  const CEOID oid = platform::AddContact(contact);
  if (!oid) throw CommandError("the object store refused the contact (error " + std::to_string(GetLastError()) + ")");
  std::printf("%lu\n", static_cast<unsigned long>(oid));
}

void ListContactsCommand() {
  ReadDevice();
  const std::vector<platform::Contact> contacts = platform::ListContacts();
  if (GetLastError() != ERROR_SUCCESS)
    throw CommandError("cannot read the contacts (error " + std::to_string(GetLastError()) + ")");
  for (const platform::Contact& c : contacts)
    std::printf("%lu\t%s\t%s\t%s\n", static_cast<unsigned long>(c.oid), ListField(c.name).c_str(),
                ListField(c.numbers).c_str(), ListField(c.categories).c_str());
}

}  // namespace

void AddContactsCommand(CLI::App& app) {
  CLI::App* contacts = app.add_subcommand("contacts", "Add and list the phone's contacts");
  contacts->require_subcommand(1);

  CLI::App* add = contacts->add_subcommand("add", "Add a contact and print its identifier");
  auto args = std::make_shared<AddArguments>();
  add->add_option("NAME", args->name, "The contact's name")->required();
  add->add_option("NUMBER", args->number, "The contact's phone number (0-9, +, * and #)")->required();
  add->add_option("--category", args->categories, "A category; may be given again for more");
  add->callback([args] { AddContactCommand(*args); });

  CLI::App* list = contacts->add_subcommand(
      "list", "Print the contacts in the order added: ID, NAME, NUMBERS, CATEGORIES separated by tabs");
  list->callback(ListContactsCommand);
}
