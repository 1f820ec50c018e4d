#include "config/script_writer.h"

#include <initializer_list>

#include "config/address_checks.h"
#include "config/config_pages.h"

namespace config {

namespace {

/// An address as it goes into a line: every blank removed.
std::string Packed(const platform::AddressEdit& e) { return WithoutBlanks(e.Text()); }

class Script {
 public:
  explicit Script(const ConfigPages& p)
      : p_(p), network_(p.RG_Network_type.ItemIndex()), protocol_(p.RG_Protocol.ItemIndex()) {}

  std::vector<std::string> Write() {
    AddressPools();
    AutoUpgrade();
    AddressSharing();
    WanInterface();
    LanInterface();
    NameServer();
    ServicePorts();
    Services();
    DefaultRoute();
    VoipPreamble();
    VoicePorts();
    PotsPeers();
    VoipPeer();
    ProtocolSection();
    return std::move(lines_);
  }

 private:
  void Line(std::string line) { lines_.push_back(std::move(line)); }
  void Lines(std::initializer_list<const char*> lines) {
    for (const char* l : lines) lines_.emplace_back(l);
  }
  const platform::StringGrid& Grid() const { return p_.SG_VoIP_Phone_number; }
  bool HasNumber(int row) const { return !Grid().Cell(2, row).empty(); }

  void AddressPools() {
    Lines({"dhcp-list 0 type server", "dhcp-list 0 address server interface ether0.0"});
    Line(network_ == kFixed ? "dhcp-list 0 option dhcp-lease-time 7200"
                            : "dhcp-list 0 option dhcp-lease-time 600");
    Lines({"!", "dhcp-list 1 type server", "dhcp-list 1 address server 10.1.1.2 10.1.1.254 255.255.255.0",
           "dhcp-list 1 option dhcp-lease-time 600", "!"});
  }

  void AutoUpgrade() {
    const std::string& id = p_.ED_auto_upgrade_ID.Text();
    const std::string& password = p_.ED_auto_upgrade_password.Text();
    if (!id.empty() || !password.empty())
      Line("auto-upgrade  authentication login " + id + " password " + password);
    if (p_.CK_upgrade_complete_restart.Checked()) Line("auto-upgrade  auto-reboot");
    // "http://" is the untouched default; anything else, even empty, is sent.
    if (p_.ED_server_URL.Text() != "http://") Line("auto-upgrade  url  " + p_.ED_server_URL.Text());
    if (p_.CK_auto_upgrade.Checked()) Line("auto-upgrade  action auto");
    Line("!");
  }

  void AddressSharing() {
    Lines({"ip-share  enable", "ip-share  interface net-side ether0.0",
           "ip-share  interface local-side ether1.0", "!"});
  }

  void PppoeClient() {
    Lines({"no ip address", "encapsulation pppoe", "ppp authentication pap callin", "ppp echo interval 20"});
    Line("ppp pap sent-username " + p_.ED_PPPoE_ID.Text() + " password " + p_.ED_PPPoE_Password.Text());
    Lines({"ppp ipcp default-route", "ppp ipcp ms-dns"});
  }

  void WanInterface() {
    Line("interface ether0.0");
    if (network_ == kPppoe) PppoeClient();
    if (network_ == kDhcp) Line("ip address dhcp");
    if (network_ == kFixed && !p_.ED_Static_IP_address.IsEmpty() && !p_.ED_Static_Netmask.IsEmpty())
      Line("ip address " + Packed(p_.ED_Static_IP_address) + " " + Packed(p_.ED_Static_Netmask));
    if ((network_ == kDhcp || network_ == kFixed) && p_.CK_Cable_modem.Checked()) Line("qos-control 200 100");
    Line("!");
  }

  void LanInterface() {
    // The first checked attachment decides; none checked leaves the block empty.
    Line("interface ether1.0");
    if (p_.RB_DHCP.Checked()) {
      Lines({"no ip address", "ip dhcp-group 0"});
    } else if (p_.RB_PPPoE.Checked()) {
      // The LAN side serves PPPoE with the WAN's PPPoE login.
      PppoeClient();
      Line("ppp role server");
    } else if (p_.RB_IP.Checked()) {
      Line("no ip address");
    }
    Line("!");
  }

  void NameServer() {
    if (network_ == kPppoe && !p_.ED_PPPoE_DNS.IsEmpty())
      Line("dnshost  nameserver   " + Packed(p_.ED_PPPoE_DNS));
    if (network_ == kFixed && !p_.ED_Static_DNS.IsEmpty())
      Line("dnshost  nameserver   " + Packed(p_.ED_Static_DNS));
    Line("!");
  }

  void ServicePorts() {
    for (const ServiceFields& s : kServices) {
      const std::string& port = (p_.*s.port).Text();
      if (!port.empty()) Line(std::string("service-port ") + s.daemon + " " + port);
    }
    Line("!");
  }

  void Services() {
    for (const ServiceFields& s : kServices)
      Line(std::string((p_.*s.check).Checked() ? "service " : "no service ") + s.daemon);
    Line("!");
  }

  void DefaultRoute() {
    if (network_ == kFixed && !p_.ED_Static_router.IsEmpty())
      Line("route 0.0.0.0 0.0.0.0 " + Packed(p_.ED_Static_router));
    Line("!");
  }

  void VoipPreamble() {
    Lines({"auto-script autorun.inf", "!", "!", "!", "! VoIP configuration.", "!",
           "! Voice service voip configuration.", "!", "voice service voip", "busyout monitor gatekeeper",
           "busyout monitor voip-interface", "!", "!", "! Voice port configuration."});
  }

  void VoicePorts() {
    for (int r = 1; r < Grid().RowCount(); ++r) {
      if (!HasNumber(r)) continue;
      Line("voice-port " + Grid().Cell(0, r));
      Lines({"caller-id enable", "caller-id type bellcore", "!"});
    }
    Lines({"!", "! Pots peer configuration.", "!"});
  }

  void PotsPeers() {
    const bool known = protocol_ == kH323 || protocol_ == kSip || protocol_ == kMgcp;
    for (int r = 1; known && r < Grid().RowCount(); ++r) {
      if (!HasNumber(r)) continue;
      // Tags follow the row numbers, so a row without a number leaves a gap.
      Line("dial-peer voice " + std::to_string(r - 1) + " pots");
      if (protocol_ == kMgcp)
        Line("application mgcpapp");
      else
        Line("destination-pattern " + Grid().Cell(2, r));
      Line("port " + Grid().Cell(0, r));
      Line("!");
    }
    Lines({"!", "! Voip peer configuration.", "!"});
  }

  void VoipPeer() {
    if (protocol_ == kH323 || protocol_ == kSip) {
      Lines({"dial-peer voice 1000 voip", "destination-pattern T"});
      if (protocol_ == kH323) {
        Line("session target ras");
        if (!p_.ED_NUM.Text().empty()) Line("translate-outgoing called-number 0");
      } else {
        Lines({"session target sip-server", "session protocol sip", "dtmf-relay rtp-2833"});
      }
      Line("!");
    }
    Lines({"!", "!", "! Gateway configuration.", "!", "gateway"});
  }

  void ProtocolSection() {
    switch (protocol_) {
      case kH323: H323(); break;
      case kSip: Sip(); break;
      case kMgcp: Mgcp(); break;
      default: break;
    }
  }

  void H323() {
    if (!p_.ED_H323_ID.Text().empty()) Line("h323-id " + p_.ED_H323_ID.Text());
    if (!p_.ED_GK_password.Text().empty()) Line("security password " + p_.ED_GK_password.Text());
    // 1719 is the gatekeeper's RAS port; 128 and 129 order primary and secondary.
    if (!p_.ED_Gatekeeper_IP.IsEmpty()) Line("gkip " + Packed(p_.ED_Gatekeeper_IP) + " 1719 128");
    if (!p_.ED_Gatekeeper_IP2.IsEmpty()) Line("gkip " + Packed(p_.ED_Gatekeeper_IP2) + " 1719 129");
    if (!p_.ED_Gatekeeper_IP.IsEmpty() || !p_.ED_Gatekeeper_IP2.IsEmpty()) Line("register");
    Line("!");
    if (!p_.ED_NUM.Text().empty()) {
      Line("translation-rule 0");
      Line("rule 0  [2-9]T     " + p_.ED_NUM.Text() + "%01%99");
    }
    Line("!");
  }

  void Sip() {
    Lines({"!", "! SIP UA configuration", "!", "sip-ua"});
    Line("sip-username " + p_.ED_SIP_Username.Text());
    if (!p_.ED_SIP_password.Text().empty()) Line("sip-password " + p_.ED_SIP_password.Text());
    Line("sip-server " + Packed(p_.ED_SIP_Server_1));
    if (!p_.ED_SIP_Server_2.IsEmpty()) Line("sip-server " + Packed(p_.ED_SIP_Server_2));
    Lines({"register e164", "!"});
  }

  void Mgcp() {
    Lines({"!", "! MGCP configuration", "!", "mgcp"});
    // Both call agents carry 128, unlike the two gatekeepers.
    Line("call-agent " + Packed(p_.ED_MGCP_CallAgent_1) + " 2427 128");
    if (!p_.ED_MGCP_CallAgent_2.IsEmpty()) Line("call-agent " + Packed(p_.ED_MGCP_CallAgent_2) + " 2427 128");
    Lines({"register", "!"});
  }

  const ConfigPages& p_;
  const int network_;
  const int protocol_;
  std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> ConfigurationScript(const ConfigPages& pages) { return Script(pages).Write(); }

}  // namespace config
