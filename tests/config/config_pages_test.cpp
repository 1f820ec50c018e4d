// The pages' controls as the program starts: where each one lives and its
// start value.
#include <algorithm>

#include <gtest/gtest.h>

#include "stand_in_pages.h"

namespace config {
namespace {

using platform::Colour;
using Pages = testsupport::StandInPages;

struct Placement {
  const char* name;
  const char* parent;
};

// Catches a control created in the wrong page or group (it would show on the
// wrong tab, or stay visible when its group is hidden) or under a wrong name.
TEST(ConfigPages, EveryControlLivesInItsPageOrGroup) {
  Pages f;
  const Placement rows[] = {
      {"GB_PSTN", "Tab_PSTN"},
      {"ED_PSTN_login", "GB_PSTN"},
      {"ED_PSTN_password", "GB_PSTN"},
      {"Label11", "GB_PSTN"},
      {"ED_PSTN_dialing", "GB_PSTN"},
      {"RB_All_up", "GB_PSTN"},
      {"RB_Dial_up", "GB_PSTN"},
      {"L_Service_type", "GB_PSTN"},
      {"GroupBox1", "GB_PSTN"},
      {"CB_Local_PC", "GroupBox1"},
      {"RB_PSTN_DHCP", "GroupBox1"},
      {"RB_PSTN_PPPoE", "GroupBox1"},
      {"RG_Network_type", "Tab_LAN"},
      {"GB_PPPoE", "Tab_LAN"},
      {"ED_PPPoE_ID", "GB_PPPoE"},
      {"ED_PPPoE_Password", "GB_PPPoE"},
      {"ED_PPPoE_DNS", "GB_PPPoE"},
      {"L_Primary_DNS_Server2", "GB_PPPoE"},
      {"GB_Static_IP_address", "Tab_LAN"},
      {"ED_Static_IP_address", "GB_Static_IP_address"},
      {"ED_Static_Netmask", "GB_Static_IP_address"},
      {"ED_Static_router", "GB_Static_IP_address"},
      {"ED_Static_DNS", "GB_Static_IP_address"},
      {"GB_DHCP", "Tab_LAN"},
      {"L_DHCP_none", "GB_DHCP"},
      {"GB_Common", "Tab_LAN"},
      {"CK_Cable_modem", "GB_Common"},
      {"P_PC", "Tab_PC"},
      {"RG_PC_Network", "P_PC"},
      {"RB_DHCP", "P_PC"},
      {"RB_PPPoE", "P_PC"},
      {"RB_IP", "P_PC"},
      {"RG_Protocol", "Tab_VoIP"},
      {"GB_Gatekeeper", "Tab_VoIP"},
      {"ED_H323_ID", "GB_Gatekeeper"},
      {"ED_GK_password", "GB_Gatekeeper"},
      {"ED_Gatekeeper_IP", "GB_Gatekeeper"},
      {"ED_Gatekeeper_IP2", "GB_Gatekeeper"},
      {"GB_SIP", "Tab_VoIP"},
      {"ED_SIP_Username", "GB_SIP"},
      {"ED_SIP_password", "GB_SIP"},
      {"ED_SIP_Server_1", "GB_SIP"},
      {"ED_SIP_Server_2", "GB_SIP"},
      {"GB_MGCP", "Tab_VoIP"},
      {"ED_MGCP_CallAgent_1", "GB_MGCP"},
      {"ED_MGCP_CallAgent_2", "GB_MGCP"},
      {"GB_VoIP_Phone_number", "Tab_VoIP"},
      {"SG_VoIP_Phone_number", "GB_VoIP_Phone_number"},
      {"GB_Area_Number", "Tab_VoIP"},
      {"L_Area_number", "GB_Area_Number"},
      {"ED_NUM", "GB_Area_Number"},
      {"CB_Service_port", "Tab_Service"},
      {"CK_service_ftp", "CB_Service_port"},
      {"ED_service_ftp", "CB_Service_port"},
      {"CK_service_morvel", "CB_Service_port"},
      {"ED_service_sip", "CB_Service_port"},
      {"GB_Auto_upgrade", "Tab_Auto_upgrade"},
      {"CK_auto_upgrade", "GB_Auto_upgrade"},
      {"ED_server_URL", "GB_Auto_upgrade"},
      {"L_Option_2", "GB_Auto_upgrade"},
      {"CK_upgrade_complete_restart", "GB_Auto_upgrade"},
      {"M_State_Info", "Tab_Status_information"},
      {"GB_About", "Tab_About"},
      {"L_model", "GB_About"},
      {"L_version", "GB_About"},
      {"L_Morvel_Version", "GB_About"},
      {"IMG_Logo", "Tab_About"},
  };
  for (const Placement& r : rows) {
    SCOPED_TRACE(r.name);
    platform::Control* parent = f.Named(r.name).Parent();
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->Name(), r.parent);
  }
}

// Catches wrong start values: a save right after start writes them, and the
// rules of the pages assume them (item 0, Dial-up, the PSTN DHCP choice).
TEST(ConfigPages, StartValues) {
  Pages f;
  ConfigPages& p = f.pages;
  using Items = std::vector<std::string>;
  EXPECT_EQ(p.RG_Network_type.Items(),
            (Items{"Dynamic IP address using PPPoE", "Dynamic IP address using DHCP", "Fixed IP address"}));
  EXPECT_EQ(p.RG_Network_type.ItemIndex(), 0);
  EXPECT_EQ(p.RG_Protocol.Items(), (Items{"H323", "SIP", "MGCP"}));
  EXPECT_EQ(p.RG_Protocol.ItemIndex(), 0);
  EXPECT_TRUE(p.RG_PC_Network.Items().empty());

  EXPECT_TRUE(p.RB_Dial_up.Checked());
  EXPECT_FALSE(p.RB_All_up.Checked());
  EXPECT_TRUE(p.RB_PSTN_DHCP.Checked());
  EXPECT_FALSE(p.RB_PSTN_PPPoE.Checked());
  EXPECT_FALSE(p.CB_Local_PC.Checked());
  for (auto* rb : {&p.RB_DHCP, &p.RB_PPPoE, &p.RB_IP}) {
    EXPECT_FALSE(rb->Checked()) << rb->Name();
    EXPECT_TRUE(rb->Enabled()) << rb->Name();
  }

  EXPECT_TRUE(p.GB_PPPoE.Visible());
  EXPECT_FALSE(p.GB_Static_IP_address.Visible());
  EXPECT_FALSE(p.GB_DHCP.Visible());
  EXPECT_FALSE(p.GB_Common.Visible());
  for (auto* gb : {&p.GB_Gatekeeper, &p.GB_SIP, &p.GB_MGCP}) EXPECT_TRUE(gb->Visible());
  // The gatekeeper group lies on top: it is the last of the three children.
  const auto& voip = f.voip.Children();
  EXPECT_GT(std::find(voip.begin(), voip.end(), &p.GB_Gatekeeper),
            std::find(voip.begin(), voip.end(), &p.GB_SIP));
  EXPECT_GT(std::find(voip.begin(), voip.end(), &p.GB_Gatekeeper),
            std::find(voip.begin(), voip.end(), &p.GB_MGCP));

  for (auto* ck :
       {&p.CK_service_ftp, &p.CK_service_http, &p.CK_service_telnet, &p.CK_service_TFTP, &p.CK_service_SNMP,
        &p.CK_service_morvel, &p.CK_Cable_modem, &p.CK_auto_upgrade, &p.CK_upgrade_complete_restart})
    EXPECT_FALSE(ck->Checked()) << ck->Name();
  for (auto* ck : {&p.CK_service_h323, &p.CK_service_sip}) {
    EXPECT_TRUE(ck->Checked()) << ck->Name();
    EXPECT_FALSE(ck->Enabled()) << ck->Name();
  }
  for (auto* ed : {&p.ED_service_h323, &p.ED_service_sip}) {
    EXPECT_FALSE(ed->Enabled()) << ed->Name();
    EXPECT_EQ(ed->Background(), Colour::Sys(Colour::System::Light3D)) << ed->Name();
  }

  EXPECT_EQ(p.ED_server_URL.Text(), "http://");
  for (platform::Control* c : std::initializer_list<platform::Control*>{
           &p.ED_server_URL, &p.ED_auto_upgrade_ID, &p.ED_auto_upgrade_password, &p.L_server_url,
           &p.L_auto_ID, &p.L_auto_password})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  for (platform::Control* c : std::initializer_list<platform::Control*>{
           &p.CK_upgrade_complete_restart, &p.L_Option_1, &p.L_Option_2, &p.CK_auto_upgrade})
    EXPECT_TRUE(c->Enabled()) << c->Name();

  for (auto* ed : {&p.ED_PSTN_login, &p.ED_PPPoE_ID, &p.ED_H323_ID, &p.ED_SIP_Username, &p.ED_NUM,
                   &p.ED_service_ftp, &p.ED_auto_upgrade_ID})
    EXPECT_EQ(ed->Text(), "") << ed->Name();
  for (auto* ad : {&p.ED_PPPoE_DNS, &p.ED_Static_IP_address, &p.ED_Static_Netmask, &p.ED_Static_router,
                   &p.ED_Static_DNS, &p.ED_Gatekeeper_IP, &p.ED_Gatekeeper_IP2, &p.ED_SIP_Server_1,
                   &p.ED_SIP_Server_2, &p.ED_MGCP_CallAgent_1, &p.ED_MGCP_CallAgent_2}) {
    EXPECT_TRUE(ad->IsEmpty()) << ad->Name();
    EXPECT_EQ(ad->Mask(), ad == &p.ED_Static_IP_address ? "999\\.999\\.999\\.999;1; " : "999.999.999.999;1; ")
        << ad->Name();
  }

  const platform::StringGrid& g = p.SG_VoIP_Phone_number;
  EXPECT_EQ(g.ColCount(), 3);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_TRUE(g.Editable());
  EXPECT_EQ(g.Cell(0, 0), "");  // titled by the main window

  EXPECT_TRUE(p.M_State_Info.ReadOnly());
}

struct PlacingRow {
  const char* set;
  const char* reads;
  bool empty;
};

// Catches a wrong placing of address texts: the reply mapping sets packed
// addresses and the script and the checks read the 15-character form.
TEST(AddressField, PlacesTextGroupByGroup) {
  Pages f;
  const PlacingRow rows[] = {
      {"10.1.2.3", "10 .1  .2  .3  ", false},
      {"10 ", "10 .   .   .   ", false},
      {"", "   .   .   .   ", true},
      {"1234.5", "123.5  .   .   ", false},
      {"999.999.999.999", "999.999.999.999", false},
      {"192.168.1.10", "192.168.1  .10 ", false},
      {"255.0.0.0", "255.0  .0  .0  ", false},
      {"   .   .   .   ", "   .   .   .   ", true},
  };
  for (const PlacingRow& r : rows) {
    SCOPED_TRACE(r.set);
    f.pages.ED_Static_DNS.SetText(r.set);
    EXPECT_EQ(f.pages.ED_Static_DNS.Text(), r.reads);
    EXPECT_EQ(f.pages.ED_Static_DNS.IsEmpty(), r.empty);
  }
}

}  // namespace
}  // namespace config
