// PNG files through libpng's simplified API: a surface out as 8-bit RGB,
// and back in for comparisons.
#include "png_file.h"

#include <png.h>

#include <vector>

namespace platform {

bool WritePng(const Surface& surface, const std::string& path, std::string* error) {
  std::vector<uint8_t> rgb(size_t(surface.width()) * surface.height() * 3);
  size_t i = 0;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) {
      Pixel p = surface.at(x, y);
      rgb[i++] = uint8_t(p >> 16);
      rgb[i++] = uint8_t(p >> 8);
      rgb[i++] = uint8_t(p);
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(surface.width());
  image.height = png_uint_32(surface.height());
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    if (error) *error = image.message;
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, Surface* out, std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    if (error) *error = image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    if (error) *error = image.message;
    png_image_free(&image);
    return false;
  }
  Surface surface(int(image.width), int(image.height));
  size_t i = 0;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x, i += 3)
      surface.at(x, y) = MakePixel(rgb[i], rgb[i + 1], rgb[i + 2]);
  *out = std::move(surface);
  return true;
}

}  // namespace platform
