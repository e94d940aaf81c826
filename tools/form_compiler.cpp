// formc: compiles a text form into the binary form stream the installer carries.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "ui/FormStreamReader.h"
#include "ui/FormText.h"

namespace {

bool ReadWholeFile(const std::filesystem::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

// Writes beside the target and renames, so a failed run never leaves half a form behind.
bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path partial = path;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: formc INPUT.txt OUTPUT\n";
    return 2;
  }
  std::string text;
  if (!ReadWholeFile(argv[1], text)) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  std::string binary;
  try {
    binary = dbinst::CompileFormText(text);
    // A form the installer would refuse to load is a build error, not a resource.
    dbinst::ReadFormStream(binary);
  } catch (const dbinst::EFormTextError& error) {
    std::cerr << argv[1] << ": " << error.what() << "\n";
    return 1;
  } catch (const dbinst::EFormStreamError& error) {
    std::cerr << argv[1] << ": " << error.what() << "\n";
    return 1;
  }
  if (!WriteWholeFile(argv[2], binary)) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  return 0;
}
