#include <gtest/gtest.h>
#include <QCoreApplication>

#include "temp_state_home.h"

// Runs every test on a QCoreApplication: timers, socket notifiers and the
// serial port's hand-over need QtCore's event loop, never a display.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testsupport::TempStateHome stateHome;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
