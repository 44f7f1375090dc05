// A throw-away prefix for tests and demonstrations: a temporary folder holding just the
// files given, which the process uses until the object goes.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <utility>

class TTempPrefix {
public:
  // files: path relative to the prefix ("drive_c/KVT/Client/StewardC.ini",
  // "system.reg", "platform.ini") -> content (bytes). Folders are created as needed;
  // drive_c always exists.
  TTempPrefix();
  explicit TTempPrefix(std::initializer_list<std::pair<const std::string, std::string>> files);
  explicit TTempPrefix(const std::map<std::string, std::string>& files);
  // Removes the folder and points the process back at the prefix it had before.
  ~TTempPrefix();
  TTempPrefix(const TTempPrefix&) = delete;
  TTempPrefix& operator=(const TTempPrefix&) = delete;

  const std::string& Dir() const { return FDir; }
  // The Linux path of a file in the prefix.
  std::string Path(const std::string& relative) const;
  // Writes (or replaces) a file after creation; call ReloadPrefix() after changing
  // platform.ini or system.reg.
  void WriteFile(const std::string& relative, const std::string& content) const;
  // The file's bytes, "" when missing.
  std::string ReadFile(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

private:
  std::string FDir;
  std::string FPreviousPrefix;
};
