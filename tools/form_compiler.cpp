// formc: compiles a text form into the binary form stream the installer carries.
//   formc --vocabulary README.md   writes the vocabulary of the layouts into the README anew
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "ui/FormIncludes.h"
#include "ui/FormStreamReader.h"
#include "ui/FormText.h"
#include "ui/FormVocabulary.h"

namespace {

namespace fs = std::filesystem;

struct TOptions {
  std::vector<fs::path> includeDirs;
  fs::path expanded;
  fs::path input;
  fs::path output;
};

bool ReadWholeFile(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

// Writes beside the target and renames, so a failed run never leaves half a form behind.
bool WriteWholeFile(const fs::path& path, const std::string& bytes) {
  fs::path partial = path;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(partial, ignored);
      return false;
    }
  }
  std::error_code error;
  fs::rename(partial, path, error);
  return !error;
}

bool ParseOptions(int argc, char** argv, TOptions& options) {
  std::vector<fs::path> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--include-dir" || arg == "--expanded") && i + 1 < argc) {
      if (arg == "--include-dir") {
        options.includeDirs.emplace_back(argv[++i]);
      } else {
        options.expanded = argv[++i];
      }
    } else if (arg.starts_with("--")) {
      return false;
    } else {
      positional.emplace_back(arg);
    }
  }
  if (positional.size() != 2) return false;
  options.input = positional[0];
  options.output = positional[1];
  return true;
}

// Included files are looked up in the include folders in order, then beside the input.
dbinst::TFormIncludeReader IncludeReader(const TOptions& options) {
  std::vector<fs::path> folders = options.includeDirs;
  folders.push_back(options.input.parent_path());
  return [folders](std::string_view name) -> std::optional<std::string> {
    for (const fs::path& folder : folders) {
      std::string bytes;
      if (fs::is_regular_file(folder / name) && ReadWholeFile(folder / name, bytes)) return bytes;
    }
    return std::nullopt;
  };
}

// The part of the README between its vocabulary markers, made anew from the declarations.
int WriteVocabulary(const fs::path& readme) {
  std::string text;
  if (!ReadWholeFile(readme, text)) {
    std::cerr << readme.string() << ": cannot read\n";
    return 1;
  }
  const std::optional<std::string> updated = dbinst::WithVocabulary(text, dbinst::FormVocabulary());
  if (!updated) {
    std::cerr << readme.string() << ": no vocabulary markers\n";
    return 1;
  }
  if (!WriteWholeFile(readme, *updated)) {
    std::cerr << readme.string() << ": cannot write\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--vocabulary") return WriteVocabulary(argv[2]);
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: formc [--include-dir DIR]... [--expanded TEXT_OUT] INPUT.txt OUTPUT\n"
                 "       formc --vocabulary README.md\n";
    return 2;
  }
  std::string text;
  if (!ReadWholeFile(options.input, text)) {
    std::cerr << options.input.string() << ": cannot read\n";
    return 1;
  }
  std::string expanded;
  std::string binary;
  try {
    expanded = dbinst::ExpandFormIncludes(text, IncludeReader(options));
    binary = dbinst::CompileFormText(expanded);
    // A form the installer would refuse to load is a build error, not a resource.
    dbinst::ReadFormStream(binary);
  } catch (const dbinst::EFormTextError& error) {
    std::cerr << options.input.string() << ": " << error.what() << "\n";
    return 1;
  } catch (const dbinst::EFormStreamError& error) {
    std::cerr << options.input.string() << ": " << error.what() << "\n";
    return 1;
  }
  if (!options.expanded.empty() && !WriteWholeFile(options.expanded, expanded)) {
    std::cerr << options.expanded.string() << ": cannot write\n";
    return 1;
  }
  if (!WriteWholeFile(options.output, binary)) {
    std::cerr << options.output.string() << ": cannot write\n";
    return 1;
  }
  return 0;
}
