// Screenshots compared pixel for pixel with the pictures kept in tests/golden.
#pragma once

#include <filesystem>
#include <string>

#include "platform/gdi/raster.h"

// A PNG file read into a surface (a failure is the test's).
platform::Surface LoadPng(const std::filesystem::path& path);

// Compares a screenshot (a PNG file) with the golden picture NAME.png.
// SELVANE_UPDATE_GOLDEN=1 writes the golden picture instead; a mismatch
// keeps the new picture in golden-actual/ beside the test for a look.
void ExpectGolden(const std::filesystem::path& shot, const std::string& name);
