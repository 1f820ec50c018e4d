#include "config/config_pages.h"

#include <initializer_list>

namespace config {

using platform::Colour;

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
      ED_Static_IP_address(&GB_Static_IP_address, "ED_Static_IP_address", "999\\.999\\.999\\.999;1; "),
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
  // The PSTN page's tab is hidden by the main window, but its fields take part
  // in the rules and in the reply mapping, so they start as the others do.
  RB_Dial_up.SetChecked(true);
  RB_PSTN_DHCP.SetChecked(true);

  // LAN page: of the groups laid over one another, only the PPPoE group shows
  // at start (item 0). On the PC page none of the attachment choices is
  // chosen until the network type first changes.
  RG_Network_type.SetItems(
      {"Dynamic IP address using PPPoE", "Dynamic IP address using DHCP", "Fixed IP address"});
  RG_Network_type.SetItemIndex(kPppoe);
  GB_Static_IP_address.Hide();
  GB_DHCP.Hide();
  GB_Common.Hide();

  RG_Protocol.SetItems({"H323", "SIP", "MGCP"});
  RG_Protocol.SetItemIndex(kH323);
  // The phone-number grid: port and type are fixed columns, the number is
  // edited in place. The title row is filled by the main window.
  SG_VoIP_Phone_number.SetEditable(true);

  // Service page: H323 and SIP are shown on, but cannot be changed. A disabled
  // edit's grey background is part of its disabled state here, as it is in
  // the connection dialog's rules.
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
  ED_server_URL.SetText("http://");
  for (platform::Control* c : std::initializer_list<platform::Control*>{
           &L_server_url, &ED_server_URL, &L_auto_ID, &ED_auto_upgrade_ID, &L_auto_password,
           &ED_auto_upgrade_password})
    c->SetEnabled(false);

  // Status Information page: a read-only view of the polls.
  M_State_Info.SetReadOnly(true);
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

platform::TabSheet* PageOf(const platform::Control& c) {
  for (platform::Control* p = c.Parent(); p; p = p->Parent())
    if (auto* page = dynamic_cast<platform::TabSheet*>(p)) return page;
  return nullptr;
}

const ServiceFields* FindService(std::string_view daemon) {
  for (const ServiceFields& s : kServices)
    if (daemon == s.daemon) return &s;
  return nullptr;
}

}  // namespace config
