#include <gtest/gtest.h>
#include <QApplication>

#include "platform/qt/view.h"
#include "temp_state_home.h"

// The view tests need widgets, so they run on a QApplication, on Qt's
// offscreen platform unless another one is asked for: no display needed.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  platform::qt::ApplyLook(app);
  testsupport::TempStateHome stateHome;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
