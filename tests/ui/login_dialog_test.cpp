#include "ui_fixture.h"

namespace ui::test {
namespace {

using platform::Icon;

class LoginDialogTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ConnectOver(devlink::TransportKind::Tcp);
    login().Show();
  }
};

// Catches a login sent with an empty ID or password, or a refusal that
// changes fields or counters anyway.
TEST_F(LoginDialogTest, EmptyIdOrPasswordIsRefused) {
  const std::pair<const char*, const char*> cases[] = {{"", "pw"}, {"admin", ""}, {"", ""}};
  for (const auto& [id, password] : cases) {
    SCOPED_TRACE(std::string(id) + "/" + password);
    boxes.Clear();
    login().ED_ID.SetText(id);
    login().ED_Password.SetText(password);
    pages().ED_PPPoE_ID.SetText("kept");
    link().StartIn(devlink::LinkState().VoipCounted(2, 0, 0));

    login().BB_OK.Click();

    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0],
              (platform::MessageBox{"Please fill out all contents", "Warning", Icon::Warning}));
    EXPECT_TRUE(tcp.written.empty());
    EXPECT_EQ(pages().ED_PPPoE_ID.Text(), "kept");
    EXPECT_EQ(link().Record().VoicePortRow(), 2);
  }
}

// Catches a login line with wrong separators, a reset that is skipped or
// misordered, the wrong reply state, or a polling start by the page choice.
TEST_F(LoginDialogTest, OkSendsTheLoginLineAndPreparesTheMainWindow) {
  this->link().StartIn(devlink::LinkState().VoipCounted(4, 4, 4).AddressesSeen());
  const devlink::LinkRecord link = this->link().Record();
  pages().SG_VoIP_Phone_number.SetRowCount(5);
  pages().M_State_Info.Add("status");
  pages().ED_server_URL.SetText("http://example");
  pages().RG_Network_type.SetItemIndex(2);
  main().PageControl1.SetActivePage(&main().Tab_About);
  login().ED_ID.SetText("admin");
  login().ED_Password.SetText("p w");

  login().BB_OK.Click();

  EXPECT_EQ(tcp.written, std::vector<std::string>{"start-login admin p w\r"});
  EXPECT_EQ(debug().Display.Lines().back(), "Send_Message : start-login admin p w\r");
  EXPECT_EQ(link.ReplyState(), devlink::Reply::Login);
  EXPECT_EQ(link.VoicePortRow() + link.PotsPeerCount() + link.PatternCount(), 0);
  EXPECT_FALSE(link.GatekeeperSeen() || link.SipServerSeen() || link.CallAgentSeen());
  EXPECT_EQ(pages().SG_VoIP_Phone_number.RowCount(), 2);
  EXPECT_TRUE(pages().M_State_Info.Lines().empty());
  EXPECT_EQ(pages().ED_server_URL.Text(), "http://");
  EXPECT_EQ(pages().RG_Network_type.ItemIndex(), 0);
  EXPECT_EQ(main().PageControl1.ActivePage(), &main().Tab_LAN);
  EXPECT_EQ(main().Focused(), &main().PageControl1);
  EXPECT_FALSE(main().T_State_Info.Enabled());
  EXPECT_TRUE(login().Visible());  // closed only by the gateway's answer

  // A second OK while the login waits for its answer sends nothing: two
  // read-outs in step filled the grid with duplicate rows.
  login().BB_OK.Click();
  EXPECT_EQ(tcp.written.size(), 1u);
}

// Catches Enter in the password box not acting as OK, or other keys doing so.
TEST_F(LoginDialogTest, EnterInThePasswordBoxPressesOk) {
  login().ED_ID.SetText("admin");
  login().ED_Password.SetText("pw");
  char key = 'x';
  login().ED_Password.KeyPress(key);
  EXPECT_TRUE(tcp.written.empty());
  key = '\r';
  login().ED_Password.KeyPress(key);
  EXPECT_EQ(key, '\r');
  EXPECT_EQ(tcp.written, std::vector<std::string>{"start-login admin pw\r"});
}

// Catches Cancel that sends something or closes the transport.
TEST_F(LoginDialogTest, CancelOnlyClosesTheDialog) {
  login().BB_Cancel.Click();
  EXPECT_FALSE(login().Visible());
  EXPECT_TRUE(tcp.written.empty());
  EXPECT_EQ(tcp.closes, 0);
  EXPECT_TRUE(main().BB_Disconnect.Visible());
}

// Catches the dialog's built-in layout drifting: the password is masked.
TEST_F(LoginDialogTest, PasswordIsMaskedAndTheDialogStaysOnTop) {
  EXPECT_EQ(login().ED_Password.PasswordChar(), '*');
  EXPECT_EQ(login().ED_ID.PasswordChar(), 0);
  EXPECT_TRUE(login().StayOnTop());
  EXPECT_EQ(login().Geometry(), (platform::Rect{0, 0, 192, 95}));
}

}  // namespace
}  // namespace ui::test
