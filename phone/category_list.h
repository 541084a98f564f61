// The calendar's categories, listed from the object store's
// "Categories Database" into a drop-down list of the dialog.
#pragma once

#include <windows.h>

inline constexpr WCHAR CATEGORIES_DATABASE[] = TEXT("Categories Database");

// Adds every text property of every record of the first database whose
// name contains "Categories Database" to the list (CB_ADDSTRING), in record
// order. 1 when the database was read to its end, 0 when it was not found
// or could not be opened or read.
int FillCategoryList(HWND list);
