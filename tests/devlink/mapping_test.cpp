// The reply field mapping: each reply's lines onto the pages' fields.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link_fixture.h"

using linktest::WiredLink;

namespace {

struct MapCase {
  const char* name;
  std::function<void(config::ConfigPages&)> before;
  std::vector<std::string_view> lines;  // fed with CR LF each
  std::function<void(const config::ConfigPages&)> check;
};

void RunCases(const std::vector<MapCase>& cases) {
  for (const MapCase& c : cases) {
    SCOPED_TRACE(c.name);
    WiredLink w;
    if (c.before) c.before(w.windows.pages);
    w.Lines(c.lines);
    c.check(w.windows.pages);
  }
}

// Catches network types mixed up between the WAN line shapes, address words
// taken from the wrong position, and fields cleared by lines that do not set them.
TEST(MapWan, NetworkTypesAndAddresses) {
  RunCases({
      {"pppoe",
       nullptr,
       {"get-wan", "interface ether0.0", "no ip address", "encapsulation pppoe",
        "ppp authentication pap callin", "ppp pap sent-username user1 password pass1"},
       [](const config::ConfigPages& p) {
         EXPECT_EQ(p.RG_Network_type.ItemIndex(), 0);
         EXPECT_EQ(p.ED_PPPoE_ID.Text(), "user1");
         EXPECT_EQ(p.ED_PPPoE_Password.Text(), "pass1");
         EXPECT_FALSE(p.CK_Cable_modem.Checked());
       }},
      {"dhcp keeps the addresses",
       [](config::ConfigPages& p) { p.ED_Static_IP_address.SetText("1.2.3.4"); },
       {"get-wan", "ip address dhcp", "qos-control 200 100"},
       [](const config::ConfigPages& p) {
         EXPECT_EQ(p.RG_Network_type.ItemIndex(), 1);
         EXPECT_EQ(p.ED_Static_IP_address.Text(), "1  .2  .3  .4  ");
         EXPECT_TRUE(p.CK_Cable_modem.Checked());
       }},
      {"fixed",
       nullptr,
       {"get-wan", "ip address 10.0.0.5 255.255.255.0", "route 0.0.0.0 0.0.0.0 10.0.0.1"},
       [](const config::ConfigPages& p) {
         EXPECT_EQ(p.RG_Network_type.ItemIndex(), 2);
         EXPECT_EQ(p.ED_Static_IP_address.Text(), "10 .0  .0  .5  ");
         EXPECT_EQ(p.ED_Static_Netmask.Text(), "255.255.255.0  ");
         EXPECT_EQ(p.ED_Static_router.Text(), "10 .0  .0  .1  ");
       }},
      {"other encapsulation and ppp lines do nothing",
       [](config::ConfigPages& p) { p.RG_Network_type.SetItemIndex(1); },
       {"get-wan", "encapsulation hdlc", "ppp echo interval 20"},
       [](const config::ConfigPages& p) {
         EXPECT_EQ(p.RG_Network_type.ItemIndex(), 1);
         EXPECT_EQ(p.ED_PPPoE_ID.Text(), "");
       }},
  });
}

// Catches rules that run on an unchanged choice, or do not run on a change.
TEST(MapWan, ChoiceRuleRunsOnlyOnAChange) {
  WiredLink w;
  int runs = 0;
  w.windows.pages.RG_Network_type.onClick = [&] { ++runs; };
  w.Lines({"get-wan", "ip address dhcp", "ip address dhcp"});
  EXPECT_EQ(runs, 1);
  w.Lines({"no ip address"});
  EXPECT_EQ(runs, 2);
}

// Catches the PC radios set in the wrong combination, or not exclusively.
TEST(MapLan, AttachmentRadios) {
  struct Row {
    const char* line;
    bool dhcp, pppoe, ip;
  };
  for (const Row r : {Row{"no ip address", false, false, true}, Row{"ip dhcp-group 0", true, false, false},
                      Row{"encapsulation pppoe", false, true, false}}) {
    WiredLink w;
    w.windows.pages.RB_PPPoE.SetChecked(true);
    w.Lines({"get-lan", r.line});
    const config::ConfigPages& p = w.windows.pages;
    EXPECT_EQ(p.RB_DHCP.Checked(), r.dhcp) << r.line;
    EXPECT_EQ(p.RB_PPPoE.Checked(), r.pppoe) << r.line;
    EXPECT_EQ(p.RB_IP.Checked(), r.ip) << r.line;
  }
}

// Catches the name server written into the wrong network type's field.
TEST(MapDns, FieldFollowsNetworkType) {
  for (int type : {0, 1, 2}) {
    WiredLink w;
    w.windows.pages.RG_Network_type.SetItemIndex(type);
    w.Lines({"get-dns-server", "dnshost  nameserver   10.0.0.53"});
    const config::ConfigPages& p = w.windows.pages;
    EXPECT_EQ(p.ED_PPPoE_DNS.IsEmpty(), type != 0) << type;
    EXPECT_EQ(p.ED_Static_DNS.IsEmpty(), type != 2) << type;
    if (type == 0) {
      EXPECT_EQ(p.ED_PPPoE_DNS.Text(), "10 .0  .0  .53 ");
    }
    EXPECT_TRUE(w.tcp.writes.empty());  // the series ends with this reply
  }
}

// Catches upgrade lines matched on the wrong word, the fields left disabled
// after "action", and the left-over match of an empty line.
TEST(MapAutoUpgrade, LinesByWordOne) {
  WiredLink w;
  config::ConfigPages& p = w.windows.pages;
  w.Lines({"get-auto-upgrade", "auto-upgrade  authentication login u1 password p1",
           "auto-upgrade  auto-reboot", "auto-upgrade  url  http://fw.example/x",
           "auto-upgrade  action auto"});
  EXPECT_EQ(p.ED_auto_upgrade_ID.Text(), "u1");
  EXPECT_EQ(p.ED_auto_upgrade_password.Text(), "p1");
  EXPECT_TRUE(p.CK_upgrade_complete_restart.Checked());
  EXPECT_EQ(p.ED_server_URL.Text(), "http://fw.example/x");
  EXPECT_TRUE(p.CK_auto_upgrade.Checked());
  for (const platform::Control* c : std::initializer_list<const platform::Control*>{
           &p.ED_server_URL, &p.ED_auto_upgrade_ID, &p.ED_auto_upgrade_password, &p.L_server_url,
           &p.L_auto_ID, &p.L_auto_password})
    EXPECT_TRUE(c->Enabled()) << c->Name();
  EXPECT_TRUE(w.tcp.writes.empty());

  // An empty line repeats the last match with the words left over.
  linktest::Feed(w.link, "auto-upgrade url http://a\r");
  p.ED_server_URL.SetText("changed");
  linktest::Feed(w.link, "\r");
  EXPECT_EQ(p.ED_server_URL.Text(), "http://a");

  w.Lines({"!END-TAG!"});
  EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-service\r"}));
}

// Catches a service check or port taken from the wrong word or the wrong box.
TEST(MapServices, ChecksAndPorts) {
  WiredLink w;
  config::ConfigPages& p = w.windows.pages;
  p.CK_service_http.SetChecked(true);
  w.Lines({"get-service", "service ftpd", "service telnetd", "service snmpd", "service tftpd",
           "service morvel", "no service httpd", "service sshd", "!END-TAG!"});
  EXPECT_TRUE(p.CK_service_ftp.Checked() && p.CK_service_telnet.Checked() && p.CK_service_SNMP.Checked() &&
              p.CK_service_TFTP.Checked() && p.CK_service_morvel.Checked());
  EXPECT_FALSE(p.CK_service_http.Checked());
  EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-service-port\r"}));

  w.Lines({"get-service-port", "service-port ftpd 2121", "service-port httpd 8080", "service-port snmpd 1161",
           "service-port telnetd 2323", "service-port tftpd 6969", "service-port morvel 5140",
           "service-port sshd 22", "!END-TAG!"});
  EXPECT_EQ(p.ED_service_ftp.Text(), "2121");
  EXPECT_EQ(p.ED_service_http.Text(), "8080");
  EXPECT_EQ(p.ED_service_SNMP.Text(), "1161");
  EXPECT_EQ(p.ED_service_telnet.Text(), "2323");
  EXPECT_EQ(p.ED_service_TFTP.Text(), "6969");
  EXPECT_EQ(p.ED_service_morvel.Text(), "5140");
  EXPECT_EQ(w.tcp.writes.back(), "get-version\r");
}

// Catches phone numbers written to the wrong rows, patterns of non-pots
// peers being held, and ports or types landing in the wrong grid cells.
TEST(MapVoip, PhoneGridFromPortsAndDialPeers) {
  WiredLink w;
  config::ConfigPages& p = w.windows.pages;
  platform::StringGrid& g = p.SG_VoIP_Phone_number;
  w.Lines({"get-voip", "voice-port 0", "! FXS", "voice-port 1", "! FXO", "voice-port 2", "! XYZ",
           "dial-peer voice 0 pots", "destination-pattern 1001", "port 0", "dial-peer voice 1 pots",
           "destination-pattern 1002", "port 1", "dial-peer voice 1000 voip", "destination-pattern T",
           "port 2"});
  ASSERT_EQ(g.RowCount(), 4);
  EXPECT_EQ(g.Cell(0, 1), "0");
  EXPECT_EQ(g.Cell(1, 1), "FXS");
  EXPECT_EQ(g.Cell(2, 1), "1001");
  EXPECT_EQ(g.Cell(0, 2), "1");
  EXPECT_EQ(g.Cell(1, 2), "FXO");
  EXPECT_EQ(g.Cell(2, 2), "1002");
  EXPECT_EQ(g.Cell(0, 3), "2");
  EXPECT_EQ(g.Cell(1, 3), "");
  EXPECT_EQ(g.Cell(2, 3), "");
  EXPECT_EQ(w.link.Record().PotsPeerCount(), 2);
  EXPECT_EQ(w.link.Record().PatternCount(), 3);

  // A second reply (the series run again) fills the grid from the start.
  w.Lines({"!END-TAG!", "get-voip", "voice-port 0"});
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.Cell(0, 1), "0");
  EXPECT_EQ(g.Cell(2, 1), "");
  EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-dns-server\r"}));
}

// Catches a gateway that grows the phone grid without limit: ports beyond the
// cap are passed over with one trace line, their "!" lines change no row, and
// a "port" line still finds the last row.
TEST(MapVoip, PhoneGridStopsAtItsCap) {
  WiredLink w;
  std::vector<std::string> lines{"get-voip"};
  for (int i = 0; i < devlink::kMaxVoicePorts + 3; ++i) {
    lines.push_back("voice-port " + std::to_string(i));
    lines.push_back(i < devlink::kMaxVoicePorts ? "! FXO" : "! FXS");
  }
  for (const char* l : {"dial-peer voice 0 pots", "destination-pattern 1063", "port 63"})
    lines.emplace_back(l);
  w.Lines(lines);
  const platform::StringGrid& g = w.windows.pages.SG_VoIP_Phone_number;
  ASSERT_EQ(g.RowCount(), devlink::kMaxVoicePorts + 1);
  EXPECT_EQ(g.Cell(0, 64), "63");
  EXPECT_EQ(g.Cell(1, 64), "FXO");
  EXPECT_EQ(g.Cell(2, 64), "1063");
  EXPECT_EQ(w.windows.trace.Lines(),
            std::vector<std::string>{"voice-port lines beyond 64 ports passed over"});
}

// Catches the second and later address lines going to the primary field, the
// protocol choice not following the line kinds, and words taken off by one.
TEST(MapVoip, ProtocolsAndAddresses) {
  RunCases({
      {"h323",
       nullptr,
       {"get-voip", "h323-id gw-1", "security password gksecret", "gkip 10.0.0.1", "gkip 10.0.0.2",
        "rule 0 [2-9]T 02%1", "rule 1 x 99%"},
       [](const config::ConfigPages& p) {
         EXPECT_EQ(p.RG_Protocol.ItemIndex(), 0);
         EXPECT_EQ(p.ED_H323_ID.Text(), "gw-1");
         EXPECT_EQ(p.ED_GK_password.Text(), "gksecret");
         EXPECT_EQ(p.ED_Gatekeeper_IP.Text(), "10 .0  .0  .1  ");
         EXPECT_EQ(p.ED_Gatekeeper_IP2.Text(), "10 .0  .0  .2  ");
         EXPECT_EQ(p.ED_NUM.Text(), "02");
       }},
      {"sip, third server overwrites the second",
       nullptr,
       {"get-voip", "sip-username 1001", "sip-password pw", "sip-server 10.0.0.5", "sip-server 10.0.0.6",
        "sip-server 10.0.0.7"},
       [](const config::ConfigPages& p) {
         EXPECT_EQ(p.RG_Protocol.ItemIndex(), 1);
         EXPECT_EQ(p.ED_SIP_Username.Text(), "1001");
         EXPECT_EQ(p.ED_SIP_password.Text(), "pw");
         EXPECT_EQ(p.ED_SIP_Server_1.Text(), "10 .0  .0  .5  ");
         EXPECT_EQ(p.ED_SIP_Server_2.Text(), "10 .0  .0  .7  ");
       }},
      {"mgcp",
       nullptr,
       {"get-voip", "call-agent 10.0.1.1 2427 128", "call-agent 10.0.1.2 2427 128"},
       [](const config::ConfigPages& p) {
         EXPECT_EQ(p.RG_Protocol.ItemIndex(), 2);
         EXPECT_EQ(p.ED_MGCP_CallAgent_1.Text(), "10 .0  .1  .1  ");
         EXPECT_EQ(p.ED_MGCP_CallAgent_2.Text(), "10 .0  .1  .2  ");
       }},
  });
}

// Catches a VoIP reply read twice (the series run again) filling the fields
// differently from once: its first gatekeeper went to the secondary field.
TEST(MapVoip, SecondReplyReadsAsTheFirst) {
  WiredLink w;
  w.Lines({"get-voip", "gkip 10.0.0.1", "!END-TAG!", "get-voip", "gkip 10.0.0.9"});
  EXPECT_EQ(w.windows.pages.ED_Gatekeeper_IP.Text(), "10 .0  .0  .9  ");
  EXPECT_EQ(w.windows.pages.ED_Gatekeeper_IP2.Text(), "   .   .   .   ");
}

// Catches the dial prefix kept in the number, the always-up mode forgotten
// for later lines, and the series not restarting after a PSTN reply.
TEST(MapPstn, ModemAndLogin) {
  WiredLink w;
  config::ConfigPages& p = w.windows.pages;
  p.RB_All_up.SetChecked(true);
  w.Lines({"get-pstn"});
  EXPECT_TRUE(p.RB_Dial_up.Checked());
  w.Lines({"modem 0 dialer ATDT0212345678", "ppp pap sent-username dial1 password dialpw"});
  EXPECT_EQ(p.ED_PSTN_dialing.Text(), "0212345678");
  EXPECT_EQ(p.ED_PSTN_login.Text(), "dial1");
  EXPECT_EQ(p.ED_PSTN_password.Text(), "dialpw");
  w.Lines({"modem 0 dialer ATDT"});
  EXPECT_EQ(p.ED_PSTN_dialing.Text(), "");
  w.Lines({"modem keep-active"});
  EXPECT_TRUE(w.link.Record().PstnAllUp());
  EXPECT_TRUE(p.RB_All_up.Checked());
  p.RB_Dial_up.SetChecked(true);
  w.Lines({"!END-TAG!"});
  EXPECT_TRUE(p.RB_All_up.Checked());
  EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-wan\r"}));
}

}  // namespace
