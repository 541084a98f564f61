// Writing a surface as a PNG file (8-bit RGB, no interlace), for
// screenshots and the golden pictures the tests compare against.
#pragma once

#include <string>

#include "raster.h"

namespace platform {

// Returns false (with the reason in `error`) when the file cannot be written.
bool WritePng(const Surface& surface, const std::string& path, std::string* error);
// Reads a PNG written by WritePng (or any 8-bit RGB/RGBA PNG) back into a surface.
bool ReadPng(const std::string& path, Surface* out, std::string* error);

}  // namespace platform
