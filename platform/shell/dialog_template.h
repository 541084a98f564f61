// Dialog templates built in memory, laid out as the resource compiler lays
// out a DIALOG resource, for the windows the platform itself shows (the
// file-open window, message boxes).
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace platform {

// The predefined window classes an item names by atom.
constexpr WORD kButtonClass = 0x80, kEditClass = 0x81, kStaticClass = 0x82, kComboClass = 0x85;

// A dialog template in memory, laid out as the resource compiler does.
class TemplateWriter {
 public:
  void Header(DWORD style, int count, short cx, short cy, const std::u16string& title) {
    Dword(style);
    Dword(0);
    words_.push_back(static_cast<WORD>(count));
    for (short v : {short(0), short(0), cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    Text(title);
    words_.push_back(8);
    Text(u"Tahoma");
  }
  void Item(DWORD style, short x, short y, short cx, short cy, int id, WORD classAtom, const std::u16string& text) {
    if (words_.size() % 2) words_.push_back(0);  // DWORD boundary
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(static_cast<WORD>(id));
    words_.push_back(0xFFFF);
    words_.push_back(classAtom);
    Text(text);
    words_.push_back(0);  // no creation data
  }
  LPCDLGTEMPLATEW Data() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

 private:
  void Dword(DWORD value) {
    words_.push_back(static_cast<WORD>(value & 0xFFFF));
    words_.push_back(static_cast<WORD>(value >> 16));
  }
  void Text(const std::u16string& text) {
    for (char16_t c : text) words_.push_back(c);
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

}  // namespace platform
