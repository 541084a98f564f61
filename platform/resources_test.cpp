// FindResourceW and its companions over the probe's compiled resources:
// lookups by number, by "#number" and by text name in any case, and the
// bytes found being the resource itself, aligned as the phone aligns them.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tests/windows/probe_ids.h"

namespace {

// The resource's bytes, or null when it is not found.
const BYTE* Bytes(LPCWSTR name, LPCWSTR type, DWORD* size) {
  HRSRC found = FindResourceW(nullptr, name, type);
  if (!found) return nullptr;
  *size = SizeofResource(nullptr, found);
  return static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
}

TEST(Resources, ABitmapIsFoundByNumberAndByTextNameAsTheSameBytes) {
  DWORD size = 0;
  const BYTE* numbered = Bytes(MAKEINTRESOURCEW(IDB_PROBE_PICTURE), RT_BITMAP, &size);
  ASSERT_NE(numbered, nullptr);
  // A bitmap resource is the file without its BITMAPFILEHEADER.
  ASSERT_GT(size, 40u);
  uint32_t headerSize;
  std::memcpy(&headerSize, numbered, sizeof headerSize);
  EXPECT_EQ(headerSize, 40u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(numbered) % 4, 0u);

  for (LPCWSTR name : {u"ProbePicture", u"PROBEPICTURE", u"probepicture"}) {
    DWORD namedSize = 0;
    const BYTE* named = Bytes(name, RT_BITMAP, &namedSize);
    ASSERT_NE(named, nullptr);
    ASSERT_EQ(namedSize, size);
    EXPECT_EQ(std::memcmp(named, numbered, size), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(named) % 4, 0u);
  }

  DWORD hashSize = 0;
  EXPECT_EQ(Bytes(u"#101", RT_BITMAP, &hashSize), numbered);
  EXPECT_EQ(hashSize, size);
}

TEST(Resources, WhatIsNotThereIsReportedAsSuch) {
  SetLastError(0);
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_PROBE_PICTURE), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  for (LPCWSTR name : {u"ProbePictur", u"ProbePictures", u"#", u"#99999", u"#10x"}) {
    SetLastError(0);
    EXPECT_EQ(FindResourceW(nullptr, name, RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  }
  SetLastError(0);
  EXPECT_EQ(FindResourceW(nullptr, u"ProbePicture", u"BITMAP"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
