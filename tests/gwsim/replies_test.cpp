#include "gwsim/replies.h"

#include <gtest/gtest.h>

#include <map>

#include "console_lines.h"

namespace gwsim {
namespace {

using Words = std::vector<std::string>;
using test::linesStarting;

std::vector<std::string> reply(const char* q, const GatewayConfig& c) {
  std::vector<std::string> lines;
  EXPECT_TRUE(replies::query(q, c, lines)) << q;
  return lines;
}

// Catches a reply line shorter than the word positions a reader takes from
// it: such a reader would pick up a word left over from an earlier line.
TEST(RepliesTest, PositionalLinesAreNeverShort) {
  // first word (and second, when it matters) -> words the line must have
  const std::map<std::string, std::size_t> minWords{
      {"model", 2},        {"version", 2},      {"ip", 3},
      {"route", 4},        {"dnshost", 3},      {"service-port", 3},
      {"voice-port", 2},   {"dial-peer", 4},    {"destination-pattern", 2},
      {"port", 2},         {"h323-id", 2},      {"security", 3},
      {"gkip", 2},         {"rule", 4},         {"sip-server", 2},
      {"sip-username", 2}, {"sip-password", 2}, {"call-agent", 2}};
  for (const auto& name : presetNames()) {
    for (auto c : {preset(name), GatewayConfig{}}) {
      for (const auto& q : replies::queryNames()) {
        for (const auto& line : reply(q.c_str(), c)) {
          const auto w = words(line);
          ASSERT_FALSE(w.empty()) << q << ": empty line";
          if (auto it = minWords.find(w[0]); it != minWords.end()) {
            EXPECT_GE(w.size(), it->second) << name << " " << q << ": \"" << line << "\"";
          }
          if (w[0] == "ppp" && w.size() > 2 && (w[1] == "pap" || w[2] == "sent-username")) {
            EXPECT_EQ(w.size(), 6u) << line;
          }
          if (w[0] == "auto-upgrade" && w[1] == "authentication") {
            EXPECT_EQ(w.size(), 6u) << line;
          }
          if (w[0] == "auto-upgrade" && w[1] == "url") {
            EXPECT_EQ(w.size(), 3u) << line;
          }
          if (w[0] == "modem" && w.size() > 2 && w[2] == "dialer") {
            EXPECT_EQ(w.size(), 4u) << line;
          }
          if (w[0] == "no" && q == "get-service") {
            EXPECT_EQ(w.size(), 3u) << line;
          }
        }
      }
    }
  }
}

// Catches values in the wrong word position of the WAN, LAN and DNS replies.
TEST(RepliesTest, WanLanAndDnsShapes) {
  const auto pppoe = preset("pppoe-h323");
  auto lines = reply("get-wan", pppoe);
  ASSERT_EQ(linesStarting(lines, "encapsulation").size(), 1u);
  EXPECT_EQ(linesStarting(lines, "encapsulation")[0][1], "pppoe");
  const auto pap = linesStarting(lines, "ppp");
  bool sawPap = false;
  for (const auto& w : pap)
    if (w[1] == "pap") {
      sawPap = true;
      EXPECT_EQ(w[3], pppoe.pppoeId);
      EXPECT_EQ(w[5], pppoe.pppoePassword);
    }
  EXPECT_TRUE(sawPap);
  EXPECT_TRUE(linesStarting(lines, "qos-control").empty());
  EXPECT_EQ(linesStarting(reply("get-dns-server", pppoe), "dnshost")[0][2], pppoe.dnsServer);

  const auto dhcp = preset("dhcp-sip");
  lines = reply("get-wan", dhcp);
  EXPECT_EQ(linesStarting(lines, "ip")[0][2], "dhcp");
  EXPECT_EQ(linesStarting(lines, "qos-control")[0], (Words{"qos-control", "200", "100"}));

  const auto fixed = preset("static-mgcp");
  lines = reply("get-wan", fixed);
  EXPECT_EQ(linesStarting(lines, "ip")[0], (Words{"ip", "address", fixed.staticIp, fixed.staticNetmask}));
  EXPECT_EQ(linesStarting(lines, "route")[0][3], fixed.staticRouter);

  // LAN: the decisive line comes last, after "no ip address".
  struct Row {
    LanMode mode;
    const char* last;
  } rows[] = {
      {LanMode::DhcpGroup, "ip"}, {LanMode::PppoeServer, "encapsulation"}, {LanMode::NoAddress, "no"}};
  for (const auto& r : rows) {
    GatewayConfig c;
    c.lanMode = r.mode;
    std::string decisive;
    for (const auto& l : reply("get-lan", c)) {
      const auto w = words(l);
      if (w[0] == "no" || w[0] == "ip" || w[0] == "encapsulation") decisive = w[0];
    }
    EXPECT_EQ(decisive, r.last) << toString(r.mode);
  }
}

// Catches service, port, upgrade and version lines in the wrong shape, and
// lines printed for empty values.
TEST(RepliesTest, ServiceUpgradeAndVersionShapes) {
  const auto full = preset("full");
  auto lines = reply("get-service", full);
  EXPECT_EQ(linesStarting(lines, "service").size(), 6u);
  GatewayConfig c;  // ftpd off, httpd on
  lines = reply("get-service", c);
  EXPECT_EQ(linesStarting(lines, "no")[0], (Words{"no", "service", "ftpd"}));
  EXPECT_EQ(linesStarting(lines, "service")[0], (Words{"service", "httpd"}));

  lines = reply("get-service-port", full);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(words(lines[0]), (Words{"service-port", "ftpd", "2121"}));
  c.services[0].port.clear();
  EXPECT_EQ(reply("get-service-port", c).size(), 5u);

  lines = reply("get-auto-upgrade", full);
  std::map<std::string, Words> byWord1;
  for (const auto& l : lines) byWord1[words(l)[1]] = words(l);
  EXPECT_EQ(byWord1["authentication"][3], "upg");
  EXPECT_EQ(byWord1["authentication"][5], "upg-secret");
  EXPECT_EQ(byWord1["url"][2], full.upgradeUrl);
  EXPECT_EQ(byWord1.count("auto-reboot"), 1u);
  EXPECT_EQ(byWord1["action"][2], "auto");
  EXPECT_TRUE(reply("get-auto-upgrade", GatewayConfig{}).empty());

  EXPECT_EQ(reply("get-version", full), (std::vector<std::string>{"version " + full.version}));
  EXPECT_EQ(reply("get-model", full), (std::vector<std::string>{"model MVG-2800"}));
}

// Catches VoIP replies that a port-by-port reader would misfile: a type line
// not right after its voice-port line, a pattern not before its port line,
// the wrong protocol's addresses, the rule in the wrong word.
TEST(RepliesTest, VoipShapesPerProtocol) {
  const auto full = preset("full");
  const auto lines = reply("get-voip", full);
  std::vector<std::pair<std::string, std::string>> ports;  // name, type
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto w = words(lines[i]);
    if (w[0] != "voice-port") continue;
    ASSERT_LT(i + 1, lines.size());
    const auto t = words(lines[i + 1]);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], "!");
    ports.emplace_back(w[1], t[1]);
  }
  EXPECT_EQ(ports, (std::vector<std::pair<std::string, std::string>>{
                       {"0", "FXS"}, {"1", "FXS"}, {"2", "FXO"}, {"3", "E&M"}}));

  // Pots peers: pattern then port, inside one block.
  std::map<std::string, std::string> numbers;
  std::string held;
  int pots = 0;
  for (const auto& l : lines) {
    const auto w = words(l);
    if (w[0] == "dial-peer" && w[3] == "pots") ++pots;
    if (w[0] == "destination-pattern") held = w[1];
    if (w[0] == "port") numbers[w[1]] = std::exchange(held, "");
  }
  EXPECT_EQ(pots, 3);
  EXPECT_EQ(numbers, (std::map<std::string, std::string>{{"0", "1001"}, {"1", "1002"}, {"2", "1003"}}));

  EXPECT_EQ(linesStarting(lines, "gkip").size(), 2u);
  EXPECT_EQ(linesStarting(lines, "gkip")[0], (Words{"gkip", "10.0.0.1", "1719", "128"}));
  EXPECT_EQ(linesStarting(lines, "gkip")[1], (Words{"gkip", "10.0.0.2", "1719", "129"}));
  EXPECT_EQ(linesStarting(lines, "h323-id")[0][1], "gw1001");
  EXPECT_EQ(linesStarting(lines, "security")[0][2], "gk-secret");
  const auto rule = linesStarting(lines, "rule");
  ASSERT_EQ(rule.size(), 1u);
  EXPECT_EQ(rule[0][1], "0");
  EXPECT_EQ(rule[0][3], "031%01%99");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "rule 0  [2-9]T     031%01%99"), lines.end());
  EXPECT_TRUE(linesStarting(lines, "sip-server").empty()) << "only the protocol in use is shown";
  EXPECT_TRUE(linesStarting(lines, "call-agent").empty());

  const auto sip = reply("get-voip", preset("dhcp-sip"));
  EXPECT_EQ(linesStarting(sip, "sip-server")[0][1], "10.0.0.5");
  EXPECT_EQ(linesStarting(sip, "sip-username")[0][1], "1001");
  EXPECT_EQ(linesStarting(sip, "sip-password")[0][1], "sip-secret");
  EXPECT_TRUE(linesStarting(sip, "gkip").empty());

  const auto mgcp = reply("get-voip", preset("static-mgcp"));
  EXPECT_EQ(linesStarting(mgcp, "call-agent")[0], (Words{"call-agent", "10.0.0.9", "2427", "128"}));
  EXPECT_EQ(linesStarting(mgcp, "application").size(), 2u);
  EXPECT_EQ(linesStarting(mgcp, "destination-pattern").size(), 2u) << "the numbers stay visible under MGCP";
}

// Catches PSTN lines whose dialer word is not prefix + number in word 3.
TEST(RepliesTest, PstnShapes) {
  auto lines = reply("get-pstn", preset("pppoe-h323"));
  const auto modem = linesStarting(lines, "modem");
  ASSERT_EQ(modem.size(), 1u);
  EXPECT_EQ(modem[0][2], "dialer");
  EXPECT_EQ(modem[0][3], "ATDT5551234");
  const auto ppp = linesStarting(lines, "ppp");
  bool sawUser = false;
  for (const auto& w : ppp)
    if (w.size() > 2 && w[2] == "sent-username") {
      sawUser = true;
      EXPECT_EQ(w[3], "pstnuser");
      EXPECT_EQ(w[5], "pstn-secret");
    }
  EXPECT_TRUE(sawUser);

  lines = reply("get-pstn", preset("dhcp-sip"));
  EXPECT_EQ(linesStarting(lines, "modem")[0], (Words{"modem", "keep-active"}));
}

// Catches status text without its frame or the "System Information" line.
TEST(RepliesTest, StatusFramesAndHelp) {
  for (const auto& name : presetNames()) {
    for (const auto& status :
         {replies::wanStatus(preset(name), 100), replies::gatekeeperStatus(preset(name), 100)}) {
      EXPECT_EQ(status.front(), "!START-TAG!");
      EXPECT_EQ(status.back(), "!END-TAG!");
      for (std::size_t i = 1; i + 1 < status.size(); ++i)
        EXPECT_TRUE(status[i].find("-TAG!") == std::string::npos && status[i] != "-- more --");
    }
  }
  const auto wan = replies::wanStatus(preset("full"), 0);
  EXPECT_NE(std::find(wan.begin(), wan.end(), "System Information"), wan.end());
  EXPECT_EQ(words(replies::help().front())[0], "get-wan");
}

}  // namespace
}  // namespace gwsim
