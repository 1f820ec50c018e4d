// The connection log on its own: what it masks, how a connection's file
// reads, the limits on the files kept, and a place it cannot write to.
#include "devlink/connection_log.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <regex>
#include <sstream>

namespace devlink {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FileLines(const fs::path& p) {
  std::ifstream in(p);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

std::vector<std::string> LogNames(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ConnectionLogTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  fs::path dir = fs::path(tmp.path().toStdString()) / "morvel_config";
  std::vector<std::string> reports;
  ConnectionLog log{dir, [this](std::string line) { reports.push_back(std::move(line)); }};
};

// Catches a secret that reaches the log: each line shape of the console that
// carries a password, as sent, traced or echoed; and lines masked that hold none.
TEST(MaskSecrets, EveryPasswordOfTheConsoleIsMasked) {
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"start-login admin s3cret", "start-login admin ***"},
      {"Send_Message : start-login admin s3cret", "Send_Message : start-login admin ***"},
      {"start-login  s3cret", "start-login  ***"},  // an empty ID
      {"ppp pap sent-username user@isp password pw", "ppp pap sent-username user@isp password ***"},
      {"auto-upgrade  authentication login id password pw",
       "auto-upgrade  authentication login id password ***"},
      {"security password gk pw", "security password ***"},
      {"sip-password pw", "sip-password ***"},
      {"start-login admin", "start-login admin"},
      {"password", "password"},
      {"Login ok", "Login ok"},
      {"no-password-here x", "no-password-here x"},
  };
  for (const auto& [line, masked] : rows) EXPECT_EQ(MaskSecrets(line), masked) << line;
}

// Catches a log that loses the transport's opening line, keeps the CR of sent
// lines, splits or joins received lines wrongly (CR LF is one end, chunks may
// cut a line and its secret anywhere), leaks a secret cut across chunks, or
// drops the line still open at the disconnect.
TEST_F(ConnectionLogTest, OneTimestampedLinePerEvent) {
  log.Trace("Connected...");
  log.Begin();
  log.Trace("Send_Message : start-login admin s3cret\r");
  log.Received("start-login admin s3");
  log.Received("cret\r\nLogin ok\r\n\x1b[0m\rget-model");
  log.Sent("security password gk");
  log.End();
  log.Trace("Disconnected...");

  const std::vector<std::string> lines = FileLines(log.File());
  ASSERT_EQ(lines.size(), 7u) << log.File();
  const std::regex stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");
  std::vector<std::string> events;
  for (const std::string& l : lines) {
    EXPECT_TRUE(std::regex_search(l, stamp)) << l;
    events.push_back(l.substr(24));
  }
  EXPECT_EQ(events,
            (std::vector<std::string>{"trace Connected...", "trace Send_Message : start-login admin ***",
                                      "recv  start-login admin ***", "recv  Login ok", "recv  \\x1B[0m",
                                      "sent  security password ***", "recv  get-model"}));
  EXPECT_TRUE(reports.empty());
}

// Catches files kept beyond the limits (their number, their bytes), the wrong
// ones removed, or files that are not logs removed with them.
TEST_F(ConnectionLogTest, OldestFilesGoBeyondTheLimits) {
  fs::create_directories(dir);
  for (int i = 0; i < 55; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "2000-01-01_00-00-%02d.log", i);
    std::ofstream(dir / name) << "old\n";
  }
  std::ofstream(dir / "notes.txt") << "kept\n";
  log.Begin();
  std::vector<std::string> names = LogNames(dir);
  ASSERT_EQ(names.size(), ConnectionLog::kMaxFiles + 1);
  EXPECT_EQ(names.front(), "2000-01-01_00-00-06.log");
  EXPECT_EQ(names.back(), "notes.txt");
  EXPECT_EQ(names[names.size() - 2], log.File().filename().string());
  log.End();

  fs::remove_all(dir);
  fs::create_directories(dir);
  const uintmax_t eight = 8u * 1024 * 1024;
  for (const char* name : {"2000-01-01_00-00-01.log", "2000-01-01_00-00-02.log", "2000-01-01_00-00-03.log"}) {
    std::ofstream(dir / name).close();
    fs::resize_file(dir / name, eight);
  }
  log.Begin();
  const std::string first = log.File().filename().string();
  EXPECT_EQ(LogNames(dir),
            (std::vector<std::string>{"2000-01-01_00-00-02.log", "2000-01-01_00-00-03.log", first}));
  log.End();
  // Within a connection the limit is kept as its file grows.
  fs::resize_file(dir / "2000-01-01_00-00-02.log", ConnectionLog::kMaxBytes - eight - 60);
  log.Begin();
  log.Trace("Send_Message : get-wan\r");
  EXPECT_EQ(LogNames(dir).size(), 4u);
  log.Trace("Send_Message : get-wan\r");
  EXPECT_EQ(LogNames(dir),
            (std::vector<std::string>{"2000-01-01_00-00-03.log", first, log.File().filename().string()}));
  EXPECT_TRUE(reports.empty());
}

// Catches a log that stops the tool (an exception, a crash) where it cannot
// write, says so more than once a connection, or never.
TEST_F(ConnectionLogTest, AFileThatCannotBeWrittenIsSaidOnce) {
  fs::create_directories(dir.parent_path());
  std::ofstream(dir) << "a file where the folder should be";
  log.Begin();
  log.Trace("Send_Message : get-wan\r");
  log.Received("get-wan\r\n");
  log.Sent("!");
  log.End();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].rfind("Connection log not written: " + dir.string() + ": ", 0), 0u) << reports[0];
  log.Begin();
  EXPECT_EQ(reports.size(), 2u);
}

}  // namespace
}  // namespace devlink
