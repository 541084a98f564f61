// The runtime's wide-character streams: _wfopen over device paths, fgetws
// and fputws converting between UTF-8 on disk and UTF-16 in memory.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include <windows.h>

#include "../device/call_failure.h"
#include "../text/utf.h"
#include "files.h"

namespace {

struct OpenMode {
  char kind = 0;  // 'r', 'w' or 'a'
  bool update = false;
};

// "r", "w", "a", each with "+", "t" or "b" in any order; anything after a
// "," (such as a "ccs=" encoding) is ignored.
bool ParseMode(std::u16string_view text, OpenMode* mode) {
  size_t end = text.find(u',');
  if (end != std::u16string_view::npos) text = text.substr(0, end);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  if (text.empty() || (text[0] != u'r' && text[0] != u'w' && text[0] != u'a')) return false;
  mode->kind = static_cast<char>(text[0]);
  for (char16_t c : text.substr(1)) {
    if (c == u'+')
      mode->update = true;
    else if (c != u't' && c != u'b')
      return false;
  }
  return true;
}

// Skips a UTF-8 byte order mark at the very start of the file.
void SkipByteOrderMark(FILE* stream) {
  if (std::ftell(stream) != 0) return;
  unsigned char mark[3];
  size_t got = std::fread(mark, 1, 3, stream);
  if (got == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) return;
  std::clearerr(stream);
  std::fseek(stream, 0, SEEK_SET);
}

}  // namespace

FILE* _wfopen(const WCHAR* path, const WCHAR* modeText) try {
  OpenMode mode;
  if (!path || !modeText || !ParseMode(modeText, &mode)) {
    errno = EINVAL;
    return nullptr;
  }
  int flags = mode.update ? O_RDWR : (mode.kind == 'r' ? O_RDONLY : O_WRONLY);
  if (mode.kind == 'w') flags |= O_CREAT | O_TRUNC;
  if (mode.kind == 'a') flags |= O_CREAT | O_APPEND;
  DWORD error = 0;
  auto entry = platform::LocateDeviceEntry(path, &error);
  if (!entry) {
    errno = ENOENT;
    return nullptr;
  }
  if (entry->exists) {
    DWORD attributes = platform::HostFileAttributesAt(entry->folder.get(), entry->name);
    // The phone refuses writes to read-only files whoever runs it; the
    // host would let root write them, so the attribute is checked here.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || ((flags & O_ACCMODE) != O_RDONLY && (attributes & FILE_ATTRIBUTE_READONLY))) {
      errno = EACCES;
      return nullptr;
    }
  }
  int fd = platform::OpenDeviceFile(path, flags, &error);
  if (fd < 0) {
    errno = error == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
    return nullptr;
  }
  std::string hostMode(1, mode.kind);
  if (mode.update) hostMode += '+';
  hostMode += 'b';
  FILE* stream = fdopen(fd, hostMode.c_str());
  if (!stream) close(fd);
  return stream;
} catch (...) {
  platform::FailedCall();
  errno = EIO;
  return nullptr;
}

WCHAR* fgetws(WCHAR* buffer, int count, FILE* stream) {
  if (!buffer || count <= 0 || !stream) return nullptr;
  SkipByteOrderMark(stream);
  int stored = 0;
  while (stored < count - 1) {
    int c = std::fgetc(stream);
    if (c == EOF) break;
    // Where a four-byte sequence starts, to give it back when it does not fit.
    long start = c >= 0xF0 ? std::ftell(stream) - 1 : -1;
    char32_t code;
    if (c == '\r') {
      int next = std::fgetc(stream);
      if (next == '\n') {
        code = u'\n';
      } else {
        if (next != EOF) std::ungetc(next, stream);
        code = u'\r';
      }
    } else if (c < 0x80) {
      code = static_cast<char32_t>(c);
    } else {
      code = platform::ReadUtf8Sequence(stream, c);
    }
    if (code >= 0x10000) {
      if (stored + 2 <= count - 1) {
        stored += platform::EncodeUtf16(code, buffer + stored);
        continue;
      }
      // Only one unit left: the character waits for the next call, unless
      // the buffer could never hold it.
      if (stored > 0 && start >= 0 && std::fseek(stream, start, SEEK_SET) == 0) break;
      code = platform::kReplacementCharacter;
    }
    buffer[stored++] = static_cast<WCHAR>(code);
    if (code == u'\n') break;
  }
  buffer[stored] = 0;
  if (stored == 0 && count > 1) return nullptr;
  return buffer;
}

int fputws(const WCHAR* text, FILE* stream) {
  if (!text || !stream) return EOF;
  std::string bytes = platform::Utf16ToUtf8(text);
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) return EOF;
  return 0;
}
