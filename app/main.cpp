// The desktop program: the configuration tool's windows on Qt Widgets.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "desktop.h"

int main(int argc, char** argv) {
  // MORVEL_EXIT_AFTER_SHOW=1: end once the main window has been painted,
  // printing "shown" (the package and start-script checks use it).
  std::function<void()> onShown;
  if (const char* exitAfterShow = std::getenv("MORVEL_EXIT_AFTER_SHOW");
      exitAfterShow && *exitAfterShow == '1')
    onShown = [] {
      std::puts("shown");
      std::fflush(stdout);
      QCoreApplication::exit(0);
    };
  return desktop::Run(argc, argv, std::move(onShown));
}
