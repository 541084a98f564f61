// selvane-rc: compiles a resource script into a C++ source that embeds its
// resources in the program, where FindResourceW finds them.
//   selvane-rc SCRIPT.rc -o OUT.cpp [-I DIR]... [--depfile FILE]
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "rc.h"

namespace {

namespace fs = std::filesystem;

std::string CText(const std::string& text) {
  std::string out = "u\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[12];
      std::snprintf(escaped, sizeof escaped, "\\x%02x\"u\"", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Source(const std::vector<rc::Resource>& resources, const fs::path& script) {
  std::ostringstream out;
  out << "// Resources compiled from " << script.filename().string() << " by selvane-rc.\n"
      << "// Generated at build time: change the script, not this file.\n"
      << "#include \"platform/resources.h\"\n\nnamespace {\n\n";
  for (size_t i = 0; i < resources.size(); ++i) {
    out << "const unsigned char kResource" << i << "[] = {";
    const std::vector<uint8_t>& data = resources[i].data;
    for (size_t k = 0; k < data.size(); ++k) {
      if (k % 16 == 0) out << "\n   ";
      out << ' ' << static_cast<int>(data[k]) << ',';
    }
    out << "\n};\n\n";
  }
  out << "const platform::ResourceEntry kResources[] = {\n";
  for (size_t i = 0; i < resources.size(); ++i) {
    const rc::Resource& r = resources[i];
    out << "    {" << r.typeId << ", " << r.nameId << ", " << (r.name.empty() ? "nullptr" : CText(r.name))
        << ", kResource" << i << ", sizeof kResource" << i << "},\n";
  }
  if (resources.empty()) out << "    {0, 0, nullptr, nullptr, 0},\n";
  out << "};\n\nconst platform::ResourceRegistration kRegistration(kResources, "
      << resources.size() << ");\n\n}  // namespace\n";
  return out.str();
}

std::string DepfilePath(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ' || c == '#' || c == '\\') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

bool WriteIfChanged(const fs::path& path, const std::string& text) {
  std::ifstream old(path, std::ios::binary);
  if (old) {
    std::stringstream current;
    current << old.rdbuf();
    if (current.str() == text) return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path script, output, depfile;
  std::vector<fs::path> includeDirs;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "-o" || arg == "-I" || arg == "--depfile") && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "-o") output = value;
      else if (arg == "-I") includeDirs.push_back(value);
      else depfile = value;
    } else if (!arg.empty() && arg[0] != '-' && script.empty()) {
      script = arg;
    } else {
      std::cerr << "usage: selvane-rc SCRIPT.rc -o OUT.cpp [-I DIR]... [--depfile FILE]\n";
      return 2;
    }
  }
  if (script.empty() || output.empty()) {
    std::cerr << "usage: selvane-rc SCRIPT.rc -o OUT.cpp [-I DIR]... [--depfile FILE]\n";
    return 2;
  }
  try {
    rc::Preprocessed preprocessed = rc::Preprocess(script, includeDirs);
    std::vector<rc::Resource> resources = rc::Compile(preprocessed, script);
    if (!WriteIfChanged(output, Source(resources, script))) {
      std::cerr << "selvane-rc: cannot write " << output.string() << "\n";
      return 1;
    }
    if (!depfile.empty()) {
      std::string deps = DepfilePath(output.string()) + ":";
      for (const std::string& dependency : preprocessed.dependencies) deps += " " + DepfilePath(dependency);
      if (!WriteIfChanged(depfile, deps + "\n")) {
        std::cerr << "selvane-rc: cannot write " << depfile.string() << "\n";
        return 1;
      }
    }
  } catch (const rc::ScriptError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "selvane-rc: " << script.string() << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
