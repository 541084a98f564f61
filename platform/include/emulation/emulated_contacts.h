// The emulated phone's own layout of its contacts, which the phone's SDK
// does not describe: one record per contact in "Contacts Database".
#pragma once

#include <windbase.h>

#define CONTACTS_DATABASE_NAME TEXT("Contacts Database")

#define CONTACT_NAME_PROPID ((1u << 16) | CEVT_LPWSTR)
// The contact's phone numbers, separated by commas ("5551234, 5559876").
#define CONTACT_NUMBERS_PROPID ((2u << 16) | CEVT_LPWSTR)
// The contact's categories, separated by commas ("Family, Friends").
#define CONTACT_CATEGORIES_PROPID ((3u << 16) | CEVT_LPWSTR)
