#include "ui_fixture.h"

namespace ui::test {
namespace {

using platform::Icon;

class SaveTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ConnectOver(devlink::TransportKind::Tcp);
    main().ConversationEnded({devlink::Conversation::ReadOut});  // Save waits for a read-out to compare with
  }
};

struct SaveCase {
  const char* name;
  int networkType;
  int protocol;
  std::function<void(config::ConfigPages&)> fill;
  const char* page;     // the page turned to, or null when the save starts
  const char* message;  // the warning, or null
};

// Catches a refused save that turns to the wrong page, shows the wrong text,
// or sends anything (a field whose line break would split its script line
// included); and an accepted one that does not start the handshake.
TEST_F(SaveTest, ChecksTurnToTheFailingPageOrStartTheHandshake) {
  const auto sip = [](config::ConfigPages& p) {
    p.ED_SIP_Server_1.SetText("10.0.0.5");
    p.ED_SIP_Username.SetText("1001");
  };
  const SaveCase cases[] = {
      {"DHCP with H323 needs nothing", 1, 0, [](config::ConfigPages&) {}, nullptr, nullptr},
      {"PPPoE without password", 0, 1, [](config::ConfigPages& p) { p.ED_PPPoE_ID.SetText("id"); }, "Tab_LAN",
       "Please setup PPPoE contents"},
      {"fixed address with a short netmask", 2, 0,
       [](config::ConfigPages& p) {
         p.ED_Static_IP_address.SetText("10.1.2.3");
         p.ED_Static_Netmask.SetText("255.255.255.");
       },
       "Tab_LAN", "Please setup static IP contents"},
      {"SIP without user name", 1, 1, [](config::ConfigPages& p) { p.ED_SIP_Server_1.SetText("10.0.0.5"); },
       "Tab_VoIP", "Please setup VoIP contents"},
      {"a line break in the PPPoE password", 0, 0,
       [](config::ConfigPages& p) {
         p.ED_PPPoE_ID.SetText("id");
         p.ED_PPPoE_Password.SetText("secret\nreboot-system");
       },
       "Tab_LAN",
       "The field \"Password\" on the page \"LAN\" holds a line break or a NUL character. It would reach the "
       "gateway as a command of its own, so nothing was sent."},
      {"fixed address complete, SIP complete", 2, 1,
       [&](config::ConfigPages& p) {
         p.ED_Static_IP_address.SetText("10.1.2.3");
         p.ED_Static_Netmask.SetText("255.0.0.0");
         sip(p);
       },
       nullptr, nullptr},
      {"a service port out of range", 1, 0, [](config::ConfigPages& p) { p.ED_service_ftp.SetText("70000"); },
       "Tab_Service",
       "The port of the service \"FTP\" is not a port number from 1 to 65535. The gateway could not take it, "
       "so nothing was written."},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    // The gateway answers an earlier case's save with an echo that ends it.
    link().Receive("write-system\rget-lan\r", devlink::LineEnds::Tcp);
    tcp.written.clear();
    boxes.Clear();
    main().PageControl1.SetActivePage(&main().Tab_About);
    pages().RG_Network_type.SetItemIndex(c.networkType);
    pages().RG_Protocol.SetItemIndex(c.protocol);
    for (platform::AddressEdit* a :
         {&pages().ED_Static_IP_address, &pages().ED_Static_Netmask, &pages().ED_SIP_Server_1})
      a->SetText("");
    for (platform::Edit* e : {&pages().ED_PPPoE_ID, &pages().ED_PPPoE_Password, &pages().ED_SIP_Username})
      e->SetText("");
    c.fill(pages());
    link().StartIn(devlink::LinkState().StatusLines());
    link().StartIn(devlink::LinkState().SaveTagsSeen(1, 1));

    main().BB_Save.Click();

    EXPECT_FALSE(link().Record().StatusMode());
    if (c.page) {
      EXPECT_EQ(main().PageControl1.ActivePage()->Name(), c.page);
      ASSERT_EQ(boxes.Shown().size(), 1u);
      EXPECT_EQ(boxes.Shown()[0], (platform::MessageBox{c.message, "Warning", Icon::Warning}));
      EXPECT_TRUE(tcp.written.empty());
      EXPECT_FALSE(main().T_State_Info.Enabled());  // a page chosen by the program starts no polling
    } else {
      EXPECT_TRUE(boxes.Shown().empty());
      EXPECT_EQ(main().PageControl1.ActivePage(), &main().Tab_About);
      EXPECT_EQ(tcp.written, (std::vector<std::string>{"\r", "write-system\r", "!START-TAG!\r"}));
      EXPECT_EQ(link().Record().ReplyState(), devlink::Reply::Save);
      EXPECT_EQ(link().Record().StartTagCount() + link().Record().EndTagCount(), 0);
    }
  }
}

// Catches a save whose trace lines are lost: every send is traced, and the
// missing middle group of an unused address still adds the check's notice.
TEST_F(SaveTest, TracesTheHandshakeAndTheAddressNotice) {
  pages().RG_Network_type.SetItemIndex(1);
  pages().RG_Protocol.SetItemIndex(0);
  debug().Display.Clear();
  main().BB_Save.Click();
  const auto& lines = debug().Display.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "\xC1\xDF\xB0\xA3 IP \xBE\xF8\xC0\xBD");
  EXPECT_EQ(lines[3], "Send_Message : !START-TAG!\r");
}

// Catches the fixed address field's exit not proposing the netmask and router.
TEST_F(SaveTest, LeavingTheFixedAddressProposesNetmaskAndRouter) {
  pages().ED_Static_IP_address.SetText("172.16.1.1");
  pages().ED_Static_IP_address.Exit();
  EXPECT_EQ(pages().ED_Static_Netmask.Text(), "255.255.0  .0  ");
  EXPECT_EQ(pages().ED_Static_router.Text(), "172.16 .   .   ");
}

// Catches a status poll that cuts into a save handshake (its echoes would go
// to the status memo and the save would never be confirmed), and a poll asked
// for meanwhile that is lost instead of going out when the save has ended.
TEST_F(SaveTest, PollsWaitUntilTheSaveHasEnded) {
  pages().RG_Network_type.SetItemIndex(1);
  main().BB_Save.Click();
  main().PageControl1.UserSelect(&main().Tab_Status_information);
  main().T_State_Info.Fire();
  EXPECT_EQ(tcp.written, (std::vector<std::string>{"\r", "write-system\r", "!START-TAG!\r"}));
  EXPECT_FALSE(link().Record().StatusMode());

  link().Receive("write-system\r!START-TAG!\r!START-TAG!\r!END-TAG!\r", devlink::LineEnds::Tcp);
  EXPECT_NE(tcp.written.back(), "get-wan-status\r");
  link().Receive("!END-TAG!\r", devlink::LineEnds::Tcp);
  EXPECT_EQ(boxes.Shown().back().caption, "OK");
  EXPECT_EQ(tcp.written.back(), "get-wan-status\r");
  EXPECT_TRUE(link().Record().StatusMode());
  EXPECT_EQ(pages().M_State_Info.Lines(), std::vector<std::string>{""});  // the tick's poll
}

}  // namespace
}  // namespace ui::test
