#include "config/config_pages.h"

#include <initializer_list>
#include <string>

namespace config {

namespace {

using platform::Colour;
using platform::Font;
using platform::Rect;

constexpr Colour kGridTitleColour = Colour::Rgb(214, 226, 248);
constexpr char kPasswordChar = '*';

/// Position and caption in one call: the layout below reads as a table.
void Lay(platform::Control& c, int left, int top, int width, int height,
         std::string caption = {}) {
  c.SetGeometry(Rect{left, top, width, height});
  if (!caption.empty()) c.SetCaption(std::move(caption));
}

}  // namespace

// Each member is created inside its page or group; the macro keeps the
// control's name equal to its member name.
#define MV_IN(member, parent) member(parent, #member)

ConfigPages::ConfigPages(const PageSlots& pages)
    : MV_IN(GB_PSTN, pages.pstn),
      MV_IN(L_Login_name, &GB_PSTN),
      MV_IN(ED_PSTN_login, &GB_PSTN),
      MV_IN(L_PSTN_Password, &GB_PSTN),
      MV_IN(ED_PSTN_password, &GB_PSTN),
      MV_IN(L_Dialing, &GB_PSTN),
      MV_IN(Label11, &GB_PSTN),
      MV_IN(ED_PSTN_dialing, &GB_PSTN),
      MV_IN(L_Service_type, &GB_PSTN),
      serviceTypeSet(),
      RB_All_up(&GB_PSTN, "RB_All_up", &serviceTypeSet),
      RB_Dial_up(&GB_PSTN, "RB_Dial_up", &serviceTypeSet),
      MV_IN(GroupBox1, &GB_PSTN),
      MV_IN(CB_Local_PC, &GroupBox1),
      pstnAttachSet(),
      RB_PSTN_DHCP(&GroupBox1, "RB_PSTN_DHCP", &pstnAttachSet),
      RB_PSTN_PPPoE(&GroupBox1, "RB_PSTN_PPPoE", &pstnAttachSet),

      MV_IN(RG_Network_type, pages.lan),
      MV_IN(GB_PPPoE, pages.lan),
      MV_IN(L_Login_ID, &GB_PPPoE),
      MV_IN(ED_PPPoE_ID, &GB_PPPoE),
      MV_IN(L_Password, &GB_PPPoE),
      MV_IN(ED_PPPoE_Password, &GB_PPPoE),
      MV_IN(L_Primary_DNS_Server2, &GB_PPPoE),
      MV_IN(ED_PPPoE_DNS, &GB_PPPoE),
      MV_IN(GB_Static_IP_address, pages.lan),
      MV_IN(L_IP_address, &GB_Static_IP_address),
      ED_Static_IP_address(&GB_Static_IP_address, "ED_Static_IP_address",
                           "999\\.999\\.999\\.999;1; "),
      MV_IN(L_Netmask, &GB_Static_IP_address),
      MV_IN(ED_Static_Netmask, &GB_Static_IP_address),
      MV_IN(L_Default_router, &GB_Static_IP_address),
      MV_IN(ED_Static_router, &GB_Static_IP_address),
      MV_IN(L_Primary_DNS_server, &GB_Static_IP_address),
      MV_IN(ED_Static_DNS, &GB_Static_IP_address),
      MV_IN(GB_DHCP, pages.lan),
      MV_IN(L_DHCP_none, &GB_DHCP),
      MV_IN(GB_Common, pages.lan),
      MV_IN(CK_Cable_modem, &GB_Common),

      MV_IN(P_PC, pages.pc),
      MV_IN(RG_PC_Network, &P_PC),
      pcAttachSet(),
      RB_DHCP(&P_PC, "RB_DHCP", &pcAttachSet),
      RB_PPPoE(&P_PC, "RB_PPPoE", &pcAttachSet),
      RB_IP(&P_PC, "RB_IP", &pcAttachSet),

      MV_IN(RG_Protocol, pages.voip),
      MV_IN(GB_MGCP, pages.voip),
      MV_IN(L_call_agent_1, &GB_MGCP),
      MV_IN(ED_MGCP_CallAgent_1, &GB_MGCP),
      MV_IN(L_call_agent_2, &GB_MGCP),
      MV_IN(ED_MGCP_CallAgent_2, &GB_MGCP),
      MV_IN(GB_SIP, pages.voip),
      MV_IN(L_SIP_username, &GB_SIP),
      MV_IN(ED_SIP_Username, &GB_SIP),
      MV_IN(L_SIP_password, &GB_SIP),
      MV_IN(ED_SIP_password, &GB_SIP),
      MV_IN(L_SIP_server_1, &GB_SIP),
      MV_IN(ED_SIP_Server_1, &GB_SIP),
      MV_IN(L_SIP_server_2, &GB_SIP),
      MV_IN(ED_SIP_Server_2, &GB_SIP),
      MV_IN(GB_Gatekeeper, pages.voip),
      MV_IN(L_H323_ID, &GB_Gatekeeper),
      MV_IN(ED_H323_ID, &GB_Gatekeeper),
      MV_IN(L_H323_Password, &GB_Gatekeeper),
      MV_IN(ED_GK_password, &GB_Gatekeeper),
      MV_IN(L_Primary_GK_IP, &GB_Gatekeeper),
      MV_IN(ED_Gatekeeper_IP, &GB_Gatekeeper),
      MV_IN(L_Secondary_GK_IP, &GB_Gatekeeper),
      MV_IN(ED_Gatekeeper_IP2, &GB_Gatekeeper),
      MV_IN(GB_VoIP_Phone_number, pages.voip),
      SG_VoIP_Phone_number(&GB_VoIP_Phone_number, "SG_VoIP_Phone_number", 3, 2),
      MV_IN(GB_Area_Number, pages.voip),
      MV_IN(L_Area_number, &GB_Area_Number),
      MV_IN(ED_NUM, &GB_Area_Number),

      MV_IN(CB_Service_port, pages.service),
      MV_IN(CK_service_ftp, &CB_Service_port),
      MV_IN(ED_service_ftp, &CB_Service_port),
      MV_IN(CK_service_http, &CB_Service_port),
      MV_IN(ED_service_http, &CB_Service_port),
      MV_IN(CK_service_telnet, &CB_Service_port),
      MV_IN(ED_service_telnet, &CB_Service_port),
      MV_IN(CK_service_TFTP, &CB_Service_port),
      MV_IN(ED_service_TFTP, &CB_Service_port),
      MV_IN(CK_service_h323, &CB_Service_port),
      MV_IN(ED_service_h323, &CB_Service_port),
      MV_IN(CK_service_sip, &CB_Service_port),
      MV_IN(ED_service_sip, &CB_Service_port),
      MV_IN(CK_service_SNMP, &CB_Service_port),
      MV_IN(ED_service_SNMP, &CB_Service_port),
      MV_IN(CK_service_morvel, &CB_Service_port),
      MV_IN(ED_service_morvel, &CB_Service_port),

      MV_IN(GB_Auto_upgrade, pages.autoUpgrade),
      MV_IN(CK_auto_upgrade, &GB_Auto_upgrade),
      MV_IN(L_server_url, &GB_Auto_upgrade),
      MV_IN(ED_server_URL, &GB_Auto_upgrade),
      MV_IN(L_auto_ID, &GB_Auto_upgrade),
      MV_IN(ED_auto_upgrade_ID, &GB_Auto_upgrade),
      MV_IN(L_Option_1, &GB_Auto_upgrade),
      MV_IN(L_auto_password, &GB_Auto_upgrade),
      MV_IN(ED_auto_upgrade_password, &GB_Auto_upgrade),
      MV_IN(L_Option_2, &GB_Auto_upgrade),
      MV_IN(CK_upgrade_complete_restart, &GB_Auto_upgrade),

      MV_IN(M_State_Info, pages.status),

      MV_IN(GB_About, pages.about),
      MV_IN(L_Model_, &GB_About),
      MV_IN(L_model, &GB_About),
      MV_IN(L_Software_ver, &GB_About),
      MV_IN(L_version, &GB_About),
      MV_IN(L_Morvel_setup_verion, &GB_About),
      MV_IN(L_Morvel_Version, &GB_About),
      MV_IN(IMG_Logo, pages.about),
      MV_IN(L_Contact, pages.about) {
  // PSTN page. Its tab is hidden by the main window, but the fields take part
  // in the rules and in the reply mapping, so they are complete.
  Lay(GB_PSTN, 10, 8, 480, 180, " PSTN ");
  Lay(L_Login_name, 16, 26, 90, 13, "Login name");
  Lay(ED_PSTN_login, 110, 22, 140, 21);
  Lay(L_PSTN_Password, 16, 54, 90, 13, "Password");
  Lay(ED_PSTN_password, 110, 50, 140, 21);
  ED_PSTN_password.SetPasswordChar(kPasswordChar);
  Lay(L_Dialing, 16, 82, 90, 13, "Dialing");
  Lay(Label11, 110, 82, 32, 13, "ATDT");
  Lay(ED_PSTN_dialing, 144, 78, 106, 21);
  Lay(L_Service_type, 16, 114, 90, 13, "Service type");
  Lay(RB_All_up, 110, 112, 70, 17, "All-up");
  Lay(RB_Dial_up, 184, 112, 70, 17, "Dial-up");
  RB_Dial_up.SetChecked(true);
  Lay(GroupBox1, 266, 16, 204, 96);
  Lay(CB_Local_PC, 10, 16, 188, 17, "Local PC is attached via LAN.");
  Lay(RB_PSTN_DHCP, 24, 44, 100, 17, "DHCP");
  Lay(RB_PSTN_PPPoE, 24, 68, 100, 17, "PPPoE");
  RB_PSTN_DHCP.SetChecked(true);

  // LAN page: the network type on the left, its groups laid over one another
  // on the right. Only the PPPoE group shows at start (item 0).
  Lay(RG_Network_type, 10, 11, 223, 118, " Network type ");
  RG_Network_type.SetItems({"Dynamic IP address using PPPoE",
                            "Dynamic IP address using DHCP", "Fixed IP address"});
  RG_Network_type.SetItemIndex(kPppoe);

  Lay(GB_PPPoE, 245, 11, 246, 168, " Dynamic IP address using PPPoE ");
  Lay(L_Login_ID, 12, 30, 110, 13, "Login ID");
  Lay(ED_PPPoE_ID, 124, 26, 112, 21);
  Lay(L_Password, 12, 62, 110, 13, "Password");
  Lay(ED_PPPoE_Password, 124, 58, 112, 21);
  ED_PPPoE_Password.SetPasswordChar(kPasswordChar);
  Lay(L_Primary_DNS_Server2, 12, 94, 110, 13, "Primary DNS server");
  Lay(ED_PPPoE_DNS, 124, 90, 112, 21);

  Lay(GB_Static_IP_address, 245, 11, 246, 117, " Fixed IP address ");
  Lay(L_IP_address, 12, 22, 110, 13, "IP address");
  Lay(ED_Static_IP_address, 124, 18, 112, 21);
  Lay(L_Netmask, 12, 46, 110, 13, "Netmask");
  Lay(ED_Static_Netmask, 124, 42, 112, 21);
  Lay(L_Default_router, 12, 70, 110, 13, "Default router");
  Lay(ED_Static_router, 124, 66, 112, 21);
  Lay(L_Primary_DNS_server, 12, 94, 110, 13, "Primary DNS server");
  Lay(ED_Static_DNS, 124, 90, 112, 21);
  GB_Static_IP_address.Hide();

  Lay(GB_DHCP, 245, 12, 246, 117, " Dynamic IP address using DHCP ");
  Lay(L_DHCP_none, 119, 52, 8, 13, "-");
  GB_DHCP.Hide();

  Lay(GB_Common, 245, 137, 246, 43);
  Lay(CK_Cable_modem, 12, 16, 222, 17, "connected to Cable modem");
  GB_Common.Hide();

  // PC page: an empty frame with the three attachment choices drawn over it;
  // none is chosen until the network type first changes.
  Lay(P_PC, 0, 0, 500, 200);
  Lay(RG_PC_Network, 10, 11, 223, 118, " Network type ");
  Lay(RB_DHCP, 24, 36, 180, 17, "DHCP");
  Lay(RB_PPPoE, 24, 64, 180, 17, "PPPoE");
  Lay(RB_IP, 24, 92, 180, 17, "Fixed IP ");

  // VoIP page.
  Lay(RG_Protocol, 11, 11, 243, 45, " VoIP Protocol ");
  RG_Protocol.SetItems({"H323", "SIP", "MGCP"});
  RG_Protocol.SetColumns(3);
  RG_Protocol.SetItemIndex(kH323);

  Lay(GB_MGCP, 11, 62, 243, 118, " MGCP ");
  Lay(L_call_agent_1, 10, 28, 120, 13, "primary-call-agent");
  Lay(ED_MGCP_CallAgent_1, 132, 24, 100, 21);
  Lay(L_call_agent_2, 10, 56, 120, 13, "secondary-call-agent");
  Lay(ED_MGCP_CallAgent_2, 132, 52, 100, 21);

  Lay(GB_SIP, 11, 62, 243, 118, " SIP ");
  Lay(L_SIP_username, 10, 22, 120, 13, "sip-username");
  Lay(ED_SIP_Username, 132, 18, 100, 21);
  Lay(L_SIP_password, 10, 46, 120, 13, "sip-password");
  Lay(ED_SIP_password, 132, 42, 100, 21);
  ED_SIP_password.SetPasswordChar(kPasswordChar);
  Lay(L_SIP_server_1, 10, 70, 120, 13, "sip-primary-server");
  Lay(ED_SIP_Server_1, 132, 66, 100, 21);
  Lay(L_SIP_server_2, 10, 94, 120, 13, "sip-secondary-server");
  Lay(ED_SIP_Server_2, 132, 90, 100, 21);

  Lay(GB_Gatekeeper, 11, 62, 243, 118, " Gatekeeper ");
  Lay(L_H323_ID, 10, 22, 120, 13, "H323 ID");
  Lay(ED_H323_ID, 132, 18, 100, 21);
  Lay(L_H323_Password, 10, 46, 120, 13, "Password");
  Lay(ED_GK_password, 132, 42, 100, 21);
  ED_GK_password.SetPasswordChar(kPasswordChar);
  Lay(L_Primary_GK_IP, 10, 70, 120, 13, "Primary GK IP");
  Lay(ED_Gatekeeper_IP, 132, 66, 100, 21);
  Lay(L_Secondary_GK_IP, 10, 94, 120, 13, "Secondary  GK IP");
  Lay(ED_Gatekeeper_IP2, 132, 90, 100, 21);

  // The phone-number grid: port and type are fixed columns, the number is
  // edited in place. The title row is filled by the main window.
  Lay(GB_VoIP_Phone_number, 264, 11, 225, 132, " VoIP Phone number ");
  Lay(SG_VoIP_Phone_number, 16, 24, 193, 91);
  SG_VoIP_Phone_number.SetColWidths({40, 40, 110});
  SG_VoIP_Phone_number.SetRowHeight(17);
  SG_VoIP_Phone_number.SetFixed(2, 1);
  SG_VoIP_Phone_number.SetFixedColour(kGridTitleColour);
  SG_VoIP_Phone_number.SetEditable(true);

  Lay(GB_Area_Number, 264, 146, 225, 44, " DDD Number ");
  Lay(L_Area_number, 12, 20, 90, 13, "Area number");
  Lay(ED_NUM, 110, 16, 100, 21);

  // Service page: FTP, HTTP, Telnet, TFTP on the left; H323, SIP, SNMP,
  // Morvel on the right. H323 and SIP are shown on, but cannot be changed.
  Lay(CB_Service_port, 10, 11, 480, 170, " Service port  ");
  struct ServiceRow {
    platform::CheckBox& check;
    platform::Edit& port;
    const char* caption;
  };
  const ServiceRow left[] = {{CK_service_ftp, ED_service_ftp, "FTP"},
                             {CK_service_http, ED_service_http, "HTTP"},
                             {CK_service_telnet, ED_service_telnet, "Telnet"},
                             {CK_service_TFTP, ED_service_TFTP, "TFTP"}};
  const ServiceRow right[] = {{CK_service_h323, ED_service_h323, "H323"},
                              {CK_service_sip, ED_service_sip, "SIP"},
                              {CK_service_SNMP, ED_service_SNMP, "SNMP"},
                              {CK_service_morvel, ED_service_morvel, "Morvel"}};
  for (int i = 0; i < 4; ++i) {
    const int top = 28 + 36 * i;
    Lay(left[i].check, 24, top + 2, 80, 17, left[i].caption);
    Lay(left[i].port, 110, top, 100, 21);
    Lay(right[i].check, 260, top + 2, 80, 17, right[i].caption);
    Lay(right[i].port, 346, top, 100, 21);
  }
  for (platform::CheckBox* check : {&CK_service_h323, &CK_service_sip}) {
    check->SetChecked(true);
    check->SetEnabled(false);
  }
  for (platform::Edit* port : {&ED_service_h323, &ED_service_sip}) {
    port->SetEnabled(false);
    port->SetBackground(Colour::Sys(Colour::System::Light3D));
  }

  // Auto Upgrade page: the URL and the credentials stay disabled until the
  // automatic upgrade is checked.
  Lay(GB_Auto_upgrade, 10, 11, 480, 170, " Automatic Upgrade of System Software (ORVA) ");
  Lay(CK_auto_upgrade, 16, 24, 220, 17, "Automatic upgrade");
  Lay(L_server_url, 34, 54, 90, 13, "Server URL");
  Lay(ED_server_URL, 130, 50, 300, 21);
  ED_server_URL.SetText("http://");
  Lay(L_auto_ID, 34, 82, 90, 13, "Login ID");
  Lay(ED_auto_upgrade_ID, 130, 78, 150, 21);
  Lay(L_Option_1, 288, 82, 70, 13, "(optional)");
  Lay(L_auto_password, 34, 110, 90, 13, "Password");
  Lay(ED_auto_upgrade_password, 130, 106, 150, 21);
  ED_auto_upgrade_password.SetPasswordChar(kPasswordChar);
  Lay(L_Option_2, 288, 110, 70, 13, "(optional)");
  Lay(CK_upgrade_complete_restart, 16, 140, 300, 17, "Automatic rebooting after loading");
  for (platform::Control* c : std::initializer_list<platform::Control*>{
           &L_server_url, &ED_server_URL, &L_auto_ID, &ED_auto_upgrade_ID,
           &L_auto_password, &ED_auto_upgrade_password})
    c->SetEnabled(false);

  // Status Information page: a terminal-like read-only view of the polls.
  Lay(M_State_Info, 12, 16, 481, 162);
  M_State_Info.SetBackground(platform::kBlack);
  M_State_Info.SetTextColour(platform::kWhite);
  M_State_Info.SetFont(Font{"Terminal", 13, false, true});
  M_State_Info.SetReadOnly(true);

  // About page: caption labels with their bold value labels beside them.
  Lay(GB_About, 10, 8, 480, 96, " Software Infomation  ");
  Lay(L_Model_, 16, 24, 170, 13, "Model : ");
  Lay(L_model, 190, 24, 270, 13);
  Lay(L_Software_ver, 16, 48, 170, 13, "ORVA Software Version : ");
  Lay(L_version, 190, 48, 270, 13);
  Lay(L_Morvel_setup_verion, 16, 72, 170, 13, "Morvel Software Version :  ");
  Lay(L_Morvel_Version, 190, 72, 270, 13);
  for (platform::Label* value : {&L_model, &L_version, &L_Morvel_Version}) {
    Font bold = value->TextFont();
    bold.bold = true;
    value->SetFont(bold);
  }
  Lay(IMG_Logo, 10, 112, 120, 72);
  IMG_Logo.SetStretch(true);
  Lay(L_Contact, 144, 124, 346, 40,
      "Morvel VoIP gateway configuration tool.\nFor support, contact your gateway supplier.");
}

#undef MV_IN

const std::array<ServiceFields, 6> kServices = {{
    {"ftpd", &ConfigPages::CK_service_ftp, &ConfigPages::ED_service_ftp},
    {"httpd", &ConfigPages::CK_service_http, &ConfigPages::ED_service_http},
    {"snmpd", &ConfigPages::CK_service_SNMP, &ConfigPages::ED_service_SNMP},
    {"telnetd", &ConfigPages::CK_service_telnet, &ConfigPages::ED_service_telnet},
    {"tftpd", &ConfigPages::CK_service_TFTP, &ConfigPages::ED_service_TFTP},
    {"morvel", &ConfigPages::CK_service_morvel, &ConfigPages::ED_service_morvel},
}};

const ServiceFields* FindService(std::string_view daemon) {
  for (const ServiceFields& s : kServices)
    if (daemon == s.daemon) return &s;
  return nullptr;
}

}  // namespace config
