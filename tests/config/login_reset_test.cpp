// The two steps of the login reset: what they empty, in which order, what they
// leave alone and how they shrink the phone-number grid.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/login_reset.h"
#include "stand_in_pages.h"

namespace config {
namespace {

using Pages = testsupport::StandInPages;

/// Fills every field the way a previous read-out and some editing would.
void FillAsAfterReadOut(ConfigPages& p) {
  for (platform::Edit* e : {&p.ED_PSTN_login,           &p.ED_PSTN_password,
                            &p.ED_PSTN_dialing,         &p.ED_PPPoE_ID,
                            &p.ED_PPPoE_Password,       &p.ED_H323_ID,
                            &p.ED_GK_password,          &p.ED_SIP_Username,
                            &p.ED_SIP_password,         &p.ED_NUM,
                            &p.ED_service_ftp,          &p.ED_service_http,
                            &p.ED_service_telnet,       &p.ED_service_TFTP,
                            &p.ED_service_h323,         &p.ED_service_sip,
                            &p.ED_service_SNMP,         &p.ED_service_morvel,
                            &p.ED_server_URL,           &p.ED_auto_upgrade_ID,
                            &p.ED_auto_upgrade_password})
    e->SetText("x");
  for (platform::AddressEdit* a :
       {&p.ED_PPPoE_DNS, &p.ED_Static_IP_address, &p.ED_Static_Netmask, &p.ED_Static_router, &p.ED_Static_DNS,
        &p.ED_Gatekeeper_IP, &p.ED_Gatekeeper_IP2, &p.ED_SIP_Server_1, &p.ED_SIP_Server_2,
        &p.ED_MGCP_CallAgent_1, &p.ED_MGCP_CallAgent_2})
    a->SetText("1.2.3.4");
  for (platform::CheckBox* c :
       {&p.CK_Cable_modem, &p.CK_service_ftp, &p.CK_service_http, &p.CK_service_telnet, &p.CK_service_TFTP,
        &p.CK_service_SNMP, &p.CK_service_morvel, &p.CK_auto_upgrade, &p.CK_upgrade_complete_restart,
        &p.CB_Local_PC})
    c->SetChecked(true);
  p.RG_Network_type.SetItemIndex(2);
  p.RG_Protocol.SetItemIndex(2);
  p.RB_All_up.SetChecked(true);
  p.RB_PSTN_PPPoE.SetChecked(true);
  p.RB_IP.SetChecked(true);
  p.SG_VoIP_Phone_number.SetRowCount(4);
  for (int r = 1; r < 4; ++r) {
    p.SG_VoIP_Phone_number.SetCell(0, r, std::to_string(r - 1));
    p.SG_VoIP_Phone_number.SetCell(1, r, "FXS");
    p.SG_VoIP_Phone_number.SetCell(2, r, "100" + std::to_string(r));
  }
  p.M_State_Info.Add("status line");
}

/// Records the name of every control whose text, check, item or cells change,
/// in the order of the changes.
class ChangeLog {
 public:
  explicit ChangeLog(platform::Control& root) { Watch(root); }
  std::vector<std::string> names;

 private:
  void Watch(platform::Control& c) {
    c.Observe([this](platform::Control& changed, platform::Prop prop) {
      using platform::Prop;
      if (prop == Prop::Text || prop == Prop::Checked || prop == Prop::ItemIndex || prop == Prop::Cells ||
          prop == Prop::RowCount || prop == Prop::Lines)
        names.push_back(changed.Name());
    });
    for (platform::Control* child : c.Children()) Watch(*child);
  }
};

// Catches fields emptied out of the order the reset gives (an observer such
// as the view or a rule would see a different sequence), missing ones, or
// fields the first step must not touch.
TEST(LoginReset, FirstStepEmptiesTheListedFieldsInOrder) {
  Pages f;
  FillAsAfterReadOut(f.pages);
  ChangeLog log(f.pageControl);
  ClearLoginFields(f.pages);
  const std::vector<std::string> expected = {
      "SG_VoIP_Phone_number",
      "ED_PPPoE_ID",
      "ED_PPPoE_Password",
      "ED_H323_ID",
      "ED_GK_password",
      "ED_service_http",
      "ED_service_telnet",
      "ED_service_ftp",
      "ED_service_h323",
      "ED_service_sip",
      "ED_service_morvel",
      "ED_server_URL",
      "ED_auto_upgrade_ID",
      "ED_auto_upgrade_password",
      "ED_NUM",
      "ED_service_SNMP",
      "ED_Static_Netmask",
      "ED_Static_router",
      "ED_Static_DNS",
      "ED_Static_IP_address",
      "ED_Gatekeeper_IP",
      "ED_Gatekeeper_IP2",
      "ED_service_TFTP",
      "ED_PPPoE_DNS",
      "ED_PSTN_login",
      "ED_PSTN_password",
      "ED_PSTN_dialing",
      "ED_SIP_Username",
      "ED_SIP_password",
      "ED_SIP_Server_1",
      "ED_SIP_Server_2",
      "ED_MGCP_CallAgent_1",
      "ED_MGCP_CallAgent_2",
      "M_State_Info",
  };
  EXPECT_EQ(log.names, expected);
  EXPECT_EQ(f.pages.ED_server_URL.Text(), "");  // step 2 puts "http://" back
  EXPECT_TRUE(f.pages.ED_SIP_Server_1.IsEmpty());
  EXPECT_TRUE(f.pages.M_State_Info.Lines().empty());
}

// Catches a second step out of order: the network type must change before the
// check boxes, so its rule sees the emptied fields, and every listed field
// must be reset.
TEST(LoginReset, SecondStepResetsInOrder) {
  Pages f;
  FillAsAfterReadOut(f.pages);
  ChangeLog log(f.pageControl);
  ClearData(f.pages);
  const std::vector<std::string> expected = {
      "ED_Static_IP_address",
      "ED_Static_Netmask",
      "ED_Static_router",
      "ED_Static_DNS",
      "ED_PPPoE_ID",
      "ED_PPPoE_Password",
      "ED_PPPoE_DNS",
      "ED_H323_ID",
      "ED_Gatekeeper_IP",
      "ED_Gatekeeper_IP2",
      "ED_GK_password",
      "ED_service_http",
      "ED_service_telnet",
      "ED_service_ftp",
      "ED_service_h323",
      "ED_service_sip",
      "ED_service_morvel",
      "ED_server_URL",
      "ED_auto_upgrade_ID",
      "ED_auto_upgrade_password",
      "ED_NUM",
      "RG_Network_type",
      "CK_Cable_modem",
      "CK_service_http",
      "CK_service_telnet",
      "CK_service_ftp",
      "CK_service_h323",
      "CK_service_sip",
      "CK_service_morvel",
      "CK_auto_upgrade",
      "CK_upgrade_complete_restart",
      "SG_VoIP_Phone_number",
      "SG_VoIP_Phone_number",
  };
  EXPECT_EQ(log.names, expected);
}

// Catches a reset that clears too much or too little: after both steps the
// read-out fills a known state, and the fields the reset keeps still show the
// previous gateway's values until the new replies arrive.
TEST(LoginReset, BothStepsLeaveResetValuesAndKeepTheRest) {
  Pages f;
  ConfigPages& p = f.pages;
  FillAsAfterReadOut(p);
  ClearLoginFields(p);
  ClearData(p);

  EXPECT_EQ(p.ED_server_URL.Text(), "http://");
  EXPECT_EQ(p.RG_Network_type.ItemIndex(), 0);
  for (platform::CheckBox* c :
       {&p.CK_Cable_modem, &p.CK_service_ftp, &p.CK_service_http, &p.CK_service_telnet, &p.CK_service_morvel,
        &p.CK_service_h323, &p.CK_service_sip, &p.CK_auto_upgrade, &p.CK_upgrade_complete_restart})
    EXPECT_FALSE(c->Checked()) << c->Name();
  EXPECT_FALSE(p.CK_service_h323.Enabled());  // off now, but still not the user's to change
  for (platform::Edit* e : {&p.ED_PSTN_login, &p.ED_PPPoE_ID, &p.ED_NUM, &p.ED_service_TFTP,
                            &p.ED_service_SNMP, &p.ED_SIP_Username, &p.ED_auto_upgrade_password})
    EXPECT_EQ(e->Text(), "") << e->Name();
  EXPECT_TRUE(p.ED_MGCP_CallAgent_2.IsEmpty());

  // Left alone.
  EXPECT_EQ(p.RG_Protocol.ItemIndex(), 2);
  EXPECT_TRUE(p.CK_service_TFTP.Checked());
  EXPECT_TRUE(p.CK_service_SNMP.Checked());
  EXPECT_TRUE(p.CB_Local_PC.Checked());
  EXPECT_TRUE(p.RB_All_up.Checked());
  EXPECT_TRUE(p.RB_PSTN_PPPoE.Checked());
  EXPECT_TRUE(p.RB_IP.Checked());  // no network-type rule is attached here

  const platform::StringGrid& g = p.SG_VoIP_Phone_number;
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.Cell(0, 1), "0");
  EXPECT_EQ(g.Cell(1, 1), "FXS");
  EXPECT_EQ(g.Cell(2, 1), "");
}

// Catches a previous gateway's ports and numbers coming back when the new
// read-out grows the grid again: the shrink drops the rows beyond the second.
TEST(LoginReset, ShrunkRowsComeBackEmpty) {
  Pages f;
  FillAsAfterReadOut(f.pages);
  ClearLoginFields(f.pages);
  ClearData(f.pages);
  platform::StringGrid& g = f.pages.SG_VoIP_Phone_number;
  g.SetRowCount(4);
  for (int r = 2; r < 4; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.Cell(c, r), "") << c << "," << r;
}

// Catches the rules not running (or running when nothing changed): the reset
// relies on the network-type rule to reset the PC attachment and on the
// automatic-upgrade rule to disable its fields.
TEST(LoginReset, RulesRunOnlyOnRealChanges) {
  struct Row {
    int networkBefore;
    bool upgradeBefore;
    int networkRuns;
    int upgradeRuns;
  };
  for (const Row& r : {Row{2, true, 1, 1}, Row{0, false, 0, 0}, Row{1, false, 1, 0}}) {
    Pages f;
    f.pages.RG_Network_type.SetItemIndex(r.networkBefore);
    f.pages.CK_auto_upgrade.SetChecked(r.upgradeBefore);
    int networkRuns = 0, upgradeRuns = 0;
    f.pages.RG_Network_type.onClick = [&] { ++networkRuns; };
    f.pages.CK_auto_upgrade.onClick = [&] { ++upgradeRuns; };
    ClearLoginFields(f.pages);
    ClearData(f.pages);
    EXPECT_EQ(networkRuns, r.networkRuns) << "network type before " << r.networkBefore;
    EXPECT_EQ(upgradeRuns, r.upgradeRuns) << "network type before " << r.networkBefore;
  }
}

}  // namespace
}  // namespace config
