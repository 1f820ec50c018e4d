#include <fstream>
#include <sstream>

#include "ui_fixture.h"

namespace ui::test {
namespace {

class DebugWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ConnectOver(devlink::TransportKind::Tcp);
    debug().Show();
    debug().Display.Clear();
  }
};

// Catches a typed line sent without its CR, untraced, or replies not read
// as WAN settings afterwards.
TEST_F(DebugWindowTest, SendButtonSendsTheTypedLine) {
  debug().Edit1.SetText("get-version");
  link().StartIn(devlink::LinkState().Reading(devlink::Reply::Dns));
  debug().Button2.Click();
  EXPECT_EQ(tcp.written, std::vector<std::string>{"get-version\r"});
  EXPECT_EQ(debug().Display.Lines(), std::vector<std::string>{"Send_Message : get-version\r"});
  EXPECT_EQ(link().Record().ReplyState(), devlink::Reply::Wan);
  EXPECT_EQ(debug().Edit1.Text(), "get-version");

  // The next typed line waits until the gateway has gone quiet.
  link().SetSilenceLimits(devlink::ConversationQueue::kSilenceLimitMs, 10);
  debug().Edit1.SetText("");
  debug().Button2.Click();
  EXPECT_EQ(tcp.written.size(), 1u);
  EXPECT_TRUE(platform::DelayUntil(2000, [&] { return tcp.written.size() == 2; }));
  EXPECT_EQ(tcp.written.back(), "\r");
}

// Catches Clear leaving lines behind, or later lines not starting at the top.
TEST_F(DebugWindowTest, ClearEmptiesTheTrace) {
  debug().Display.Add("a");
  debug().Display.Add("b");
  debug().Button1.Click();
  EXPECT_TRUE(debug().Display.Lines().empty());
  main().Trace("c");
  EXPECT_EQ(debug().Display.Lines(), std::vector<std::string>{"c"});
}

// Catches a word listing off by one, or one that reads past the word table.
TEST_F(DebugWindowTest, ShowListsTheWordsUpToTheCurrentIndex) {
  link().Receive("get-lan\r\n", devlink::LineEnds::Tcp);
  debug().Button3.Click();
  EXPECT_EQ(debug().Display.Lines(), std::vector<std::string>{"argv[0] : "});

  debug().Display.Clear();
  link().Receive("ip address 10", devlink::LineEnds::Tcp);
  debug().Button3.Click();
  EXPECT_EQ(debug().Display.Lines(),
            (std::vector<std::string>{"argv[0] : ip", "argv[1] : address", "argv[2] : "}));

  debug().Display.Clear();
  link().StartIn(devlink::LinkState().NextWordAt(devlink::kTokenSlots));
  debug().Button3.Click();
  EXPECT_EQ(debug().Display.Lines().size(), size_t(devlink::kTokenSlots));

  debug().Display.Clear();
  link().StartIn(devlink::LinkState().NextWordAt(-1));
  debug().Button3.Click();
  EXPECT_TRUE(debug().Display.Lines().empty());
}

// Catches a trace that is lost while the window is hidden.
TEST_F(DebugWindowTest, TraceSurvivesHiding) {
  debug().Close();
  main().Trace("while hidden");
  main().ShortCut(platform::shortcut::kCtrl | platform::shortcut::kDelete);
  EXPECT_TRUE(debug().Visible());
  EXPECT_EQ(debug().Display.Lines(), std::vector<std::string>{"while hidden"});
}

// Catches a saved trace that is not the window's lines, keeps a password,
// or fails without a word.
TEST_F(DebugWindowTest, SaveWritesTheTraceWithSecretsMasked) {
  platform::ScriptedFileDialogs files;
  const std::string path = Dir() + "/trace.txt";
  files.Queue(path);
  files.Queue(Dir() + "/no/such/folder/trace.txt");
  main().Trace("Send_Message : start-login admin s3cret\r");
  main().Trace("Login OK!!");
  debug().BB_SaveTrace.Click();
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "Send_Message : start-login admin ***\nLogin OK!!\n");
  EXPECT_EQ(files.Shown().at(0).mode, platform::FileMode::Save);

  debug().BB_SaveTrace.Click();
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].icon, platform::Icon::Error);
}

}  // namespace
}  // namespace ui::test
