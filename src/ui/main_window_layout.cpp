// The main window's layout: the header, the page control with every page's
// fields, the button bar and the cover, then the looks beyond place and
// caption.
#include "config/config_pages.h"
#include "lang/fixed_texts.h"
#include "platform/ui/layout.h"
#include "ui/layouts.h"
#include "ui/main_window.h"

namespace ui {

using platform::Align;
using platform::Colour;
using platform::Font;
namespace texts = lang::fixed;

void LayOutMainWindow(TF_morvel_config_main& w) {
  config::ConfigPages& p = w.pages;
  platform::ApplyLayout({
      {w, 0, 0, 510, 340, "VoIP Gateway Morvel Configuration"},
      {w.Panel1, 0, 0, 510, 81, "", Align::Top},
      {w.IMG_Morvel_Setup, 0, 0, 510, 81},
      {w.IMG_DIAL_UP, 0, 0, 510, 81},
      {w.IMG_Product, 0, 0, 510, 81},
      {w.Panel3, 0, 81, 510, 6, "", Align::Top},
      {w.PageControl1, 0, 87, 510, 216, "", Align::Client},

      // PSTN page (its tab is hidden).
      {w.Tab_PSTN, 0, 0, 0, 0, "PSTN"},
      {p.GB_PSTN, 10, 8, 480, 180, " PSTN "},
      {p.L_Login_name, 16, 26, 90, 13, "Login name"},
      {p.ED_PSTN_login, 110, 22, 140, 21},
      {p.L_PSTN_Password, 16, 54, 90, 13, "Password"},
      {p.ED_PSTN_password, 110, 50, 140, 21},
      {p.L_Dialing, 16, 82, 90, 13, "Dialing"},
      {p.Label11, 110, 82, 32, 13, "ATDT"},
      {p.ED_PSTN_dialing, 144, 78, 106, 21},
      {p.L_Service_type, 16, 114, 90, 13, "Service type"},
      {p.RB_All_up, 110, 112, 70, 17, "All-up"},
      {p.RB_Dial_up, 184, 112, 70, 17, "Dial-up"},
      {p.GroupBox1, 266, 16, 204, 96},
      {p.CB_Local_PC, 10, 16, 188, 17, "Local PC is attached via LAN."},
      {p.RB_PSTN_DHCP, 24, 44, 100, 17, "DHCP"},
      {p.RB_PSTN_PPPoE, 24, 68, 100, 17, "PPPoE"},

      // LAN page: the network type on the left, its groups laid over one
      // another on the right.
      {w.Tab_LAN, 0, 0, 0, 0, " LAN   "},
      {p.RG_Network_type, 10, 11, 223, 118, " Network type "},
      {p.GB_PPPoE, 245, 11, 246, 168, " Dynamic IP address using PPPoE "},
      {p.L_Login_ID, 12, 30, 110, 13, "Login ID"},
      {p.ED_PPPoE_ID, 124, 26, 112, 21},
      {p.L_Password, 12, 62, 110, 13, "Password"},
      {p.ED_PPPoE_Password, 124, 58, 112, 21},
      {p.L_Primary_DNS_Server2, 12, 94, 110, 13, "Primary DNS server"},
      {p.ED_PPPoE_DNS, 124, 90, 112, 21},
      {p.GB_Static_IP_address, 245, 11, 246, 117, " Fixed IP address "},
      {p.L_IP_address, 12, 22, 110, 13, "IP address"},
      {p.ED_Static_IP_address, 124, 18, 112, 21},
      {p.L_Netmask, 12, 46, 110, 13, "Netmask"},
      {p.ED_Static_Netmask, 124, 42, 112, 21},
      {p.L_Default_router, 12, 70, 110, 13, "Default router"},
      {p.ED_Static_router, 124, 66, 112, 21},
      {p.L_Primary_DNS_server, 12, 94, 110, 13, "Primary DNS server"},
      {p.ED_Static_DNS, 124, 90, 112, 21},
      {p.GB_DHCP, 245, 12, 246, 117, " Dynamic IP address using DHCP "},
      {p.L_DHCP_none, 119, 52, 8, 13, "-"},
      {p.GB_Common, 245, 137, 246, 43},
      {p.CK_Cable_modem, 12, 16, 222, 17, "connected to Cable modem"},

      // PC page: an empty frame with the three attachment choices drawn over it.
      {w.Tab_PC, 0, 0, 0, 0, " PC"},
      {p.P_PC, 0, 0, 500, 200},
      {p.RG_PC_Network, 10, 11, 223, 118, " Network type "},
      {p.RB_DHCP, 24, 36, 180, 17, "DHCP"},
      {p.RB_PPPoE, 24, 64, 180, 17, "PPPoE"},
      {p.RB_IP, 24, 92, 180, 17, "Fixed IP "},

      // VoIP page: the three protocol groups share one place.
      {w.Tab_VoIP, 0, 0, 0, 0, " VoIP"},
      {p.RG_Protocol, 11, 11, 243, 45, " VoIP Protocol "},
      {p.GB_MGCP, 11, 62, 243, 118, " MGCP "},
      {p.L_call_agent_1, 10, 28, 120, 13, "primary-call-agent"},
      {p.ED_MGCP_CallAgent_1, 132, 24, 100, 21},
      {p.L_call_agent_2, 10, 56, 120, 13, "secondary-call-agent"},
      {p.ED_MGCP_CallAgent_2, 132, 52, 100, 21},
      {p.GB_SIP, 11, 62, 243, 118, " SIP "},
      {p.L_SIP_username, 10, 22, 120, 13, "sip-username"},
      {p.ED_SIP_Username, 132, 18, 100, 21},
      {p.L_SIP_password, 10, 46, 120, 13, "sip-password"},
      {p.ED_SIP_password, 132, 42, 100, 21},
      {p.L_SIP_server_1, 10, 70, 120, 13, "sip-primary-server"},
      {p.ED_SIP_Server_1, 132, 66, 100, 21},
      {p.L_SIP_server_2, 10, 94, 120, 13, "sip-secondary-server"},
      {p.ED_SIP_Server_2, 132, 90, 100, 21},
      {p.GB_Gatekeeper, 11, 62, 243, 118, " Gatekeeper "},
      {p.L_H323_ID, 10, 22, 120, 13, "H323 ID"},
      {p.ED_H323_ID, 132, 18, 100, 21},
      {p.L_H323_Password, 10, 46, 120, 13, "Password"},
      {p.ED_GK_password, 132, 42, 100, 21},
      {p.L_Primary_GK_IP, 10, 70, 120, 13, "Primary GK IP"},
      {p.ED_Gatekeeper_IP, 132, 66, 100, 21},
      {p.L_Secondary_GK_IP, 10, 94, 120, 13, "Secondary  GK IP"},
      {p.ED_Gatekeeper_IP2, 132, 90, 100, 21},
      {p.GB_VoIP_Phone_number, 264, 11, 225, 132, " VoIP Phone number "},
      {p.SG_VoIP_Phone_number, 16, 24, 193, 91},
      {p.GB_Area_Number, 264, 146, 225, 44, " DDD Number "},
      {p.L_Area_number, 12, 20, 90, 13, "Area number"},
      {p.ED_NUM, 110, 16, 100, 21},

      // Service page: FTP, HTTP, Telnet, TFTP on the left; H323, SIP, SNMP,
      // Morvel on the right.
      {w.Tab_Service, 0, 0, 0, 0, "Service"},
      {p.CB_Service_port, 10, 11, 480, 170, " Service port  "},
      {p.CK_service_ftp, 24, 30, 80, 17, "FTP"},
      {p.ED_service_ftp, 110, 28, 100, 21},
      {p.CK_service_http, 24, 66, 80, 17, "HTTP"},
      {p.ED_service_http, 110, 64, 100, 21},
      {p.CK_service_telnet, 24, 102, 80, 17, "Telnet"},
      {p.ED_service_telnet, 110, 100, 100, 21},
      {p.CK_service_TFTP, 24, 138, 80, 17, "TFTP"},
      {p.ED_service_TFTP, 110, 136, 100, 21},
      {p.CK_service_h323, 260, 30, 80, 17, "H323"},
      {p.ED_service_h323, 346, 28, 100, 21},
      {p.CK_service_sip, 260, 66, 80, 17, "SIP"},
      {p.ED_service_sip, 346, 64, 100, 21},
      {p.CK_service_SNMP, 260, 102, 80, 17, "SNMP"},
      {p.ED_service_SNMP, 346, 100, 100, 21},
      {p.CK_service_morvel, 260, 138, 80, 17, "Morvel"},
      {p.ED_service_morvel, 346, 136, 100, 21},

      // Auto Upgrade page.
      {w.Tab_Auto_upgrade, 0, 0, 0, 0, " Auto Upgrade"},
      {p.GB_Auto_upgrade, 10, 11, 480, 170, " Automatic Upgrade of System Software (ORVA) "},
      {p.CK_auto_upgrade, 16, 24, 220, 17, "Automatic upgrade"},
      {p.L_server_url, 34, 54, 90, 13, "Server URL"},
      {p.ED_server_URL, 130, 50, 300, 21},
      {p.L_auto_ID, 34, 82, 90, 13, "Login ID"},
      {p.ED_auto_upgrade_ID, 130, 78, 150, 21},
      {p.L_Option_1, 288, 82, 70, 13, "(optional)"},
      {p.L_auto_password, 34, 110, 90, 13, "Password"},
      {p.ED_auto_upgrade_password, 130, 106, 150, 21},
      {p.L_Option_2, 288, 110, 70, 13, "(optional)"},
      {p.CK_upgrade_complete_restart, 16, 140, 300, 17, "Automatic rebooting after loading"},

      // Status Information page.
      {w.Tab_Status_information, 0, 0, 0, 0, "Status Information"},
      {p.M_State_Info, 12, 16, 481, 162},

      // About page: caption labels with their value labels beside them.
      {w.Tab_About, 0, 0, 0, 0, "About"},
      {p.GB_About, 10, 8, 480, 96, " Software Infomation  "},
      {p.L_Model_, 16, 24, 170, 13, "Model : "},
      {p.L_model, 190, 24, 270, 13},
      {p.L_Software_ver, 16, 48, 170, 13, "ORVA Software Version : "},
      {p.L_version, 190, 48, 270, 13},
      {p.L_Morvel_setup_verion, 16, 72, 170, 13, "Morvel Software Version :  "},
      {p.L_Morvel_Version, 190, 72, 270, 13},
      {p.IMG_Logo, 10, 112, 120, 72},
      {p.L_Contact, 144, 124, 346, 40,
       "Morvel VoIP gateway configuration tool.\nFor support, contact your gateway supplier."},

      // Button bar: Disconnect takes Connect's place while connected; the
      // configuration files between it and Save.
      {w.Panel2, 0, 303, 510, 37, "", Align::Bottom},
      {w.BB_Connect, 7, 6, 91, 25, "Connect"},
      {w.BB_Disconnect, 7, 6, 91, 25, "Disconnect"},
      {w.BB_Import, 110, 6, 80, 26, texts::kImportButton},
      {w.BB_Export, 194, 6, 80, 26, texts::kExportButton},
      {w.BB_Save, 280, 6, 73, 26, "Save"},
      {w.BB_Restart, 356, 6, 73, 26, "Restart"},
      {w.BB_Exit, 432, 6, 73, 26, "Exit"},

      // The cover is stored below the visible area; FormCreate moves it up
      // under the header.
      {w.P_main, 0, 340, 514, 220},
      {w.Image2, 0, 0, 514, 220, "", Align::Client},
      {w.P_State, 0, 203, 514, 17, "", Align::Bottom},
      {w.Gauge1, 0, 0, 514, 17, "", Align::Client},

      {w.debug1, 0, 0, 0, 0, "debug"},
      {w.import1, 0, 0, 0, 0, texts::kImportButton},
      {w.export1, 0, 0, 0, 0, texts::kExportButton},
  });

  w.SetBorderStyle(platform::Form::Border::FixedSingle);
  w.SetPlacement(platform::Form::Placement::ScreenCenter);
  w.Gauge1.SetForeColour(Colour::Rgb(166, 202, 240));

  for (platform::Edit* secret : {&p.ED_PSTN_password, &p.ED_PPPoE_Password, &p.ED_SIP_password,
                                 &p.ED_GK_password, &p.ED_auto_upgrade_password})
    secret->SetPasswordChar('*');
  p.RG_Protocol.SetColumns(3);
  platform::StringGrid& grid = p.SG_VoIP_Phone_number;
  grid.SetColWidths({40, 40, 110});
  grid.SetRowHeight(17);
  grid.SetFixed(2, 1);
  grid.SetFixedColour(Colour::Rgb(214, 226, 248));
  // The status memo looks like a terminal.
  p.M_State_Info.SetBackground(platform::kBlack);
  p.M_State_Info.SetTextColour(platform::kWhite);
  p.M_State_Info.SetFont(Font{"Terminal", 13, false, true});
  for (platform::Label* value : {&p.L_model, &p.L_version, &p.L_Morvel_Version}) {
    Font bold = value->TextFont();
    bold.bold = true;
    value->SetFont(bold);
  }
  p.IMG_Logo.SetStretch(true);

  // Who names each input for screen readers: the label beside it; a service
  // port its check box, the phone grid its group, the status memo its page.
  platform::NameInputs({
      {p.L_Login_name, p.ED_PSTN_login},
      {p.L_PSTN_Password, p.ED_PSTN_password},
      {p.L_Dialing, p.ED_PSTN_dialing},
      {p.L_Login_ID, p.ED_PPPoE_ID},
      {p.L_Password, p.ED_PPPoE_Password},
      {p.L_Primary_DNS_Server2, p.ED_PPPoE_DNS},
      {p.L_IP_address, p.ED_Static_IP_address},
      {p.L_Netmask, p.ED_Static_Netmask},
      {p.L_Default_router, p.ED_Static_router},
      {p.L_Primary_DNS_server, p.ED_Static_DNS},
      {p.L_call_agent_1, p.ED_MGCP_CallAgent_1},
      {p.L_call_agent_2, p.ED_MGCP_CallAgent_2},
      {p.L_SIP_username, p.ED_SIP_Username},
      {p.L_SIP_password, p.ED_SIP_password},
      {p.L_SIP_server_1, p.ED_SIP_Server_1},
      {p.L_SIP_server_2, p.ED_SIP_Server_2},
      {p.L_H323_ID, p.ED_H323_ID},
      {p.L_H323_Password, p.ED_GK_password},
      {p.L_Primary_GK_IP, p.ED_Gatekeeper_IP},
      {p.L_Secondary_GK_IP, p.ED_Gatekeeper_IP2},
      {p.GB_VoIP_Phone_number, p.SG_VoIP_Phone_number},
      {p.L_Area_number, p.ED_NUM},
      {p.CK_service_ftp, p.ED_service_ftp},
      {p.CK_service_http, p.ED_service_http},
      {p.CK_service_telnet, p.ED_service_telnet},
      {p.CK_service_TFTP, p.ED_service_TFTP},
      {p.CK_service_h323, p.ED_service_h323},
      {p.CK_service_sip, p.ED_service_sip},
      {p.CK_service_SNMP, p.ED_service_SNMP},
      {p.CK_service_morvel, p.ED_service_morvel},
      {p.L_server_url, p.ED_server_URL},
      {p.L_auto_ID, p.ED_auto_upgrade_ID},
      {p.L_auto_password, p.ED_auto_upgrade_password},
      {w.Tab_Status_information, p.M_State_Info},
  });
}

}  // namespace ui
