// The resource compiler's pieces: a preprocessed token stream with source
// positions, the resources a script defines, and the error that stops it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace rc {

struct Position {
  std::string file;
  int line = 0;
};

// A mistake in a script: reported as "file:line: message".
struct ScriptError : std::runtime_error {
  ScriptError(const Position& where, const std::string& message)
      : std::runtime_error(where.file + ":" + std::to_string(where.line) + ": " + message) {}
};

enum class TokenKind { Identifier, Number, String, Punct, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;     // identifier, punctuation, or the string's UTF-8 value
  int64_t number = 0;
  Position where;
};

struct Preprocessed {
  std::vector<Token> tokens;            // ends with one End token
  std::vector<std::string> dependencies;  // every file read, the script first
  // Macro definitions still in force at the end, for expressions.
  std::map<std::string, std::vector<Token>> macros;
};

// Reads the script with its #include'd headers (searched beside the
// including file, then in `includeDirs`), applies #define, #undef and the
// conditional directives, and expands macros.
Preprocessed Preprocess(const std::filesystem::path& script, const std::vector<std::filesystem::path>& includeDirs);

// One compiled resource: its type and name (a number, or a text name) and
// its bytes as the program finds them with FindResourceW.
struct Resource {
  uint16_t typeId = 0;
  uint16_t nameId = 0;
  std::string name;  // empty when named by number
  std::vector<uint8_t> data;
};

// Parses the statements of a preprocessed script: DIALOG/DIALOGEX and
// BITMAP (files found beside the script). Bitmap files are added to the
// dependencies.
std::vector<Resource> Compile(Preprocessed& script, const std::filesystem::path& scriptPath);

// The numeric value of a style or identifier constant of the platform's
// headers, or false when the name is not one.
bool KnownConstant(const std::string& name, int64_t* value);

}  // namespace rc
