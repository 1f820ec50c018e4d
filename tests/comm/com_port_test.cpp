// The serial port over a pseudo-terminal pair: the port opens the slave by
// its path, the test plays the far end on the master.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "comm/com_error.h"
#include "comm/com_port.h"
#include "comm/line_speed.h"
#include "platform/ui/delay.h"
#include "platform/ui/message_box.h"
#include "pty_pair.h"

namespace comm {
namespace {

using platform::DelayUntil;
using Pty = testsupport::PtyPair;

// Records the port's events in order.
struct PortRecorder {
  std::vector<std::string> events;
  void Attach(TCustomComPort& p) {
    p.OnBeforeOpen = [this] { events.push_back("BeforeOpen"); };
    p.OnAfterOpen = [this] { events.push_back("AfterOpen"); };
    p.OnBeforeClose = [this] { events.push_back("BeforeClose"); };
    p.OnAfterClose = [this] { events.push_back("AfterClose"); };
    p.OnCTSChange = [this](bool on) { events.push_back(std::string("CTS ") + (on ? "on" : "off")); };
    p.OnDSRChange = [this](bool on) { events.push_back(std::string("DSR ") + (on ? "on" : "off")); };
    p.OnRLSDChange = [this](bool on) { events.push_back(std::string("RLSD ") + (on ? "on" : "off")); };
  }
};

class ComPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GE(pty.slave, 0) << "no pseudo-terminal";
    port.SetPort(pty.path);
  }
  // The tests' handlers capture their locals, gone by now: drop them, then close.
  void TearDown() override {
    port.OnBeforeOpen = port.OnAfterOpen = port.OnBeforeClose = port.OnAfterClose = nullptr;
    port.OnRxChar = nullptr;
    port.OnCTSChange = port.OnDSRChange = port.OnRLSDChange = nullptr;
    port.Close();
  }
  Pty pty;
  TComPort port;
  platform::ScriptedMessageBoxes boxes;
};

// Catches a wrong line setup: the gateway talks raw 9600 8N1 with no flow
// control, and the settings must be put back as they were on close.
TEST_F(ComPortTest, OpenAppliesRawLineAndCloseRestoresIt) {
  termios before{};
  ASSERT_EQ(tcgetattr(pty.slave, &before), 0);
  ASSERT_TRUE(before.c_lflag & ICANON);
  port.Open();
  ASSERT_TRUE(port.Connected());
  termios t{};
  ASSERT_EQ(tcgetattr(pty.slave, &t), 0);
  EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
  EXPECT_EQ(cfgetispeed(&t), speed_t(B9600));
  EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_FALSE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS));
  EXPECT_TRUE(t.c_cflag & CREAD);
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP));
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
  EXPECT_FALSE(t.c_oflag & OPOST);
  EXPECT_EQ(t.c_cc[VMIN], 0);
  EXPECT_EQ(t.c_cc[VTIME], 0);
  port.Close();
  ASSERT_EQ(tcgetattr(pty.slave, &t), 0);
  EXPECT_TRUE(t.c_lflag & ICANON);
  EXPECT_EQ(t.c_lflag, before.c_lflag);
}

// Catches setting changes on an open port that wait for the next open, or a
// rate outside the termios table (the component lists four) that fails.
TEST_F(ComPortTest, SettingsChangedWhileOpenApplyAtOnce) {
  port.Open();
  termios t{};
  port.SetBaudRate(TBaudRate::br19200);
  port.SetStopBits(TStopBits::sbTwoStopBits);
  port.FlowControl().SetXonXoffIn(true);
  // (A pty keeps 8 bits without parity and refuses others, so those are
  // not checked here.)
  ASSERT_EQ(tcgetattr(pty.slave, &t), 0);
  EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_TRUE(t.c_iflag & IXOFF);
  EXPECT_FALSE(t.c_iflag & IXON);
  for (const auto [rate, bps] : {std::pair{TBaudRate::br14400, 14400}, {TBaudRate::br256000, 256000}}) {
    port.SetBaudRate(rate);
    EXPECT_EQ(comm::LineSpeed(pty.slave), bps);
  }
  EXPECT_TRUE(port.Connected());
  port.Close();
  port.SetBaudRate(TBaudRate::br9600);  // closed: only stored
  EXPECT_EQ(port.BaudRate(), TBaudRate::br9600);
}

// Catches events in the wrong order, twice, or fired by a redundant open or
// close: the link's buttons follow these events.
TEST_F(ComPortTest, OpenAndCloseFireTheirEventsInOrderOnce) {
  PortRecorder r;
  r.Attach(port);
  port.Open();
  EXPECT_EQ(r.events,
            (std::vector<std::string>{"BeforeOpen", "AfterOpen", "CTS off", "DSR off", "RLSD off"}));
  r.events.clear();
  port.Open();  // already open
  EXPECT_TRUE(r.events.empty());
  port.Close();
  EXPECT_EQ(r.events,
            (std::vector<std::string>{"CTS off", "DSR off", "RLSD off", "BeforeClose", "AfterClose"}));
  EXPECT_FALSE(port.Connected());
  r.events.clear();
  port.Close();  // already closed
  EXPECT_TRUE(r.events.empty());
}

// Catches lost or mangled bytes either way, and received-data events that run
// on the event thread or report a wrong count.
TEST_F(ComPortTest, BytesFlowBothWaysAndRxCharRunsOnTheUiThread) {
  std::string received;
  std::vector<int> counts;
  bool onUiThread = true;
  const auto ui = std::this_thread::get_id();
  port.OnRxChar = [&](int count) {
    onUiThread = onUiThread && std::this_thread::get_id() == ui;
    counts.push_back(count);
    std::string buf(size_t(count), '\0');
    received.append(buf.data(), size_t(port.ReadBytes(buf.data(), count)));
  };
  port.Open();
  EXPECT_EQ(port.WriteText("end\r"), 4);
  EXPECT_EQ(pty.Read(4), "end\r");

  const std::string reply = std::string("get-wan \r\n\0\x1b\xff", 13);
  pty.Write(reply);
  ASSERT_TRUE(DelayUntil(2000, [&] { return received.size() >= reply.size(); }));
  EXPECT_EQ(received, reply);
  EXPECT_TRUE(onUiThread);
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(counts.front(), 13);  // written at once, so counted at once
  for (int c : counts) EXPECT_GE(c, 1);
}

// Catches a read that blocks with nothing received, or a write of nothing
// that touches the device.
TEST_F(ComPortTest, DefaultTimeoutsReadReturnsAtOnceAndEmptyWriteIsZero) {
  port.Open();
  char buf[16];
  const uint32_t t0 = platform::TickCount();
  EXPECT_EQ(port.ReadBytes(buf, sizeof buf), 0);
  EXPECT_LT(platform::TickCount() - t0, 50u);
  EXPECT_EQ(port.PendingInputCount(), 0);
  EXPECT_EQ(port.WriteText(""), 0);
  pty.Write("xy");
  ASSERT_TRUE(DelayUntil(1000, [&] { return port.PendingInputCount() == 2; }));
  EXPECT_EQ(port.ReadBytes(buf, 1), 1);
  EXPECT_EQ(buf[0], 'x');
  EXPECT_EQ(port.PendingInputCount(), 1);
}

// Catches a write that hangs on a far end that never reads: it must end
// within its time-out, and fail rather than report a part as the whole.
TEST_F(ComPortTest, WriteEndsAtItsTimeoutWhenTheFarEndDoesNotRead) {
  port.Timeouts().SetWriteTotalMultiplier(0);
  port.Timeouts().SetWriteTotalConstant(200);
  port.Open();
  const std::string big(1 << 20, 'a');
  const uint32_t t0 = platform::TickCount();
  // A short write would run the rest of its line into the next one: it fails.
  try {
    port.WriteText(big);
    ADD_FAILURE() << "a write the line could not take reported success";
  } catch (const comm::EComPort& e) {
    EXPECT_EQ(e.Number(), comm::CE_WriteFailed);
  }
  const uint32_t took = platform::TickCount() - t0;
  EXPECT_GE(took, 150u);
  EXPECT_LT(took, 1500u);
}

// Catches a read that outlives its total time-out while bytes keep arriving
// within the interval time-out. The far end holds the reader up past the
// total time-out (a signal whose handler sleeps), as a busy machine may.
TEST_F(ComPortTest, ReadEndsAtItsTotalTimeoutWhileBytesTrickleIn) {
  port.SetEvents(0);
  port.Timeouts().SetReadInterval(200);
  port.Timeouts().SetReadTotalConstant(150);
  port.Open();
  struct sigaction hold {
  }, old{};
  hold.sa_handler = [](int) { usleep(250'000); };
  ASSERT_EQ(sigaction(SIGUSR1, &hold, &old), 0);
  constexpr int kBytes = 100;  // one every 20 ms: two seconds' worth
  std::atomic<bool> stop{false};
  const pthread_t reader = pthread_self();
  std::thread farEnd([&] {
    for (int i = 0; i < kBytes && !stop; ++i) {
      pty.Write("x");
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (i == 1) pthread_kill(reader, SIGUSR1);
    }
  });
  char buf[kBytes + 1];
  const uint32_t t0 = platform::TickCount();
  const int n = port.ReadBytes(buf, sizeof buf);
  const uint32_t took = platform::TickCount() - t0;
  stop = true;
  farEnd.join();
  sigaction(SIGUSR1, &old, nullptr);
  EXPECT_GT(n, 0);
  EXPECT_LT(n, kBytes);
  EXPECT_LT(took, 1500u);
}

// Catches a missing port reported wrongly or leaving the port half open.
TEST_F(ComPortTest, OpeningAMissingNameRaisesError1WithErrno) {
  PortRecorder r;
  r.Attach(port);
  port.SetPort("ttyNoSuchPort42");
  try {
    port.Open();
    FAIL() << "opened a missing port";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Number(), 1);
    EXPECT_EQ(e.Code(), ENOENT);
    EXPECT_STREQ(e.what(), "Unable to open com port (system error 2)");
  }
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(r.events, std::vector<std::string>{"BeforeOpen"});
}

// Catches a second opener silently splitting the received data: in this
// program or another, it gets error 1 (busy), and the first keeps working.
TEST_F(ComPortTest, ASecondOpenerOfTheSamePortIsRefused) {
  port.Open();
  TComPort second;
  second.SetPort(pty.path);
  try {
    second.Open();
    FAIL() << "second open succeeded";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Number(), 1);
    EXPECT_EQ(e.Code(), EBUSY);
    EXPECT_FALSE(e.Advice().empty());
  }
  EXPECT_FALSE(second.Connected());

  // Another program: a child that opens and locks the way any careful
  // program does, or is stopped by the exclusive flag.
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(pty.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    _exit(fd < 0 ? 0 : flock(fd, LOCK_EX | LOCK_NB) < 0 ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the other program got the port";

  EXPECT_EQ(port.WriteText("ok"), 2);
  EXPECT_EQ(pty.Read(2), "ok");
  port.Close();
  second.Open();  // free again after close
  EXPECT_TRUE(second.Connected());
}

// Catches a vanished device (unplugged adapter, far end gone) that stays
// "open", is closed twice, or floods the user with errors.
TEST_F(ComPortTest, FarEndGoneClosesThePortOnceWithoutErrors) {
  // The port's own line: keep no second slave descriptor, as with a real device.
  close(pty.slave);
  pty.slave = -1;
  PortRecorder r;
  r.Attach(port);
  port.OnRxChar = [&](int count) {
    std::string buf(size_t(count), '\0');
    port.ReadBytes(buf.data(), count);
  };
  port.Open();
  pty.Write("last words");
  ASSERT_TRUE(DelayUntil(1000, [&] { return port.PendingInputCount() == 0; }));
  r.events.clear();
  pty.CloseMaster();
  ASSERT_TRUE(DelayUntil(2000, [&] { return !port.Connected(); }));
  platform::Delay(300);  // room for any stray second close or error
  EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "AfterClose"), 1);
  EXPECT_EQ(r.events.back(), "AfterClose");
  EXPECT_TRUE(boxes.Shown().empty());
  port.Close();  // nothing left to do
  EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "AfterClose"), 1);
}

// Catches a deadlock between close and a hand-over the UI thread has not run
// yet: the waiting set is dispatched inside close, before the after-close.
TEST_F(ComPortTest, CloseDispatchesAWaitingHandOverInsteadOfDeadlocking) {
  PortRecorder r;
  r.Attach(port);
  port.OnRxChar = [&](int count) { r.events.push_back("RxChar " + std::to_string(count)); };
  port.Open();
  r.events.clear();
  pty.Write("abc");
  // No events are handled here, so the event thread's hand-over stays queued.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  port.Close();
  EXPECT_EQ(r.events, (std::vector<std::string>{"CTS off", "DSR off", "RLSD off", "BeforeClose", "RxChar 3",
                                                "AfterClose"}));
  platform::Delay(50);  // the stale queued hand-over must do nothing
  EXPECT_EQ(r.events.back(), "AfterClose");
}

// Catches a deadlock when a received-data handler closes its own port.
TEST_F(ComPortTest, ClosingFromInsideTheReceivedDataHandler) {
  int closes = 0;
  port.OnAfterClose = [&] { ++closes; };
  port.OnRxChar = [&](int) { port.Close(); };
  port.Open();
  pty.Write("x");
  ASSERT_TRUE(DelayUntil(2000, [&] { return !port.Connected(); }));
  EXPECT_EQ(closes, 1);
  port.Open();  // and it opens again
  EXPECT_TRUE(port.Connected());
}

// Catches an error in a handler that escapes the dispatch (killing the UI
// thread) or repeats: it is shown once, and the port still closes.
TEST_F(ComPortTest, AnErrorInAHandlerIsShownOnceAndThePortStillCloses) {
  port.OnRxChar = [&](int count) {
    std::string buf(size_t(count), '\0');
    port.ReadBytes(buf.data(), count);
    throw EComPort(CE_ReadFailed, EIO);
  };
  port.Open();
  pty.Write("boom");
  ASSERT_TRUE(DelayUntil(2000, [&] { return !boxes.Shown().empty(); }));
  platform::Delay(100);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "ReadFile function failed (system error 5)");
  EXPECT_EQ(boxes.Shown()[0].icon, platform::Icon::Error);
  port.Close();
  EXPECT_FALSE(port.Connected());
}

// Catches unread data that fires the received-data event over and over (a
// CPU-burning loop), and new arrivals after a later read that go unreported
// because they are no more than the bytes left unread before.
TEST_F(ComPortTest, UnreadDataFiresOnlyOnNewArrivals) {
  std::vector<int> counts;
  port.OnRxChar = [&](int count) { counts.push_back(count); };  // reads nothing
  port.Open();
  pty.Write("abc");
  ASSERT_TRUE(DelayUntil(1000, [&] { return !counts.empty(); }));
  platform::Delay(200);
  EXPECT_EQ(counts, std::vector<int>{3});
  pty.Write("de");
  ASSERT_TRUE(DelayUntil(1000, [&] { return counts.size() == 2; }));
  EXPECT_EQ(counts.back(), 5);

  // Read later, outside the event (as a deferred read does): a smaller burst
  // that follows is new and fires the event too.
  char buf[8];
  ASSERT_EQ(port.ReadBytes(buf, 5), 5);
  pty.Write("f");
  ASSERT_TRUE(DelayUntil(1000, [&] { return counts.size() == 3; }));
  EXPECT_EQ(counts.back(), 1);
}

// Catches bytes that arrive while a handler reads being taken for bytes it
// chose to leave: they would then wait for further data that never comes
// (the gateway answers a query the handler itself sent).
TEST_F(ComPortTest, BytesArrivingDuringAReadingHandlerAreReportedAgain) {
  std::string got;
  bool answered = false;
  port.OnRxChar = [&](int count) {
    std::string buf(size_t(count), '\0');
    got.append(buf.data(), size_t(port.ReadBytes(buf.data(), count)));
    if (!std::exchange(answered, true)) {
      pty.Write("reply\r");  // arrives before this handler returns
      platform::Delay(50);
    }
  };
  port.Open();
  pty.Write("query\r");
  EXPECT_TRUE(DelayUntil(2000, [&] { return got == "query\rreply\r"; })) << got;
}

// Catches a port change while open that leaves the old device open, or a
// same-name change that needlessly reopens.
TEST_F(ComPortTest, ChangingPortWhileOpenReopensUnderTheNewName) {
  Pty other;
  ASSERT_GE(other.slave, 0);
  PortRecorder r;
  r.Attach(port);
  port.Open();
  r.events.clear();
  port.SetPort(pty.path);  // unchanged
  EXPECT_TRUE(r.events.empty());
  port.SetPort(other.path);
  EXPECT_TRUE(port.Connected());
  EXPECT_EQ(r.events.front(), "CTS off");
  EXPECT_NE(std::find(r.events.begin(), r.events.end(), "AfterClose"), r.events.end());
  EXPECT_GT(std::find(r.events.begin(), r.events.end(), "AfterOpen"),
            std::find(r.events.begin(), r.events.end(), "AfterClose"));
  EXPECT_EQ(port.WriteText("n"), 1);
  EXPECT_EQ(other.Read(1), "n");
  TComPort probe;  // the old port is free again
  probe.SetPort(pty.path);
  probe.Open();
  EXPECT_TRUE(probe.Connected());
}

}  // namespace
}  // namespace comm
