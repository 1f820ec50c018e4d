#include <gtest/gtest.h>

#include "platform/ui/toolkit.h"

using namespace platform;

// The error box appends a full stop only after a character that sorts after
// "." and otherwise shows the message untouched.
TEST(ErrorHandler, BoxTextAndTitle) {
  EXPECT_EQ(ErrorBoxText("Unable to open com port (system error 2)"),
            "Unable to open com port (system error 2)");
  EXPECT_EQ(ErrorBoxText("Asynchronous socket error 10061"), "Asynchronous socket error 10061.");
  EXPECT_EQ(ErrorBoxText("No address specified"), "No address specified.");
  EXPECT_EQ(ErrorBoxText("ends with dot."), "ends with dot.");
  EXPECT_EQ(ErrorBoxText("ends with comma,"), "ends with comma,");
  EXPECT_EQ(ErrorBoxText(""), "");
  EXPECT_EQ(TitleFromPath("/usr/bin/morvel_config"), "morvel_config");
  EXPECT_EQ(TitleFromPath("/opt/x/morvel.config.bin"), "morvel");
}

namespace {
class Advised : public Error {
 public:
  Advised() : Error("Unable to open com port (system error 13)") {}
  std::string Advice() const override { return "Add yourself to the dialout group."; }
};
}  // namespace

// An error escaping an event operation is shown once, with the program's
// title and the error icon, and the program goes on.
TEST(ErrorHandler, GuardShowsEscapingErrors) {
  ScriptedMessageBoxes boxes;
  SetProgramTitle("morvel_config");
  bool after = false;
  Guard([] { throw std::runtime_error("Socket already open"); });
  Guard([] { throw Advised(); });
  Guard([] { throw 42; });
  Guard([&] { after = true; });
  ASSERT_EQ(boxes.Shown().size(), 3u);
  EXPECT_EQ(boxes.Shown()[0],
            (MessageBox{"Socket already open.", "morvel_config", Icon::Error, Buttons::Ok}));
  EXPECT_EQ(boxes.Shown()[1].text,
            "Unable to open com port (system error 13)\nAdd yourself to the dialout group.");
  EXPECT_TRUE(after);
}

// A timer's handler that throws must not take the loop down.
TEST(Timer, FireRunsUnderTheErrorHandler) {
  ScriptedMessageBoxes boxes;
  Timer timer("T", 1000);
  int ticks = 0;
  timer.onTimer = [&] {
    ++ticks;
    throw std::runtime_error("tick failed");
  };
  timer.Fire();
  timer.Fire();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(boxes.Shown().size(), 2u);
}
