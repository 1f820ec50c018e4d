#pragma once
// A fresh temporary directory made the working directory for as long as this
// lives (programs write their language file there); the previous working
// directory comes back and the directory is removed on destruction.
#include <QTemporaryDir>
#include <filesystem>
#include <string>

namespace testsupport {

class TempWorkingDir {
 public:
  TempWorkingDir() : previous_(std::filesystem::current_path()) {
    if (dir_.isValid()) std::filesystem::current_path(Path());
  }
  ~TempWorkingDir() { std::filesystem::current_path(previous_); }
  TempWorkingDir(const TempWorkingDir&) = delete;
  TempWorkingDir& operator=(const TempWorkingDir&) = delete;

  bool IsValid() const { return dir_.isValid(); }
  std::string Path() const { return dir_.path().toStdString(); }

 private:
  std::filesystem::path previous_;
  QTemporaryDir dir_;
};

}  // namespace testsupport
