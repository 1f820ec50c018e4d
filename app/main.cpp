// The desktop program: the configuration tool's four windows on Qt Widgets.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "platform/qt/message_boxes.h"
#include "platform/qt/view.h"
#include "platform/ui/message_box.h"
#include "program_view.h"
#include "ui/program.h"

namespace {

/// Milliseconds since the process started (the kernel's start time of this
/// process, in clock ticks since boot), or -1 when it cannot be read.
long long SinceExec() {
  std::FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return -1;
  char buffer[1024];
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = 0;
  // Field 22 (starttime) counts from the one after the command's ')'.
  const char* p = std::strrchr(buffer, ')');
  if (!p) return -1;
  unsigned long long start = 0;
  if (std::sscanf(p + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                  &start) != 1)
    return -1;
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const long hz = sysconf(_SC_CLK_TCK);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000 -
         static_cast<long long>(start * 1000 / static_cast<unsigned long long>(hz));
}

/// Watches the main window for its first paint, reports the start-up time
/// and ends the program.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(const QElapsedTimer& sinceMain) : sinceMain_(sinceMain) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && !done_) {
      done_ = true;
      QTimer::singleShot(0, watched, [this] {
        std::printf("startup_ms=%lld since_exec_ms=%lld\n", static_cast<long long>(sinceMain_.elapsed()), SinceExec());
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return false;
  }

 private:
  const QElapsedTimer& sinceMain_;
  bool done_ = false;
};

}  // namespace

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
    // MORVEL_EXIT_AFTER_SHOW=1: print the time to the first painted main
    // window and end (the start-up measurement).
    FirstPaint firstPaint(sinceStart);
    if (const char* exitAfterShow = std::getenv("MORVEL_EXIT_AFTER_SHOW"); exitAfterShow && *exitAfterShow == '1')
      view.Main().Window()->installEventFilter(&firstPaint);
    program.Start();
    rc = app.exec();
  }
  platform::InstallMessageBoxes(nullptr);
  return rc;
}
