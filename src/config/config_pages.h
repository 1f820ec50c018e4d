#pragma once
// The contents of the main window's pages: every configuration field with its
// group and label, the status memo and the About labels. The configuration
// is nothing but these controls' values; the reply mapping writes them, the
// user edits them, the save checks and the script writer read them.
//
// The main window owns the page control and its pages and hands the pages in;
// the controls here are created inside them. Start values are set by the
// constructor; where the controls lie and how they look is the main window's
// layout, and rules (which group shows for which choice) are attached by the
// main window.
#include <array>
#include <string_view>

#include "platform/ui/toolkit.h"

namespace config {

/// The items of `RG_Network_type` and of `RG_Protocol`, by index.
enum NetworkType : int { kPppoe = 0, kDhcp = 1, kFixed = 2 };
enum Protocol : int { kH323 = 0, kSip = 1, kMgcp = 2 };

/// The most port rows the phone grid holds (besides its title row): a
/// gateway's voice ports, so a reply or a file cannot grow it without bound.
inline constexpr int kMaxPhoneRows = 64;

/// The pages of `PageControl1` in index order.
struct PageSlots {
  platform::TabSheet* pstn;
  platform::TabSheet* lan;
  platform::TabSheet* pc;
  platform::TabSheet* voip;
  platform::TabSheet* service;
  platform::TabSheet* autoUpgrade;
  platform::TabSheet* status;
  platform::TabSheet* about;
};

class ConfigPages {
 public:
  explicit ConfigPages(const PageSlots& pages);
  ConfigPages(const ConfigPages&) = delete;
  ConfigPages& operator=(const ConfigPages&) = delete;

  // PSTN page (its tab is hidden; the fields still take part in the rules).
  platform::GroupBox GB_PSTN;
  platform::Label L_Login_name;
  platform::Edit ED_PSTN_login;
  platform::Label L_PSTN_Password;
  platform::Edit ED_PSTN_password;
  platform::Label L_Dialing;
  platform::Label Label11;  // "ATDT"
  platform::Edit ED_PSTN_dialing;
  platform::Label L_Service_type;
  platform::RadioSet serviceTypeSet;  // RB_All_up, RB_Dial_up
  platform::RadioButton RB_All_up;
  platform::RadioButton RB_Dial_up;
  platform::GroupBox GroupBox1;
  platform::CheckBox CB_Local_PC;
  platform::RadioSet pstnAttachSet;  // RB_PSTN_DHCP, RB_PSTN_PPPoE
  platform::RadioButton RB_PSTN_DHCP;
  platform::RadioButton RB_PSTN_PPPoE;

  // LAN page (the WAN side of the gateway).
  platform::RadioGroup RG_Network_type;
  platform::GroupBox GB_PPPoE;
  platform::Label L_Login_ID;
  platform::Edit ED_PPPoE_ID;
  platform::Label L_Password;
  platform::Edit ED_PPPoE_Password;
  platform::Label L_Primary_DNS_Server2;
  platform::AddressEdit ED_PPPoE_DNS;
  platform::GroupBox GB_Static_IP_address;
  platform::Label L_IP_address;
  platform::AddressEdit ED_Static_IP_address;
  platform::Label L_Netmask;
  platform::AddressEdit ED_Static_Netmask;
  platform::Label L_Default_router;
  platform::AddressEdit ED_Static_router;
  platform::Label L_Primary_DNS_server;
  platform::AddressEdit ED_Static_DNS;
  platform::GroupBox GB_DHCP;
  platform::Label L_DHCP_none;  // "-"
  platform::GroupBox GB_Common;
  platform::CheckBox CK_Cable_modem;

  // PC page.
  platform::Panel P_PC;
  platform::RadioGroup RG_PC_Network;  // a frame only, no items
  platform::RadioSet pcAttachSet;      // RB_DHCP, RB_PPPoE, RB_IP
  platform::RadioButton RB_DHCP;
  platform::RadioButton RB_PPPoE;
  platform::RadioButton RB_IP;

  // VoIP page.
  platform::RadioGroup RG_Protocol;
  // The three protocol groups share one place; the gatekeeper group is built
  // last so that it lies on top while all three are shown at start.
  platform::GroupBox GB_MGCP;
  platform::Label L_call_agent_1;
  platform::AddressEdit ED_MGCP_CallAgent_1;
  platform::Label L_call_agent_2;
  platform::AddressEdit ED_MGCP_CallAgent_2;
  platform::GroupBox GB_SIP;
  platform::Label L_SIP_username;
  platform::Edit ED_SIP_Username;
  platform::Label L_SIP_password;
  platform::Edit ED_SIP_password;
  platform::Label L_SIP_server_1;
  platform::AddressEdit ED_SIP_Server_1;
  platform::Label L_SIP_server_2;
  platform::AddressEdit ED_SIP_Server_2;
  platform::GroupBox GB_Gatekeeper;
  platform::Label L_H323_ID;
  platform::Edit ED_H323_ID;
  platform::Label L_H323_Password;
  platform::Edit ED_GK_password;
  platform::Label L_Primary_GK_IP;
  platform::AddressEdit ED_Gatekeeper_IP;
  platform::Label L_Secondary_GK_IP;
  platform::AddressEdit ED_Gatekeeper_IP2;
  platform::GroupBox GB_VoIP_Phone_number;
  platform::StringGrid SG_VoIP_Phone_number;  // columns: port, type, phone number
  platform::GroupBox GB_Area_Number;
  platform::Label L_Area_number;
  platform::Edit ED_NUM;

  // Service page.
  platform::GroupBox CB_Service_port;  // a group box despite its prefix
  platform::CheckBox CK_service_ftp;
  platform::Edit ED_service_ftp;
  platform::CheckBox CK_service_http;
  platform::Edit ED_service_http;
  platform::CheckBox CK_service_telnet;
  platform::Edit ED_service_telnet;
  platform::CheckBox CK_service_TFTP;
  platform::Edit ED_service_TFTP;
  platform::CheckBox CK_service_h323;
  platform::Edit ED_service_h323;
  platform::CheckBox CK_service_sip;
  platform::Edit ED_service_sip;
  platform::CheckBox CK_service_SNMP;
  platform::Edit ED_service_SNMP;
  platform::CheckBox CK_service_morvel;
  platform::Edit ED_service_morvel;

  // Auto Upgrade page.
  platform::GroupBox GB_Auto_upgrade;
  platform::CheckBox CK_auto_upgrade;
  platform::Label L_server_url;
  platform::Edit ED_server_URL;
  platform::Label L_auto_ID;
  platform::Edit ED_auto_upgrade_ID;
  platform::Label L_Option_1;
  platform::Label L_auto_password;
  platform::Edit ED_auto_upgrade_password;
  platform::Label L_Option_2;
  platform::CheckBox CK_upgrade_complete_restart;

  // Status Information page.
  platform::Memo M_State_Info;

  // About page.
  platform::GroupBox GB_About;
  platform::Label L_Model_;
  platform::Label L_model;
  platform::Label L_Software_ver;
  platform::Label L_version;
  platform::Label L_Morvel_setup_verion;
  platform::Label L_Morvel_Version;
  platform::Image IMG_Logo;
  platform::Label L_Contact;
};

/// The page a control lies on; null for one outside the pages.
platform::TabSheet* PageOf(const platform::Control& c);

/// A service of the Service page: the daemon's name in the gateway's lines,
/// its check box and its port field.
struct ServiceFields {
  const char* daemon;
  platform::CheckBox ConfigPages::*check;
  platform::Edit ConfigPages::*port;
};
/// The services the gateway knows, in the order of the script's sections
/// (SNMP before Telnet).
extern const std::array<ServiceFields, 6> kServices;
/// The service of `daemon`; null for a name that is none of them.
const ServiceFields* FindService(std::string_view daemon);

}  // namespace config
