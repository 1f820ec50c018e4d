// Editing and saving, restarting, and a refused model, each over both
// transports against the simulated gateway.
#include "e2e_fixture.h"

namespace e2e {
namespace {

using platform::Answer;
using platform::Icon;

class Flow : public VisitTest, public ::testing::WithParamInterface<Via> {};

// Catches a save that sends with entries missing, warns on the wrong page or
// with the wrong text, and edits that do not reach the gateway or do not come
// back in the next read-out.
TEST_P(Flow, EditSaveAndReadBack) {
  StartGateway({"pppoe-h323", ""});
  ASSERT_TRUE(Visit(GetParam()));
  config::ConfigPages& p = pages();

  p.ED_PPPoE_Password.SetText("");
  main().PageControl1.UserSelect(&main().Tab_About);
  main().BB_Save.Click();
  EXPECT_EQ(boxes.Shown().back(), (platform::MessageBox{"Please setup PPPoE contents", "Warning",
                                                        Icon::Warning, platform::Buttons::Ok}));
  EXPECT_EQ(main().PageControl1.ActivePage(), &main().Tab_LAN);

  p.ED_PPPoE_Password.SetText("new-secret");
  p.RG_Protocol.SetItemIndex(1);  // SIP, with no user name yet
  main().BB_Save.Click();
  EXPECT_EQ(boxes.Shown().back().text, "Please setup VoIP contents");
  EXPECT_EQ(main().PageControl1.ActivePage(), &main().Tab_VoIP);
  EXPECT_FALSE(Sent("write-system\r"));

  p.ED_PPPoE_ID.SetText("newuser");
  p.ED_SIP_Username.SetText("3001");
  p.ED_SIP_Server_1.SetText("10.9.8.7");
  p.CK_service_ftp.SetChecked(true);
  p.ED_service_ftp.SetText("2121");
  p.SG_VoIP_Phone_number.SetCell(2, 1, "3001");
  ASSERT_TRUE(SaveAndConfirm());

  const gwsim::GatewayConfig saved = sim().config();
  EXPECT_EQ(saved.pppoeId, "newuser");
  EXPECT_EQ(saved.pppoePassword, "new-secret");
  EXPECT_EQ(saved.protocol, gwsim::Protocol::Sip);
  EXPECT_EQ(saved.sipUsername, "3001");
  EXPECT_EQ(saved.sipServer1, "10.9.8.7");
  EXPECT_TRUE(saved.services[0].enabled);
  EXPECT_EQ(saved.services[0].port, "2121");
  ASSERT_FALSE(saved.potsPeers.empty());
  EXPECT_EQ(saved.potsPeers[0].pattern, "3001");

  boxes.Queue(Answer::Ok);
  main().BB_Disconnect.Click();
  ASSERT_TRUE(main().BB_Connect.Showing());
  ASSERT_TRUE(WaitFor([&] { return !sim().tcpClientConnected(); }));
  ASSERT_TRUE(Visit(GetParam()));
  ExpectPagesShow(saved, p);
}

// Catches a restart that leaves the link open, a wait whose timers do not
// drive the strip and bring Connect back, and a gateway that cannot be
// reached again after it.
TEST_P(Flow, RestartWaitsAndConnectsAgain) {
  StartGateway({"dhcp-sip", ""});
  ASSERT_TRUE(Visit(GetParam()));

  boxes.Queue(Answer::Yes);
  main().BB_Restart.Click();
  EXPECT_TRUE(Sent("reboot-system\r"));
  EXPECT_FALSE(link().TcpUp());
  EXPECT_FALSE(link().SerialOpen());
  EXPECT_TRUE(main().BB_Connect.Showing());
  EXPECT_FALSE(main().BB_Connect.Enabled() || main().BB_Exit.Enabled() || main().BB_Save.Enabled());
  EXPECT_TRUE(main().P_main.Visible() && main().P_State.Showing());

  for (int i = 0; i < 3; ++i) main().Timer_gauge.Fire();
  EXPECT_EQ(main().Gauge1.Progress(), 3);
  main().Timer1.Fire();
  EXPECT_FALSE(main().P_State.Visible());
  EXPECT_TRUE(main().BB_Connect.Enabled() && main().BB_Exit.Enabled());
  main().Timer_gauge.Stop();

  // The command written just before the close reaches the gateway over
  // both transports (closing the port must not discard it).
  ASSERT_TRUE(WaitFor([&] { return sim().counters().reboots == 1 && !sim().rebooting(); }));
  ASSERT_TRUE(Visit(GetParam()));
  ExpectPagesShow(sim().config(), pages());
}

// Catches a refused model that uncovers the pages or stops the series, and
// received bytes interpreted out of order while the refusal box is open (a
// real box runs the event loop, so read events arrive inside it).
TEST_P(Flow, RefusedModelKeepsThePagesCovered) {
  Gateway g{"full", "RN420-B"};
  g.chunkBytes = 4;
  StartGateway(g);
  boxes.whileOpen = [&](const platform::MessageBox& box) {
    if (box.caption == "Error") platform::Delay(300);
  };
  ASSERT_TRUE(Visit(GetParam()));
  EXPECT_TRUE(BoxShown("Access denied. Use Morvel S/W for RN420."));
  EXPECT_TRUE(main().P_main.Visible());
  EXPECT_EQ(pages().L_model.Caption(), "");
  // Over TCP the connection enabled them; over serial only an accepted model does.
  EXPECT_EQ(main().BB_Save.Enabled(), GetParam() == Via::Tcp);
  gwsim::GatewayConfig expected = sim().config();
  expected.model = "";
  ExpectPagesShow(expected, pages());
}

INSTANTIATE_TEST_SUITE_P(Transports, Flow, ::testing::Values(Via::Tcp, Via::Serial), ViaTestName);

// Catches connect failures reported wrongly: an empty host is refused before
// anything opens, and a refused TCP connection ends the wait at once.
TEST_F(VisitTest, ConnectFailures) {
  main().BB_Connect.Click();
  devlink::TF_Connection& d = connection();
  d.RB_TCP.Click();
  d.BB_Connect.Click();
  EXPECT_EQ(boxes.Shown().back(), (platform::MessageBox{"Input the name of host", "Warning", Icon::Warning,
                                                        platform::Buttons::Ok}));
  EXPECT_EQ(link().Record().LinkMode(), 0);

  d.ED_host.SetText("127.0.0.1");
  d.ED_TCP.SetText("1");  // nothing listens there
  const uint32_t start = platform::TickCount();
  d.BB_Connect.Click();
  EXPECT_LT(platform::TickCount() - start, devlink::TF_Connection::kConnectWaitMs);
  EXPECT_EQ(boxes.Shown().back(),
            (platform::MessageBox{"Can not connect to host", "Error", Icon::Error, platform::Buttons::Ok}));
  EXPECT_TRUE(d.Visible());
  EXPECT_FALSE(login().Visible());
}

}  // namespace
}  // namespace e2e
