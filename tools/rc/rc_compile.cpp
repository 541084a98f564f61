// The resource compiler's statements: DIALOG and DIALOGEX templates in the
// binary layout that CreateDialogIndirectParamW reads, and BITMAP resources
// from BMP files beside the script.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "rc.h"

namespace rc {

namespace {

namespace fs = std::filesystem;

constexpr uint16_t kTypeBitmap = 2;
constexpr uint16_t kTypeDialog = 5;
constexpr size_t kBitmapFileHeaderSize = 14;
constexpr size_t kBitmapInfoHeaderSize = 40;

// Window styles every dialog and control gets from the compiler.
constexpr uint32_t kWsPopup = 0x80000000u, kWsChild = 0x40000000u, kWsVisible = 0x10000000u,
                   kWsCaption = 0x00C00000u, kWsBorder = 0x00800000u, kWsSysMenu = 0x00080000u,
                   kWsGroup = 0x00020000u, kWsTabStop = 0x00010000u, kDsSetFont = 0x40u;

// The predefined control classes, written as atoms.
constexpr uint16_t kAtomButton = 0x80, kAtomEdit = 0x81, kAtomStatic = 0x82, kAtomListBox = 0x83,
                   kAtomScrollBar = 0x84, kAtomComboBox = 0x85;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

std::u16string Utf8ToUtf16(const std::string& text, const Position& where) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    uint32_t code;
    int extra;
    if (c < 0x80) {
      code = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      code = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      code = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      code = c & 0x07;
      extra = 3;
    } else {
      throw ScriptError(where, "text is not UTF-8");
    }
    if (extra > 0 && i + extra >= text.size())
      throw ScriptError(where, "text is not UTF-8");
    for (int k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) throw ScriptError(where, "text is not UTF-8");
      code = (code << 6) | (next & 0x3F);
    }
    i += extra + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

// Little-endian output in the template's layout.
struct Writer {
  std::vector<uint8_t> bytes;
  void Word(uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
  }
  void Dword(uint32_t value) {
    Word(value & 0xFFFF);
    Word(value >> 16);
  }
  void Text(const std::u16string& text) {
    for (char16_t c : text) Word(c);
    Word(0);
  }
  void AlignDword() {
    while (bytes.size() % 4) bytes.push_back(0);
  }
};

// A name or class field: empty, a number (0xFFFF then the number) or a text.
struct NameOrId {
  bool isId = false;
  uint16_t id = 0;
  std::u16string text;
  void Write(Writer& out) const {
    if (isId) {
      out.Word(0xFFFF);
      out.Word(id);
    } else {
      out.Text(text);
    }
  }
};

struct Item {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint16_t id = 0;
  NameOrId className;
  NameOrId title;
};

struct ControlStatement {
  uint16_t atom;
  uint32_t style;    // the statement's own style, kept under the script's
  uint32_t replaceable;  // default bits that a style in the script replaces
  bool hasText;
};

const std::map<std::string, ControlStatement>& ControlStatements() {
  static const std::map<std::string, ControlStatement> table = {
      {"LTEXT", {kAtomStatic, 0x0 | kWsGroup, 0, true}},
      {"CTEXT", {kAtomStatic, 0x1 | kWsGroup, 0, true}},
      {"RTEXT", {kAtomStatic, 0x2 | kWsGroup, 0, true}},
      {"PUSHBUTTON", {kAtomButton, 0x0 | kWsTabStop, 0, true}},
      {"DEFPUSHBUTTON", {kAtomButton, 0x1 | kWsTabStop, 0, true}},
      {"CHECKBOX", {kAtomButton, 0x2 | kWsTabStop, 0, true}},
      {"AUTOCHECKBOX", {kAtomButton, 0x3 | kWsTabStop, 0, true}},
      {"RADIOBUTTON", {kAtomButton, 0x4 | kWsTabStop, 0, true}},
      {"STATE3", {kAtomButton, 0x5 | kWsTabStop, 0, true}},
      {"AUTO3STATE", {kAtomButton, 0x6 | kWsTabStop, 0, true}},
      {"GROUPBOX", {kAtomButton, 0x7, 0, true}},
      {"AUTORADIOBUTTON", {kAtomButton, 0x9 | kWsTabStop, 0, true}},
      {"EDITTEXT", {kAtomEdit, kWsBorder | kWsTabStop, 0, false}},
      // A combo box is simple unless the script names its kind.
      {"COMBOBOX", {kAtomComboBox, 0x1 | kWsTabStop, 0x3, false}},
  };
  return table;
}

class Compiler {
 public:
  Compiler(Preprocessed& script, const fs::path& scriptPath) : script_(script), dir_(scriptPath.parent_path()) {}

  std::vector<Resource> Run() {
    std::vector<Resource> resources;
    std::set<std::pair<uint16_t, std::string>> seen;
    while (Peek().kind != TokenKind::End) {
      if (Keyword(Peek(), "LANGUAGE")) {
        Next();
        Expression(0);
        ExpectComma();
        Expression(0);
        continue;
      }
      Position where = Peek().where;
      // Statements that stand without a name: none of them is supported.
      if (Keyword(Peek(), "STRINGTABLE") || Keyword(Peek(), "CHARACTERISTICS") || Keyword(Peek(), "VERSION"))
        throw ScriptError(where, "unsupported resource statement \"" + Peek().text + "\"");
      Resource resource;
      ParseName(resource);
      const Token& type = Next();
      if (Keyword(type, "DIALOG") || Keyword(type, "DIALOGEX")) {
        resource.typeId = kTypeDialog;
        resource.data = Dialog(Keyword(type, "DIALOGEX"));
      } else if (Keyword(type, "BITMAP")) {
        resource.typeId = kTypeBitmap;
        resource.data = Bitmap();
      } else {
        throw ScriptError(type.where, "unsupported resource type \"" + type.text + "\"");
      }
      std::string key = resource.name.empty() ? "#" + std::to_string(resource.nameId) : resource.name;
      if (!seen.insert({resource.typeId, key}).second)
        throw ScriptError(where, "resource " + key + " is defined twice");
      resources.push_back(std::move(resource));
    }
    return resources;
  }

 private:
  const Token& Peek() const { return script_.tokens[at_]; }
  const Token& Next() {
    const Token& token = script_.tokens[at_];
    if (token.kind != TokenKind::End) ++at_;
    return token;
  }
  static bool Keyword(const Token& token, const char* word) {
    return token.kind == TokenKind::Identifier && Upper(token.text) == word;
  }
  static bool Punct(const Token& token, const char* text) {
    return token.kind == TokenKind::Punct && token.text == text;
  }
  static std::string Describe(const Token& token) {
    if (token.kind == TokenKind::End) return "the end of the script";
    if (token.kind == TokenKind::String) return "\"" + token.text + "\"";
    return "\"" + token.text + "\"";
  }
  [[noreturn]] void Unexpected(const std::string& wanted) const {
    throw ScriptError(Peek().where, "expected " + wanted + ", found " + Describe(Peek()));
  }
  void ExpectComma() {
    if (!Punct(Peek(), ",")) Unexpected("\",\"");
    Next();
  }
  bool OptionalComma() {
    if (!Punct(Peek(), ",")) return false;
    Next();
    return true;
  }
  std::string String(const char* what) {
    if (Peek().kind != TokenKind::String) Unexpected(what);
    return Next().text;
  }
  bool BlockStart() const { return Keyword(Peek(), "BEGIN") || Punct(Peek(), "{"); }
  bool BlockEnd() const { return Keyword(Peek(), "END") || Punct(Peek(), "}"); }

  // A value: numbers, named constants, ( ), unary - and ~.
  int64_t Primary() {
    const Token& token = Next();
    if (token.kind == TokenKind::Number) return token.number;
    if (Punct(token, "-")) return -Primary();
    if (Punct(token, "~")) return ~Primary();
    if (Punct(token, "(")) {
      int64_t value = Expression(0);
      if (!Punct(Peek(), ")")) Unexpected("\")\"");
      Next();
      return value;
    }
    int64_t value;
    if (token.kind == TokenKind::Identifier && KnownConstant(token.text, &value)) return value;
    if (token.kind == TokenKind::Identifier) throw ScriptError(token.where, "unknown name \"" + token.text + "\"");
    --at_;
    Unexpected("a number");
  }

  // A style or number expression: terms joined by |, + or -, where a term
  // written "NOT X" clears the bits of X, those of `start` included.
  int64_t Expression(int64_t start) {
    int64_t value = start;
    std::string op = "|";
    for (;;) {
      if (Keyword(Peek(), "NOT")) {
        Next();
        value &= ~Primary();
      } else {
        int64_t term = Primary();
        if (op == "|") value |= term;
        else if (op == "+") value += term;
        else value -= term;
      }
      if (Punct(Peek(), "|") || Punct(Peek(), "+") || Punct(Peek(), "-")) {
        op = Next().text;
        continue;
      }
      return value;
    }
  }

  int16_t Coordinate() {
    Position where = Peek().where;
    int64_t value = Expression(0);
    if (value < -32768 || value > 32767) throw ScriptError(where, "coordinate out of range");
    return static_cast<int16_t>(value);
  }

  uint16_t Identifier() {
    Position where = Peek().where;
    int64_t value = Expression(0);
    if (value < -1 || value > 0xFFFF) throw ScriptError(where, "identifier out of range: " + std::to_string(value));
    return static_cast<uint16_t>(value & 0xFFFF);
  }

  uint32_t Style(uint32_t start) { return static_cast<uint32_t>(Expression(start) & 0xFFFFFFFF); }

  void ParseName(Resource& resource) {
    const Token& token = Peek();
    int64_t ignored;
    if (token.kind == TokenKind::Number || Punct(token, "(") ||
        (token.kind == TokenKind::Identifier && KnownConstant(token.text, &ignored))) {
      resource.nameId = Identifier();
    } else if (token.kind == TokenKind::Identifier || token.kind == TokenKind::String) {
      resource.name = Upper(Next().text);
    } else {
      Unexpected("a resource name");
    }
  }

  void SkipMemoryOptions() {
    static const std::set<std::string> options = {"DISCARDABLE", "MOVEABLE", "FIXED",      "PURE",
                                                  "IMPURE",      "PRELOAD",  "LOADONCALL", "SHARED", "NONSHARED"};
    while (Peek().kind == TokenKind::Identifier && options.count(Upper(Peek().text))) Next();
  }

  NameOrId NameField() {
    NameOrId field;
    if (Peek().kind == TokenKind::String) {
      field.text = Utf8ToUtf16(Peek().text, Peek().where);
      Next();
    } else if (Peek().kind == TokenKind::Identifier && !KnownConstantName(Peek().text)) {
      field.text = Utf8ToUtf16(Upper(Next().text), Peek().where);
    } else {
      field.isId = true;
      field.id = Identifier();
    }
    return field;
  }
  static bool KnownConstantName(const std::string& name) {
    int64_t ignored;
    return KnownConstant(name, &ignored);
  }

  std::vector<uint8_t> Dialog(bool extended) {
    SkipMemoryOptions();
    int16_t x = Coordinate();
    ExpectComma();
    int16_t y = Coordinate();
    ExpectComma();
    int16_t cx = Coordinate();
    ExpectComma();
    int16_t cy = Coordinate();
    if (extended && OptionalComma()) Expression(0);  // help identifier: not kept
    uint32_t style = kWsPopup | kWsBorder | kWsSysMenu;
    uint32_t exStyle = 0;
    bool hasCaption = false, hasFont = false;
    std::u16string caption, fontName;
    uint16_t fontSize = 0;
    NameOrId menu, windowClass;
    menu.text = windowClass.text = u"";
    while (!BlockStart()) {
      const Token& option = Next();
      if (Keyword(option, "STYLE")) {
        style = Style(0);
      } else if (Keyword(option, "EXSTYLE")) {
        exStyle = Style(0);
      } else if (Keyword(option, "CAPTION")) {
        Position where = Peek().where;
        caption = Utf8ToUtf16(String("a caption text"), where);
        hasCaption = true;
      } else if (Keyword(option, "FONT")) {
        Position where = Peek().where;
        int64_t size = Expression(0);
        if (size <= 0 || size > 0xFFFF) throw ScriptError(where, "bad font size");
        fontSize = static_cast<uint16_t>(size);
        ExpectComma();
        fontName = Utf8ToUtf16(String("a font name"), Peek().where);
        while (OptionalComma()) Expression(0);  // weight, italic, character set: not kept
        hasFont = true;
      } else if (Keyword(option, "MENU")) {
        menu = NameField();
      } else if (Keyword(option, "CLASS")) {
        windowClass = NameField();
      } else if (Keyword(option, "LANGUAGE")) {
        Expression(0);
        ExpectComma();
        Expression(0);
      } else if (Keyword(option, "CHARACTERISTICS") || Keyword(option, "VERSION")) {
        Expression(0);
      } else {
        --at_;
        Unexpected("a dialog option or BEGIN");
      }
    }
    Next();
    if (hasCaption) style |= kWsCaption;
    if (hasFont) style |= kDsSetFont;
    std::vector<Item> items;
    while (!BlockEnd()) {
      if (Peek().kind == TokenKind::End) Unexpected("END");
      items.push_back(Control(extended));
    }
    Next();
    if (items.size() > 0xFFFF) throw ScriptError(Peek().where, "too many controls");

    Writer out;
    out.Dword(style);
    out.Dword(exStyle);
    out.Word(static_cast<uint16_t>(items.size()));
    out.Word(static_cast<uint16_t>(x));
    out.Word(static_cast<uint16_t>(y));
    out.Word(static_cast<uint16_t>(cx));
    out.Word(static_cast<uint16_t>(cy));
    menu.Write(out);
    windowClass.Write(out);
    out.Text(caption);
    if (style & kDsSetFont) {
      out.Word(fontSize);
      out.Text(fontName);
    }
    for (const Item& item : items) {
      out.AlignDword();
      out.Dword(item.style);
      out.Dword(item.exStyle);
      out.Word(static_cast<uint16_t>(item.x));
      out.Word(static_cast<uint16_t>(item.y));
      out.Word(static_cast<uint16_t>(item.cx));
      out.Word(static_cast<uint16_t>(item.cy));
      out.Word(item.id);
      item.className.Write(out);
      item.title.Write(out);
      out.Word(0);  // no creation data
    }
    return out.bytes;
  }

  void Rectangle(Item& item) {
    item.x = Coordinate();
    ExpectComma();
    item.y = Coordinate();
    ExpectComma();
    item.cx = Coordinate();
    ExpectComma();
    item.cy = Coordinate();
  }

  NameOrId Title() {
    if (Peek().kind == TokenKind::String) {
      NameOrId title;
      title.text = Utf8ToUtf16(Peek().text, Peek().where);
      Next();
      return title;
    }
    NameOrId title;
    title.isId = true;
    title.id = Identifier();
    return title;
  }

  NameOrId ClassField() {
    static const std::map<std::string, uint16_t> atoms = {{"BUTTON", kAtomButton},   {"EDIT", kAtomEdit},
                                                          {"STATIC", kAtomStatic},   {"LISTBOX", kAtomListBox},
                                                          {"SCROLLBAR", kAtomScrollBar}, {"COMBOBOX", kAtomComboBox}};
    const Token& token = Peek();
    if (token.kind != TokenKind::String && token.kind != TokenKind::Identifier) Unexpected("a control class");
    Next();
    NameOrId field;
    auto atom = atoms.find(Upper(token.text));
    if (atom != atoms.end()) {
      field.isId = true;
      field.id = atom->second;
    } else if (token.kind == TokenKind::String) {
      field.text = Utf8ToUtf16(token.text, token.where);
    } else {
      throw ScriptError(token.where, "unknown control class " + token.text);
    }
    return field;
  }

  Item Control(bool extended) {
    const Token& statement = Next();
    std::string word = Upper(statement.text);
    Item item;
    if (statement.kind == TokenKind::Identifier && word == "CONTROL") {
      item.title = Title();
      ExpectComma();
      item.id = Identifier();
      ExpectComma();
      item.className = ClassField();
      ExpectComma();
      item.style = Style(kWsChild | kWsVisible);
      ExpectComma();
      Rectangle(item);
      if (OptionalComma()) item.exStyle = Style(0);
      if (extended && OptionalComma()) Expression(0);
      return item;
    }
    auto found = ControlStatements().find(word);
    if (statement.kind != TokenKind::Identifier || found == ControlStatements().end())
      throw ScriptError(statement.where, "unsupported control statement \"" + statement.text + "\"");
    const ControlStatement& kind = found->second;
    if (kind.hasText) {
      item.title = Title();
      ExpectComma();
    }
    item.id = Identifier();
    ExpectComma();
    Rectangle(item);
    uint32_t start = kWsChild | kWsVisible | kind.style;
    if (OptionalComma()) {
      item.style = Style(start & ~kind.replaceable);
      if (OptionalComma()) item.exStyle = Style(0);
      if (extended && OptionalComma()) Expression(0);
    } else {
      item.style = start;
    }
    item.className.isId = true;
    item.className.id = kind.atom;
    return item;
  }

  std::vector<uint8_t> Bitmap() {
    SkipMemoryOptions();
    Position where = Peek().where;
    std::string name = String("a bitmap file name");
    fs::path path = dir_ / name;
    std::error_code ec;
    std::ifstream in;
    if (!fs::is_directory(path, ec)) in.open(path, std::ios::binary);
    if (!in.is_open()) throw ScriptError(where, "cannot read the bitmap " + name);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < kBitmapFileHeaderSize + kBitmapInfoHeaderSize || file[0] != 'B' || file[1] != 'M')
      throw ScriptError(where, name + " is not a BMP file");
    script_.dependencies.push_back(fs::absolute(path).lexically_normal().string());
    // The resource is the bitmap without its file header, as Windows keeps it.
    return std::vector<uint8_t>(file.begin() + kBitmapFileHeaderSize, file.end());
  }

  Preprocessed& script_;
  fs::path dir_;
  size_t at_ = 0;
};

}  // namespace

std::vector<Resource> Compile(Preprocessed& script, const fs::path& scriptPath) {
  return Compiler(script, scriptPath).Run();
}

}  // namespace rc
