// Bitmaps for drawing: SHLoadDIBitmap reads a BMP file on the device and
// LoadBitmapW a BITMAP resource of the program; anything that cannot be read
// fully gives no bitmap.
#include <fstream>
#include <string>
#include <vector>

#include "aygshell.h"
#include "files/files.h"
#include "gdi/bmp_decode.h"
#include "gdi/gdi_objects.h"
#include "windows.h"

namespace platform {
namespace {

// Larger than any picture the phone shows; a bigger file is refused unread.
constexpr std::uintmax_t kMaxBitmapFile = 16u << 20;

bool ReadWholeFile(const std::filesystem::path& host, std::vector<uint8_t>* bytes) {
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(host, error);
  if (error || size > kMaxBitmapFile) return false;
  std::ifstream in(host, std::ios::binary);
  if (!in) return false;
  bytes->resize(size_t(size));
  in.read(reinterpret_cast<char*>(bytes->data()), std::streamsize(size));
  return in.gcount() == std::streamsize(size);
}

}  // namespace
}  // namespace platform

HBITMAP SHLoadDIBitmap(LPCWSTR path) {
  using namespace platform;
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DWORD error = ERROR_SUCCESS;
  std::optional<std::filesystem::path> host = ResolveDevicePath(std::u16string_view(path), &error);
  if (!host || !std::filesystem::is_regular_file(*host)) {
    SetLastError(host ? ERROR_FILE_NOT_FOUND : error);
    return nullptr;
  }
  std::vector<uint8_t> bytes;
  DecodedBitmap decoded;
  std::string why;
  if (!ReadWholeFile(*host, &bytes) || !DecodeBmpFile(bytes.data(), bytes.size(), &decoded, &why)) {
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
