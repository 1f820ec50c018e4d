// The window: the configuration tool's windows on Qt Widgets. morvel_config
// starts it (exec, with its own arguments and name) when no subcommand is
// given, so the command line never loads QtWidgets.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "desktop.h"
#include "platform/ui/errors.h"

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
  // The program's name, as it was started (not the window's file name).
  platform::SetProgramTitle(platform::TitleFromPath(argv[0]));
  QCoreApplication::setApplicationName(QString::fromStdString(platform::ProgramTitle()));
  return desktop::Run(argc, argv, std::move(onShown));
}
