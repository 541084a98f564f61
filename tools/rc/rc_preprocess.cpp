// The resource compiler's preprocessor: comments, #include, #define and the
// conditional directives, then tokens with the file and line they came from.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "rc.h"

namespace rc {

namespace {

namespace fs = std::filesystem;

// Headers of the platform that a script may include for their constants:
// the compiler knows those constants itself.
const std::set<std::string> kSystemHeaders = {"windows.h", "winuser.h", "commctrl.h", "aygshell.h",
                                              "wingdi.h",  "winres.h",  "winresrc.h", "afxres.h", "newres.h"};
constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxExpansionDepth = 64;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Replaces comments by spaces, keeping line breaks and string literals, so
// that line numbers stay right.
std::string StripComments(const std::string& text, const std::string& file) {
  std::string out;
  out.reserve(text.size());
  int line = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n') ++line;
    if (c == '"') {
      out += c;
      for (++i; i < text.size() && text[i] != '\n'; ++i) {
        out += text[i];
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
          out += text[++i];
        } else if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            out += text[++i];
          } else {
            break;
          }
        }
      }
      if (i < text.size() && text[i] == '\n') {
        out += '\n';
        ++line;
      }
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      if (i < text.size()) {
        out += '\n';
        ++line;
      }
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      int startLine = line;
      size_t end = text.find("*/", i + 2);
      if (end == std::string::npos) throw ScriptError({file, startLine}, "comment is not closed");
      for (size_t k = i; k < end + 2; ++k) {
        if (text[k] == '\n') {
          out += '\n';
          ++line;
        }
      }
      out += ' ';
      i = end + 1;
      continue;
    }
    out += c;
  }
  return out;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Splits one line into tokens.
std::vector<Token> Tokenize(const std::string& line, const Position& where) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < line.size()) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (std::isspace(c)) {
      ++i;
      continue;
    }
    Token token;
    token.where = where;
    bool wide = (c == 'L' && i + 1 < line.size() && line[i + 1] == '"');
    if (c == '"' || wide) {
      if (wide) ++i;
      token.kind = TokenKind::String;
      for (++i;; ++i) {
        if (i >= line.size()) throw ScriptError(where, "string is not closed");
        char s = line[i];
        if (s == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            token.text += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        if (s != '\\' || i + 1 >= line.size()) {
          token.text += s;
          continue;
        }
        char e = line[++i];
        switch (e) {
          case 'n': token.text += '\n'; break;
          case 't': token.text += '\t'; break;
          case 'r': token.text += '\r'; break;
          case 'a': token.text += '\a'; break;
          case '\\': token.text += '\\'; break;
          case '"': token.text += '"'; break;
          case 'x': {
            uint32_t code = 0;
            int digits = 0;
            while (digits < 4 && i + 1 < line.size() && std::isxdigit(static_cast<unsigned char>(line[i + 1]))) {
              code = code * 16 + std::stoi(std::string(1, line[++i]), nullptr, 16);
              ++digits;
            }
            if (digits == 0) throw ScriptError(where, "\\x needs hex digits");
            AppendUtf8(token.text, code);
            break;
          }
          default:
            if (e >= '0' && e <= '7') {
              uint32_t code = static_cast<uint32_t>(e - '0');
              for (int digits = 1; digits < 3 && i + 1 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '7';
                   ++digits)
                code = code * 8 + static_cast<uint32_t>(line[++i] - '0');
              AppendUtf8(token.text, code);
            } else {
              token.text += '\\';
              token.text += e;
            }
        }
      }
    } else if (std::isalpha(c) || c == '_') {
      token.kind = TokenKind::Identifier;
      while (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_'))
        token.text += line[i++];
    } else if (std::isdigit(c)) {
      token.kind = TokenKind::Number;
      size_t start = i;
      int base = 10;
      if (c == '0' && i + 1 < line.size() && (line[i + 1] == 'x' || line[i + 1] == 'X')) {
        base = 16;
        i += 2;
      }
      size_t digitsStart = i;
      while (i < line.size() && std::isxdigit(static_cast<unsigned char>(line[i])) &&
             (base == 16 || std::isdigit(static_cast<unsigned char>(line[i]))))
        ++i;
      std::string digits = line.substr(digitsStart, i - digitsStart);
      while (i < line.size() && (line[i] == 'L' || line[i] == 'l' || line[i] == 'U' || line[i] == 'u')) ++i;
      token.text = line.substr(start, i - start);
      if (digits.empty() || (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_')))
        throw ScriptError(where, "bad number \"" + line.substr(start, i + 1 - start) + "\"");
      token.number = 0;
      for (char digit : digits) {
        token.number = token.number * base + (std::isdigit(static_cast<unsigned char>(digit))
                                                  ? digit - '0'
                                                  : std::tolower(static_cast<unsigned char>(digit)) - 'a' + 10);
        // Resource numbers are 32 bits wide.
        if (token.number > 0xFFFFFFFFll)
          throw ScriptError(where, "number " + token.text + " is larger than 0xFFFFFFFF");
      }
    } else {
      token.kind = TokenKind::Punct;
      std::string two = line.substr(i, 2);
      if (two == "||" || two == "&&" || two == "==" || two == "!=" || two == "<=" || two == ">=") {
        token.text = two;
        i += 2;
      } else {
        token.text = std::string(1, static_cast<char>(c));
        ++i;
      }
    }
    tokens.push_back(token);
  }
  return tokens;
}

class Preprocessor {
 public:
  Preprocessor(const std::vector<fs::path>& includeDirs, Preprocessed& out) : includeDirs_(includeDirs), out_(out) {}

  void ReadFile(const fs::path& path, const Position* includedFrom, int depth) {
    std::error_code ec;
    std::ifstream in;
    if (!fs::is_directory(path, ec)) in.open(path, std::ios::binary);
    if (!in.is_open()) {
      if (includedFrom) throw ScriptError(*includedFrom, "cannot read " + path.string());
      throw ScriptError({path.string(), 0}, "cannot read the script");
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    out_.dependencies.push_back(fs::absolute(path).lexically_normal().string());
    std::string file = path.string();
    std::istringstream lines(StripComments(buffer.str(), file));
    size_t conditionsAtStart = conditions_.size();
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      Position where{file, number};
      size_t start = line.find_first_not_of(" \t");
      if (start != std::string::npos && line[start] == '#') {
        Directive(line.substr(start + 1), where, path, depth);
        continue;
      }
      if (!Active()) continue;
      for (const Token& token : Tokenize(line, where)) Expand(token, where, 0, out_.tokens);
    }
    if (conditions_.size() != conditionsAtStart) throw ScriptError({file, number}, "#if without #endif");
  }

 private:
  struct Condition {
    bool active;  // this branch is being read
    bool taken;   // some branch of this #if was taken
    bool outer;   // the enclosing text is being read
  };

  bool Active() const { return conditions_.empty() || conditions_.back().active; }

  void Expand(const Token& token, const Position& where, int depth, std::vector<Token>& out) {
    auto macro = out_.macros.find(token.text);
    if (token.kind != TokenKind::Identifier || macro == out_.macros.end() || expanding_.count(token.text)) {
      Token copy = token;
      copy.where = where;
      out.push_back(copy);
      return;
    }
    if (depth > kMaxExpansionDepth) throw ScriptError(where, "macro " + token.text + " expands too deeply");
    expanding_.insert(token.text);
    for (const Token& part : macro->second) Expand(part, where, depth + 1, out);
    expanding_.erase(token.text);
  }

  void Directive(const std::string& text, const Position& where, const fs::path& path, int depth) {
    std::vector<Token> words = Tokenize(text, where);
    if (words.empty()) return;
    std::string name = words[0].text;
    std::vector<Token> args(words.begin() + 1, words.end());
    if (name == "ifdef" || name == "ifndef") {
      if (args.size() != 1 || args[0].kind != TokenKind::Identifier)
        throw ScriptError(where, "#" + name + " needs one name");
      bool defined = out_.macros.count(args[0].text) > 0;
      PushCondition(name == "ifdef" ? defined : !defined);
    } else if (name == "if") {
      PushCondition(Active() && Evaluate(args, where) != 0);
    } else if (name == "elif" || name == "else") {
      if (conditions_.empty()) throw ScriptError(where, "#" + name + " without #if");
      Condition& c = conditions_.back();
      bool take = !c.taken && c.outer && (name == "else" || Evaluate(args, where) != 0);
      c.active = take;
      c.taken = c.taken || take;
    } else if (name == "endif") {
      if (conditions_.empty()) throw ScriptError(where, "#endif without #if");
      conditions_.pop_back();
    } else if (!Active()) {
      return;
    } else if (name == "include") {
      Include(text, where, path, depth);
    } else if (name == "define") {
      if (args.empty() || args[0].kind != TokenKind::Identifier) throw ScriptError(where, "#define needs a name");
      size_t after = text.find(args[0].text) + args[0].text.size();
      if (after < text.size() && text[after] == '(')
        throw ScriptError(where, "macros with parameters are not supported");
      out_.macros[args[0].text] = std::vector<Token>(args.begin() + 1, args.end());
    } else if (name == "undef") {
      if (args.size() != 1) throw ScriptError(where, "#undef needs one name");
      out_.macros.erase(args[0].text);
    } else if (name == "pragma") {
      return;  // #pragma once and code pages: nothing to do for one pass
    } else if (name == "error") {
      throw ScriptError(where, "#error" + text.substr(5));
    } else {
      throw ScriptError(where, "unsupported directive #" + name);
    }
  }

  void PushCondition(bool value) {
    bool outer = Active();
    conditions_.push_back({outer && value, outer && value, outer});
  }

  void Include(const std::string& text, const Position& where, const fs::path& path, int depth) {
    size_t open = text.find_first_of("\"<");
    char closeChar = open != std::string::npos && text[open] == '<' ? '>' : '"';
    size_t close = open == std::string::npos ? open : text.find(closeChar, open + 1);
    if (close == std::string::npos) throw ScriptError(where, "#include needs a file name");
    std::string name = text.substr(open + 1, close - open - 1);
    if (kSystemHeaders.count(Lower(fs::path(name).filename().string()))) return;
    if (depth >= kMaxIncludeDepth) throw ScriptError(where, "#include nests too deeply");
    std::vector<fs::path> places;
    if (closeChar == '"') places.push_back(path.parent_path());
    places.insert(places.end(), includeDirs_.begin(), includeDirs_.end());
    for (const fs::path& place : places) {
      fs::path candidate = place / name;
      if (fs::is_regular_file(candidate)) {
        ReadFile(candidate, &where, depth + 1);
        return;
      }
    }
    throw ScriptError(where, "cannot find the include file " + name);
  }

  // #if expressions: integers, defined(NAME), ! - ~ ( ) and the binary
  // operators of C; names that are no macro count as 0.
  int64_t Evaluate(const std::vector<Token>& raw, const Position& where) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i].kind == TokenKind::Identifier && raw[i].text == "defined") {
        bool paren = i + 1 < raw.size() && raw[i + 1].text == "(";
        size_t nameAt = i + (paren ? 2 : 1);
        if (nameAt >= raw.size() || raw[nameAt].kind != TokenKind::Identifier)
          throw ScriptError(where, "defined needs a name");
        Token value;
        value.kind = TokenKind::Number;
        value.number = out_.macros.count(raw[nameAt].text) ? 1 : 0;
        tokens.push_back(value);
        i = nameAt + (paren ? 1 : 0);
        continue;
      }
      Expand(raw[i], where, 0, tokens);
    }
    if (tokens.empty()) throw ScriptError(where, "#if needs a condition");
    size_t at = 0;
    int64_t value = Binary(tokens, at, 0, where);
    if (at != tokens.size()) throw ScriptError(where, "unexpected \"" + tokens[at].text + "\" in #if");
    return value;
  }

  static int Precedence(const std::string& op) {
    static const std::map<std::string, int> table = {{"||", 1}, {"&&", 2}, {"|", 3}, {"^", 4}, {"&", 5},
                                                     {"==", 6}, {"!=", 6}, {"<", 7}, {">", 7}, {"<=", 7},
                                                     {">=", 7}, {"+", 8}, {"-", 8}, {"*", 9}, {"/", 9}};
    auto found = table.find(op);
    return found == table.end() ? 0 : found->second;
  }

  int64_t Binary(const std::vector<Token>& t, size_t& at, int minPrecedence, const Position& where) {
    int64_t left = Unary(t, at, where);
    while (at < t.size() && t[at].kind == TokenKind::Punct && Precedence(t[at].text) > minPrecedence) {
      std::string op = t[at++].text;
      int64_t right = Binary(t, at, Precedence(op), where);
      if (op == "||") left = left || right;
      else if (op == "&&") left = left && right;
      else if (op == "|") left |= right;
      else if (op == "^") left ^= right;
      else if (op == "&") left &= right;
      else if (op == "==") left = left == right;
      else if (op == "!=") left = left != right;
      else if (op == "<") left = left < right;
      else if (op == ">") left = left > right;
      else if (op == "<=") left = left <= right;
      else if (op == ">=") left = left >= right;
      else if (op == "+") left += right;
      else if (op == "-") left -= right;
      else if (op == "*") left *= right;
      else if (right == 0) throw ScriptError(where, "division by zero in #if");
      else left /= right;
    }
    return left;
  }

  int64_t Unary(const std::vector<Token>& t, size_t& at, const Position& where) {
    if (at >= t.size()) throw ScriptError(where, "#if condition ends too early");
    const Token& token = t[at++];
    if (token.kind == TokenKind::Number) return token.number;
    if (token.kind == TokenKind::Identifier) return 0;
    if (token.text == "!") return !Unary(t, at, where);
    if (token.text == "-") return -Unary(t, at, where);
    if (token.text == "~") return ~Unary(t, at, where);
    if (token.text == "(") {
      int64_t value = Binary(t, at, 0, where);
      if (at >= t.size() || t[at].text != ")") throw ScriptError(where, "missing ) in #if");
      ++at;
      return value;
    }
    throw ScriptError(where, "unexpected \"" + token.text + "\" in #if");
  }

  const std::vector<fs::path>& includeDirs_;
  Preprocessed& out_;
  std::vector<Condition> conditions_;
  std::set<std::string> expanding_;
};

}  // namespace

Preprocessed Preprocess(const fs::path& script, const std::vector<fs::path>& includeDirs) {
  Preprocessed result;
  Preprocessor reader(includeDirs, result);
  reader.ReadFile(script, nullptr, 0);
  Token end;
  end.kind = TokenKind::End;
  end.where = {script.string(), result.tokens.empty() ? 1 : result.tokens.back().where.line};
  result.tokens.push_back(end);
  return result;
}

}  // namespace rc
