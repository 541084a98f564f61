// The install folder of the four programs and the Today plug-in, found
// from the plug-in's path that the installation keeps in the store.
#pragma once

#include <windows.h>

#include "product/product_manifest.h"

// The folder used when the store names no plug-in path.
inline constexpr WCHAR DEFAULT_INSTALL_FOLDER[] = TEXT(PRODUCT_INSTALL_FOLDER);
// The plug-in's file name, cut from the end of "DLL" to give the folder.
inline constexpr WCHAR PLUGIN_FILE_SUFFIX[] = TEXT("\\" PRODUCT_LIBRARY);

// Writes the install folder into `folder` (at most `capacity` units, always
// terminated when capacity > 0) and returns its full length in units, so a
// caller can tell that it was cut. "DLL" is read whole, whatever its length;
// a value shorter than "\Selvane.dll" (or none) gives the default folder.
int LocateInstallFolder(WCHAR* folder, int capacity);

// The install folder as a program keeps it in a buffer of `capacity` units:
// the default folder when the stored one does not fit, as a cut path names
// no folder.
void LocateFittingInstallFolder(WCHAR* folder, int capacity);
