// Conformance of the phone's file calls: device paths, folder search,
// attributes, the fresh device's sound files and the wide streams.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "../testing/device_fixture.h"
#include "../text/utf.h"

namespace fs = std::filesystem;
using testing_support::DeviceTest;
using testing_support::ReadFile;
using testing_support::TempDevice;
using testing_support::WriteFile;

namespace {

// Every name a search reports, with its attributes, in order.
std::vector<std::pair<std::u16string, DWORD>> Search(const char16_t* pattern) {
  std::vector<std::pair<std::u16string, DWORD>> found;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do found.emplace_back(data.cFileName, data.dwFileAttributes);
  while (FindNextFileW(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(search));
  return found;
}

}  // namespace

class FilesTest : public DeviceTest {};

TEST_F(FilesTest, PathsResolveWithoutRegardToCaseAndNewNamesKeepTheirCase) {
  FILE* file = _wfopen(u"\\WINDOWS\\My Notes.TXT", u"w");
  ASSERT_NE(file, nullptr);
  fclose(file);
  EXPECT_TRUE(fs::exists(device_->fs() / "windows" / "My Notes.TXT"));
  EXPECT_EQ(GetFileAttributesW(u"/windows/my notes.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetFileAttributesW(u"\\\\Windows\\\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

  // Writing the same name in another case replaces the file, not a twin.
  file = _wfopen(u"\\windows\\MY NOTES.txt", u"w");
  ASSERT_NE(file, nullptr);
  fclose(file);
  EXPECT_EQ(Search(u"\\windows\\my notes.*").size(), 1u);

  EXPECT_TRUE(CreateDirectoryW(u"\\My Documents\\Tones", nullptr));
  EXPECT_FALSE(CreateDirectoryW(u"\\my documents\\TONES", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryW(u"\\Nowhere\\Tones", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(CreateDirectoryW(u"\\Temp\\a*b", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST_F(FilesTest, PathsNeverLeaveTheFileSystem) {
  WriteFile(device_->folder() / "outside.txt", "secret");
  fs::create_symlink(device_->folder(), device_->fs() / "link");
  EXPECT_EQ(GetFileAttributesW(u"\\windows\\..\\windows"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(u"\\.\\windows"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(u"\\..\\phone.db"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(u"\\link\\outside.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(u"windows"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(_wfopen(u"\\..\\outside.txt", u"r"), nullptr);
  EXPECT_EQ(_wfopen(u"\\windows\\..\\..\\escape.txt", u"w"), nullptr);
  EXPECT_FALSE(fs::exists(device_->folder().parent_path() / "escape.txt"));
  EXPECT_TRUE(Search(u"\\link\\*").empty());
  for (const auto& [name, attributes] : Search(u"\\*")) EXPECT_NE(name, u"link");
}

TEST_F(FilesTest, SearchMatchesPatternsAndReportsAttributes) {
  auto mids = Search(u"\\WINDOWS\\RINGS\\*.mid");
  std::vector<std::pair<std::u16string, DWORD>> expected = {
      {u"dance.mid", FILE_ATTRIBUTE_ARCHIVE},
      {u"Old Tones.mid", FILE_ATTRIBUTE_DIRECTORY},
      {u"Tone.MID", FILE_ATTRIBUTE_ARCHIVE},
      {u"Xylophone.mid", FILE_ATTRIBUTE_ARCHIVE}};
  EXPECT_EQ(mids, expected);

  auto alarms = Search(u"\\windows\\alarm?.wav");
  ASSERT_EQ(alarms.size(), 4u);
  EXPECT_EQ(alarms[2].first, u"ALARM3.WAV");
  EXPECT_EQ(Search(u"\\windows\\rings\\*.*"), Search(u"\\windows\\rings\\*"));
  EXPECT_EQ(Search(u"\\windows\\rings\\belldit*y .WMA").size(), 1u);

  EXPECT_TRUE(SetFileAttributesW(u"\\windows\\rings\\tone.mid", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Search(u"\\windows\\rings\\tone.mid")[0].second,
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(_wfopen(u"\\windows\\rings\\tone.mid", u"a"), nullptr);
  EXPECT_FALSE(DeleteFileW(u"\\windows\\rings\\tone.mid"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  WIN32_FIND_DATAW data;
  EXPECT_EQ(FindFirstFileW(u"\\windows\\*.xyz", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW(u"\\nowhere\\*.wav", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(FindNextFileW(INVALID_HANDLE_VALUE, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FindClose(&data));
}

TEST_F(FilesTest, FoldersAndFilesAreRemovedOnlyAsThePhoneAllows) {
  EXPECT_FALSE(RemoveDirectoryW(u"\\windows\\rings"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  EXPECT_FALSE(DeleteFileW(u"\\windows\\rings"));
  EXPECT_FALSE(RemoveDirectoryW(u"\\"));
  EXPECT_TRUE(DeleteFileW(u"\\windows\\rings\\old tones.mid\\retro.MID"));
  EXPECT_TRUE(RemoveDirectoryW(u"\\Windows\\Rings\\Old Tones.mid"));
  EXPECT_EQ(GetFileAttributesW(u"\\windows\\rings\\Old Tones.mid"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FreshDeviceFiles, SoundsAreRealAudioFilesUnlessTheDeviceIsEmpty) {
  {
    TempDevice device;
    fs::path rings = device.fs() / "windows" / "rings";
    EXPECT_EQ(ReadFile(rings / "BellDitty .wma").substr(0, 4), std::string("\x30\x26\xB2\x75", 4));  // ASF header
    EXPECT_EQ(ReadFile(rings / "Tone.MID").substr(0, 4), "MThd");
    std::string wave = ReadFile(device.fs() / "windows" / "Alarm1.wav");
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_GT(Search(u"\\windows\\*.wav").size(), 10u);
    EXPECT_FALSE(Search(u"\\windows\\*.wma").empty());
  }
  platform::DeviceOptions empty;
  empty.empty = true;
  TempDevice device(empty);
  EXPECT_EQ(GetFileAttributesW(u"\\windows"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(Search(u"\\windows\\*.wav").empty());
  EXPECT_TRUE(Search(u"\\windows\\rings\\*").empty());
}

TEST_F(FilesTest, WideStreamsReadLinesAsUtf16FromUtf8) {
  FILE* out = _wfopen(u"\\Temp\\mode.txt", u"w");
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(fputws(u"Mode Name=Caf\u00e9\n", out), 0);
  EXPECT_EQ(fputws(u"Tone=\U0001F514 bell\n", out), 0);
  fputws(u"last line", out);
  fclose(out);
  EXPECT_EQ(ReadFile(device_->fs() / "Temp" / "mode.txt"),
            "Mode Name=Caf\xC3\xA9\nTone=\xF0\x9F\x94\x94 bell\nlast line");

  FILE* in = _wfopen(u"\\temp\\MODE.TXT", u"rt");
  ASSERT_NE(in, nullptr);
  WCHAR line[100];
  ASSERT_NE(fgetws(line, 100, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"Mode Name=Caf\u00e9\n");
  // Six units: "Tone=" and then only one left, so the pair waits.
  ASSERT_NE(fgetws(line, 7, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"Tone=");
  ASSERT_NE(fgetws(line, 3, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"\U0001F514");
  ASSERT_NE(fgetws(line, 100, in), nullptr);
  EXPECT_EQ(std::u16string(line), u" bell\n");
  EXPECT_FALSE(feof(in));
  ASSERT_NE(fgetws(line, 100, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"last line");
  EXPECT_EQ(fgetws(line, 100, in), nullptr);
  EXPECT_TRUE(feof(in));
  EXPECT_EQ(fseek(in, 0, SEEK_SET), 0);
  ASSERT_NE(fgetws(line, 5, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"Mode");
  fclose(in);

  out = _wfopen(u"\\Temp\\mode.txt", u"a");
  ASSERT_NE(out, nullptr);
  fputws(u"\n", out);
  fclose(out);
  EXPECT_EQ(ReadFile(device_->fs() / "Temp" / "mode.txt").back(), '\n');
  EXPECT_EQ(_wfopen(u"\\Temp\\missing.txt", u"r"), nullptr);
  EXPECT_EQ(_wfopen(u"\\Temp\\mode.txt", u"x"), nullptr);
  EXPECT_EQ(_wfopen(u"\\Temp", u"r"), nullptr);
}

TEST_F(FilesTest, WideStreamsSurviveBadBytesAndWindowsLineEnds) {
  WriteFile(device_->fs() / "Temp" / "bad.txt",
            "\xEF\xBB\xBFok\r\nbad\xC3(\xFF\xED\xA0\x80\xF0\x9F\r\ncut\xE2\x82");
  FILE* in = _wfopen(u"\\Temp\\bad.txt", u"r");
  ASSERT_NE(in, nullptr);
  WCHAR line[64];
  ASSERT_NE(fgetws(line, 64, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"ok\n");
  ASSERT_NE(fgetws(line, 64, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"bad\uFFFD(\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\n");
  ASSERT_NE(fgetws(line, 64, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"cut\uFFFD");
  EXPECT_EQ(fgetws(line, 64, in), nullptr);
  fclose(in);
}

TEST_F(FilesTest, ALinkInTheFileSystemIsNeitherWrittenNorReadThrough) {
  const fs::path host = WriteFile(device_->folder() / "host.txt", "the host's own\n");
  const fs::path created = device_->folder() / "created.txt";
  const fs::path folder = device_->folder() / "host folder";
  fs::create_directory(folder);
  fs::path selvane = device_->fs() / "Program files" / "Selvane";
  fs::create_symlink(host, selvane / "SelvaneMode4.txt");
  fs::create_symlink(created, selvane / "SelvaneMode5.txt");
  fs::create_symlink(folder, device_->fs() / "Temp" / "Linked");

  for (const char16_t* name : {u"\\Program files\\Selvane\\SelvaneMode4.txt", u"\\Program files\\Selvane\\SelvaneMode5.txt",
                               u"\\Temp\\Linked\\new.txt"}) {
    SCOPED_TRACE(platform::Utf16ToUtf8(name));
    for (const char16_t* mode : {u"w", u"a", u"r+", u"r", u"w+"}) EXPECT_EQ(_wfopen(name, mode), nullptr);
    EXPECT_EQ(GetFileAttributesW(name), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(CreateDirectoryW(name, nullptr));
    EXPECT_FALSE(SetFileAttributesW(name, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteFileW(name));
  }
  EXPECT_FALSE(CreateDirectoryW(u"\\Temp\\Linked", nullptr));
  EXPECT_FALSE(RemoveDirectoryW(u"\\Temp\\Linked"));
  EXPECT_EQ(Search(u"\\Program files\\Selvane\\SelvaneMode*").size(), 0u);
  EXPECT_EQ(Search(u"\\Temp\\Linked\\*").size(), 0u);

  EXPECT_EQ(ReadFile(host), "the host's own\n");
  EXPECT_TRUE(fs::is_regular_file(host));
  EXPECT_EQ(fs::status(host).permissions() & fs::perms::owner_write, fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(fs::symlink_status(created)));
  EXPECT_TRUE(fs::is_empty(folder));
  // The links themselves are still there: nothing replaced them either.
  EXPECT_TRUE(fs::is_symlink(selvane / "SelvaneMode4.txt"));
  EXPECT_TRUE(fs::is_symlink(selvane / "SelvaneMode5.txt"));

  // A real file beside them is written and read as ever.
  FILE* file = _wfopen(u"\\Program files\\Selvane\\SelvaneMode3.txt", u"w");
  ASSERT_NE(file, nullptr);
  fputws(u"<Mode 3>\n", file);
  fclose(file);
  EXPECT_EQ(ReadFile(selvane / "SelvaneMode3.txt"), "<Mode 3>\n");
}

TEST_F(FilesTest, AFileSystemThatIsALinkIsNotEntered) {
  fs::path elsewhere = device_->folder() / "elsewhere";
  fs::rename(device_->fs(), elsewhere);
  fs::create_symlink(elsewhere, device_->fs());
  EXPECT_EQ(GetFileAttributesW(u"\\windows"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(_wfopen(u"\\Temp\\x.txt", u"w"), nullptr);
  EXPECT_FALSE(fs::exists(elsewhere / "Temp" / "x.txt"));
}

// Without its device folder each file call fails with its status and the
// path's error, as on a phone whose storage card was pulled.
TEST_F(DeviceTest, FileCallsWithoutTheDeviceFolderFailWithTheirError) {
  testing_support::RemoveDevice();
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(CreateDirectoryW(u"\\Temp\\New", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesW(u"\\windows\\Alarm1.wav"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(DeleteFileW(u"\\windows\\Alarm1.wav"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  WIN32_FIND_DATAW found;
  EXPECT_EQ(FindFirstFileW(u"\\windows\\*.wav", &found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(_wfopen(u"\\windows\\Alarm1.wav", u"r"), nullptr);
}
