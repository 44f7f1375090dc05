#include "platform/win/TestPrefix.h"

#include "platform/rtl/System.h"
#include "platform/win/Prefix.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TTempPrefix::TTempPrefix() : TTempPrefix(std::map<std::string, std::string>{}) {}

TTempPrefix::TTempPrefix(std::initializer_list<std::pair<const std::string, std::string>> files)
    : TTempPrefix(std::map<std::string, std::string>(files)) {}

TTempPrefix::TTempPrefix(const std::map<std::string, std::string>& files) {
  std::string pattern = (fs::temp_directory_path() / "tavo-prefix-XXXXXX").string();
  if (!::mkdtemp(pattern.data()))
    throw EInOutError("Cannot create a temporary prefix: " + std::string(std::strerror(errno)), errno);
  FDir = pattern;
  fs::create_directories(FDir + "/drive_c");
  for (const auto& [relative, content] : files) WriteFile(relative, content);
  FPreviousPrefix = GetPrefixDir();
  SetPrefix(FDir);
}

TTempPrefix::~TTempPrefix() {
  SetPrefix(FPreviousPrefix);
  std::error_code ec;
  fs::remove_all(FDir, ec);
}

std::string TTempPrefix::Path(const std::string& relative) const { return FDir + "/" + relative; }

void TTempPrefix::WriteFile(const std::string& relative, const std::string& content) const {
  const fs::path path = Path(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw EInOutError("Cannot write " + path.string(), EIO);
}

std::string TTempPrefix::ReadFile(const std::string& relative) const {
  std::ifstream in(Path(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TTempPrefix::Exists(const std::string& relative) const {
  std::error_code ec;
  return fs::exists(Path(relative), ec);
}
