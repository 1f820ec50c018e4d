// The receive path in both modes, the sends and the interpreter's text helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link_fixture.h"
#include "platform/ui/delay.h"

using devlink::LineEnds;
using devlink::LineWords;
using linktest::Feed;
using linktest::WiredLink;

namespace {

/// The line reader alone, recording the words each line hands on.
struct LineRecorder : devlink::LineUser {
  void ErrorLine(const std::string&) override {}
  void WordsLine(const LineWords& words) override { lines.push_back(words); }
  void StatusLine(std::string) override {}
  void Receive(std::string_view bytes, LineEnds) { reader.Receive(bytes); }
  const devlink::LineReader& Record() const { return reader; }
  std::vector<LineWords> lines;
  devlink::LineReader reader{*this};
};

LineWords W(std::vector<std::string> words) {
  LineWords w;
  for (size_t i = 0; i < words.size() && i < w.size(); ++i) w[i] = words[i];
  return w;
}

struct ParseCase {
  const char* name;
  std::string bytes;
  std::vector<LineWords> lines;
};

// Catches word and line splitting that depends on where the chunks break, lost
// left-over words, empty words from runs of blanks, and NUL not splitting.
TEST(ReceiveParse, SplitsWordsAndLinesInAnyChunking) {
  const std::vector<ParseCase> cases = {
      {"cr lf gives a second, empty line", "get-lan\r\n", {W({"get-lan"}), W({})}},
      {"double blank makes no empty word",
       "ip  address 10.0.0.1 255.0.0.0\r",
       {W({"ip", "address", "10.0.0.1", "255.0.0.0"})}},
      {"short line keeps left-over words",
       "one two three\rfour\r",
       {W({"one", "two", "three"}), W({"four", "two", "three"})}},
      {"nul splits a word", std::string("ab\0cd\r", 6), {W({"ab", "cd"})}},
      {"leading blanks do not shift", "   lead  x\n", {W({"lead", "x"})}},
      {"lone line end", "\r", {W({})}},
      {"left-over after cr lf", "a b c\r\n", {W({"a", "b", "c"}), W({"", "b", "c"})}},
  };
  for (const ParseCase& c : cases) {
    for (size_t chunk = 1; chunk <= c.bytes.size(); ++chunk) {
      LineRecorder link;
      Feed(link, c.bytes, chunk);
      EXPECT_EQ(link.lines, c.lines) << c.name << ", chunk " << chunk;
      EXPECT_EQ(link.Record().TokenIndex(), 0) << c.name;
      EXPECT_TRUE(link.Record().RxLine().empty()) << c.name;
    }
  }
}

// Catches a write past the end of the word table on a line with more words
// than slots (the extra words are dropped and the line is still interpreted).
TEST(ReceiveParse, WordsBeyondTheLastSlotAreDropped) {
  std::string line;
  for (int i = 0; i < devlink::kTokenSlots + 60; ++i) line += "w" + std::to_string(i) + " ";
  line += "\rnext\r";
  for (size_t chunk : {size_t(1), size_t(4096), line.size()}) {
    LineRecorder link;
    Feed(link, line, chunk);
    ASSERT_EQ(link.lines.size(), 2u);
    EXPECT_EQ(link.lines[0][0], "w0");
    EXPECT_EQ(link.lines[1][0], "next");
    EXPECT_EQ(link.lines[1][1], "w1");
    ASSERT_EQ(link.Record().Tokens().size(), size_t(devlink::kTokenSlots));
    EXPECT_EQ(link.Record().Tokens().back(), "w" + std::to_string(devlink::kTokenSlots - 1));
    EXPECT_EQ(link.Record().TokenIndex(), 0);
  }
}

// Catches unbounded growth of a word from a peer that never sends a delimiter.
TEST(ReceiveParse, AWordIsCutAtItsLimit) {
  LineRecorder link;
  const std::string big(devlink::kMaxWordBytes + 5000, 'a');
  Feed(link, big, 8192);
  EXPECT_EQ(link.Record().RxLine().size(), devlink::kMaxWordBytes);
  Feed(link, "\rok\r");
  ASSERT_EQ(link.lines.size(), 2u);
  EXPECT_EQ(link.lines[0][0].size(), devlink::kMaxWordBytes);
  EXPECT_EQ(link.lines[1][0], "ok");
  // Status lines have the same bound.
  link.reader.SetStatusMode(true);
  Feed(link, big, 8192);
  EXPECT_EQ(link.Record().RxLine().size(), devlink::kMaxWordBytes);
}

struct StatusCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> tcp;     // memo lines over TCP
  std::vector<std::string> serial;  // memo lines over serial
};

// Catches line ends that depend on the transport (a gateway ending status
// lines with LF alone over TCP, or CR alone over serial, showed nothing), a
// lost last character, a CR LF counted twice, the page prompt surviving, and
// framing lines reaching the memo.
TEST(ReceiveStatus, LinesReachTheMemoByTransport) {
  const std::vector<StatusCase> cases = {
      {"cr lf", "WAN up\r\n", {"WAN up"}, {"WAN up"}},
      {"lf alone", "abc\n", {"abc"}, {"abc"}},
      {"cr alone", "abc\r", {"abc"}, {"abc"}},
      {"lf cr is two line ends", "a\n\rb\r\n", {"a", "", "b"}, {"a", "", "b"}},
      {"prompt then blank vanishes", "-- more -- x\r\n", {"x"}, {"x"}},
      {"prompt then line end vanishes", "-- more --\r\n", {}, {}},
      {"system information gets an empty line before it",
       "System Information\r\n",
       {"", "System Information"},
       {"", "System Information"}},
      {"framing and echoes are dropped",
       "  !END-TAG!  \r\n!START-TAG!\r\nget-wan-status\r\nget-gatekeeper-status\r\n",
       {},
       {}},
      {"blank kept inside text", " IP : 1.2.3.4 \r\n", {" IP : 1.2.3.4 "}, {" IP : 1.2.3.4 "}},
  };
  for (const StatusCase& c : cases) {
    for (LineEnds ends : {LineEnds::Tcp, LineEnds::Serial}) {
      for (size_t chunk = 1; chunk <= c.bytes.size(); ++chunk) {
        WiredLink w;
        w.link.StartIn(devlink::LinkState().StatusLines());
        Feed(w.link, c.bytes, chunk, ends);
        EXPECT_EQ(w.windows.pages.M_State_Info.Lines(), ends == LineEnds::Tcp ? c.tcp : c.serial)
            << c.name << (ends == LineEnds::Tcp ? ", tcp" : ", serial") << ", chunk " << chunk;
        EXPECT_TRUE(w.tcp.writes.empty());
      }
    }
  }
}

// Catches the follow-up query going out more than once, not at all, or in parse mode.
TEST(ReceiveStatus, FollowUpQueryAfterTheFirstChunkOnly) {
  WiredLink w;
  w.link.StartIn(devlink::LinkState().StatusLines());
  w.link.StartIn(devlink::LinkState().FollowUpDue());
  Feed(w.link, "!START-TAG!\r\n");
  EXPECT_EQ(w.tcp.writes, (std::vector<std::string>{"get-gatekeeper-status\r", " ", " "}));
  EXPECT_FALSE(w.link.Record().StatusFollowUp());
  Feed(w.link, "more\r\n");
  EXPECT_EQ(w.tcp.writes.size(), 3u);

  WiredLink parse;
  parse.link.StartIn(devlink::LinkState().FollowUpDue());
  Feed(parse.link, "x\r");
  EXPECT_TRUE(parse.tcp.writes.empty());
}

// Catches a poll that ended before any reply leaving its follow-up due: a
// late status chunk sent the gatekeeper query outside any conversation.
TEST(ReceiveStatus, NoFollowUpAfterThePollEnded) {
  WiredLink w;
  w.link.Poll(devlink::PollStart::PageChosen);
  ASSERT_EQ(w.tcp.writes, (std::vector<std::string>{"get-wan-status\r"}));
  ASSERT_TRUE(platform::DelayUntil(devlink::DeviceLink::kPollLimitMs + 2000,
                                   [&] { return !w.link.Asked(devlink::Conversation::Poll); }));
  Feed(w.link, "!START-TAG!\r\n");
  EXPECT_EQ(w.tcp.writes.size(), 1u);
}

// Catches a send that goes to the wrong transport, skips the trace or the
// table reset, or resets the table's second half.
TEST(Send, GetDataTracesResetsAndWritesByLinkMode) {
  using devlink::TransportKind;
  for (TransportKind mode : {TransportKind::None, TransportKind::Serial, TransportKind::Tcp}) {
    WiredLink w;
    // Two sends, so the second finds only what the receive path filled.
    w.link.StartIn(devlink::LinkState().Over(TransportKind::None));
    w.link.SendGetData("");
    std::string words;
    for (int i = 0; i <= 1024; ++i) words += "w" + std::to_string(i) + " ";
    Feed(w.link, words);  // an unfinished line of 1025 words
    ASSERT_EQ(w.link.Record().Tokens()[1024], "w1024");
    w.windows.trace.Clear();
    w.link.StartIn(devlink::LinkState().Over(mode));
    w.link.SendGetData("get-wan\r");
    EXPECT_EQ(w.windows.trace.Lines(), (std::vector<std::string>{"Send_Message : get-wan\r"}));
    EXPECT_EQ(w.link.Record().TokenIndex(), 0);
    EXPECT_EQ(w.link.Record().Tokens()[0], "");
    EXPECT_EQ(w.link.Record().Tokens()[1023], "");
    EXPECT_EQ(w.link.Record().Tokens()[1024], "w1024");
    EXPECT_EQ(w.serial.writes, mode == TransportKind::Serial ? std::vector<std::string>{"get-wan\r"}
                                                             : std::vector<std::string>{});
    EXPECT_EQ(w.tcp.writes, mode == TransportKind::Tcp ? std::vector<std::string>{"get-wan\r"}
                                                       : std::vector<std::string>{});
  }
}

// Catches a send that leaves words of earlier lines in the table, on the
// first send and on every later one.
TEST(Send, GetDataEmptiesWhatEarlierLinesLeft) {
  LineRecorder link;
  for (int round = 0; round < 3; ++round) {
    Feed(link, "a b c d e\r");
    link.reader.StartCommand();  // what SendGetData does to the table
    Feed(link, "x\r");
    ASSERT_EQ(link.lines.size(), size_t(2 * round + 2));
    EXPECT_EQ(link.lines.back(), W({"x"})) << round;
  }
}

// Catches a missing CR, a trace, or a table change on configuration lines.
TEST(Send, PutDataAppendsCrOnly) {
  using devlink::TransportKind;
  for (TransportKind mode : {TransportKind::None, TransportKind::Serial, TransportKind::Tcp}) {
    WiredLink w;
    w.link.StartIn(devlink::LinkState().Over(mode).Word(0, "a").NextWordAt(3));
    w.link.SendPutData("ip-share  enable");
    EXPECT_TRUE(w.windows.trace.Lines().empty());
    EXPECT_EQ(w.link.Record().Tokens()[0], "a");
    EXPECT_EQ(w.link.Record().TokenIndex(), 3);
    const auto expected = std::vector<std::string>{"ip-share  enable\r"};
    EXPECT_EQ(w.serial.writes, mode == TransportKind::Serial ? expected : std::vector<std::string>{});
    EXPECT_EQ(w.tcp.writes, mode == TransportKind::Tcp ? expected : std::vector<std::string>{});
  }
}

// Catches closing the wrong transport or calling into one that is not set.
TEST(Send, TransportsCloseAndReportOpen) {
  testsupport::RecordingWindows windows;
  devlink::DeviceLink bare(windows, windows.pages);
  bare.Transport().Plug(devlink::TransportKind::Serial, nullptr);
  bare.Transport().Plug(devlink::TransportKind::Tcp, nullptr);
  EXPECT_FALSE(bare.SerialOpen());
  bare.CloseSerial();
  bare.StartIn(devlink::LinkState::OverTcp());
  bare.Disconnect();
  bare.SendGetData("x\r");  // no transport set: no crash

  WiredLink w;
  EXPECT_TRUE(w.link.SerialOpen());
  w.link.CloseSerial();
  EXPECT_FALSE(w.link.SerialOpen());
  EXPECT_EQ(w.serial.closes, 1);
  EXPECT_EQ(w.tcp.closes, 0);
  w.link.Disconnect();
  EXPECT_EQ(w.tcp.closes, 1);
}

// Catches wrong prefix lengths, case folding and a missing trace line.
TEST(TextHelpers, IndexOfStr) {
  struct Row {
    const char* text;
    const char* name;
    int result;
    const char* trace;
  };
  const Row rows[] = {
      {"RN420", "RN420", 0, "RN420 : RN420"},   {"RN420-X", "RN420", 0, "RN420 : RN420"},
      {"RN42", "RN420", -1, "RN42 : RN420"},    {"rn420", "RN420", -1, "rn420 : RN420"},
      {"XRN420", "RN420", -1, "XRN42 : RN420"}, {"abc", "", 0, " : "},
  };
  for (const Row& r : rows) {
    struct NoConversation : devlink::ReplyUser {
      void SendCommand(std::string_view) override {}
      devlink::Conversation Running() const override { return devlink::Conversation::None; }
      void Finish(devlink::Outcome, std::string, bool) override {}
      void QueryNext(std::string_view) override {}
      void ModelAccepted() override {}
      void SendScript() override {}
    } user;
    WiredLink w;
    devlink::ReplyInterpreter interpreter(user, w.windows, w.windows.pages);
    EXPECT_EQ(interpreter.IndexOfStr(r.text, r.name), r.result) << r.text;
    EXPECT_EQ(w.windows.trace.Lines(), (std::vector<std::string>{r.trace})) << r.text;
  }
}

// Catches an off-by-one at the delimiter and blanks surviving the trim.
TEST(TextHelpers, NumberTokenAndTrimBlank) {
  EXPECT_EQ(devlink::ReplyInterpreter::NumberToken("0212%345", '%'), "0212");
  EXPECT_EQ(devlink::ReplyInterpreter::NumberToken("0212", '%'), "0212");
  EXPECT_EQ(devlink::ReplyInterpreter::NumberToken("%12", '%'), "");
  EXPECT_EQ(devlink::ReplyInterpreter::NumberToken("", '%'), "");
  EXPECT_EQ(devlink::ReplyInterpreter::Trim_Blank("  a b  "), "ab");
  EXPECT_EQ(devlink::ReplyInterpreter::Trim_Blank("10 .1  .2  .3  "), "10.1.2.3");
  EXPECT_EQ(devlink::ReplyInterpreter::Trim_Blank("a\tb"), "a\tb");
}

}  // namespace
