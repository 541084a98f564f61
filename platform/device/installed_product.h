// The product installed on a fresh device beside the phone's own image: its
// programs and where they lie, its Today item, and the ring tone it expects
// the phone to ship. The build compiles it in from the product's manifest
// (product/product.cmake), as it does the phone's recordings, so that the
// platform's code names no program of its own.
#pragma once

#include <cstddef>

namespace platform {

struct InstalledProduct {
  const char16_t* installFolder;  // device folder of the programs
  const char* const* programs;    // built binaries installed there, one device file each
  size_t programCount;
  const char* todayScreen;        // the built binary of the phone's Today screen, its shell
  const char16_t* todayItemKey;   // HKEY_LOCAL_MACHINE key of the Today item
  const char16_t* todayItemDll;   // device path of the item's library, its "DLL" value
  const char16_t* ringTone;       // file name in \windows\rings, the phone's ring tone
};

extern const InstalledProduct kInstalledProduct;

}  // namespace platform
