#include "config/login_reset.h"

#include <initializer_list>

#include "config/config_pages.h"

namespace config {

namespace {

void Empty(std::initializer_list<platform::Edit*> edits) {
  // Address edits place the empty text as "   .   .   .   ".
  for (platform::Edit* e : edits) e->SetText("");
}

}  // namespace

void ResetPhoneGrid(ConfigPages& p) { p.SG_VoIP_Phone_number.SetRowCount(2); }

void ClearLoginFields(ConfigPages& p) {
  // Shrinking drops the rows beyond the second together with their texts, so
  // a previous gateway's ports cannot reappear in rows the new read-out
  // does not fill.
  ResetPhoneGrid(p);

  Empty({&p.ED_PPPoE_ID, &p.ED_PPPoE_Password, &p.ED_H323_ID, &p.ED_GK_password, &p.ED_service_http,
         &p.ED_service_telnet, &p.ED_service_ftp, &p.ED_service_h323, &p.ED_service_sip, &p.ED_service_morvel,
         &p.ED_server_URL, &p.ED_auto_upgrade_ID, &p.ED_auto_upgrade_password, &p.ED_NUM,
         &p.ED_service_SNMP});
  Empty({&p.ED_Static_Netmask, &p.ED_Static_router, &p.ED_Static_DNS, &p.ED_Static_IP_address,
         &p.ED_Gatekeeper_IP, &p.ED_Gatekeeper_IP2});
  Empty({&p.ED_service_TFTP, &p.ED_PPPoE_DNS, &p.ED_PSTN_login, &p.ED_PSTN_password, &p.ED_PSTN_dialing,
         &p.ED_SIP_Username, &p.ED_SIP_password, &p.ED_SIP_Server_1, &p.ED_SIP_Server_2,
         &p.ED_MGCP_CallAgent_1, &p.ED_MGCP_CallAgent_2});

  p.M_State_Info.Clear();
}

void ClearData(ConfigPages& p) {
  Empty({&p.ED_Static_IP_address, &p.ED_Static_Netmask, &p.ED_Static_router, &p.ED_Static_DNS, &p.ED_PPPoE_ID,
         &p.ED_PPPoE_Password, &p.ED_PPPoE_DNS, &p.ED_H323_ID, &p.ED_Gatekeeper_IP, &p.ED_Gatekeeper_IP2,
         &p.ED_GK_password, &p.ED_service_http, &p.ED_service_telnet, &p.ED_service_ftp, &p.ED_service_h323,
         &p.ED_service_sip, &p.ED_service_morvel});
  p.ED_server_URL.SetText("http://");
  Empty({&p.ED_auto_upgrade_ID, &p.ED_auto_upgrade_password, &p.ED_NUM});

  // Runs the network-type rule when the item changes (the PC attachment goes
  // back to DHCP).
  p.RG_Network_type.SetItemIndex(kPppoe);

  // Each change runs the box's rule; the automatic-upgrade rule disables the
  // URL and the credentials again.
  for (platform::CheckBox* c :
       {&p.CK_Cable_modem, &p.CK_service_http, &p.CK_service_telnet, &p.CK_service_ftp, &p.CK_service_h323,
        &p.CK_service_sip, &p.CK_service_morvel, &p.CK_auto_upgrade, &p.CK_upgrade_complete_restart})
    c->SetChecked(false);

  // With two rows, cell (2, 2) lies outside the grid and setting it does nothing.
  p.SG_VoIP_Phone_number.SetCell(2, 1, "");
  p.SG_VoIP_Phone_number.SetCell(2, 2, "");
}

}  // namespace config
