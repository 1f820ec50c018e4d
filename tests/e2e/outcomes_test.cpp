// Actions around the conversations, against the simulated gateway over both
// transports: each ends as the user meant and says how it ended.
#include <QTimer>

#include "e2e_fixture.h"
#include "loopback_listener.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using platform::Answer;

class Outcomes : public VisitTest, public ::testing::WithParamInterface<Via> {
 protected:
  void StartPaced(Gateway g = {}) {
    g.pace9600 = true;
    StartGateway(g);
  }
  bool BoxStartsWith(const std::string& start) const {
    return std::any_of(boxes.Shown().begin(), boxes.Shown().end(),
                       [&](const platform::MessageBox& b) { return b.text.starts_with(start); });
  }
  size_t Boxes(const std::string& caption) const {
    return size_t(std::count_if(boxes.Shown().begin(), boxes.Shown().end(),
                                [&](const platform::MessageBox& b) { return b.caption == caption; }));
  }
  bool Done() { return link().Running() == devlink::Conversation::None; }
  /// A serial visit, then "get-voip" typed: its answer, whose end mark asks
  /// for "get-dns-server", waits in the port until the loop runs.
  void TypeAQueryAndHoldItsAnswer() {
    StartGateway({});
    ASSERT_TRUE(Visit(Via::Serial));
    main().debug1.Click();
    debug().Edit1.SetText("get-voip");
    debug().Button2.Click();
    usleep(200'000);
  }
};

// Catches a second Enter in the login dialog running a second read-out in
// step with the first: the grid got duplicate rows and an unchanged Save
// deleted every voice port from the gateway.
TEST_P(Outcomes, LoginTwiceReadsOutOnce) {
  Gateway g;
  g.preset = "full";
  StartPaced(g);
  const gwsim::GatewayConfig before = sim().config();
  ASSERT_TRUE(Connect(GetParam()));
  TypeLogin();
  TypeLogin();
  ASSERT_TRUE(WaitForReadOut());
  EXPECT_EQ(SentCount("start-login admin admin\r"), 1u);
  ExpectPagesShow(before, pages());
  ASSERT_TRUE(SaveAndConfirm());
  ASSERT_TRUE(Settle([&] { return Done(); }));
  EXPECT_EQ(sim().config(), before);
}

// Catches a save that waits behind a slow poll being changed or lost by what
// the user does meanwhile: a Restart rebooted the gateway before the save
// went out, and a field emptied after the click reached the gateway. It
// also catches a second click running a second save with a second box.
TEST_P(Outcomes, SaveWaitingBehindAPollIsFixedAndRestartFollowsIt) {
  Gateway g;
  g.statusEndDelay = 1500ms;
  StartPaced(g);
  ASSERT_TRUE(Visit(GetParam()));
  const std::string id = pages().ED_PPPoE_ID.Text();
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  ASSERT_TRUE(WaitFor([&] { return Sent("get-gatekeeper-status\r"); }));
  main().BB_Save.Click();
  main().BB_Save.Click();
  EXPECT_TRUE(main().P_State.Showing());  // the pages are covered from the click
  pages().ED_PPPoE_ID.SetText("");
  boxes.Queue(Answer::Yes);
  main().BB_Restart.Click();
  EXPECT_FALSE(Sent("reboot-system\r"));
  ASSERT_TRUE(WaitFor([&] { return sim().counters().reboots == 1; }));
  EXPECT_EQ(sim().counters().savesApplied, 1u);
  EXPECT_EQ(sim().config().pppoeId, id);
  EXPECT_EQ(SentCount("write-system\r"), 1u);
  EXPECT_EQ(Boxes("OK"), 1u);
  EXPECT_TRUE(BoxShown("Save was complete\rThe gateway restarts now to apply it."));
  EXPECT_TRUE(main().Timer1.Enabled());  // the restart wait
}

// Catches a refused save that never ends: no box, Save dead and polls held
// back for good.
TEST_P(Outcomes, RefusedSaveSaysSoAndPollsGoOn) {
  Gateway g;
  g.refuseSave = true;
  StartGateway(g);
  ASSERT_TRUE(Visit(GetParam()));
  boxes.Queue(Answer::Yes);
  main().BB_Save.Click();
  main().PageControl1.UserSelect(&main().Tab_Status_information);  // a poll waits for the save
  main().BB_Restart.Click();                                       // a restart too
  ASSERT_TRUE(WaitFor([&] { return BoxStartsWith("The configuration was NOT saved"); }));
  EXPECT_TRUE(BoxShown(
      "The configuration was NOT saved: the gateway answered \"% Flash is write-protected: configuration not "
      "saved.\".\rThe gateway was not restarted."));
  EXPECT_EQ(sim().counters().reboots, 0u);
  EXPECT_TRUE(main().BB_Save.Enabled());
  EXPECT_FALSE(main().P_main.Visible());
  EXPECT_TRUE(WaitFor([&] { return Sent("get-wan-status\r"); }));
}

// Catches a read-out that hangs without a word when a reply never ends.
TEST_P(Outcomes, ReadOutThatStopsNamesTheReply) {
  Gateway g;
  g.silentQueries = {"get-voip"};
  StartGateway(g);
  link().SetSilenceLimits(400, devlink::ConversationQueue::kTypedQuietMs);
  ASSERT_TRUE(Connect(GetParam()));
  TypeLogin();
  ASSERT_TRUE(WaitFor([&] { return BoxStartsWith("The read-out stopped"); }));
  EXPECT_TRUE(BoxShown(
      "The read-out stopped: the reply to \"get-voip\" never ended (nothing came for 1 s). The pages may be "
      "incomplete, so Save stays off."));
  EXPECT_FALSE(main().BB_Save.Enabled());
}

// Catches a blank inside a value the gateway reads as one word going out:
// the next read-out showed only the part before it.
TEST_P(Outcomes, BlankInAOneWordValueIsRefused) {
  StartGateway({});
  ASSERT_TRUE(Visit(GetParam()));
  pages().ED_PPPoE_Password.SetText("my pass");
  main().BB_Save.Click();
  EXPECT_TRUE(
      BoxShown("The field \"Password\" on the page \"LAN\" holds a blank. The gateway keeps only the part "
               "before it, so "
               "nothing was sent."));
  EXPECT_FALSE(Sent("write-system\r"));
  EXPECT_EQ(main().PageControl1.ActivePage(), &main().Tab_LAN);
}

// Catches a typed query whose reply restarts the series running as no
// conversation: the status page chosen meanwhile took the series' lines.
TEST_P(Outcomes, TypedQueryThatRestartsTheSeriesIsAReadOut) {
  Gateway g;
  g.chunkBytes = 1;
  StartGateway(g);
  ASSERT_TRUE(Visit(GetParam()));
  main().debug1.Click();  // Ctrl+Delete
  debug().Edit1.SetText("get-pstn");
  debug().Button2.Click();
  ASSERT_TRUE(Sent("get-pstn\r"));
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  ASSERT_TRUE(Settle([&] { return Sent("get-wan-status\r") && Done(); }));
  ExpectPagesShow(sim().config(), pages());
  for (const std::string& l : pages().M_State_Info.Lines())
    EXPECT_FALSE(l.starts_with("interface ") || l.starts_with("ppp ") || l.starts_with("get-")) << l;
}

// Catches status lines that end with LF alone over TCP or CR alone over
// serial never reaching the memo, each poll running to its time limit.
TEST_P(Outcomes, StatusShowsWhateverTheLineEnds) {
  Gateway g;
  g.lineEnd = GetParam() == Via::Tcp ? gwsim::LineEnd::Lf : gwsim::LineEnd::Cr;
  StartGateway(g);
  ASSERT_TRUE(Visit(GetParam()));
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  ASSERT_TRUE(WaitFor([&] { return Sent("get-gatekeeper-status\r"); }));
  const uint32_t start = platform::TickCount();
  ASSERT_TRUE(WaitFor([&] { return Done(); }));
  EXPECT_LT(platform::TickCount() - start, uint32_t(devlink::DeviceLink::kPollLimitMs));
  EXPECT_TRUE(std::any_of(pages().M_State_Info.Lines().begin(), pages().M_State_Info.Lines().end(),
                          [](const std::string& l) { return l.find("Registration") != l.npos; }));
}

INSTANTIATE_TEST_SUITE_P(Transports, Outcomes, ::testing::Values(Via::Tcp, Via::Serial), ViaTestName);

// Catches a serial write that runs past its time-out reporting a part as the
// whole: the truncated line ran into the next and the save said complete.
TEST_F(Outcomes, SerialWriteTimeOutFailsTheSave) {
  StartGateway({});
  ASSERT_TRUE(Visit(Via::Serial));
  sim().stallPty();  // the line takes no more bytes
  main().BB_Save.Click();
  ASSERT_TRUE(WaitFor([&] { return BoxStartsWith("The configuration was NOT saved: the link failed"); }));
  EXPECT_EQ(Boxes("OK"), 0u);
  EXPECT_TRUE(main().BB_Save.Enabled());
}

// Catches the port's close running a hand-over it had queued: the
// interpreter read a reply's end and sent the next query after "end-morvel".
TEST_F(Outcomes, NothingFollowsTheEndCommand) {
  ASSERT_NO_FATAL_FAILURE(TypeAQueryAndHoldItsAnswer());
  boxes.Queue(Answer::Ok);
  main().BB_Disconnect.Click();
  const auto& trace = debug().Display.Lines();
  const auto end = std::find(trace.begin(), trace.end(), "Send_Message : end-morvel\r");
  ASSERT_NE(end, trace.end());
  for (auto l = end + 1; l != trace.end(); ++l) EXPECT_FALSE(l->starts_with("Send_Message")) << *l;
}

// Catches a query of the series whose write fails going unreported to the
// read-out: it waited for its silence limit and showed a second box.
TEST_F(Outcomes, AFailedQueryEndsTheReadOutWithOneBox) {
  ASSERT_NO_FATAL_FAILURE(TypeAQueryAndHoldItsAnswer());
  sim().stallPty();
  usleep(100'000);
  ASSERT_TRUE(WaitFor([&] { return !boxes.Shown().empty(); }));
  EXPECT_FALSE(link().Asked(devlink::Conversation::ReadOut));
  platform::Delay(300);
  EXPECT_EQ(boxes.Shown().size(), 1u);
}

// Catches a TCP connection that completes after its attempt was given up
// showing the connected look with nobody logged in.
TEST_F(Outcomes, LateConnectionIsClosed) {
  testsupport::LoopbackListener listener(0);
  listener.FillQueue();  // the attempt's SYN goes unanswered
  connection().SetConnectWait(300);
  QObject later;
  bool accepted = false;
  boxes.whileOpen = [&](const platform::MessageBox&) { accepted = listener.Accept(0) || accepted; };
  main().BB_Connect.Click();
  connection().RB_TCP.Click();
  connection().ED_host.SetText("127.0.0.1");
  connection().ED_TCP.SetText(std::to_string(listener.port));
  connection().BB_Connect.Click();
  EXPECT_TRUE(BoxShown("Can not connect to host"));
  connection().BB_Cancel.Click();
  platform::Delay(2500);  // the kernel's SYN retry would get through by now
  EXPECT_FALSE(link().TcpUp());
  EXPECT_TRUE(main().BB_Connect.Showing());
  EXPECT_FALSE(main().BB_Save.Enabled());
}

// Catches a gateway that streams CRs after an echo growing the debug trace
// without bound (each empty line is six blank sends and six trace lines).
TEST_F(Outcomes, TraceKeepsTheMostRecentLines) {
  testsupport::LoopbackListener listener(0);
  main().BB_Connect.Click();
  connection().RB_TCP.Click();
  connection().ED_host.SetText("127.0.0.1");
  connection().ED_TCP.SetText(std::to_string(listener.port));
  connection().BB_Connect.Click();  // the listener's queue takes the connection
  ASSERT_TRUE(link().TcpUp());
  ASSERT_TRUE(listener.Accept());
  const std::string stream = "get-version\r" + std::string(20000, '\r');
  ASSERT_EQ(write(listener.peer, stream.data(), stream.size()), ssize_t(stream.size()));
  ASSERT_TRUE(
      WaitFor([&] { return debug().Display.Lines().size() == ui::TF_morvel_config_main::kMemoLines; }));
  platform::Delay(300);
  EXPECT_EQ(debug().Display.Lines().size(), ui::TF_morvel_config_main::kMemoLines);
  EXPECT_EQ(debug().Display.Lines().back(), "Send_Message :  ");
}

}  // namespace
}  // namespace e2e
