#include "ui_fixture.h"

namespace ui::test {
namespace {

class StatusTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ConnectOver(devlink::TransportKind::Tcp);
    pages().M_State_Info.Add("old");
  }
};

// Catches a user's choice of the status page that does not clear the memo,
// switch to status mode or poll at once, and leaving it without stopping.
TEST_F(StatusTest, ChoosingTheStatusPageStartsPollingAndLeavingStopsIt) {
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  EXPECT_TRUE(main().T_State_Info.Enabled());
  EXPECT_EQ(main().T_State_Info.Interval(), 20000);
  EXPECT_TRUE(pages().M_State_Info.Lines().empty());
  EXPECT_TRUE(link().Record().StatusMode());
  EXPECT_TRUE(link().Record().StatusFollowUp());
  EXPECT_EQ(tcp.written, std::vector<std::string>{"get-wan-status\r"});

  main().PageControl1.UserSelect(&main().Tab_VoIP);
  EXPECT_FALSE(main().T_State_Info.Enabled());
  EXPECT_TRUE(link().Record().StatusMode());  // left as it was
  EXPECT_EQ(tcp.written.size(), 1u);
}

// Catches a page chosen by the program that starts or stops the polling.
TEST_F(StatusTest, APageChosenByTheProgramNeitherStartsNorStopsPolling) {
  main().PageControl1.SetActivePage(&main().Tab_Status_information);
  EXPECT_FALSE(main().T_State_Info.Enabled());
  EXPECT_TRUE(tcp.written.empty());
  EXPECT_EQ(pages().M_State_Info.Lines().size(), 1u);

  main().PageControl1.UserSelect(&main().Tab_VoIP);
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  main().PageControl1.SetActivePage(&main().Tab_LAN);
  EXPECT_TRUE(main().T_State_Info.Enabled());
}

// Catches a poll tick that does not restart the memo with one empty line, or
// a reply that is not filtered into the memo and followed up by the
// gatekeeper query.
TEST_F(StatusTest, EachTickRefreshesTheMemoFromTheReply) {
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  // The first poll's reply ends with the gatekeeper status's end mark.
  link().Receive("get-gatekeeper-status\r!END-TAG!\r", devlink::LineEnds::Tcp);
  tcp.written.clear();

  main().T_State_Info.Fire();
  EXPECT_EQ(pages().M_State_Info.Lines(), std::vector<std::string>{""});
  EXPECT_EQ(tcp.written, std::vector<std::string>{"get-wan-status\r"});
  EXPECT_TRUE(link().Record().StatusFollowUp());

  link().Receive("get-wan-status\r\n!START-TAG!\r\nSystem Information\r\nWAN up\r\n!END-TAG!\r\n",
                 devlink::LineEnds::Tcp);
  EXPECT_EQ(pages().M_State_Info.Lines(), (std::vector<std::string>{"", "", "System Information", "WAN up"}));
  EXPECT_EQ(tcp.written, (std::vector<std::string>{"get-wan-status\r", "get-gatekeeper-status\r", " ", " "}));
  EXPECT_FALSE(link().Record().StatusFollowUp());
}

// Catches Connect that leaves status mode on, so the login's replies would
// land in the memo instead of the interpreter.
TEST_F(StatusTest, ConnectReturnsToParseModeButKeepsPolling) {
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  main().BB_ConnectClick();
  EXPECT_FALSE(link().Record().StatusMode());
  EXPECT_TRUE(main().T_State_Info.Enabled());
}

}  // namespace
}  // namespace ui::test
