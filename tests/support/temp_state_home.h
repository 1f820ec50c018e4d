#pragma once
// XDG_STATE_HOME pointed at a fresh temporary directory for as long as this
// lives, so the connection logs of the programs a test runs never land in
// the user's home.
#include <QTemporaryDir>
#include <cstdlib>

namespace testsupport {

class TempStateHome {
 public:
  TempStateHome() { setenv("XDG_STATE_HOME", qPrintable(dir_.path()), 1); }
  ~TempStateHome() { unsetenv("XDG_STATE_HOME"); }
  TempStateHome(const TempStateHome&) = delete;
  TempStateHome& operator=(const TempStateHome&) = delete;

 private:
  QTemporaryDir dir_;
};

}  // namespace testsupport
