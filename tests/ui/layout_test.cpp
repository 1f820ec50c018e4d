// The windows' layouts as built, before the language file replaces captions:
// the stored captions, the described positions and the looks.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "devlink/connection.h"
#include "recording_windows.h"
#include "ui/layouts.h"
#include "ui/main_window.h"

namespace ui::test {
namespace {

using platform::Colour;

/// A main window as built, with its pages' controls found by name.
struct Pages {
  TF_morvel_config_main w;
  config::ConfigPages& pages = w.pages;

  platform::Control& Named(std::string_view name) {
    platform::Control* c = w.PageControl1.Find(name);
    if (!c) throw std::runtime_error("no control " + std::string(name));
    return *c;
  }
};

struct CaptionRow {
  const char* name;
  const char* caption;
};

// Catches a caption typed differently from the stored one (the blanks are
// part of it and the language file replaces only some of them).
TEST(MainWindowLayout, CaptionsAreStoredWithTheirBlanks) {
  Pages f;
  const CaptionRow rows[] = {
      {"GB_PSTN", " PSTN "},
      {"Label11", "ATDT"},
      {"L_Service_type", "Service type"},
      {"CB_Local_PC", "Local PC is attached via LAN."},
      {"RB_All_up", "All-up"},
      {"RB_Dial_up", "Dial-up"},
      {"RB_PSTN_DHCP", "DHCP"},
      {"RB_PSTN_PPPoE", "PPPoE"},
      {"RG_Network_type", " Network type "},
      {"GB_PPPoE", " Dynamic IP address using PPPoE "},
      {"GB_Static_IP_address", " Fixed IP address "},
      {"GB_DHCP", " Dynamic IP address using DHCP "},
      {"L_DHCP_none", "-"},
      {"GB_Common", ""},
      {"CK_Cable_modem", "connected to Cable modem"},
      {"L_Login_ID", "Login ID"},
      {"L_Primary_DNS_Server2", "Primary DNS server"},
      {"L_Default_router", "Default router"},
      {"RG_PC_Network", " Network type "},
      {"RB_IP", "Fixed IP "},
      {"RG_Protocol", " VoIP Protocol "},
      {"GB_Gatekeeper", " Gatekeeper "},
      {"L_H323_ID", "H323 ID"},
      {"L_Secondary_GK_IP", "Secondary  GK IP"},
      {"GB_SIP", " SIP "},
      {"L_SIP_server_2", "sip-secondary-server"},
      {"GB_MGCP", " MGCP "},
      {"L_call_agent_1", "primary-call-agent"},
      {"GB_VoIP_Phone_number", " VoIP Phone number "},
      {"GB_Area_Number", " DDD Number "},
      {"L_Area_number", "Area number"},
      {"CB_Service_port", " Service port  "},
      {"CK_service_TFTP", "TFTP"},
      {"CK_service_morvel", "Morvel"},
      {"GB_Auto_upgrade", " Automatic Upgrade of System Software (ORVA) "},
      {"CK_auto_upgrade", "Automatic upgrade"},
      {"L_server_url", "Server URL"},
      {"L_Option_1", "(optional)"},
      {"CK_upgrade_complete_restart", "Automatic rebooting after loading"},
      {"GB_About", " Software Infomation  "},
      {"L_Model_", "Model : "},
      {"L_Software_ver", "ORVA Software Version : "},
      {"L_Morvel_setup_verion", "Morvel Software Version :  "},
  };
  for (const CaptionRow& r : rows) EXPECT_EQ(f.Named(r.name).Caption(), r.caption) << r.name;
}

// Catches positions that drifted from the window's described layout, which
// the rules rely on (the right-hand groups and the protocol groups overlap).
TEST(MainWindowLayout, DescribedPositions) {
  Pages f;
  config::ConfigPages& p = f.pages;
  using platform::Rect;
  EXPECT_EQ(p.RG_Network_type.Geometry(), (Rect{10, 11, 223, 118}));
  EXPECT_EQ(p.GB_PPPoE.Geometry(), (Rect{245, 11, 246, 168}));
  EXPECT_EQ(p.GB_Static_IP_address.Geometry(), (Rect{245, 11, 246, 117}));
  EXPECT_EQ(p.GB_DHCP.Geometry(), (Rect{245, 12, 246, 117}));
  EXPECT_EQ(p.GB_Common.Geometry(), (Rect{245, 137, 246, 43}));
  EXPECT_EQ(p.RG_Protocol.Geometry(), (Rect{11, 11, 243, 45}));
  for (auto* gb : {&p.GB_Gatekeeper, &p.GB_SIP, &p.GB_MGCP})
    EXPECT_EQ(gb->Geometry(), (Rect{11, 62, 243, 118})) << gb->Name();
  EXPECT_EQ(p.GB_VoIP_Phone_number.Geometry(), (Rect{264, 11, 225, 132}));
  EXPECT_EQ(p.SG_VoIP_Phone_number.Geometry(), (Rect{16, 24, 193, 91}));
  EXPECT_EQ(p.M_State_Info.Geometry(), (Rect{12, 16, 481, 162}));
}

// Catches looks of the pages lost on the way from the layout: shown
// passwords, a grid with the wrong metrics, a status memo that does not look
// like a terminal, value labels that are not bold.
TEST(MainWindowLayout, Looks) {
  Pages f;
  config::ConfigPages& p = f.pages;
  EXPECT_EQ(p.RG_Protocol.Columns(), 3);
  for (auto* ed : {&p.ED_PSTN_password, &p.ED_PPPoE_Password, &p.ED_GK_password, &p.ED_SIP_password,
                   &p.ED_auto_upgrade_password})
    EXPECT_EQ(ed->PasswordChar(), '*') << ed->Name();
  EXPECT_EQ(p.ED_PPPoE_ID.PasswordChar(), 0);

  const platform::StringGrid& g = p.SG_VoIP_Phone_number;
  EXPECT_EQ(g.ColWidths(), (std::vector<int>{40, 40, 110}));
  EXPECT_EQ(g.RowHeight(), 17);
  EXPECT_EQ(g.FixedCols(), 2);
  EXPECT_EQ(g.FixedRows(), 1);
  EXPECT_EQ(g.FixedColour(), Colour::Rgb(214, 226, 248));

  EXPECT_EQ(p.M_State_Info.Background(), platform::kBlack);
  EXPECT_EQ(p.M_State_Info.TextColour(), platform::kWhite);
  EXPECT_EQ(p.M_State_Info.TextFont(), (platform::Font{"Terminal", 13, false, true}));
  for (auto* l : {&p.L_model, &p.L_version, &p.L_Morvel_Version})
    EXPECT_TRUE(l->TextFont().bold) << l->Name();
  EXPECT_FALSE(p.L_Model_.TextFont().bold);
}

// Catches a connection dialog laid out with the wrong size or captions, or
// one that can fall behind the main window.
TEST(ConnectionDialogLayout, SizeAndCaptions) {
  testsupport::RecordingWindows windows;
  devlink::DeviceLink link(windows, windows.pages);
  devlink::TF_Connection d(link, windows);
  LayOutConnectionDialog(d);
  EXPECT_EQ(d.Caption(), "Connect");
  EXPECT_EQ(d.Geometry().width, 319);
  EXPECT_EQ(d.Geometry().height, 180);
  EXPECT_TRUE(d.StayOnTop());
  EXPECT_EQ(d.RB_TCP.Caption(), "TCP/IP");
  EXPECT_EQ(d.BB_Connect.Caption(), "&OK");
  EXPECT_EQ(d.BB_Cancel.Caption(), "&Cancel");
}

}  // namespace
}  // namespace ui::test
