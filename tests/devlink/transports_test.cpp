// The dialog's OK over real descriptors: the serial probe over a pty pair,
// the TCP connect and reads over a loopback listener.
#include <gtest/gtest.h>

#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

#include "link_fixture.h"
#include "loopback_listener.h"
#include "pty_pair.h"

namespace {

using platform::Icon;

bool Traced(const platform::Memo& m, const std::string& line) {
  return std::find(m.Lines().begin(), m.Lines().end(), line) != m.Lines().end();
}

struct Dialog : linktest::DialogBench {
  platform::ScriptedMessageBoxes boxes;
  Dialog() { dialog.Show(); }
};

// Catches a probe that gives up before a slow gateway's answer (at 9600 baud
// the answer to "?" needs more than 100 ms), sends the wrong bytes, or reports
// a silent port as a gateway; the port stays open either way.
TEST(SerialProbe, WaitsForTheAnswerWithinItsBound) {
  for (const bool answers : {true, false}) {
    SCOPED_TRACE(answers ? "answers after 300 ms" : "silent");
    testsupport::PtyPair pty;
    ASSERT_GE(pty.slave, 0) << "no pseudo-terminal";
    Dialog d;
    d.dialog.CB_Serial.SetPortNames({pty.path});
    d.dialog.CB_Serial.UserChoose(0);
    if (answers) QTimer::singleShot(300, [&] { (void)!write(pty.master, "get-wan\r\n", 9); });

    const uint32_t start = platform::TickCount();
    d.dialog.BB_Connect.Click();
    const uint32_t took = platform::TickCount() - start;

    EXPECT_TRUE(d.link.SerialOpen());
    EXPECT_EQ(d.link.Record().LinkMode(), devlink::kLinkSerial);
    EXPECT_EQ(d.windows.loginShown, answers);
    EXPECT_EQ(d.dialog.Visible(), !answers);
    if (answers) {
      EXPECT_LT(took, devlink::TF_Connection::kProbeWaitMs);
      EXPECT_TRUE(d.boxes.Shown().empty());
    } else {
      EXPECT_GE(took, devlink::TF_Connection::kProbeWaitMs);
      ASSERT_EQ(d.boxes.Shown().size(), 1u);
      EXPECT_EQ(d.boxes.Shown()[0], (platform::MessageBox{"Can not connect in equipment", "Error",
                                                          Icon::Error, platform::Buttons::Ok}));
    }
    char got[64] = {};
    const ssize_t n = read(pty.master, got, sizeof got);
    EXPECT_EQ(std::string(got, size_t(std::max<ssize_t>(n, 0))),
              "\r\rend\rexit\r\x1b\x1b\x1b\x1b\x1b\x1b\x1b\x1b\x1b\x1b\r?");
    const auto& lines = d.windows.trace.Lines();
    ASSERT_GE(lines.size(), 17u);
    EXPECT_EQ(lines[0], "Connected...");
    EXPECT_EQ(lines[16], "Send_Message : ?");
    d.link.CloseSerial();
  }
}

// Catches a read event nested inside a message box (a real box runs the event
// loop) that interprets bytes before the rest of the interrupted pass: the
// line that arrives while the box is open must wait until it has closed.
TEST(TcpReads, ArriveInOrderAroundAMessageBox) {
  testsupport::LoopbackListener server;
  Dialog d;
  d.dialog.RB_TCP.Click();
  d.dialog.ED_host.SetText("127.0.0.1");
  d.dialog.ED_TCP.SetText(std::to_string(server.port));
  d.dialog.BB_Connect.Click();
  ASSERT_TRUE(d.link.TcpUp());
  EXPECT_TRUE(d.windows.loginShown);
  EXPECT_TRUE(d.windows.saveEnabled);
  ASSERT_TRUE(server.Accept());

  bool okWhileOpen = true;
  d.boxes.whileOpen = [&](const platform::MessageBox&) {
    (void)!write(server.peer, "Login ok\r\n", 10);
    platform::Delay(200);
    okWhileOpen = Traced(d.windows.trace, "Login OK!!");
  };
  d.link.StartIn(devlink::LinkState().Reading(devlink::Reply::Login));
  (void)!write(server.peer, "Login incorrect\r\n", 17);
  ASSERT_TRUE(platform::DelayUntil(5000, [&] { return Traced(d.windows.trace, "Login OK!!"); }));
  EXPECT_FALSE(okWhileOpen);
  const auto& lines = d.windows.trace.Lines();
  EXPECT_LT(std::find(lines.begin(), lines.end(), "Login Incorrect!!"),
            std::find(lines.begin(), lines.end(), "Login OK!!"));

  // The peer's close is a disconnect: the idle buttons come back.
  server.ClosePeer();
  ASSERT_TRUE(platform::DelayUntil(5000, [&] { return !d.link.TcpUp(); }));
  EXPECT_FALSE(d.windows.saveEnabled);
  EXPECT_EQ(d.windows.trace.Lines().back(), "Disconnected...");
}

// Catches a port text read other than as a whole decimal number (514 when it
// is not one) and a refused connection that is not reported.
TEST(TcpConnect, PortTextAndRefusal) {
  const std::pair<const char*, int> rows[] = {{"1", 1}, {"abc", 514}, {"9x", 514}, {" 7", 514}};
  for (const auto& [text, port] : rows) {
    SCOPED_TRACE(text);
    Dialog d;
    d.dialog.RB_TCP.Click();
    d.dialog.ED_host.SetText("127.0.0.1");
    d.dialog.ED_TCP.SetText(text);
    d.dialog.BB_Connect.Click();
    EXPECT_EQ(d.link.Transport().TcpPort(), port);
    if (port == 1) {
      ASSERT_EQ(d.boxes.Shown().size(), 1u);
      EXPECT_EQ(d.boxes.Shown()[0].text, "Can not connect to host");
    }
    d.link.Disconnect();
  }
}

// Catches a serial write that blocks the event loop while the line is busy
// (at 9600 baud a save would freeze the window for seconds), one that lets a
// timer start another exchange in the middle of it, and received bytes
// interpreted between the lines of the handler that is sending.
TEST(SerialWrites, WaitForTheLineWithTheWindowAlive) {
  testsupport::PtyPair pty;
  ASSERT_GE(pty.slave, 0) << "no pseudo-terminal";
  Dialog d;
  d.dialog.CB_Serial.SetPortNames({pty.path});
  d.dialog.CB_Serial.UserChoose(0);
  d.link.OpenSerial();

  // The line is busy for 300 ms; meanwhile the gateway's echo of "get-lan"
  // arrives, which would select the LAN reply state.
  ASSERT_EQ(tcflow(pty.slave, TCOOFF), 0);
  std::thread freeLine([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    tcflow(pty.slave, TCOON);
  });
  pty.Write("get-lan\r\n");
  bool painted = false, ticked = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&] { painted = true; }, Qt::QueuedConnection);
  QTimer::singleShot(1, [&] { ticked = true; });

  const uint32_t start = platform::TickCount();
  d.link.SendGetData("get-wan\r");
  freeLine.join();
  EXPECT_GE(platform::TickCount() - start, 250u);
  EXPECT_TRUE(painted);
  EXPECT_FALSE(ticked);
  EXPECT_EQ(d.link.Record().ReplyState(), devlink::Reply::None);
  EXPECT_EQ(pty.Read(8), "get-wan\r");
  // Back in the event loop the echo is read.
  EXPECT_TRUE(
      platform::DelayUntil(2000, [&] { return d.link.Record().ReplyState() == devlink::Reply::Lan; }));
  EXPECT_TRUE(ticked);
  d.link.CloseSerial();
}

}  // namespace
