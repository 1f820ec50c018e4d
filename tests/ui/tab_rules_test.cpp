#include "ui_fixture.h"

namespace ui::test {
namespace {

using platform::Colour;

using TabRulesTest = UiTest;

struct NetworkTypeCase {
  int item;
  bool staticGroup, common, dhcpGroup, pppoeGroup;
  bool dhcpEnabled, pppoeEnabled, ipEnabled;
};

// Catches a wrong group shown for a network type, a wrong PC choice left
// usable, or a change that does not put the PC attachment back to DHCP.
TEST_F(TabRulesTest, NetworkTypeShowsItsGroupsAndResetsThePcChoice) {
  const NetworkTypeCase cases[] = {
      {1, false, true, true, false, true, false, false},
      {2, true, true, false, false, true, false, true},
      {0, false, false, false, true, true, true, false},
  };
  config::ConfigPages& p = pages();
  for (const NetworkTypeCase& c : cases) {
    SCOPED_TRACE(c.item);
    p.RB_PPPoE.SetChecked(true);
    p.RG_Network_type.SetItemIndex(c.item);
    EXPECT_EQ(p.GB_Static_IP_address.Visible(), c.staticGroup);
    EXPECT_EQ(p.GB_Common.Visible(), c.common);
    EXPECT_EQ(p.GB_DHCP.Visible(), c.dhcpGroup);
    EXPECT_EQ(p.GB_PPPoE.Visible(), c.pppoeGroup);
    EXPECT_EQ(p.RB_DHCP.Enabled(), c.dhcpEnabled);
    EXPECT_EQ(p.RB_PPPoE.Enabled(), c.pppoeEnabled);
    EXPECT_EQ(p.RB_IP.Enabled(), c.ipEnabled);
    EXPECT_TRUE(p.RB_DHCP.Checked());
    EXPECT_FALSE(p.RB_PPPoE.Checked());
    EXPECT_FALSE(p.RB_IP.Checked());
  }
}

// Catches a rule that runs again when the same value is set: the PC choice
// must survive choosing the same network type again.
TEST_F(TabRulesTest, SameNetworkTypeAgainRunsNothing) {
  config::ConfigPages& p = pages();
  p.RG_Network_type.SetItemIndex(2);
  p.RB_IP.Click();
  EXPECT_FALSE(p.RB_DHCP.Checked());
  p.RG_Network_type.SetItemIndex(2);
  EXPECT_TRUE(p.RB_IP.Checked());
  EXPECT_FALSE(p.RB_DHCP.Checked());
}

// Catches PC radios that do not exclude one another.
TEST_F(TabRulesTest, PcRadiosExcludeEachOther) {
  config::ConfigPages& p = pages();
  p.RB_PPPoE.Click();
  EXPECT_TRUE(p.RB_PPPoE.Checked());
  EXPECT_FALSE(p.RB_DHCP.Checked() || p.RB_IP.Checked());
  p.RB_IP.Click();
  EXPECT_TRUE(p.RB_IP.Checked());
  EXPECT_FALSE(p.RB_DHCP.Checked() || p.RB_PPPoE.Checked());
  p.RB_DHCP.Click();
  EXPECT_TRUE(p.RB_DHCP.Checked());
  EXPECT_FALSE(p.RB_PPPoE.Checked() || p.RB_IP.Checked());
}

// Catches a broken chain of the PSTN rules: local PC with Dial-up must choose
// the PSTN PPPoE attachment, copy the PSTN login and make the WAN PPPoE.
TEST_F(TabRulesTest, LocalPcWithDialUpChainsToPppoe) {
  config::ConfigPages& p = pages();
  p.RG_Network_type.SetItemIndex(1);
  p.ED_PSTN_login.SetText("dialer");
  p.ED_PSTN_password.SetText("secret");
  ASSERT_TRUE(p.RB_Dial_up.Checked());
  ASSERT_TRUE(p.RB_PSTN_DHCP.Checked());

  p.CB_Local_PC.SetChecked(true);

  EXPECT_TRUE(p.RB_PSTN_PPPoE.Checked());
  EXPECT_FALSE(p.RB_PSTN_DHCP.Checked());
  EXPECT_FALSE(p.RB_PSTN_DHCP.Enabled());
  EXPECT_TRUE(p.RB_PSTN_PPPoE.Enabled());
  EXPECT_EQ(p.ED_PPPoE_ID.Text(), "dialer");
  EXPECT_EQ(p.ED_PPPoE_Password.Text(), "secret");
  EXPECT_EQ(p.RG_Network_type.ItemIndex(), 0);
  EXPECT_TRUE(p.GB_PPPoE.Visible());
  for (platform::Control* c : std::initializer_list<platform::Control*>{
           &p.RG_Network_type, &p.GB_Common, &p.GB_Static_IP_address, &p.GB_PPPoE, &p.GB_DHCP})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_FALSE(p.ED_PPPoE_ID.EffectivelyEnabled());

  p.CB_Local_PC.SetChecked(false);
  EXPECT_TRUE(p.RG_Network_type.Enabled());
  EXPECT_TRUE(p.GB_PPPoE.Enabled());
  EXPECT_FALSE(p.RB_PSTN_DHCP.Enabled());
  EXPECT_FALSE(p.RB_PSTN_PPPoE.Enabled());
}

// Catches All-up with a local PC that keeps the PSTN DHCP choice disabled,
// or a PSTN DHCP choice that does not make the WAN DHCP.
TEST_F(TabRulesTest, LocalPcWithAllUpAllowsDhcp) {
  config::ConfigPages& p = pages();
  p.RB_All_up.Click();
  p.CB_Local_PC.SetChecked(true);
  EXPECT_TRUE(p.RB_PSTN_DHCP.Enabled());
  EXPECT_EQ(p.RG_Network_type.ItemIndex(), 1);  // the PSTN DHCP choice, still checked

  p.RB_Dial_up.Click();
  EXPECT_FALSE(p.RB_PSTN_DHCP.Enabled());
  EXPECT_EQ(p.RG_Network_type.ItemIndex(), 0);
  p.RB_All_up.Click();
  EXPECT_TRUE(p.RB_PSTN_DHCP.Enabled());
  p.RB_PSTN_DHCP.Click();
  EXPECT_EQ(p.RG_Network_type.ItemIndex(), 1);
}

// Catches All-up without a local PC enabling the PSTN DHCP choice.
TEST_F(TabRulesTest, AllUpWithoutLocalPcChangesNothing) {
  config::ConfigPages& p = pages();
  p.RB_PSTN_DHCP.SetEnabled(false);
  p.RB_All_up.Click();
  EXPECT_FALSE(p.RB_PSTN_DHCP.Enabled());
}

// Catches a protocol showing the wrong group, or a grid that stays editable
// and window-coloured under MGCP.
TEST_F(TabRulesTest, ProtocolShowsItsGroupAndGreysTheGridForMgcp) {
  config::ConfigPages& p = pages();
  const Colour window = Colour::Sys(Colour::System::Window);
  const Colour face = Colour::Sys(Colour::System::BtnFace);
  struct Case {
    int item;
    bool gk, sip, mgcp, grid;
    Colour colour;
  } const cases[] = {{2, false, false, true, false, face},
                     {1, false, true, false, true, window},
                     {2, false, false, true, false, face},
                     {0, true, false, false, true, window}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    p.RG_Protocol.SetItemIndex(c.item);
    EXPECT_EQ(p.GB_Gatekeeper.Visible(), c.gk);
    EXPECT_EQ(p.GB_SIP.Visible(), c.sip);
    EXPECT_EQ(p.GB_MGCP.Visible(), c.mgcp);
    EXPECT_EQ(p.SG_VoIP_Phone_number.Enabled(), c.grid);
    EXPECT_EQ(p.SG_VoIP_Phone_number.Background(), c.colour);
  }
}

// Catches the upgrade box governing the wrong controls, or clearing their texts.
TEST_F(TabRulesTest, AutoUpgradeEnablesItsSixControlsWithoutClearingThem) {
  config::ConfigPages& p = pages();
  platform::Control* governed[] = {&p.ED_server_URL, &p.ED_auto_upgrade_ID, &p.ED_auto_upgrade_password,
                                   &p.L_server_url,  &p.L_auto_ID,          &p.L_auto_password};
  p.CK_auto_upgrade.SetChecked(true);
  for (platform::Control* c : governed) EXPECT_TRUE(c->Enabled()) << c->Name();
  p.ED_auto_upgrade_ID.SetText("me");
  p.CK_auto_upgrade.SetChecked(false);
  for (platform::Control* c : governed) EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_EQ(p.ED_auto_upgrade_ID.Text(), "me");
  EXPECT_EQ(p.ED_server_URL.Text(), "http://");
  EXPECT_TRUE(p.CK_upgrade_complete_restart.Enabled());
}

/// Records the painting: each call with the brush and font colour of the moment.
class RecordingCanvas : public platform::Canvas {
 public:
  struct Op {
    std::string what;
    platform::Rect rect;
    int x = 0, y = 0;
    std::string text;
    Colour colour;
  };
  int TextWidth(const std::string& text) override { return int(text.size()) * 7; }
  void FillRect(const platform::Rect& r) override { ops.push_back({"fill", r, 0, 0, "", brush}); }
  void Rectangle(const platform::Rect& r) override { ops.push_back({"rectangle", r, 0, 0, "", brush}); }
  void TextOut(int x, int y, const std::string& text) override {
    ops.push_back({"text", {}, x, y, text, fontColour});
  }
  std::vector<Op> ops;
};

// Catches cell painting that is not centred (or rounds instead of
// truncating), uses a colour other than black, or shows the highlight
// colour for a selected cell instead of framing it in the grid's colour.
TEST_F(TabRulesTest, DrawCellCentresBlackTextAndFramesTheSelection) {
  platform::StringGrid& grid = pages().SG_VoIP_Phone_number;
  grid.SetCell(2, 1, "1001");  // 28 wide
  const platform::Rect cell{10, 20, 111, 17};
  const Colour highlight = Colour::Sys(Colour::System::Highlight);

  RecordingCanvas plain;
  plain.brush = Colour::Sys(Colour::System::Window);
  plain.fontColour = highlight;
  main().SG_VoIP_Phone_numberDrawCell(2, 1, cell, {}, plain);
  ASSERT_EQ(plain.ops.size(), 2u);
  EXPECT_EQ(plain.ops[0].what, "fill");
  EXPECT_EQ(plain.ops[0].rect, cell);
  EXPECT_EQ(plain.ops[1].x, 10 + (111 - 28) / 2);  // 51: 41.5 truncated
  EXPECT_EQ(plain.ops[1].y, 22);
  EXPECT_EQ(plain.ops[1].colour, platform::kBlack);

  pages().RG_Protocol.SetItemIndex(2);  // grid colour: button face
  RecordingCanvas selected;
  selected.brush = highlight;
  main().SG_VoIP_Phone_numberDrawCell(2, 1, cell, {.selected = true}, selected);
  ASSERT_EQ(selected.ops.size(), 4u);
  EXPECT_EQ(selected.ops[2].what, "rectangle");
  EXPECT_EQ(selected.ops[2].colour, Colour::Sys(Colour::System::BtnFace));
  EXPECT_EQ(selected.ops[3].y, 23);
  EXPECT_EQ(selected.ops[3].text, "1001");
  EXPECT_EQ(selected.ops[3].colour, platform::kBlack);

  // A text wider than the cell starts left of it; the division truncates toward zero.
  grid.SetCell(0, 1, "ABCDEF");  // 42 wide
  RecordingCanvas narrow;
  main().SG_VoIP_Phone_numberDrawCell(0, 1, {5, 0, 39, 17}, {.fixed = true}, narrow);
  EXPECT_EQ(narrow.ops[1].x, 5 + (39 - 42) / 2);  // 4
  EXPECT_LT(narrow.ops[1].x, 5);

  // An empty cell paints its background only, with an empty text.
  RecordingCanvas empty;
  main().SG_VoIP_Phone_numberDrawCell(1, 1, cell, {}, empty);
  EXPECT_EQ(empty.ops[1].text, "");
}

}  // namespace
}  // namespace ui::test
