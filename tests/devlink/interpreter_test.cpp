// The reply interpreter: state selection, login, model check, the query
// series against the simulator's console, the version blanks and the save handshake.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/script_writer.h"
#include "gwsim/console.h"
#include "link_fixture.h"

using linktest::Feed;
using linktest::WiredLink;
using platform::Icon;
using platform::ScriptedMessageBoxes;

namespace {

/// The simulator's console at the far end of the TCP transport: every write
/// goes to the console, and what it prints waits to be delivered.
struct ConsoleGateway {
  gwsim::GatewayConfig config = gwsim::preset("full");
  gwsim::Console console;
  std::string out;

  static gwsim::ConsoleOptions Options(gwsim::LineEnd lineEnd) {
    gwsim::ConsoleOptions o;
    o.lineEnd = lineEnd;
    return o;
  }
  ConsoleGateway(linktest::RecordingTransport& t, gwsim::LineEnd lineEnd)
      : console(config, Options(lineEnd)) {
    t.onWrite = [this](const std::string& w) { out += console.feed(w); };
  }
  /// Delivers everything the gateway has to say, in chunks.
  void Pump(devlink::DeviceLink& c, size_t chunk) {
    while (!out.empty()) {
      const std::string bytes = std::move(out);
      out.clear();
      Feed(c, bytes, chunk);
    }
  }
};

std::vector<std::string> Commands(const std::vector<std::string>& writes) {
  std::vector<std::string> cmds;
  for (const std::string& w : writes)
    if (w != " ") cmds.push_back(w);
  return cmds;
}

int Blanks(const std::vector<std::string>& writes) {
  int n = 0;
  for (const std::string& w : writes) n += w == " ";
  return n;
}

// Catches a wrong query order, a series that stalls or runs past the DNS
// reply or does not tell the windows it ended complete, missing blank sends,
// and line handling that depends on the chunking or the line-end convention.
TEST(QuerySeries, WholeReadOutFromTheConsole) {
  const std::vector<std::string> expected = {"start-login admin admin\r",
                                             "get-model\r",
                                             "get-wan\r",
                                             "get-lan\r",
                                             "get-auto-upgrade\r",
                                             "get-service\r",
                                             "get-service-port\r",
                                             "get-version\r",
                                             "get-voip\r",
                                             "get-dns-server\r"};
  for (const gwsim::LineEnd lineEnd : {gwsim::LineEnd::CrLf, gwsim::LineEnd::Cr, gwsim::LineEnd::Lf}) {
    for (size_t chunk : {size_t(1), size_t(5), size_t(64), size_t(100000)}) {
      WiredLink w;
      ConsoleGateway gw(w.tcp, lineEnd);
      w.windows.loginShown = true;
      w.link.SendLogin("admin", "admin");
      gw.Pump(w.link, chunk);

      const bool crlf = lineEnd == gwsim::LineEnd::CrLf;
      const std::string where =
          "line end " + std::to_string(int(lineEnd)) + ", chunk " + std::to_string(chunk);
      EXPECT_EQ(Commands(w.tcp.writes), expected) << where;
      // Version echo, version line and its end: six blanks per line, twice
      // as many lines with CR LF.
      EXPECT_EQ(Blanks(w.tcp.writes), crlf ? 36 : 18) << where;
      auto voip = std::find(w.tcp.writes.begin(), w.tcp.writes.end(), "get-voip\r");
      ASSERT_NE(voip, w.tcp.writes.end());
      for (int i = 1; i <= 6; ++i) EXPECT_EQ(*(voip + i), " ") << where;
      EXPECT_FALSE(w.windows.loginShown) << where;
      EXPECT_FALSE(w.windows.pagesCovered) << where;
      EXPECT_TRUE(w.windows.saveEnabled && w.windows.restartEnabled) << where;
      EXPECT_EQ(w.link.Record().ReplyState(), devlink::Reply::Dns) << where;
      ASSERT_EQ(w.windows.endings.size(), 1u) << where;
      EXPECT_EQ(w.windows.endings[0].conversation, devlink::Conversation::ReadOut) << where;
      EXPECT_EQ(w.windows.endings[0].outcome, devlink::Outcome::Complete) << where;

      const config::ConfigPages& p = w.windows.pages;
      EXPECT_EQ(p.L_model.Caption(), "MVG-2800") << where;
      EXPECT_EQ(p.L_version.Caption(), gw.config.version) << where;
      EXPECT_EQ(p.RG_Network_type.ItemIndex(), 0) << where;
      EXPECT_EQ(p.ED_PPPoE_ID.Text(), gw.config.pppoeId) << where;
      EXPECT_EQ(p.ED_PPPoE_DNS.Text(), platform::AddressEdit::Place(gw.config.dnsServer)) << where;
      EXPECT_TRUE(p.RB_DHCP.Checked()) << where;
      EXPECT_EQ(p.ED_server_URL.Text(), gw.config.upgradeUrl) << where;
      EXPECT_TRUE(p.CK_auto_upgrade.Checked() && p.CK_upgrade_complete_restart.Checked()) << where;
      EXPECT_TRUE(p.CK_service_ftp.Checked() && p.CK_service_morvel.Checked()) << where;
      EXPECT_EQ(p.ED_service_http.Text(), "8080") << where;
      EXPECT_EQ(p.RG_Protocol.ItemIndex(), 0) << where;
      EXPECT_EQ(p.ED_Gatekeeper_IP2.Text(), platform::AddressEdit::Place(gw.config.gatekeeper2)) << where;
      EXPECT_EQ(p.ED_NUM.Text(), "031") << where;
      ASSERT_EQ(p.SG_VoIP_Phone_number.RowCount(), 5) << where;
      EXPECT_EQ(p.SG_VoIP_Phone_number.Cell(1, 4), "E&M") << where;
      EXPECT_EQ(p.SG_VoIP_Phone_number.Cell(2, 3), "1003") << where;
      EXPECT_EQ(p.SG_VoIP_Phone_number.Cell(2, 4), "") << where;
    }
  }
}

// Catches selecting a state by prefix instead of whole words, forgetting the
// probe flag, and lines changing the state when no command word matches.
TEST(StateSelection, EchoWordPicksTheState) {
  struct Row {
    const char* line;
    int32_t state;
  };
  const Row rows[] = {{"get-wan", 1},
                      {"get-lan", 2},
                      {"get-dns-server", 3},
                      {"get-auto-upgrade", 4},
                      {"start-login", 7},
                      {"get-service", 5},
                      {"get-service-port", 6},
                      {"get-version", 8},
                      {"get-model", 9},
                      {"get-voip", 12},
                      {"get-gatekeeper-status", 15},
                      {"get-wan-status", 16},
                      {"get-pstn", 17},
                      {"get-wanx", 13},
                      {"GET-WAN", 13}};
  for (const Row& r : rows) {
    WiredLink w;
    w.link.StartIn(devlink::LinkState().Reading(devlink::Reply::Save));
    Feed(w.link, std::string(r.line) + "\r");
    EXPECT_EQ(w.link.Record().ReplyState(), devlink::Reply(r.state)) << r.line;
    EXPECT_EQ(w.link.Record().ProbeAnswered(), r.state == 1) << r.line;
  }
  // Status states and the start state read nothing.
  for (int32_t s : {0, 15, 16}) {
    WiredLink w;
    w.link.StartIn(devlink::LinkState().Reading(devlink::Reply(s)));
    Feed(w.link, "!END-TAG!\rLogin ok\rmodel X\r");
    EXPECT_TRUE(w.tcp.writes.empty()) << s;
  }
}

// Catches a login accepted on the wrong words, a missing retry after a
// refusal, and the message shown with the wrong text, caption or icon.
TEST(Login, AnswerLines) {
  {
    WiredLink w;
    w.windows.loginShown = true;
    w.link.StartIn(devlink::LinkState().Reading(devlink::Reply::Login));
    Feed(w.link, "start-login a b\r\nLogin ok\r\n");
    EXPECT_FALSE(w.windows.loginShown);
    EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-model\r"}));
    EXPECT_EQ(w.windows.trace.Lines(),
              (std::vector<std::string>{"Login OK!!", "Send_Message : get-model\r"}));
  }
  for (const char* other : {"Login OK\r", "Login\r", "login ok\r", "Login maybe\r"}) {
    WiredLink w;
    ScriptedMessageBoxes boxes;
    w.link.StartIn(devlink::LinkState().Reading(devlink::Reply::Login));
    Feed(w.link, other);
    EXPECT_TRUE(w.tcp.writes.empty()) << other;
    EXPECT_TRUE(boxes.Shown().empty()) << other;
    EXPECT_EQ(w.link.Record().ReplyState(), devlink::Reply::Login);
  }
  {
    WiredLink w;
    ScriptedMessageBoxes boxes;
    bool loginShownWhileBoxOpen = true;
    boxes.whileOpen = [&](const platform::MessageBox&) { loginShownWhileBoxOpen = w.windows.loginShown; };
    w.link.StartIn(devlink::LinkState().Reading(devlink::Reply::Login));
    Feed(w.link, "Login incorrect\r");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0],
              (platform::MessageBox{"Id or password is not correct", "Error", Icon::Error}));
    EXPECT_FALSE(loginShownWhileBoxOpen);
    EXPECT_TRUE(w.windows.loginShown);
    EXPECT_EQ(w.windows.trace.Lines(), (std::vector<std::string>{"Login Incorrect!!"}));
    EXPECT_EQ(w.link.Record().ReplyState(), devlink::Reply::Login);
  }
}

// Catches a refused model uncovering the pages, an accepted one staying
// covered, wrong trace lines, and the series stopping after a refusal.
TEST(ModelCheck, RefusedAndAcceptedModels) {
  struct Row {
    const char* model;
    bool refused;
    const char* prefix;
  };
  const Row rows[] = {{"RN420", true, "RN420"},
                      {"RN420-PLUS", true, "RN420"},
                      {"XRN420", false, "XRN42"},
                      {"RN42", false, "RN42"},
                      {"MVG-2400", false, "MVG-2"}};
  for (const Row& r : rows) {
    WiredLink w;
    ScriptedMessageBoxes boxes;
    Feed(w.link, "get-model\r\nmodel " + std::string(r.model) + "\r\n!END-TAG!\r\n");
    const std::string cmp = std::string(r.prefix) + " : RN420";
    EXPECT_EQ(w.windows.trace.Lines(), (std::vector<std::string>{cmp, r.refused ? "re : 0" : "re : -1", cmp,
                                                                 "Send_Message : get-wan\r"}))
        << r.model;
    EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-wan\r"})) << r.model;
    if (r.refused) {
      ASSERT_EQ(boxes.Shown().size(), 1u);
      EXPECT_EQ(boxes.Shown()[0],
                (platform::MessageBox{"Access denied. Use Morvel S/W for RN420.", "Error", Icon::Error}));
      EXPECT_TRUE(w.windows.pagesCovered);
      EXPECT_FALSE(w.windows.saveEnabled || w.windows.restartEnabled);
      EXPECT_EQ(w.windows.pages.L_model.Caption(), "");
    } else {
      EXPECT_TRUE(boxes.Shown().empty());
      EXPECT_FALSE(w.windows.pagesCovered);
      EXPECT_TRUE(w.windows.saveEnabled && w.windows.restartEnabled);
      EXPECT_EQ(w.windows.pages.L_model.Caption(), r.model);
    }
  }
}

// Catches blank sends missing for the echo, for the empty line of a CR LF
// pair, or sent before the "get-voip" query.
TEST(VersionReply, SixBlanksAfterEveryLine) {
  WiredLink w;
  Feed(w.link, "get-version\r\n");
  EXPECT_EQ(w.tcp.writes, std::vector<std::string>(12, " "));

  WiredLink v;
  Feed(v.link, "get-version\rversion 2.35.07 build 3\r\n!END-TAG!\r\n");
  std::vector<std::string> expected(18, " ");
  expected.push_back("get-voip\r");
  expected.insert(expected.end(), 12, " ");
  EXPECT_EQ(v.tcp.writes, expected);
  EXPECT_EQ(v.windows.pages.L_version.Caption(), "2.35.07");
}

std::vector<std::string> ScriptWrites(const config::ConfigPages& pages) {
  std::vector<std::string> out;
  for (const std::string& l : config::ConfigurationScript(pages)) out.push_back(l + "\r");
  out.push_back("!END-TAG!\r");
  return out;
}

// Catches the script sent at the wrong marker, the confirmation shown at the
// first end marker or once more for a later one, and a script made from what
// the pages hold when the gateway asks instead of what Save was given.
TEST(SaveHandshake, MarkersCountAndRepeat) {
  WiredLink w;
  ScriptedMessageBoxes boxes;
  const std::vector<std::string> script = ScriptWrites(w.windows.pages);
  w.link.BeginSave(config::ConfigurationScript(w.windows.pages));
  EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"\r", "write-system\r", "!START-TAG!\r"}));
  w.windows.pages.ED_H323_ID.SetText("edited after the click");
  w.tcp.writes.clear();
  w.windows.trace.Clear();
  Feed(w.link, "write-system\r\n!START-TAG!\r\n");
  EXPECT_EQ(w.link.Record().StartTagCount(), 1);
  EXPECT_TRUE(w.tcp.writes.empty());

  Feed(w.link, "!START-TAG!\r\n");
  EXPECT_EQ(w.tcp.writes, script);
  EXPECT_EQ(w.windows.trace.Lines(), (std::vector<std::string>{"Send_Message : !END-TAG!\r"}));
  EXPECT_EQ(w.link.Record().ReplyState(), devlink::Reply::Save);

  Feed(w.link, "ip-share  enable\r\n!START-TAG!\r\n");
  EXPECT_EQ(w.tcp.writes.size(), 2 * script.size());

  Feed(w.link, "!END-TAG!\r\n");
  EXPECT_EQ(w.link.Record().EndTagCount(), 1);
  EXPECT_TRUE(boxes.Shown().empty());
  Feed(w.link, "!END-TAG!\r\n!END-TAG!\r");
  const platform::MessageBox done{"Save was complete\rPlease restart, if you want to apply to a modification",
                                  "OK", Icon::Information};
  EXPECT_EQ(boxes.Shown(), (std::vector<platform::MessageBox>{done}));
  EXPECT_EQ(w.link.Running(), devlink::Conversation::None);

  Feed(w.link, "get-wan\r");
  EXPECT_EQ(w.link.Record().ReplyState(), devlink::Reply::Wan);
}

// Catches a script writer that goes on after a failed write, or a save that
// then waits forever or says nothing.
TEST(SaveHandshake, FailedWriteEndsTheScript) {
  WiredLink w;
  ScriptedMessageBoxes boxes;
  w.link.BeginSave(config::ConfigurationScript(w.windows.pages));
  w.tcp.failOnWrite = 6;  // the third line of the script
  Feed(w.link, "write-system\r\n!START-TAG!\r\n!START-TAG!\r");
  EXPECT_EQ(w.tcp.writes.size(), 5u);
  EXPECT_EQ(w.link.Running(), devlink::Conversation::None);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "The configuration was NOT saved: the link failed: write failed.");
}

// Catches a receive nested inside a message box (a real box runs the event
// loop) that glues its first word to the interrupted line, lands in the wrong
// slot, or has its unfinished word wiped when the interrupted pass resumes.
TEST(Reentrancy, ReceiveInsideAMessageBox) {
  {
    WiredLink w;
    ScriptedMessageBoxes boxes;
    boxes.whileOpen = [&](const platform::MessageBox&) { Feed(w.link, "Login ok\r"); };
    w.link.StartIn(devlink::LinkState().Reading(devlink::Reply::Login));
    Feed(w.link, "Login incorrect\r");
    EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-model\r"}));
    EXPECT_EQ(w.windows.trace.Lines(),
              (std::vector<std::string>{"Login Incorrect!!", "Login OK!!", "Send_Message : get-model\r"}));
  }
  {
    WiredLink w;
    ScriptedMessageBoxes boxes;
    std::string many;
    for (int i = 0; i < 3000; ++i) many += "x" + std::to_string(i) + " ";
    boxes.whileOpen = [&](const platform::MessageBox&) {
      Feed(w.link, many + "\r", 7);  // fills and overruns the table
      Feed(w.link, "get-");          // unfinished when the box closes
    };
    w.link.StartIn(devlink::LinkState().Reading(devlink::Reply::Login));
    Feed(w.link, "Login incorrect\rwan\r");
    EXPECT_EQ(w.link.Record().ReplyState(), devlink::Reply::Wan);
    EXPECT_TRUE(w.link.Record().ProbeAnswered());
  }
}

}  // namespace
