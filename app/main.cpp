// The desktop program: the configuration tool's four windows on Qt Widgets.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/message_boxes.h"
#include "platform/qt/view.h"
#include "platform/ui/message_box.h"
#include "program_view.h"
#include "ui/program.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  QApplication app(argc, argv);
  // The main window's close ends the program, through its close query.
  app.setQuitOnLastWindowClosed(false);
  platform::qt::ApplyLook(app);
  platform::qt::QtMessageBoxes boxes;
  platform::InstallMessageBoxes(&boxes);

  int rc = 0;
  {
    ui::Program program;
    desktop::ProgramView view(program, desktop::FindAssetsDir());
    // MORVEL_EXIT_AFTER_SHOW=1: print the time to the first shown main window
    // and end (the start-up measurement).
    if (const char* exitAfterShow = std::getenv("MORVEL_EXIT_AFTER_SHOW"); exitAfterShow && *exitAfterShow == '1') {
      QTimer::singleShot(0, &app, [&] {
        std::printf("startup_ms=%lld\n", static_cast<long long>(sinceStart.elapsed()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    program.Start();
    rc = app.exec();
  }
  platform::InstallMessageBoxes(nullptr);
  return rc;
}
