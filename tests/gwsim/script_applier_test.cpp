#include "gwsim/script_applier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "gwsim/replies.h"

namespace gwsim {
namespace {

using Lines = std::vector<std::string>;

/// What the configuration tool's fields hold when it saves.
struct Form {
  int net = 0;  // 0 PPPoE, 1 DHCP, 2 fixed
  std::string pppId, pppPw, ip, mask, router, dns;
  bool cable = false;
  int pc = 0;  // 0 DHCP, 1 PPPoE, 2 fixed
  std::string url = "http://", upId, upPw;
  bool upAuto = false, upReboot = false;
  std::array<std::string, 6> ports;  // ftpd httpd snmpd telnetd tftpd morvel
  std::array<bool, 6> on{};
  int proto = 0;                                          // 0 H323, 1 SIP, 2 MGCP
  std::vector<std::pair<std::string, std::string>> rows;  // port, phone number
  std::string h323Id, gkPw, gk1, gk2, num, sipUser, sipPw, sip1, sip2, ca1, ca2;
};

const std::array<const char*, 6> kDaemons{"ftpd", "httpd", "snmpd", "telnetd", "tftpd", "morvel"};

/// The script the configuration tool sends for `f`, section by section.
Lines script(const Form& f) {
  Lines s{"dhcp-list 0 type server",
          "dhcp-list 0 address server interface ether0.0",
          f.net == 2 ? "dhcp-list 0 option dhcp-lease-time 7200" : "dhcp-list 0 option dhcp-lease-time 600",
          "!",
          "dhcp-list 1 type server",
          "dhcp-list 1 address server 10.1.1.2 10.1.1.254 255.255.255.0",
          "dhcp-list 1 option dhcp-lease-time 600",
          "!"};
  if (!f.upId.empty() || !f.upPw.empty())
    s.push_back("auto-upgrade  authentication login " + f.upId + " password " + f.upPw);
  if (f.upReboot) s.push_back("auto-upgrade  auto-reboot");
  if (f.url != "http://") s.push_back("auto-upgrade  url  " + f.url);
  if (f.upAuto) s.push_back("auto-upgrade  action auto");
  s.push_back("!");
  for (const char* l : {"ip-share  enable", "ip-share  interface net-side ether0.0",
                        "ip-share  interface local-side ether1.0", "!"})
    s.push_back(l);
  const Lines pppBlock{"encapsulation pppoe",    "ppp authentication pap callin",
                       "ppp echo interval 20",   "ppp pap sent-username " + f.pppId + " password " + f.pppPw,
                       "ppp ipcp default-route", "ppp ipcp ms-dns"};
  s.push_back("interface ether0.0");
  if (f.net == 0) {
    s.push_back("no ip address");
    s.insert(s.end(), pppBlock.begin(), pppBlock.end());
  }
  if (f.net == 1) s.push_back("ip address dhcp");
  if (f.net == 2 && !f.ip.empty() && !f.mask.empty()) s.push_back("ip address " + f.ip + " " + f.mask);
  if ((f.net == 1 || f.net == 2) && f.cable) s.push_back("qos-control 200 100");
  s.push_back("!");
  s.push_back("interface ether1.0");
  if (f.pc == 0) s.insert(s.end(), {"no ip address", "ip dhcp-group 0"});
  if (f.pc == 1) {
    s.push_back("no ip address");
    s.insert(s.end(), pppBlock.begin(), pppBlock.end());
    s.push_back("ppp role server");
  }
  if (f.pc == 2) s.push_back("no ip address");
  s.push_back("!");
  if (f.net == 0 && !f.dns.empty()) s.push_back("dnshost  nameserver   " + f.dns);
  if (f.net == 2 && !f.dns.empty()) s.push_back("dnshost  nameserver   " + f.dns);
  s.push_back("!");
  for (int i = 0; i < 6; ++i)
    if (!f.ports[i].empty()) s.push_back(std::string("service-port ") + kDaemons[i] + " " + f.ports[i]);
  s.push_back("!");
  for (int i = 0; i < 6; ++i) s.push_back(std::string(f.on[i] ? "service " : "no service ") + kDaemons[i]);
  s.push_back("!");
  if (f.net == 2 && !f.router.empty()) s.push_back("route 0.0.0.0 0.0.0.0 " + f.router);
  s.push_back("!");
  for (const char* l :
       {"auto-script autorun.inf", "!", "!", "!", "! VoIP configuration.", "!",
        "! Voice service voip configuration.", "!", "voice service voip", "busyout monitor gatekeeper",
        "busyout monitor voip-interface", "!", "!", "! Voice port configuration."})
    s.push_back(l);
  for (const auto& [port, number] : f.rows)
    if (!number.empty())
      s.insert(s.end(), {"voice-port " + port, "caller-id enable", "caller-id type bellcore", "!"});
  s.insert(s.end(), {"!", "! Pots peer configuration.", "!"});
  for (std::size_t r = 0; r < f.rows.size(); ++r) {
    const auto& [port, number] = f.rows[r];
    if (number.empty()) continue;
    s.push_back("dial-peer voice " + std::to_string(r) + " pots");
    s.push_back(f.proto == 2 ? "application mgcpapp" : "destination-pattern " + number);
    s.push_back("port " + port);
    s.push_back("!");
  }
  s.insert(s.end(), {"!", "! Voip peer configuration.", "!"});
  if (f.proto == 0 || f.proto == 1) {
    s.insert(s.end(), {"dial-peer voice 1000 voip", "destination-pattern T"});
    if (f.proto == 0) s.push_back("session target ras");
    if (f.proto == 0 && !f.num.empty()) s.push_back("translate-outgoing called-number 0");
    if (f.proto == 1)
      s.insert(s.end(), {"session target sip-server", "session protocol sip", "dtmf-relay rtp-2833"});
    s.push_back("!");
  }
  s.insert(s.end(), {"!", "!", "! Gateway configuration.", "!", "gateway"});
  if (f.proto == 0) {
    if (!f.h323Id.empty()) s.push_back("h323-id " + f.h323Id);
    if (!f.gkPw.empty()) s.push_back("security password " + f.gkPw);
    if (!f.gk1.empty()) s.push_back("gkip " + f.gk1 + " 1719 128");
    if (!f.gk2.empty()) s.push_back("gkip " + f.gk2 + " 1719 129");
    if (!f.gk1.empty() || !f.gk2.empty()) s.push_back("register");
    s.push_back("!");
    if (!f.num.empty()) s.insert(s.end(), {"translation-rule 0", "rule 0  [2-9]T     " + f.num + "%01%99"});
    s.push_back("!");
  } else if (f.proto == 1) {
    s.insert(s.end(), {"!", "! SIP UA configuration", "!", "sip-ua", "sip-username " + f.sipUser});
    if (!f.sipPw.empty()) s.push_back("sip-password " + f.sipPw);
    s.push_back("sip-server " + f.sip1);
    if (!f.sip2.empty()) s.push_back("sip-server " + f.sip2);
    s.insert(s.end(), {"register e164", "!"});
  } else {
    s.insert(s.end(), {"!", "! MGCP configuration", "!", "mgcp", "call-agent " + f.ca1 + " 2427 128"});
    if (!f.ca2.empty()) s.push_back("call-agent " + f.ca2 + " 2427 128");
    s.insert(s.end(), {"register", "!"});
  }
  return s;
}

/// The form as the tool fills it from a read-out of `c`.
Form formFrom(const GatewayConfig& c) {
  Form f;
  f.net = c.wanType == WanType::Pppoe ? 0 : c.wanType == WanType::Dhcp ? 1 : 2;
  if (c.wanType == WanType::Pppoe) f.pppId = c.pppoeId, f.pppPw = c.pppoePassword;
  f.ip = c.staticIp, f.mask = c.staticNetmask, f.router = c.staticRouter, f.dns = c.dnsServer;
  f.cable = c.cableModem;
  f.pc = c.lanMode == LanMode::DhcpGroup ? 0 : c.lanMode == LanMode::PppoeServer ? 1 : 2;
  if (!c.upgradeUrl.empty()) f.url = c.upgradeUrl;
  f.upId = c.upgradeLogin, f.upPw = c.upgradePassword, f.upAuto = c.autoUpgrade, f.upReboot = c.autoReboot;
  for (int i = 0; i < 6; ++i) {
    const Service* s = c.findService(kDaemons[i]);
    f.ports[i] = s->port;
    f.on[i] = s->enabled;
  }
  f.proto = c.protocol == Protocol::H323 ? 0 : c.protocol == Protocol::Sip ? 1 : 2;
  for (const auto& p : c.voicePorts) {
    std::string number;
    for (const auto& peer : c.potsPeers)
      if (peer.port == p.name) number = peer.pattern;
    f.rows.emplace_back(p.name, number);
  }
  f.h323Id = c.h323Id, f.gkPw = c.gkPassword, f.gk1 = c.gatekeeper1, f.gk2 = c.gatekeeper2,
  f.num = c.areaNumber;
  f.sipUser = c.sipUsername, f.sipPw = c.sipPassword, f.sip1 = c.sipServer1, f.sip2 = c.sipServer2;
  f.ca1 = c.callAgent1, f.ca2 = c.callAgent2;
  return f;
}

// Catches anything lost or altered on the way read-out -> form -> script ->
// applied configuration: saving what was read must change nothing.
TEST(ScriptApplierTest, SavingWhatWasReadChangesNothing) {
  for (const auto& name : presetNames()) {
    GatewayConfig c = preset(name);
    ScriptApplier::apply(script(formFrom(c)), c);
    EXPECT_EQ(formatConfigText(c), formatConfigText(preset(name))) << name;
  }
}

// Catches a mis-read of the complete DHCP and SIP example script.
TEST(ScriptApplierTest, AppliesDhcpSipScript) {
  GatewayConfig c = preset("full");
  const GatewayConfig before = c;
  Form f;
  f.net = 1;
  f.pc = 0;
  f.proto = 1;
  f.sipUser = "1001";
  f.sip1 = "10.0.0.5";
  f.rows = {{"0", "1001"}};
  ScriptApplier::apply(script(f), c);

  EXPECT_EQ(c.wanType, WanType::Dhcp);
  EXPECT_FALSE(c.cableModem);
  EXPECT_EQ(c.lanMode, LanMode::DhcpGroup);
  for (const auto& s : c.services) {
    EXPECT_FALSE(s.enabled) << s.name;
    EXPECT_TRUE(s.port.empty()) << s.name;
  }
  EXPECT_FALSE(c.autoUpgrade);
  EXPECT_FALSE(c.autoReboot);
  EXPECT_TRUE(c.upgradeUrl.empty());
  EXPECT_TRUE(c.upgradeLogin.empty());
  EXPECT_EQ(c.protocol, Protocol::Sip);
  EXPECT_EQ(c.sipUsername, "1001");
  EXPECT_EQ(c.sipPassword, "");
  EXPECT_EQ(c.sipServer1, "10.0.0.5");
  EXPECT_EQ(c.sipServer2, "");
  EXPECT_EQ(c.potsPeers, (std::vector<PotsPeer>{{0, "1001", "0", false}}));
  ASSERT_EQ(c.voipPeers.size(), 1u);
  EXPECT_EQ(c.voipPeers[0].pattern, "T");
  EXPECT_EQ(c.voipPeers[0].lines, (std::vector<std::string>{"session target sip-server",
                                                            "session protocol sip", "dtmf-relay rtp-2833"}));
  // Not carried by a script: kept.
  EXPECT_EQ(c.model, before.model);
  EXPECT_EQ(c.version, before.version);
  EXPECT_EQ(c.voicePorts, before.voicePorts);
  EXPECT_EQ(c.dialNumber, before.dialNumber);
  EXPECT_EQ(c.pstnUsername, before.pstnUsername);
  EXPECT_EQ(c.gatekeeper1, before.gatekeeper1) << "H.323 settings stay while SIP is in use";
  EXPECT_EQ(c.callAgent2, before.callAgent2);
  EXPECT_EQ(c.pppoeId, before.pppoeId) << "no PPPoE block, nothing to change";
}

// Catches a mis-read of the PPPoE + H.323 script, including the LAN PPPoE
// server block and the read-out that follows the save.
TEST(ScriptApplierTest, AppliesPppoeH323ScriptAndReadsItBack) {
  GatewayConfig c = preset("dhcp-sip");
  Form f;
  f.net = 0;
  f.pppId = "newuser";
  f.pppPw = "newpass";
  f.dns = "1.1.1.1";
  f.pc = 1;
  f.ports = {"21", "8080", "", "23", "", "514"};
  f.on = {true, false, true, false, true, false};
  f.url = "http://fw.example/x";
  f.upId = "u";
  f.upPw = "p";
  f.upAuto = true;
  f.proto = 0;
  f.h323Id = "gw7";
  f.gkPw = "pw7";
  f.gk1 = "10.9.9.1";
  f.gk2 = "10.9.9.2";
  f.num = "02";
  f.rows = {{"0", "7001"}, {"1", ""}, {"9", "7009"}};  // port 9 does not exist
  ScriptApplier::apply(script(f), c);

  EXPECT_EQ(c.wanType, WanType::Pppoe);
  EXPECT_EQ(c.pppoeId, "newuser");
  EXPECT_EQ(c.pppoePassword, "newpass");
  EXPECT_EQ(c.dnsServer, "1.1.1.1");
  EXPECT_FALSE(c.cableModem) << "never with PPPoE";
  EXPECT_EQ(c.lanMode, LanMode::PppoeServer);
  EXPECT_EQ(c.lanPppoeId, "newuser");
  EXPECT_EQ(c.findService("httpd")->port, "8080");
  EXPECT_EQ(c.findService("snmpd")->port, "");
  EXPECT_TRUE(c.findService("snmpd")->enabled);
  EXPECT_FALSE(c.findService("httpd")->enabled);
  EXPECT_TRUE(c.autoUpgrade);
  EXPECT_FALSE(c.autoReboot);
  EXPECT_EQ(c.upgradeUrl, "http://fw.example/x");
  EXPECT_EQ(c.protocol, Protocol::H323);
  EXPECT_EQ(c.gatekeeper1, "10.9.9.1");
  EXPECT_EQ(c.gatekeeper2, "10.9.9.2");
  EXPECT_EQ(c.areaNumber, "02");
  EXPECT_EQ(c.potsPeers, (std::vector<PotsPeer>{{0, "7001", "0", false}, {2, "7009", "9", false}}));
  EXPECT_EQ(c.voicePorts, preset("dhcp-sip").voicePorts) << "voice ports are hardware";
  EXPECT_EQ(c.sipServer1, "10.0.0.5") << "SIP settings stay while H.323 is in use";

  Lines wan;
  replies::query("get-wan", c, wan);
  EXPECT_NE(std::find(wan.begin(), wan.end(), "ppp pap sent-username newuser password newpass"), wan.end());
  Lines voip;
  replies::query("get-voip", c, voip);
  EXPECT_NE(std::find(voip.begin(), voip.end(), "gkip 10.9.9.2 1719 129"), voip.end());
  EXPECT_NE(std::find(voip.begin(), voip.end(), "rule 0  [2-9]T     02%01%99"), voip.end());
}

// Catches a mis-read of the fixed-address + MGCP script: addresses, both call
// agents, and the phone numbers an MGCP peer does not carry.
TEST(ScriptApplierTest, AppliesStaticMgcpScript) {
  GatewayConfig c = preset("static-mgcp");  // ports 0 and 1 have numbers 2001 and 2002
  Form f;
  f.net = 2;
  f.ip = "172.16.1.2";
  f.mask = "255.255.0.0";
  f.router = "172.16.1.1";
  f.dns = "172.16.1.53";
  f.cable = true;
  f.pc = 2;
  f.proto = 2;
  f.ca1 = "10.1.1.9";
  f.ca2 = "10.1.1.10";
  f.rows = {{"0", "2001"}, {"1", "2002"}};
  ScriptApplier::apply(script(f), c);

  EXPECT_EQ(c.wanType, WanType::Static);
  EXPECT_EQ(c.staticIp, "172.16.1.2");
  EXPECT_EQ(c.staticNetmask, "255.255.0.0");
  EXPECT_EQ(c.staticRouter, "172.16.1.1");
  EXPECT_EQ(c.dnsServer, "172.16.1.53");
  EXPECT_TRUE(c.cableModem);
  EXPECT_EQ(c.lanMode, LanMode::NoAddress);
  EXPECT_EQ(c.protocol, Protocol::Mgcp);
  EXPECT_EQ(c.callAgent1, "10.1.1.9");
  EXPECT_EQ(c.callAgent2, "10.1.1.10");
  EXPECT_EQ(c.potsPeers, (std::vector<PotsPeer>{{0, "2001", "0", true}, {1, "2002", "1", true}}));
  EXPECT_TRUE(c.voipPeers.empty());

  // Without a route or name server line the fixed address has none.
  f.router.clear();
  f.dns.clear();
  ScriptApplier::apply(script(f), c);
  EXPECT_EQ(c.staticRouter, "");
  EXPECT_EQ(c.dnsServer, "");
}

// Catches credentials split at the wrong blank when one side is empty, and a
// secondary gatekeeper taken for the primary.
TEST(ScriptApplierTest, EmptySidesAndSecondaryGatekeeper) {
  GatewayConfig c = preset("full");
  Form f = formFrom(c);
  f.upId.clear();  // only the password
  f.url = "";      // emptied by the user: "auto-upgrade  url  " alone
  f.pppId.clear();
  f.pppPw.clear();
  f.gk1.clear();
  ScriptApplier::apply(script(f), c);
  EXPECT_EQ(c.upgradeLogin, "");
  EXPECT_EQ(c.upgradePassword, "upg-secret");
  EXPECT_EQ(c.upgradeUrl, "");
  EXPECT_EQ(c.pppoeId, "");
  EXPECT_EQ(c.pppoePassword, "");
  EXPECT_EQ(c.gatekeeper1, "");
  EXPECT_EQ(c.gatekeeper2, "10.0.0.2");

  // Only the login this time.
  f.upId = "only";
  f.upPw.clear();
  ScriptApplier::apply(script(f), c);
  EXPECT_EQ(c.upgradeLogin, "only");
  EXPECT_EQ(c.upgradePassword, "");
}

// Catches a hand-typed short script wiping settings it does not mention.
TEST(ScriptApplierTest, ShortScriptChangesOnlyWhatItNames) {
  GatewayConfig c = preset("full");
  GatewayConfig expected = c;
  ScriptApplier::apply({"no service httpd", "service-port ftpd 2021", "sip-server 10.7.7.7"}, c);
  expected.findService("httpd")->enabled = false;
  expected.findService("ftpd")->port = "2021";
  expected.sipServer1 = "10.7.7.7";
  EXPECT_EQ(c, expected);
}

}  // namespace
}  // namespace gwsim
