// Whole configuration scripts for the configurations that matter: each
// network type, each protocol, no choice at all, empty and full grids.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/script_writer.h"
#include "stand_in_pages.h"

namespace config {
namespace {

using Pages = testsupport::StandInPages;
using Lines = std::vector<std::string>;

/// The expected script, section by section, starting from the script of the
/// fields as they are at program start (PPPoE with empty login, H323, no PC
/// attachment, one port row without a number). Tests change the sections
/// their configuration affects and compare the whole script.
struct Expected {
  Lines pools = Pools("600");
  Lines upgrade = {"!"};
  Lines sharing = {"ip-share  enable", "ip-share  interface net-side ether0.0",
                   "ip-share  interface local-side ether1.0", "!"};
  Lines wan = Concat({{"interface ether0.0"}, PppoeClient("", ""), {"!"}});
  Lines lan = {"interface ether1.0", "!"};
  Lines nameServer = {"!"};
  Lines servicePorts = {"!"};
  Lines services = {"no service ftpd",
                    "no service httpd",
                    "no service snmpd",
                    "no service telnetd",
                    "no service tftpd",
                    "no service morvel",
                    "!"};
  Lines route = {"!"};
  Lines preamble = {"auto-script autorun.inf",
                    "!",
                    "!",
                    "!",
                    "! VoIP configuration.",
                    "!",
                    "! Voice service voip configuration.",
                    "!",
                    "voice service voip",
                    "busyout monitor gatekeeper",
                    "busyout monitor voip-interface",
                    "!",
                    "!",
                    "! Voice port configuration."};
  Lines voicePorts = {};
  Lines potsPeers = {};
  Lines voipPeer = {"dial-peer voice 1000 voip", "destination-pattern T", "session target ras", "!"};
  Lines protocol = {"!", "!"};

  static Lines Pools(const std::string& lease0) {
    return {"dhcp-list 0 type server",
            "dhcp-list 0 address server interface ether0.0",
            "dhcp-list 0 option dhcp-lease-time " + lease0,
            "!",
            "dhcp-list 1 type server",
            "dhcp-list 1 address server 10.1.1.2 10.1.1.254 255.255.255.0",
            "dhcp-list 1 option dhcp-lease-time 600",
            "!"};
  }
  static Lines PppoeClient(const std::string& id, const std::string& password) {
    return {"no ip address",
            "encapsulation pppoe",
            "ppp authentication pap callin",
            "ppp echo interval 20",
            "ppp pap sent-username " + id + " password " + password,
            "ppp ipcp default-route",
            "ppp ipcp ms-dns"};
  }
  static Lines VoicePort(const std::string& port) {
    return {"voice-port " + port, "caller-id enable", "caller-id type bellcore", "!"};
  }
  static Lines Concat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
  }

  Lines All() const {
    return Concat({pools,
                   upgrade,
                   sharing,
                   wan,
                   lan,
                   nameServer,
                   servicePorts,
                   services,
                   route,
                   preamble,
                   voicePorts,
                   {"!", "! Pots peer configuration.", "!"},
                   potsPeers,
                   {"!", "! Voip peer configuration.", "!"},
                   voipPeer,
                   {"!", "!", "! Gateway configuration.", "!", "gateway"},
                   protocol});
  }
};

void SetGrid(ConfigPages& p, const std::vector<std::pair<std::string, std::string>>& rows) {
  p.SG_VoIP_Phone_number.SetRowCount(int(rows.size()) + 1);
  for (size_t i = 0; i < rows.size(); ++i) {
    p.SG_VoIP_Phone_number.SetCell(0, int(i) + 1, rows[i].first);
    p.SG_VoIP_Phone_number.SetCell(1, int(i) + 1, "FXS");
    p.SG_VoIP_Phone_number.SetCell(2, int(i) + 1, rows[i].second);
  }
}

// Catches any deviation from the complete example configuration: a section
// missing or out of order, a condition reversed, a literal with the wrong
// blanks.
TEST(ConfigurationScript, CompleteExampleLineForLine) {
  Pages f;
  ConfigPages& p = f.pages;
  p.RG_Network_type.SetItemIndex(1);
  p.RB_DHCP.SetChecked(true);
  p.RG_Protocol.SetItemIndex(1);
  p.ED_SIP_Username.SetText("1001");
  p.ED_SIP_Server_1.SetText("10.0.0.5");
  SetGrid(p, {{"0", "1001"}});
  const Lines expected = {
      "dhcp-list 0 type server",
      "dhcp-list 0 address server interface ether0.0",
      "dhcp-list 0 option dhcp-lease-time 600",
      "!",
      "dhcp-list 1 type server",
      "dhcp-list 1 address server 10.1.1.2 10.1.1.254 255.255.255.0",
      "dhcp-list 1 option dhcp-lease-time 600",
      "!",
      "!",
      "ip-share  enable",
      "ip-share  interface net-side ether0.0",
      "ip-share  interface local-side ether1.0",
      "!",
      "interface ether0.0",
      "ip address dhcp",
      "!",
      "interface ether1.0",
      "no ip address",
      "ip dhcp-group 0",
      "!",
      "!",
      "!",
      "no service ftpd",
      "no service httpd",
      "no service snmpd",
      "no service telnetd",
      "no service tftpd",
      "no service morvel",
      "!",
      "!",
      "auto-script autorun.inf",
      "!",
      "!",
      "!",
      "! VoIP configuration.",
      "!",
      "! Voice service voip configuration.",
      "!",
      "voice service voip",
      "busyout monitor gatekeeper",
      "busyout monitor voip-interface",
      "!",
      "!",
      "! Voice port configuration.",
      "voice-port 0",
      "caller-id enable",
      "caller-id type bellcore",
      "!",
      "!",
      "! Pots peer configuration.",
      "!",
      "dial-peer voice 0 pots",
      "destination-pattern 1001",
      "port 0",
      "!",
      "!",
      "! Voip peer configuration.",
      "!",
      "dial-peer voice 1000 voip",
      "destination-pattern T",
      "session target sip-server",
      "session protocol sip",
      "dtmf-relay rtp-2833",
      "!",
      "!",
      "!",
      "! Gateway configuration.",
      "!",
      "gateway",
      "!",
      "! SIP UA configuration",
      "!",
      "sip-ua",
      "sip-username 1001",
      "sip-server 10.0.0.5",
      "register e164",
      "!",
  };
  EXPECT_EQ(ConfigurationScript(p), expected);
}

// Catches a start-state script that differs from what the fields hold at
// start: PPPoE with an empty login, an empty PC block, a port row without a
// number producing nothing.
TEST(ConfigurationScript, StartState) {
  Pages f;
  EXPECT_EQ(ConfigurationScript(f.pages), Expected{}.All());
}

/// Fields that every network type could use, all filled.
void FillWan(ConfigPages& p) {
  p.ED_PPPoE_ID.SetText("user");
  p.ED_PPPoE_Password.SetText("secret");
  p.ED_PPPoE_DNS.SetText("168.126.63.1");
  p.ED_Static_IP_address.SetText("10.1.2.3");
  p.ED_Static_Netmask.SetText("255.0.0.0");
  p.ED_Static_router.SetText("10.0.0.1");
  p.ED_Static_DNS.SetText("10.0.0.2");
  p.CK_Cable_modem.SetChecked(true);
}

// Catches a network type's lines leaking into another type's script: the
// lease time, the WAN block, the cable-modem line (never with PPPoE), the
// name server and the default route each follow the type; -1 gives an empty
// WAN block and no name server or route.
TEST(ConfigurationScript, EachNetworkType) {
  struct Row {
    int network;
    Lines pools;
    Lines wan;
    Lines nameServer;
    Lines route;
  };
  const Row rows[] = {
      {0,
       Expected::Pools("600"),
       Expected::Concat({{"interface ether0.0"}, Expected::PppoeClient("user", "secret"), {"!"}}),
       {"dnshost  nameserver   168.126.63.1", "!"},
       {"!"}},
      {1,
       Expected::Pools("600"),
       {"interface ether0.0", "ip address dhcp", "qos-control 200 100", "!"},
       {"!"},
       {"!"}},
      {2,
       Expected::Pools("7200"),
       {"interface ether0.0", "ip address 10.1.2.3 255.0.0.0", "qos-control 200 100", "!"},
       {"dnshost  nameserver   10.0.0.2", "!"},
       {"route 0.0.0.0 0.0.0.0 10.0.0.1", "!"}},
      {-1, Expected::Pools("600"), {"interface ether0.0", "!"}, {"!"}, {"!"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.network);
    Pages f;
    FillWan(f.pages);
    f.pages.RG_Network_type.SetItemIndex(r.network);
    Expected e;
    e.pools = r.pools;
    e.wan = r.wan;
    e.nameServer = r.nameServer;
    e.route = r.route;
    EXPECT_EQ(ConfigurationScript(f.pages), e.All());
  }
}

// Catches an "ip address" line written with a missing half (the gateway
// would get "ip address 10.1.2.3 ...") and addresses sent with their blanks.
TEST(ConfigurationScript, FixedAddressNeedsBothAddressAndNetmask) {
  struct Row {
    const char* address;
    const char* netmask;
    Lines wan;
  };
  const Row rows[] = {
      {"10 .1  .2  .3  ", "255.0  .0  .0  ", {"interface ether0.0", "ip address 10.1.2.3 255.0.0.0", "!"}},
      {"10.1.2.3", "", {"interface ether0.0", "!"}},
      {"", "255.0.0.0", {"interface ether0.0", "!"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.address);
    Pages f;
    f.pages.RG_Network_type.SetItemIndex(2);
    f.pages.ED_Static_IP_address.SetText(r.address);
    f.pages.ED_Static_Netmask.SetText(r.netmask);
    Expected e;
    e.pools = Expected::Pools("7200");
    e.wan = r.wan;
    EXPECT_EQ(ConfigurationScript(f.pages), e.All());
  }
}

// Catches the LAN block choosing by the wrong radio, or the PPPoE server
// block not reusing the WAN's login (written even when it is empty).
TEST(ConfigurationScript, LanAttachment) {
  struct Row {
    const char* radio;
    const char* id;
    Lines lan;
  };
  const Row rows[] = {
      {"RB_DHCP", "", {"interface ether1.0", "no ip address", "ip dhcp-group 0", "!"}},
      {"RB_PPPoE", "",
       Expected::Concat({{"interface ether1.0"}, Expected::PppoeClient("", ""), {"ppp role server", "!"}})},
      {"RB_PPPoE", "user",
       Expected::Concat(
           {{"interface ether1.0"}, Expected::PppoeClient("user", ""), {"ppp role server", "!"}})},
      {"RB_IP", "", {"interface ether1.0", "no ip address", "!"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.radio);
    Pages f;
    f.pages.RG_Network_type.SetItemIndex(1);  // keeps the WAN block free of PPPoE lines
    f.pages.ED_PPPoE_ID.SetText(r.id);
    static_cast<platform::RadioButton&>(f.Named(r.radio)).SetChecked(true);
    Expected e;
    e.wan = {"interface ether0.0", "ip address dhcp", "!"};
    e.lan = r.lan;
    EXPECT_EQ(ConfigurationScript(f.pages), e.All());
  }
}

// Catches services written in the wrong order (SNMP comes before Telnet),
// port texts trimmed or dropped, and the H323 and SIP service fields leaking
// into the script.
TEST(ConfigurationScript, ServicesInOrderWithPortsAsTyped) {
  Pages f;
  ConfigPages& p = f.pages;
  p.ED_service_ftp.SetText(" 21");
  p.ED_service_http.SetText("8080");
  p.ED_service_SNMP.SetText("161");
  p.ED_service_telnet.SetText("23 a");
  p.ED_service_TFTP.SetText("69");
  p.ED_service_morvel.SetText("5000");
  p.ED_service_h323.SetText("1720");
  p.ED_service_sip.SetText("5060");
  for (platform::CheckBox* c : {&p.CK_service_ftp, &p.CK_service_SNMP, &p.CK_service_TFTP})
    c->SetChecked(true);
  Expected e;
  e.servicePorts = {"service-port ftpd  21",
                    "service-port httpd 8080",
                    "service-port snmpd 161",
                    "service-port telnetd 23 a",
                    "service-port tftpd 69",
                    "service-port morvel 5000",
                    "!"};
  e.services = {"service ftpd",
                "no service httpd",
                "service snmpd",
                "no service telnetd",
                "service tftpd",
                "no service morvel",
                "!"};
  EXPECT_EQ(ConfigurationScript(p), e.All());
}

// Catches the automatic-upgrade lines made to depend on the check box, the
// URL line written for the default "http://" or dropped for an emptied
// field, and the credentials' literal blanks.
TEST(ConfigurationScript, AutomaticUpgrade) {
  struct Row {
    const char* what;
    const char* url;
    const char* id;
    const char* password;
    bool reboot;
    bool action;
    Lines upgrade;
  };
  const Row rows[] = {
      {"defaults", "http://", "", "", false, false, {"!"}},
      {"everything",
       "http://upgrade.example/fw",
       "admin",
       "pw",
       true,
       true,
       {"auto-upgrade  authentication login admin password pw", "auto-upgrade  auto-reboot",
        "auto-upgrade  url  http://upgrade.example/fw", "auto-upgrade  action auto", "!"}},
      {"password only, check off",
       "http://",
       "",
       "pw",
       false,
       false,
       {"auto-upgrade  authentication login  password pw", "!"}},
      {"emptied URL", "", "", "", false, false, {"auto-upgrade  url  ", "!"}},
      {"URL differs only in case",
       "HTTP://",
       "",
       "",
       false,
       true,
       {"auto-upgrade  url  HTTP://", "auto-upgrade  action auto", "!"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Pages f;
    f.pages.ED_server_URL.SetText(r.url);
    f.pages.ED_auto_upgrade_ID.SetText(r.id);
    f.pages.ED_auto_upgrade_password.SetText(r.password);
    f.pages.CK_upgrade_complete_restart.SetChecked(r.reboot);
    f.pages.CK_auto_upgrade.SetChecked(r.action);
    Expected e;
    e.upgrade = r.upgrade;
    EXPECT_EQ(ConfigurationScript(f.pages), e.All());
  }
}

/// The VoIP fields of every protocol filled, and a grid of three port rows
/// whose second row has no number.
void FillVoip(ConfigPages& p) {
  p.ED_H323_ID.SetText("gw1");
  p.ED_GK_password.SetText("gkpw");
  p.ED_Gatekeeper_IP.SetText("10.0.0.1");
  p.ED_Gatekeeper_IP2.SetText("10.0.0.2");
  p.ED_NUM.SetText("02");
  p.ED_SIP_Username.SetText("1001");
  p.ED_SIP_password.SetText("sippw");
  p.ED_SIP_Server_1.SetText("10.0.0.5");
  p.ED_SIP_Server_2.SetText("10.0.0.6");
  p.ED_MGCP_CallAgent_1.SetText("10.0.0.7");
  p.ED_MGCP_CallAgent_2.SetText("10.0.0.8");
  SetGrid(p, {{"0", "1001"}, {"1", ""}, {"2", "1003"}});
}

// Catches protocol-dependent lines in the wrong protocol's script: the POTS
// peer form, the VoIP peer, the protocol section and its literals (1719
// 128/129 for gatekeepers, 2427 128 for both call agents, the rule's
// blanks); rows without a number leave a gap in the tags; with no protocol
// the voice ports stay but nothing protocol-specific is written.
TEST(ConfigurationScript, EachProtocol) {
  const Lines voicePorts = Expected::Concat({Expected::VoicePort("0"), Expected::VoicePort("2")});
  struct Row {
    int protocol;
    Lines potsPeers;
    Lines voipPeer;
    Lines protocolSection;
  };
  const Row rows[] = {
      {0,
       {"dial-peer voice 0 pots", "destination-pattern 1001", "port 0", "!", "dial-peer voice 2 pots",
        "destination-pattern 1003", "port 2", "!"},
       {"dial-peer voice 1000 voip", "destination-pattern T", "session target ras",
        "translate-outgoing called-number 0", "!"},
       {"h323-id gw1", "security password gkpw", "gkip 10.0.0.1 1719 128", "gkip 10.0.0.2 1719 129",
        "register", "!", "translation-rule 0", "rule 0  [2-9]T     02%01%99", "!"}},
      {1,
       {"dial-peer voice 0 pots", "destination-pattern 1001", "port 0", "!", "dial-peer voice 2 pots",
        "destination-pattern 1003", "port 2", "!"},
       {"dial-peer voice 1000 voip", "destination-pattern T", "session target sip-server",
        "session protocol sip", "dtmf-relay rtp-2833", "!"},
       {"!", "! SIP UA configuration", "!", "sip-ua", "sip-username 1001", "sip-password sippw",
        "sip-server 10.0.0.5", "sip-server 10.0.0.6", "register e164", "!"}},
      {2,
       {"dial-peer voice 0 pots", "application mgcpapp", "port 0", "!", "dial-peer voice 2 pots",
        "application mgcpapp", "port 2", "!"},
       {},
       {"!", "! MGCP configuration", "!", "mgcp", "call-agent 10.0.0.7 2427 128",
        "call-agent 10.0.0.8 2427 128", "register", "!"}},
      {-1, {}, {}, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.protocol);
    Pages f;
    FillVoip(f.pages);
    f.pages.RG_Protocol.SetItemIndex(r.protocol);
    Expected e;
    e.voicePorts = voicePorts;
    e.potsPeers = r.potsPeers;
    e.voipPeer = r.voipPeer;
    e.protocol = r.protocolSection;
    EXPECT_EQ(ConfigurationScript(f.pages), e.All());
  }
}

// Catches optional protocol lines written for empty fields, or required ones
// dropped: "register" follows either gatekeeper; the SIP user name and the
// primary server (packed empty: "...") and the primary call agent are always
// written.
TEST(ConfigurationScript, ProtocolSectionsWithEmptyFields) {
  struct Row {
    int protocol;
    const char* gatekeeper2;
    Lines voipPeer;
    Lines protocolSection;
  };
  const Lines h323Peer = {"dial-peer voice 1000 voip", "destination-pattern T", "session target ras", "!"};
  const Row rows[] = {
      {0, "", h323Peer, {"!", "!"}},
      {0, "10.0.0.9", h323Peer, {"gkip 10.0.0.9 1719 129", "register", "!", "!"}},
      {1,
       "",
       {"dial-peer voice 1000 voip", "destination-pattern T", "session target sip-server",
        "session protocol sip", "dtmf-relay rtp-2833", "!"},
       {"!", "! SIP UA configuration", "!", "sip-ua", "sip-username ", "sip-server ...", "register e164",
        "!"}},
      {2, "", {}, {"!", "! MGCP configuration", "!", "mgcp", "call-agent ... 2427 128", "register", "!"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.protocol);
    Pages f;
    f.pages.RG_Protocol.SetItemIndex(r.protocol);
    f.pages.ED_Gatekeeper_IP2.SetText(r.gatekeeper2);
    Expected e;
    e.voipPeer = r.voipPeer;
    e.protocol = r.protocolSection;
    EXPECT_EQ(ConfigurationScript(f.pages), e.All());
  }
}

// Catches a grid walk that stops early, skips the last row or miscounts tags
// on a full grid, and numbers written with their blanks removed.
TEST(ConfigurationScript, FullGrid) {
  Pages f;
  SetGrid(f.pages, {{"0", "1001"}, {"1", "1002"}, {"2", "1003"}, {"3", "10 04"}});
  Expected e;
  for (int r = 0; r < 4; ++r) {
    const std::string port = std::to_string(r);
    const std::string number = r == 3 ? "10 04" : "100" + std::to_string(r + 1);
    e.voicePorts = Expected::Concat({e.voicePorts, Expected::VoicePort(port)});
    e.potsPeers = Expected::Concat(
        {e.potsPeers,
         {"dial-peer voice " + port + " pots", "destination-pattern " + number, "port " + port, "!"}});
  }
  EXPECT_EQ(ConfigurationScript(f.pages), e.All());
}

}  // namespace
}  // namespace config
