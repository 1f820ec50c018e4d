#include "desktop.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "platform/qt/file_dialogs.h"
#include "platform/qt/message_boxes.h"
#include "platform/qt/modal_forms.h"
#include "platform/qt/view.h"
#include "platform/ui/message_box.h"
#include "program_view.h"
#include "ui/program.h"

namespace desktop {

namespace {

/// Runs a callback once, after the watched window's first paint is done.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(std::function<void()> then) : then_(std::move(then)) {}
  bool Waiting() const { return bool(then_); }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && then_) QTimer::singleShot(0, watched, std::exchange(then_, nullptr));
    return false;
  }

 private:
  std::function<void()> then_;
};

}  // namespace

int Run(int argc, char** argv, std::function<void()> onFirstPaint) {
  QApplication app(argc, argv);
  // The main window's close ends the program, through its close query.
  app.setQuitOnLastWindowClosed(false);
  // The desktop entry the windows belong to (its name and icon on Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("com.morvel.morvel_config"));
  platform::qt::ApplyLook(app);
  platform::qt::QtMessageBoxes boxes;
  platform::InstallMessageBoxes(&boxes);
  platform::qt::QtFileDialogs files;
  platform::InstallFileDialogs(&files);
  platform::qt::QtModalForms modal;
  platform::InstallModalForms(&modal);

  int rc = 0;
  {
    ui::Program program;
    ProgramView view(program, FindAssetsDir());
    FirstPaint firstPaint(std::move(onFirstPaint));
    if (firstPaint.Waiting()) view.Main().Window()->installEventFilter(&firstPaint);
    program.Start();
    rc = app.exec();
  }
  platform::InstallModalForms(nullptr);
  platform::InstallFileDialogs(nullptr);
  platform::InstallMessageBoxes(nullptr);
  return rc;
}

}  // namespace desktop
