// Bitmaps for drawing: SHLoadDIBitmap reads a BMP file on the device and
// LoadBitmapW a BITMAP resource of the program; anything that cannot be read
// fully gives no bitmap.
#include <string>
#include <vector>

#include <aygshell.h>
#include <windows.h>

#include "../files/files.h"
#include "bmp_decode.h"
#include "gdi_objects.h"

namespace platform {
namespace {

// Larger than any picture the phone shows; a bigger file is refused unread.
constexpr size_t kMaxBitmapFile = 16u << 20;

}  // namespace
}  // namespace platform

HBITMAP SHLoadDIBitmap(LPCWSTR path) {
  using namespace platform;
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DWORD error = ERROR_SUCCESS;
  std::string bytes;
  if (!ReadDeviceFile(std::u16string_view(path), kMaxBitmapFile, &bytes, &error)) {
    SetLastError(error);
    return nullptr;
  }
  DecodedBitmap decoded;
  std::string why;
  if (!DecodeBmpFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &decoded, &why)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return CreateBitmapFromPixels(std::move(decoded.pixels), decoded.bitsPerPixel);
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  using namespace platform;
  HRSRC found = FindResourceW(instance, name, RT_BITMAP);
  if (!found) return nullptr;
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
  DWORD size = SizeofResource(instance, found);
  DecodedBitmap decoded;
  std::string why;
  if (!data || !DecodePackedDib(data, size, &decoded, &why)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return CreateBitmapFromPixels(std::move(decoded.pixels), decoded.bitsPerPixel);
}
