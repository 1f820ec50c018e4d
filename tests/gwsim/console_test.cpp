#include "gwsim/console.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "console_lines.h"

namespace gwsim {
namespace {

using test::splitLines;

struct Session {
  explicit Session(ConsoleOptions o = {}, GatewayConfig c = preset("pppoe-h323"))
      : config(std::move(c)), console(config, std::move(o), &counters) {}
  std::string feed(std::string_view in) { return console.feed(in); }
  std::string login() { return feed("start-login admin admin\r"); }
  GatewayConfig config;
  Counters counters;
  Console console;
};

// Catches line-editing faults: wrong line ends, CR LF read as two lines,
// leading blanks or ESC/backspace handled wrongly.
TEST(ConsoleTest, EchoesEachLineWithTheChosenLineEnd) {
  struct Row {
    const char* input;
    LineEnd end;
    const char* expected;
  } rows[] = {
      {"end\r", LineEnd::CrLf, "end\r\n"},
      {"end\r", LineEnd::Cr, "end\r"},
      {"end\r", LineEnd::Lf, "end\n"},
      {"end\n", LineEnd::CrLf, "end\r\n"},
      {"end\r\n", LineEnd::CrLf, "end\r\n"},      // CR LF is one line
      {"end\n\r", LineEnd::CrLf, "end\r\n\r\n"},  // LF CR is two
      {"\r", LineEnd::CrLf, "\r\n"},              // lone CR: empty echo
      {"\r\r", LineEnd::Lf, "\n\n"},
      {"   end\r", LineEnd::CrLf, "end\r\n"},  // blank key presses before a line
      {"xyz\x1b"
       "end\r",
       LineEnd::CrLf, "end\r\n"},               // ESC clears the line
      {"enx\bd\r", LineEnd::CrLf, "end\r\n"},   // backspace
      {"e\x01nd\r", LineEnd::CrLf, "end\r\n"},  // other control bytes are dropped
  };
  for (const auto& r : rows) {
    ConsoleOptions o;
    o.lineEnd = r.end;
    Session s(o);
    EXPECT_EQ(s.feed(r.input), r.expected) << "input " << testing::PrintToString(std::string(r.input));
  }
}

// Catches state lost between receive events: a conversation fed one byte at a
// time must give exactly the bytes it gives in one piece.
TEST(ConsoleTest, ByteByByteInputGivesTheSameOutput) {
  const std::string conversation =
      "\r\rend\rexit\r\x1b\x1b\r?start-login admin admin\r\nget-model\r\nget-wan\r      get-voip\r"
      "get-wan-status\rget-gatekeeper-status\r  write-system\r!START-TAG!\rservice ftpd\r!END-TAG!\r";
  Session whole, bytes;
  const std::string a = whole.feed(conversation);
  std::string b;
  for (const char c : conversation) b += bytes.feed(std::string_view(&c, 1));
  EXPECT_EQ(a, b);
  EXPECT_EQ(whole.config, bytes.config);
  EXPECT_TRUE(whole.config.findService("ftpd")->enabled);
}

// Catches a login that accepts wrong credentials or answers in another shape.
TEST(ConsoleTest, LoginAnswersOkOrIncorrect) {
  struct Row {
    const char* line;
    const char* answer;
    bool loggedIn;
  } rows[] = {
      {"start-login admin admin", "Login ok", true},
      {"start-login  admin   admin  ", "Login ok", true},
      {"start-login admin wrong", "Login incorrect", false},
      {"start-login Admin admin", "Login incorrect", false},
      {"start-login admin", "Login incorrect", false},
      {"start-login admin admin extra", "Login incorrect", false},
  };
  for (const auto& r : rows) {
    Session s;
    const auto lines = splitLines(s.feed(std::string(r.line) + "\r"));
    ASSERT_EQ(lines.size(), 2u) << r.line;
    EXPECT_EQ(words(lines[0])[0], "start-login");
    EXPECT_EQ(lines[1], r.answer);
    EXPECT_EQ(s.console.loggedIn(), r.loggedIn) << r.line;
  }
  Session s;
  s.login();
  s.feed("start-login admin nope\r");
  EXPECT_FALSE(s.console.loggedIn()) << "a failed login ends the earlier one";
  EXPECT_EQ(s.counters.loginsAccepted, 1u);
  EXPECT_EQ(s.counters.loginsRefused, 1u);
}

// Catches a console that leaks configuration before login, or that never
// ends a refused reply (the reader would wait for ever).
TEST(ConsoleTest, RefusesQueriesAndSaveBeforeLogin) {
  Session s;
  auto lines = splitLines(s.feed("get-wan\r"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "get-wan");
  EXPECT_EQ(lines[2], "!END-TAG!");
  EXPECT_EQ(lines[1].rfind("%", 0), 0u);

  lines = splitLines(s.feed("write-system\r!START-TAG!\r"));
  EXPECT_EQ(test::linesStarting(lines, "!START-TAG!").size(), 1u) << "no save without login: only the echo";
  EXPECT_EQ(s.counters.savesApplied, 0u);
}

// Catches a probe answer without a line that begins with "get-wan", or one
// that sits behind other help lines.
TEST(ConsoleTest, ProbeSequenceGetsHelpStartingWithGetWan) {
  Session s;
  const auto lines = splitLines(s.feed("\r\rend\rexit\r" + std::string(10, '\x1b') + "\r?"));
  // CR, CR, end, exit, CR echoes, then the help list.
  ASSERT_GT(lines.size(), 6u);
  EXPECT_EQ(lines[2], "end");
  EXPECT_EQ(lines[3], "exit");
  EXPECT_EQ(words(lines[5])[0], "get-wan");
  EXPECT_FALSE(s.console.loggedIn());

  // "?" inside a line is an ordinary character (a password may hold one).
  ConsoleOptions o;
  o.loginPassword = "a?b";
  Session q(o);
  EXPECT_EQ(splitLines(q.feed("start-login admin a?b\r")).back(), "Login ok");
}

// Catches a query reply without its echo or its closing marker.
TEST(ConsoleTest, EveryQueryIsEchoedAndEndsWithEndTag) {
  for (const auto& name : presetNames()) {
    Session s({}, preset(name));
    s.login();
    for (const char* q : {"get-model", "get-wan", "get-lan", "get-auto-upgrade", "get-service",
                          "get-service-port", "get-version", "get-voip", "get-dns-server", "get-pstn"}) {
      const auto lines = splitLines(s.feed(std::string(q) + "\r"));
      ASSERT_GE(lines.size(), 2u) << name << " " << q;
      EXPECT_EQ(lines.front(), q) << name;
      EXPECT_EQ(lines.back(), "!END-TAG!") << name << " " << q;
      EXPECT_EQ(test::linesStarting(lines, "!END-TAG!").size(), 1u) << name << " " << q;
    }
  }
}

// Catches a save handshake with missing or extra markers, or a script that is
// not applied (or applied before its end marker).
TEST(ConsoleTest, SaveHandshakeEchoesMarkersAndAppliesTheScript) {
  Session s;
  s.login();
  auto lines = splitLines(s.feed("\rwrite-system\r!START-TAG!\r"));
  EXPECT_EQ(lines, (std::vector<std::string>{"", "write-system", "!START-TAG!", "!START-TAG!"}));

  lines = splitLines(s.feed("interface ether0.0\rip address dhcp\r!\rservice ftpd\r"));
  EXPECT_EQ(lines, (std::vector<std::string>{"interface ether0.0", "ip address dhcp", "!", "service ftpd"}));
  EXPECT_EQ(s.config.wanType, WanType::Pppoe) << "nothing applied before the end marker";

  lines = splitLines(s.feed("!END-TAG!\r"));
  EXPECT_EQ(lines, (std::vector<std::string>{"!END-TAG!", "!END-TAG!"}));
  EXPECT_EQ(s.config.wanType, WanType::Dhcp);
  EXPECT_TRUE(s.config.findService("ftpd")->enabled);
  EXPECT_EQ(s.counters.savesApplied, 1u);

  // Back in command mode afterwards.
  EXPECT_EQ(splitLines(s.feed("get-model\r")).size(), 3u);
}

// Catches a save that cannot be cancelled, or a stray command taken as the
// start of a script.
TEST(ConsoleTest, SaveIsCancelledByEscapeOrAnotherCommand) {
  Session s;
  s.login();
  const GatewayConfig before = s.config;
  s.feed("write-system\r!START-TAG!\rservice ftpd\r\x1b");
  s.feed("!END-TAG!\r");
  EXPECT_EQ(s.config, before);
  EXPECT_EQ(s.counters.savesApplied, 0u);

  const auto lines = splitLines(s.feed("write-system\rget-model\r!START-TAG!\r"));
  EXPECT_EQ(test::linesStarting(lines, "model").size(), 1u);
  EXPECT_EQ(test::linesStarting(lines, "!START-TAG!").size(), 1u)
      << "get-model ended the wait for the script";
}

// Catches status output without its frame, pages of the wrong length, a
// prompt followed by a line end, or a pager that swallows text.
TEST(ConsoleTest, StatusIsFramedAndPaged) {
  ConsoleOptions o;
  o.pageLines = 5;
  Session s(o);
  s.login();
  std::string out = s.feed("get-wan-status\r");
  ASSERT_TRUE(out.ends_with("\r\n-- more --")) << out;
  auto lines = splitLines(out);
  ASSERT_EQ(lines.size(), 7u);  // echo, five lines, prompt
  EXPECT_EQ(lines[0], "get-wan-status");
  EXPECT_EQ(lines[1], "!START-TAG!");
  EXPECT_EQ(lines[2], "System Information");

  std::string all = out;
  int prompts = 1;
  for (int i = 0; i < 20 && s.console.paging(); ++i) {
    out = s.feed(" ");
    ASSERT_EQ(out.front(), ' ') << "the key press is echoed over the prompt";
    prompts += out.ends_with("-- more --") ? 1 : 0;
    all += out;
  }
  EXPECT_FALSE(s.console.paging());
  EXPECT_TRUE(all.ends_with("!END-TAG!\r\n"));
  EXPECT_EQ(s.feed(" "), "") << "a blank without a prompt is harmless";

  // Without paging: the same lines, without prompts and key echoes.
  ConsoleOptions unpaged;
  unpaged.pageLines = 0;
  Session u(unpaged);
  u.login();
  const auto expected = splitLines(u.feed("get-wan-status\r"));
  std::string joined = all;
  for (std::string::size_type p; (p = joined.find("-- more -- ")) != std::string::npos;) joined.erase(p, 11);
  EXPECT_EQ(splitLines(joined).size(), expected.size());
  EXPECT_GT(prompts, 1);
}

// Catches a pager that blocks a following command (the tool sends
// "get-gatekeeper-status" while the first page is still on screen).
TEST(ConsoleTest, CommandDuringPagingFlushesTheRest) {
  ConsoleOptions o;
  o.pageLines = 4;
  Session s(o);
  s.login();
  s.feed("get-wan-status\r");
  ASSERT_TRUE(s.console.paging());
  auto lines = splitLines(s.feed("get-gatekeeper-status\r  "));
  const auto endTag = std::find(lines.begin(), lines.end(), "!END-TAG!");
  const auto echo = std::find(lines.begin(), lines.end(), "get-gatekeeper-status");
  ASSERT_NE(echo, lines.end());
  EXPECT_LT(endTag, echo) << "the WAN status ends before the next reply starts";
  std::string all;
  for (const auto& l : lines) all += l + "\n";
  all += s.feed("\r");
  lines = splitLines(all);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "!END-TAG!"), 2);
  EXPECT_FALSE(s.console.paging());
}

// Catches fault switches that do not silence, or silence too much.
TEST(ConsoleTest, SilenceOptionsOnlyEcho) {
  ConsoleOptions o;
  o.silentLogin = true;
  Session s(o);
  EXPECT_EQ(splitLines(s.login()).size(), 1u);
  EXPECT_FALSE(s.console.loggedIn());

  ConsoleOptions q;
  q.silentQueries = {"get-voip"};
  Session t(q);
  t.login();
  EXPECT_EQ(splitLines(t.feed("get-voip\r")), (std::vector<std::string>{"get-voip"}));
  EXPECT_EQ(splitLines(t.feed("get-model\r")).size(), 3u);
}

// Catches reboot or end requests that are lost, or input that is still
// executed by a console that is going down.
TEST(ConsoleTest, RebootAndEndRequests) {
  Session s;
  s.login();
  const auto lines = splitLines(s.feed("reboot-system\rget-model\r"));
  EXPECT_EQ(lines.front(), "reboot-system");
  EXPECT_TRUE(test::linesStarting(lines, "model").empty());
  EXPECT_EQ(s.console.takeRequest(), Console::Request::Reboot);
  EXPECT_EQ(s.console.takeRequest(), Console::Request::None);
  EXPECT_EQ(s.counters.reboots, 1u);
  s.console.reset();
  EXPECT_FALSE(s.console.loggedIn());
  EXPECT_EQ(splitLines(s.feed("get-model\r")).size(), 3u);  // answered again (refused: logged out)

  s.login();
  s.feed("end-morvel\r");
  EXPECT_EQ(s.console.takeRequest(), Console::Request::EndSession);
  EXPECT_FALSE(s.console.loggedIn());
}

// Catches unbounded buffering of a line that never ends.
TEST(ConsoleTest, OverlongLineIsCapped) {
  Session s;
  s.feed(std::string(100000, 'x'));
  const auto lines = splitLines(s.feed("\r"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].size(), Console::kMaxLineLength);
}

}  // namespace
}  // namespace gwsim
