// Conversations that overlap, over both transports against the simulated
// gateway: Save during the read-out, polls during a slow save, a save during
// a status reply, a reconnect after the link dropped while polling, clicks
// during the connection dialog's waits, and a restart whose write fails.
#include <termios.h>
#include <QTimer>

#include "e2e_fixture.h"
#include "loopback_listener.h"
#include "pty_pair.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using platform::Answer;

class Overlap : public VisitTest, public ::testing::WithParamInterface<Via> {
 protected:
  void StartPaced(Gateway g = {}) {
    g.pace9600 = true;
    StartGateway(g);
  }
  /// Runs `click` `ms` from now, from the event loop, as a user's click would.
  void Later(int ms, std::function<void()> click) { QTimer::singleShot(ms, &clicks_, std::move(click)); }

  /// The gatekeeper status, the last part of a poll's reply, is in the memo.
  bool PollShown() {
    for (const std::string& l : pages().M_State_Info.Lines())
      if (l.find("Calls since start") != std::string::npos) return true;
    return false;
  }
  bool SaveConfirmed() const {
    for (const platform::MessageBox& b : boxes.Shown())
      if (b.caption == "OK") return true;
    return false;
  }

 private:
  QObject clicks_;
};

// Catches Save usable while the read-out still fills the pages: pressed then,
// the read-out stopped for good or a script of reset fields went out.
TEST_P(Overlap, SaveWaitsForTheReadOut) {
  Gateway g;
  g.preset = "full";
  StartPaced(g);
  ASSERT_TRUE(Connect(GetParam()));
  TypeLogin();
  ASSERT_TRUE(WaitFor([&] { return !main().P_main.Visible(); }));  // the model is accepted
  EXPECT_FALSE(main().BB_Save.Enabled());
  main().BB_Save.Click();
  ASSERT_TRUE(WaitForReadOut());
  EXPECT_FALSE(Sent("write-system\r"));
  EXPECT_TRUE(main().BB_Save.Enabled());
  ExpectPagesShow(sim().config(), pages());
}

// Catches polls that cut into a save while the gateway writes its flash: the
// user's own choice of the status page or a tick switched status mode on, and
// the script or the confirmation went to the status memo instead.
TEST_P(Overlap, PollsWaitForASlowSave) {
  Gateway g;
  g.saveEndDelay = 1500ms;
  StartPaced(g);
  ASSERT_TRUE(Visit(GetParam()));
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  ASSERT_TRUE(WaitFor([&] { return PollShown(); }));

  main().BB_Save.Click();
  main().PageControl1.UserSelect(&main().Tab_About);
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  ASSERT_TRUE(WaitFor([&] { return sim().counters().savesApplied == 1; }));
  Tick(main().T_State_Info);  // while the closing line is held back
  ASSERT_TRUE(WaitFor([&] { return SaveConfirmed(); }));
  // The poll asked for meanwhile follows the save at once.
  EXPECT_TRUE(WaitFor([&] { return PollShown(); }));
}

// Catches a save started while a status reply still arrives or waits at
// "-- more --": its frame lines passed for save markers, so the script went
// out twice or the confirmation came before the gateway had saved.
TEST_P(Overlap, SaveWaitsForTheStatusReply) {
  Gateway g;
  g.pageLines = 2;  // the gatekeeper status stops at "-- more --"
  StartPaced(g);
  ASSERT_TRUE(Visit(GetParam()));
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  ASSERT_TRUE(WaitFor([&] { return Sent("get-gatekeeper-status\r"); }));
  uint64_t savedAtConfirmation = 0;
  boxes.whileOpen = [&](const platform::MessageBox& b) {
    if (b.caption == "OK") savedAtConfirmation = sim().counters().savesApplied;
  };
  main().BB_Save.Click();
  ASSERT_TRUE(WaitFor([&] { return SaveConfirmed(); }));
  ASSERT_TRUE(Settle([] { return true; }));
  EXPECT_EQ(savedAtConfirmation, 1u);
  EXPECT_EQ(sim().counters().savesApplied, 1u);
  EXPECT_EQ(SentCount("!END-TAG!\r"), 1u);  // one script
}

// Catches polling that outlives its transport: after the gateway dropped the
// link, a tick while the user typed the next login sent the login's answer to
// the status memo (TCP), or raised a write error every 20 s (serial).
TEST_P(Overlap, PollingStopsWhenTheLinkDrops) {
  StartGateway({});
  ASSERT_TRUE(Visit(GetParam()));
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  ASSERT_TRUE(WaitFor([&] { return PollShown(); }));
  if (GetParam() == Via::Tcp)
    sim().dropTcpClient();
  else
    sim().closePty();
  ASSERT_TRUE(WaitFor([&] { return main().BB_Connect.Showing(); }));
  EXPECT_FALSE(main().T_State_Info.Enabled());
  Tick(main().T_State_Info);
  EXPECT_TRUE(boxes.Shown().empty());
  if (GetParam() == Via::Serial) return;  // the pseudo-terminal is gone for good

  ASSERT_TRUE(Connect(Via::Tcp));
  Tick(main().T_State_Info);  // the user takes longer than a poll interval to log in
  TypeLogin();
  ASSERT_TRUE(WaitForReadOut());
  ExpectPagesShow(sim().config(), pages());
}

// Catches the connection dialog acting on clicks during its waits: a second
// OK ran a second attempt, Cancel let the attempt go on (its late success
// opened the login dialog), and Disconnect during the probe left the probe
// writing to a closed port or reporting it.
TEST_P(Overlap, ConnectionDialogDuringItsWaits) {
  devlink::TF_Connection& d = connection();
  testsupport::PtyPair pty;                   // nobody answers the probe in time
  testsupport::LoopbackListener listener(0);  // its queue full: a connect waits
  listener.FillQueue();
  main().BB_Connect.Click();
  if (GetParam() == Via::Tcp) {
    d.RB_TCP.Click();
    d.ED_host.SetText("127.0.0.1");
    d.ED_TCP.SetText(std::to_string(listener.port));
  } else {
    d.CB_Serial.SetPortNames({pty.path});
    d.CB_Serial.UserChoose(0);
  }
  Later(300, [&] { d.BB_Connect.Click(); });
  Later(600, [&] { d.BB_Cancel.Click(); });
  Later(700, [&] {  // the late answer
    listener.Accept(0);
    pty.Write("get-wan\r\n");
  });
  d.BB_Connect.Click();
  platform::Delay(1500);
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_FALSE(login().Visible());
  EXPECT_FALSE(link().TcpUp() || link().SerialOpen());
  EXPECT_LE(SentCount("?"), 1u);
  if (GetParam() == Via::Tcp) return;  // Disconnect shows once a connection is up

  tcflush(pty.slave, TCIFLUSH);  // the late answer, unread
  Later(300, [&] {
    boxes.Queue(Answer::Ok);
    main().BB_Disconnect.Click();
  });
  main().BB_Connect.Click();
  d.BB_Connect.Click();
  EXPECT_TRUE(boxes.Shown().size() == 1 && boxes.Shown()[0].caption == "Confirm");
  EXPECT_FALSE(login().Visible());
  EXPECT_FALSE(link().SerialOpen());
}

INSTANTIATE_TEST_SUITE_P(Transports, Overlap, ::testing::Values(Via::Tcp, Via::Serial), ViaTestName);

// Catches a restart whose write fails over serial: the port stayed open and
// the 40-second wait never started. The error is still shown.
TEST_F(VisitTest, RestartOverAFailingSerialWriteStillClosesAndWaits) {
  StartGateway({});
  ASSERT_TRUE(Visit(Via::Serial));
  sim().closePty();  // the line is gone; the port has not heard of it yet
  boxes.Queue(Answer::Yes);
  main().BB_Restart.Click();
  EXPECT_FALSE(link().SerialOpen());
  EXPECT_TRUE(main().P_State.Showing() && main().Timer1.Enabled());
  EXPECT_FALSE(main().BB_Connect.Enabled());
  EXPECT_TRUE(std::any_of(boxes.Shown().begin(), boxes.Shown().end(), [](const platform::MessageBox& b) {
    return b.text.starts_with("WriteFile function failed");
  }));
}

}  // namespace
}  // namespace e2e
